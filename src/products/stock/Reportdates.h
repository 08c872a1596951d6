#pragma once
// The date fields of the report windows: a field with its "..." button and
// the picker behind the button. Every date a report runs on is read here.

#include <QString>

class QBoxLayout;
class QDate;
class QLineEdit;
class QPushButton;
class QWidget;

namespace products {

// Typed in any form MyDateStrToDate reads and shown "31.12.2024" once left.
// Leaving it with a text that is no date says so at once, naming the field
// by `label` ("Od datuma") and showing the form expected.
QLineEdit* NewDateEdit(QWidget* parent, const QString& label);
QPushButton* NewDateButton(QWidget* parent);
// Opens the date picker on today (not on the field's date); a confirmed
// date replaces the field's text.
void ChangeDate(QLineEdit* field);
// The field's date as SQL texts take it ("2024-12-31"), the field showing
// it "31.12.2024". A text that is no date puts the focus on the field and
// throws the refusal, so no report runs on it.
QString ReportDateText(QLineEdit* field);

struct TDateRange {
    QLineEdit* from = nullptr;
    QPushButton* fromButton = nullptr;
    QLineEdit* to = nullptr;
    QPushButton* toButton = nullptr;
};
// "Od datuma" and "Do datuma" appended to the row 12 points apart, each a
// field with its "..." button (ChangeDate); the fields show first and last.
TDateRange AddDateRange(QWidget* parent, QBoxLayout* row, const QDate& first, const QDate& last);

} // namespace products
