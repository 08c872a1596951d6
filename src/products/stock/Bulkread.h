#pragma once
// Reading the many rows of a report. A prepared statement brings its values
// as the server holds them (numbers as numbers, doubles as doubles), where a
// plain query brings each as text that the driver turns into a string and
// then into a number: on a million document lines that is most of the
// client's time. The texts a report narrows by are bound, never written in.

#include <QDate>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariantList>

namespace products {

// Runs the statement with its "?" placeholders taken by `values`, in order;
// the query is forward-only. Throws DatabaseError.
QSqlQuery selectRows(QSqlDatabase db, const QString& sql, const QVariantList& values = {});

// A date read as the server's day number (`TO_DAYS(column)`): some client
// library versions bring a prepared statement's DATE as an empty value, a
// number arrives the same with all of them. Null stays an invalid date.
QDate dateOfDayNumber(const QVariant& days);

} // namespace products
