#include "MemoryTable.h"

#include "DataSetErrors.h"
#include "ResultStore.h"

#include <QRegularExpression>
#include <algorithm>

namespace tarvex {

MemoryTable::MemoryTable(QObject* parent) : DataSet(parent)
{
    setKeepSorted(true);
}

Field& MemoryTable::addField(const QString& name, FieldType type, int size)
{
    if (isActive())
        throw DataSetError(ErrorKind::Internal, ERR_INTERNAL_ERR,
                           QStringLiteral("Fields of %1 are defined before it opens").arg(objectName()));
    Field& field = declareField(name, type);
    field.m_size = type == FieldType::String ? size : 0;
    field.m_writable = true;
    if (std::find(m_definitions.begin(), m_definitions.end(), &field) == m_definitions.end())
        m_definitions.push_back(&field);
    return field;
}

void MemoryTable::createDataSet()
{
    open();
}

void MemoryTable::emptyDataSet()
{
    checkActive();
    cancel();
    storage().clear();
    setStore(nullptr);
    rebuildView();
}

void MemoryTable::loadRecords(std::vector<QVector<QVariant>> records)
{
    checkActive();
    cancel();
    const int fields = int(m_definitions.size());
    for (const QVector<QVariant>& record : records)
        if (record.size() != fields)
            throw DataSetError(ErrorKind::Internal, ERR_INTERNAL_ERR,
                               QStringLiteral("A record of %1 values for the %2 fields of %3")
                                   .arg(record.size())
                                   .arg(fields)
                                   .arg(objectName()));
    // Emptied first, so no row of before stays current; the first row is.
    emptyDataSet();
    RowList& rows = storage();
    rows.reserve(records.size());
    for (QVector<QVariant>& record : records)
        rows.push_back(makeRow(std::move(record)));
    rebuildView();
}

void MemoryTable::loadStore(std::shared_ptr<const ResultStore> store, const std::vector<qint32>& rows)
{
    checkActive();
    cancel();
    if (store->columnCount() != int(m_definitions.size()))
        throw DataSetError(ErrorKind::Internal, ERR_INTERNAL_ERR,
                           QStringLiteral("A store of %1 columns for the %2 fields of %3")
                               .arg(store->columnCount())
                               .arg(m_definitions.size())
                               .arg(objectName()));
    emptyDataSet();
    setStore(std::move(store));
    RowList& stored = storage();
    stored.reserve(rows.size());
    for (const qint32 row : rows)
        stored.push_back(makeStoredRow(row));
    rebuildView();
}

void MemoryTable::loadRows()
{
    bindFields(m_definitions);
    setRows({});
}

void MemoryTable::addIndex(const QString& name, const QString& fields, bool descending)
{
    for (Index& index : m_indexes) {
        if (index.name.compare(name, Qt::CaseInsensitive) == 0) {
            index = {name, fields, descending};
            return;
        }
    }
    m_indexes.push_back({name, fields, descending});
}

void MemoryTable::setIndexName(const QString& name)
{
    if (name.isEmpty()) {
        setSortedFields(QString());
        m_indexName.clear();
        return;
    }
    for (const Index& index : m_indexes) {
        if (index.name.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        QStringList parts = index.fields.split(QRegularExpression(QStringLiteral("[,;]")), Qt::SkipEmptyParts);
        if (index.descending) {
            for (QString& part : parts)
                part = part.trimmed() + QStringLiteral(" DESC");
        }
        setSortedFields(parts.join(QLatin1Char(',')));
        m_indexName = index.name;
        return;
    }
    throw DataSetError(ErrorKind::Internal, ERR_INTERNAL_ERR,
                       QStringLiteral("Index \"%1\" not found in %2").arg(name, objectName()));
}

QStringList MemoryTable::indexNames() const
{
    QStringList names;
    for (const Index& index : m_indexes)
        names.append(index.name);
    return names;
}

} // namespace tarvex
