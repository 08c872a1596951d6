#pragma once
// A report's rows held compactly: one typed vector per column (numbers as
// doubles or integers, dates as day numbers, texts as numbers of texts kept
// once each), so that a million rows of forty values take some hundred
// megabytes where a QVariant each would take over a gigabyte. Rows are
// ordered through a list of row numbers; they never move.

#include "LargeBlocks.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace tarvex {

class ResultStore {
public:
    enum class Kind {
        Integer,  // qint64
        Number,   // double
        Text,     // UTF-8, each distinct text kept once
        Bytes,    // raw bytes (collation weights), kept per row, compared bytewise
        Date,     // a day
    };

    // A Text column of mostly distinct texts (names, codes) keeps each
    // as it comes (`keepOnce` false): looking each up costs more than the
    // few repeated ones take.
    int addColumn(const QString& name, Kind kind, bool keepOnce = true);
    int columnCount() const { return int(m_columns.size()); }
    // -1 when there is none of that name (any letter case).
    int columnOf(const QString& name) const;
    const QString& columnName(int column) const { return m_columns[size_t(column)].name; }
    Kind kind(int column) const { return m_columns[size_t(column)].kind; }

    int rowCount() const { return m_rows; }
    void reserve(int rows);
    // A new row, every value null; returns its number.
    int appendRow();

    void setNull(int row, int column);
    void setInteger(int row, int column, qint64 value);
    void setNumber(int row, int column, double value);
    // Null takes the value, a number adds it.
    void addNumber(int row, int column, double value);
    void setText(int row, int column, const QString& text);
    // Text or Bytes columns, from the bytes as they are.
    void setBytes(int row, int column, const char* data, size_t size);
    void setDate(int row, int column, const QDate& date);
    // Copies a value of another row or column of the same kind (texts by
    // their number, not copied again).
    void copyValue(int row, int column, const ResultStore& from, int fromRow, int fromColumn);

    bool isNull(int row, int column) const;
    qint64 integer(int row, int column) const;
    double number(int row, int column) const;
    QString text(int row, int column) const;
    QDate date(int row, int column) const;
    // A Text or Bytes value's number (-1: null), and the bytes of a number.
    qint32 textId(int row, int column) const { return m_columns[size_t(column)].ids[size_t(row)]; }
    const char* textData(qint32 id) const { return m_pool.get() + m_offsets[size_t(id)]; }
    size_t textSize(qint32 id) const { return size_t(m_offsets[size_t(id) + 1] - m_offsets[size_t(id)]); }
    // The value as a dataset holds it: qlonglong, double, QString,
    // QByteArray or QDate; null as an invalid QVariant.
    QVariant value(int row, int column) const;

    // Forgets the look-up of texts kept once: no text is added afterwards
    // without being kept again. Frees its memory once the rows are in.
    void finish();

private:
    struct Column {
        QString name;
        Kind kind;
        bool keepOnce;
        template <class T>
        using Values = std::vector<T, LargeBlockAllocator<T>>;
        Values<double> numbers;
        Values<qint64> integers;
        Values<qint32> ids;  // texts (-1 null), days (kNoDay null)
        Values<bool> nulls;  // numbers and integers
    };
    static constexpr qint32 kNoDay = INT32_MIN;

    qint32 keep(const char* data, size_t size, bool shared);
    void resizePool(size_t capacity);
    void grow();

    std::vector<Column> m_columns;
    int m_rows = 0;
    // Every kept text's bytes, one after another, in a block grown with
    // realloc: a large block grows by remapping its pages, where a string's
    // growth held the old and the new copy at once (a third more at peak).
    struct FreeBlock {
        void operator()(char* block) const { std::free(block); }
    };
    std::unique_ptr<char, FreeBlock> m_pool;
    size_t m_poolSize = 0;
    size_t m_poolCapacity = 0;
    using Slots = std::vector<qint32, LargeBlockAllocator<qint32>>;
    std::vector<qint64, LargeBlockAllocator<qint64>> m_offsets{0}; // where each text starts; one more than texts
    Slots m_slots;                                                 // open-addressing table of shared texts (-1 free)
    size_t m_shared = 0;
};

} // namespace tarvex
