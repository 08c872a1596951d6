#pragma once
// Rows read with the client library itself, for the reports' many rows: Qt's
// driver makes a QVariant of every value, which on a million rows costs more
// than the server's work. Here each value is taken from the library's text
// straight into a number or a result store. Made by Connection::readNative,
// so the session's loss is handled as for any statement; the rows stream
// from the server, and the session runs nothing else until they are read.

#include "ResultStore.h"

#include <QString>
#include <memory>

namespace tarvex {

class Connection;

class NativeRows {
public:
    NativeRows(NativeRows&& other) noexcept;
    NativeRows& operator=(NativeRows&&) = delete;
    ~NativeRows();

    // The next row; false after the last. Throws DatabaseError when the read
    // broke off (the statement killed, the session lost).
    bool next();
    int columnCount() const { return m_columns; }

    bool isNull(int column) const { return m_row[column] == nullptr; }
    // A null reads as 0, an empty text.
    qint64 integer(int column) const;
    double number(int column) const;
    QString text(int column) const;
    // A DATE column's day; invalid when null.
    QDate date(int column) const;
    const char* data(int column) const { return m_row[column]; }
    size_t size(int column) const { return size_t(m_lengths[column]); }

    // Puts the column's value into a store's row and column, taken as the
    // store's column kind.
    void copyTo(ResultStore& store, int row, int storeColumn, int column) const;

private:
    friend class Connection;
    NativeRows(Connection& connection, void* mysql, void* result, const QString& sql);
    [[noreturn]] void fail();

    Connection* m_connection;
    void* m_mysql;   // MYSQL*
    void* m_result;  // MYSQL_RES*, streamed
    QString m_sql;
    int m_columns = 0;
    char** m_row = nullptr;
    unsigned long* m_lengths = nullptr;
};

} // namespace tarvex
