#pragma once
// Reading the many rows of a report. A prepared statement brings its values
// as the server holds them (numbers as numbers, doubles as doubles), where a
// plain query brings each as text that the driver turns into a string and
// then into a number: on a million document lines that is most of the
// client's time. The texts a report narrows by are bound, never written in.

#include "NativeRows.h"

#include <QDate>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariantList>
#include <memory>
#include <optional>

namespace tarvex {
class Connection;
}

namespace products {

// Runs the statement with its "?" placeholders taken by `values`, in order;
// the query is forward-only. Throws DatabaseError.
QSqlQuery selectRows(QSqlDatabase db, const QString& sql, const QVariantList& values = {});

// A date read as the server's day number (`TO_DAYS(column)`): some client
// library versions bring a prepared statement's DATE as an empty value, a
// number arrives the same with all of them. Null stays an invalid date.
QDate dateOfDayNumber(const QVariant& days);
QDate dateOfDayNumber(qint64 days);

// The many rows of a report read with the client library (no QVariant per
// value), through the Connection working on the Qt connection or, when it
// has none, one of its own kept while the rows are read. Throws DatabaseError.
class TBulkRows {
public:
    TBulkRows(QSqlDatabase db, const QString& sql, const QVariantList& values = {});
    ~TBulkRows();
    bool next() { return m_rows->next(); }
    const tarvex::NativeRows& row() const { return *m_rows; }

private:
    std::unique_ptr<tarvex::Connection> m_own;
    std::optional<tarvex::NativeRows> m_rows;
};

} // namespace products
