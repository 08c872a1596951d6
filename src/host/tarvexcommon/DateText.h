#pragma once
// Dates as people here write them: shown "31.12.2024"; typed that way, short
// ("31.12.24", "1.2.2024") or as "2024-12-31". SQL texts and files take the
// last form.

#include <QDate>
#include <QString>

namespace tarvex {

// Reads "dd.mm.yyyy" and "dd.mm.yy" (a closing dot allowed; yy below 70 is
// 20yy, else 19yy) and "yyyy-mm-dd". Blanks around it are ignored; a
// one-digit month or day is accepted. Any other text, or a day that does not
// exist such as 29.02.2023, gives an invalid QDate: callers test isValid(),
// nothing throws.
QDate MyDateStrToDate(const QString& text);

// The date as shown, "31.12.2024"; an invalid date gives an empty text.
QString MyDateToDateStr(const QDate& date);

// The date for SQL texts and files, "2024-12-31"; empty when invalid.
QString DateToSqlText(const QDate& date);

// The refusal of a text typed into the date field `label`, with the form
// expected.
QString DateTextError(const QString& label, const QString& text);

} // namespace tarvex
