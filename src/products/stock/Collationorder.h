#pragma once
// The server's order of texts, kept by the client: a column read with
// WEIGHT_STRING(column) gives per row the bytes its collation sorts by, and rows
// sorted here by those bytes come in the order ORDER BY gives, without the
// server's sort (which costs more than reading the rows). Texts are compared
// as the server compares them: a shorter one is padded with spaces, unless
// the collation is a NO PAD one.

#include <QByteArray>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

namespace products {

class TCollationOrder {
public:
    // For a text column of a table of the connection's database.
    TCollationOrder(QSqlDatabase db, const QString& table, const QString& column);

    // <0, 0, >0 as the server orders the texts whose weights these are
    // (read as WEIGHT_STRING gave them; NULL first).
    int compare(const QVariant& a, const QVariant& b) const;
    // The same for two weights given as bytes (neither NULL).
    int compare(const char* a, size_t aSize, const char* b, size_t bSize) const;

private:
    QByteArray m_space; // the weights of one space; empty: no padding
};

} // namespace products
