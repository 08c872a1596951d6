#pragma once
// The date text form shown everywhere, "yyyy-mm-dd", and the forms a date
// may be typed in.

#include <QDate>
#include <QString>

namespace tarvex {

// Reads "yyyy-mm-dd" and the way dates are written here, "dd.mm.yyyy" and
// "dd.mm.yy" (a closing dot allowed; yy below 70 is 20yy, else 19yy). Blanks
// around it are ignored; a one-digit month or day is accepted. Any other text, or a day that does not exist such as
// 2023-02-29, gives an invalid QDate: callers test isValid(), nothing throws.
QDate MyDateStrToDate(const QString& text);

// The date as "yyyy-mm-dd"; an invalid date gives an empty text.
QString MyDateToDateStr(const QDate& date);

} // namespace tarvex
