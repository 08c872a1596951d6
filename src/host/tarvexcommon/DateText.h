#pragma once
// The date text form typed and shown everywhere: "yyyy-mm-dd".

#include <QDate>
#include <QString>

namespace tarvex {

// Reads "yyyy-mm-dd" (blanks around it ignored; a one-digit month or day is
// accepted). Any other text, or a day that does not exist such as
// 2023-02-29, gives an invalid QDate: callers test isValid(), nothing throws.
QDate MyDateStrToDate(const QString& text);

// The date as "yyyy-mm-dd"; an invalid date gives an empty text.
QString MyDateToDateStr(const QDate& date);

} // namespace tarvex
