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

#include <cstdint>
#include <functional>
#include <vector>

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

    // A row's weights: its bytes and their count; data null for NULL.
    struct Weight {
        const char* data = nullptr;
        size_t size = 0;
    };
    // Puts the rows in the order of their weights as compare() gives it,
    // NULL first; rows of equal weights are then ordered by `tie` (a strict
    // less). A million names sort here byte by byte, each common beginning
    // read once, where comparing them pair by pair read it again and again.
    void sort(std::vector<qint32>& rows, const std::function<Weight(qint32)>& weightOf,
              const std::function<bool(qint32, qint32)>& tie) const;

private:
    struct Item {
        const char* data;
        qint32 size;
        qint32 row;
    };
    // The byte at `depth`, past the end that of the padding (-1 without).
    int byteAt(const Item& item, size_t depth) const;
    void sortFrom(Item* items, size_t count, size_t depth) const;

    QByteArray m_space; // the weights of one space; empty: no padding
};

} // namespace products
