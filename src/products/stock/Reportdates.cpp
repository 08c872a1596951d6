#include "Reportdates.h"

#include "Clock.h"
#include "DateText.h"
#include "Dialogs.h"

#include <QLineEdit>
#include <QPushButton>

namespace products {

QLineEdit* NewDateEdit(QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setMaxLength(10);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00")) + 16);
    // 31.12.2024 and 31.12.24 are typed as often as 2024-12-31; all show as the latter.
    QObject::connect(edit, &QLineEdit::editingFinished, edit, [edit] {
        const QDate date = tarvex::MyDateStrToDate(edit->text());
        if (date.isValid())
            edit->setText(tarvex::MyDateToDateStr(date));
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
    QDate date = tarvex::hostClock().today();
    if (tarvex::dialogs().getDate(date))
        field->setText(tarvex::MyDateToDateStr(date));
}

} // namespace products
