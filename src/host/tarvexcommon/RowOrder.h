#pragma once
// The client-side sort order of a dataset: a list of fields, each ascending
// or descending. Texts compare by Serbian Latin collation (c, č, ć, d, dž,
// đ, ...), numbers and dates by value, nulls before everything else; equal
// rows keep their order.

#include "DataSet.h"

#include <QCollator>

namespace tarvex {

class ResultStore;

class RowOrder {
public:
    struct Key {
        int column;
        FieldType type;
        bool descending;
    };

    // Reads "name, code DESC" (";" separates as well); fieldOf gives the
    // field of a name or nullptr. Throws DataSetError for an unknown field.
    RowOrder(const QString& order, const std::function<Field*(const QString&)>& fieldOf);

    // Rows whose values stay in a store are read from it (DataRow::stored).
    void setStore(const ResultStore* store) { m_store = store; }

    bool isEmpty() const { return m_keys.empty(); }
    const std::vector<Key>& keys() const { return m_keys; }

    // Negative, zero or positive as a sorts before, with or after b.
    int compare(const DataRow& a, const DataRow& b) const;
    // Stable sort of many rows (texts through precomputed collation keys).
    void sort(std::vector<DataRow*>& rows) const;
    // Where a row goes among sorted rows: after every row not after it.
    size_t insertPosition(const std::vector<DataRow*>& sorted, const DataRow& row) const;

private:
    int compareValues(const Key& key, const QVariant& a, const QVariant& b) const;
    QVariant valueOf(const DataRow& row, int column) const;

    std::vector<Key> m_keys;
    QCollator m_collator;
    const ResultStore* m_store = nullptr;
};

} // namespace tarvex
