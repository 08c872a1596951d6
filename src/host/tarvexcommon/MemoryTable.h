#pragma once
// The in-memory table of the reports (the module's ...CDS): fields defined
// in code, rows appended and edited like any dataset, and named sort orders
// ("mp1amountA", "mp1amountD") that a grid switches between. While an order
// is in force, a posted row moves to its place in it.

#include "DataSet.h"

namespace tarvex {

class MemoryTable : public DataSet {
    Q_OBJECT
public:
    explicit MemoryTable(QObject* parent = nullptr);

    // Defines a field (before opening). size: characters of a text field.
    Field& addField(const QString& name, FieldType type, int size = 0);
    // Opens the table empty (the fields as defined).
    void createDataSet();
    // Removes every row; the table stays open.
    void emptyDataSet();
    // Replaces every row with these records, each holding the fields' values
    // in the order they were defined; the order in force sorts them. For a
    // report's many rows at once, instead of an append and post each.
    void loadRecords(std::vector<QVector<QVariant>> records);
    // Replaces every row with these rows of the store, whose columns are the
    // fields in the order they were defined; the values stay in the store
    // (a row changed later takes its own copy).
    void loadStore(std::shared_ptr<const ResultStore> store, const std::vector<qint32>& rows);

    // A named order of fields (as setSortedFields takes them), ascending or
    // descending as a whole.
    void addIndex(const QString& name, const QString& fields, bool descending = false);
    // Switches to a named order; an empty name restores the order of entry.
    // Throws DataSetError for an unknown name.
    void setIndexName(const QString& name);
    const QString& indexName() const { return m_indexName; }
    QStringList indexNames() const;

protected:
    void loadRows() override;

private:
    struct Index {
        QString name;
        QString fields;
        bool descending;
    };

    std::vector<Field*> m_definitions;
    std::vector<Index> m_indexes;
    QString m_indexName;
};

} // namespace tarvex
