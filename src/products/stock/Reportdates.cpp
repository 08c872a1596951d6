#include "Reportdates.h"

#include "Clock.h"
#include "DateText.h"
#include "Dialogs.h"
#include "DataSetErrors.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace products {

namespace {

const char* const kLabel = "tarvexDateLabel";
// The text whose refusal the user has already seen.
const char* const kRefused = "tarvexRefusedDate";

void refuse(QLineEdit* edit)
{
    edit->setProperty(kRefused, edit->text());
    tarvex::dialogs().error(tarvex::DateTextError(edit->property(kLabel).toString(), edit->text()));
}

} // namespace

QLineEdit* NewDateEdit(QWidget* parent, const QString& label)
{
    auto* edit = new QLineEdit(parent);
    edit->setProperty(kLabel, label);
    edit->setMaxLength(10);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00.00.0000")) + 16);
    QObject::connect(edit, &QLineEdit::editingFinished, edit, [edit] {
        const QDate date = tarvex::MyDateStrToDate(edit->text());
        if (date.isValid()) {
            edit->setText(tarvex::MyDateToDateStr(date));
            return;
        }
        // After the press that took the focus: a run it starts refuses the
        // text itself, and "..." replaces it; either way it is said once.
        edit->setProperty(kRefused, QVariant());
        QTimer::singleShot(0, edit, [edit] {
            if (edit->property(kRefused).isNull() && !tarvex::MyDateStrToDate(edit->text()).isValid())
                refuse(edit);
        });
    });
    return edit;
}

QPushButton* NewDateButton(QWidget* parent)
{
    auto* button = new QPushButton(QStringLiteral("..."), parent);
    button->setAutoDefault(false);
    button->setFixedWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 12);
    return button;
}

void ChangeDate(QLineEdit* field)
{
    field->setProperty(kRefused, field->text());
    QDate date = tarvex::hostClock().today();
    if (tarvex::dialogs().getDate(date))
        field->setText(tarvex::MyDateToDateStr(date));
}

TDateRange AddDateRange(QWidget* parent, QBoxLayout* row, const QDate& first, const QDate& last)
{
    TDateRange range;
    const auto add = [&](const QString& label, const QDate& date, QLineEdit*& edit, QPushButton*& button) {
        auto* caption = new QLabel(label, parent);
        edit = NewDateEdit(parent, label);
        caption->setBuddy(edit);
        edit->setText(tarvex::MyDateToDateStr(date));
        button = NewDateButton(parent);
        QObject::connect(button, &QPushButton::clicked, edit, [field = edit] { ChangeDate(field); });
        row->addWidget(caption);
        row->addWidget(edit);
        row->addWidget(button);
    };
    add(QStringLiteral("Od datuma"), first, range.from, range.fromButton);
    row->addSpacing(12);
    add(QStringLiteral("Do datuma"), last, range.to, range.toButton);
    return range;
}

QString ReportDateText(QLineEdit* field)
{
    const QDate date = tarvex::MyDateStrToDate(field->text());
    if (!date.isValid()) {
        field->setFocus();
        field->selectAll();
        refuse(field);
        throw tarvex::SilentAbort();
    }
    field->setText(tarvex::MyDateToDateStr(date));
    return tarvex::DateToSqlText(date);
}

} // namespace products
