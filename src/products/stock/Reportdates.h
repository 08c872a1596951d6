#pragma once
// The date fields of the report windows: a "yyyy-mm-dd" field with its "..."
// button, and the picker behind the button.

class QLineEdit;
class QPushButton;
class QWidget;

namespace products {

QLineEdit* NewDateEdit(QWidget* parent);
QPushButton* NewDateButton(QWidget* parent);
// Opens the date picker on today (not on the field's date); a confirmed
// date replaces the field's text, "yyyy-mm-dd".
void ChangeDate(QLineEdit* field);

} // namespace products
