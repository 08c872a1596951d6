#include "QueryDataSet.h"

#include "Connection.h"
#include "DataSetErrors.h"
#include "DatabaseError.h"
#include "DatabaseErrorText.h"
#include "QueryRowsRead.h"
#include "SqlScan.h"

#include <QPointer>
#include <QSqlField>
#include <QSqlRecord>
#include <algorithm>

namespace tarvex {

namespace {

// The field type a column of the result naturally has.
FieldType naturalType(const QSqlField& column)
{
    switch (column.metaType().id()) {
    case QMetaType::Bool:
        return FieldType::Boolean;
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        // TINYINT(1) is the server's BOOLEAN.
        return column.length() == 1 ? FieldType::Boolean : FieldType::Integer;
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
        return FieldType::Integer;
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return FieldType::LargeInt;
    case QMetaType::Float:
    case QMetaType::Double:
        return FieldType::Float;
    case QMetaType::QDate:
        return FieldType::Date;
    case QMetaType::QDateTime:
        return FieldType::DateTime;
    case QMetaType::QTime:
        return FieldType::Time;
    case QMetaType::QByteArray:
        return FieldType::Blob;
    case QMetaType::QString:
        return FieldType::String;
    default:
        return FieldType::Unknown;
    }
}

// The bound value of a field's value: typed nulls, so the driver knows the
// column type of a NULL.
QVariant bindable(const Field& field, const QVariant& value)
{
    if (!value.isNull())
        return value;
    switch (field.dataType()) {
    case FieldType::Integer: return QVariant(QMetaType::fromType<int>());
    case FieldType::LargeInt: return QVariant(QMetaType::fromType<qlonglong>());
    case FieldType::Float: return QVariant(QMetaType::fromType<double>());
    case FieldType::Date: return QVariant(QMetaType::fromType<QDate>());
    case FieldType::DateTime: return QVariant(QMetaType::fromType<QDateTime>());
    case FieldType::Blob: return QVariant(QMetaType::fromType<QByteArray>());
    default: return QVariant(QMetaType::fromType<QString>());
    }
}

} // namespace

QueryDataSet::QueryDataSet(QObject* parent) : DataSet(parent)
{
}

QueryDataSet::QueryDataSet(Connection* connection, const QString& sql, QObject* parent)
    : DataSet(parent), m_connection(connection), m_sql(sql)
{
}

void QueryDataSet::setConnection(Connection* connection)
{
    close();
    m_connection = connection;
}

Connection& QueryDataSet::connectionOrThrow() const
{
    if (!m_connection)
        throw DataSetError(ErrorKind::Configuration, DS_NO_CONNECTION_ERR,
                           QStringLiteral("%1 has no connection").arg(objectName()));
    return *m_connection;
}

// --------------------------------------------------------------- parameters

void QueryDataSet::setSql(const QString& sql)
{
    close();
    m_sql = sql;
    m_unpagedOrder = false;
}

QStringList QueryDataSet::paramNames() const
{
    QStringList names;
    for (const SqlParamRef& p : findSqlParams(m_sql)) {
        if (!names.contains(p.name, Qt::CaseInsensitive))
            names.append(p.name);
    }
    return names;
}

void QueryDataSet::setParam(const QString& name, const QVariant& value)
{
    m_params.insert(name.toLower(), value);
}

QVariant QueryDataSet::param(const QString& name) const
{
    return m_params.value(name.toLower());
}

QString QueryDataSet::expandedSql() const
{
    return expandedSql(m_sql);
}

QString QueryDataSet::expandedSql(const QString& sql) const
{
    return substituteSqlParams(sql, [this](const QString& name) { return param(name); });
}

void fetchQueryRows(QSqlQuery& query, QueryRows& rows, const std::function<void(int)>& progress)
{
    rows.record = query.record();
    const int n = rows.record.count();
    while (query.next()) {
        QVector<QVariant> values(n);
        for (int i = 0; i < n; ++i)
            values[i] = query.value(i);
        rows.values.push_back(std::move(values));
        if (progress && rows.values.size() % 10000 == 0)
            progress(int(rows.values.size()));
    }
}

namespace {

QueryRows fetchAll(QSqlQuery& query, const QString& sql, const std::function<void(int)>& progress)
{
    QueryRows rows;
    rows.sql = sql;
    fetchQueryRows(query, rows, progress);
    return rows;
}

// Enough to walk past what a crash can leave behind the counter (the
// transactions that were open), few enough to end on a real fault.
constexpr int kTakenNumberAttempts = 200;

bool isPrimaryKeyClash(const DatabaseError& e)
{
    return e.code() == 1062 && e.serverMessage().contains(QLatin1String("'PRIMARY'"));
}

} // namespace

QString QueryDataSet::boundSql(const QString& sql, QVariantList& values) const
{
    return placeholderSql(sql, [this](const QString& name) { return param(name); }, values);
}

QueryRows QueryDataSet::readRows(const QSqlDatabase& db, const QString& sql, const QVariantList& values,
                                 const std::function<void(int)>& progress)
{
    QSqlQuery query = selectSql(db, sql, values);
    return fetchAll(query, sql, progress);
}

QueryRows QueryDataSet::readRows(const QSqlDatabase& db, const QString& sql, const std::function<void(int)>& progress)
{
    QSqlQuery query = selectSql(db, sql);
    return fetchAll(query, sql, progress);
}

void QueryDataSet::openWith(const QString& sql, QueryRows rows)
{
    setSql(sql);
    m_prefetched = std::make_unique<QueryRows>(std::move(rows));
    try {
        open();
    } catch (...) {
        m_prefetched.reset();
        throw;
    }
    m_prefetched.reset();
}

// ------------------------------------------------------------------ reading

void QueryDataSet::resolveOwnTable(const QString& sql)
{
    m_updateTable.clear();
    m_ownAlias.clear();
    m_table = nullptr;
    for (const SqlTableRef& ref : findSelectTables(sql)) {
        if (m_updateTableSetting.isEmpty() || ref.table.compare(m_updateTableSetting, Qt::CaseInsensitive) == 0) {
            m_updateTable = ref.table;
            m_ownAlias = ref.alias;
            break;
        }
    }
    if (m_updateTable.isEmpty() || isReadOnly())
        return;
    const TableInfo& info = connectionOrThrow().tableInfo(m_updateTable);
    if (info.exists())
        m_table = &info;
}

void QueryDataSet::loadRows()
{
    const QString sql = expandedSql();
    QueryRows read;
    if (m_prefetched && m_prefetched->sql == sql && (!m_prefetched->paged || m_prefetched->order == readPlan(m_sql).order)) {
        read = std::move(*m_prefetched);
        m_prefetched.reset();
    } else {
        read = readPlanned(connectionOrThrow(), readPlan(m_sql), {});
    }
    resolveOwnTable(sql);
    bindFields(bindColumns(read.record, sql));
    const Field* keyField = m_pagingKey.isEmpty() ? nullptr : findField(m_pagingKey);
    m_keyIndex = keyField ? keyField->index() : -1;
    m_paged = false;
    m_held = 0;
    if (read.paged) {
        loadPaged(read);
    } else {
        RowList rows;
        rows.reserve(read.values.size());
        for (QVector<QVariant>& values : read.values) {
            convertValues(values);
            rows.push_back(makeRow(std::move(values)));
        }
        setRows(std::move(rows));
    }

    m_keyColumns.clear();
    m_keyIsPrimary = false;
    if (!m_table)
        return;
    if (!m_table->primaryKey.isEmpty()) {
        for (const QString& column : m_table->primaryKey) {
            Field* f = findField(column);
            if (!f || !f->isWritable() || f->index() < 0) {
                m_keyColumns.clear();
                return;
            }
            m_keyColumns.push_back(f->index());
        }
        m_keyIsPrimary = true;
    } else {
        for (Field* f : writableFields())
            m_keyColumns.push_back(f->index());
    }
}

std::vector<Field*> QueryDataSet::bindColumns(const QSqlRecord& record, const QString& sql)
{
    QHash<QString, QString> tableOfAlias;
    for (const SqlTableRef& ref : findSelectTables(sql))
        tableOfAlias.insert(ref.alias.toLower(), ref.table);
    const int n = record.count();
    std::vector<Field*> fields;
    m_convert.assign(size_t(n), false);
    for (int i = 0; i < n; ++i) {
        const QSqlField column = record.field(i);
        // A repeated column name gets a suffix, as the second "name" of a join.
        QString name = column.name();
        for (int k = 1; std::any_of(fields.begin(), fields.end(), [&](Field* f) { return f->fieldName().compare(name, Qt::CaseInsensitive) == 0; }); ++k)
            name = column.name() + QLatin1Char('_') + QString::number(k);
        Field& f = fieldForColumn(name);
        const FieldType natural = naturalType(column);
        const QString alias = column.tableName();
        f.m_tableName = tableOfAlias.value(alias.toLower(), alias);
        f.m_type = f.m_declaredType != FieldType::Unknown ? f.m_declaredType : natural;
        f.m_size = natural == FieldType::String ? qMax(0, column.length()) / 4 : 0;  // utf8mb4: bytes per character
        const ColumnInfo* info = m_table && alias.compare(m_ownAlias, Qt::CaseInsensitive) == 0 ? m_table->column(name) : nullptr;
        f.m_writable = info != nullptr;
        f.m_boolAsText = f.m_type == FieldType::Boolean && natural == FieldType::String;
        if (!f.m_requiredSet)
            f.m_required = info && !info->nullable && !info->autoIncrement;
        m_convert[size_t(i)] = f.m_type != natural || natural == FieldType::Boolean;
        if (f.m_writable)
            rememberFieldLabel(f.m_tableName, column.name(), f.m_displayLabel);
        fields.push_back(&f);
    }
    return fields;
}

void QueryDataSet::convertValues(QVector<QVariant>& values) const
{
    for (int i = 0; i < values.size() && size_t(i) < m_convert.size(); ++i) {
        QVariant& v = values[i];
        if (m_convert[size_t(i)] && !v.isNull()) {
            try {
                v = field(i).convert(v);
            } catch (const FieldError&) {
                v = QVariant();  // stored data the declared type cannot hold reads as null
            }
        }
    }
}

std::vector<Field*> QueryDataSet::writableFields() const
{
    std::vector<Field*> result;
    for (Field* f : fields()) {
        if (f->isWritable())
            result.push_back(f);
    }
    return result;
}

QVector<QVariant> QueryDataSet::newRowValues() const
{
    QVector<QVariant> values(fieldCount());
    if (!m_table)
        return values;
    for (Field* f : writableFields()) {
        const ColumnInfo* info = m_table->column(f->fieldName());
        if (!info || info->defaultValue.isNull())
            continue;
        try {
            values[f->index()] = f->convert(info->defaultValue);
        } catch (const FieldError&) {
            // A default the field cannot hold is left to the server.
        }
    }
    return values;
}

void QueryDataSet::refresh()
{
    if (updatesPending())
        throw DataSetError(ErrorKind::Validation, DS_PENDING_ERR,
                           QStringLiteral("%1 has pending changes; apply or cancel them first").arg(objectName()));
    const std::vector<int> key = m_keyColumns;
    reload([this, key](const DataRow& before, const DataRow& after) {
        // Rows of a list read a page at a time are known by their keys.
        if (m_keyIndex >= 0 && (before.key != 0 || after.key != 0))
            return keyOf(before) == keyOf(after);
        if (key.empty())
            return false;
        for (int column : key) {
            if (!sameValue(before.values.at(column), after.values.at(column)))
                return false;
        }
        return true;
    });
}

// ------------------------------------------------------------------ writing

QVariant QueryDataSet::stored(const Field& field, const QVariant& value) const
{
    if (field.m_boolAsText && !value.isNull())
        return value.toBool() ? QStringLiteral("y") : QStringLiteral("n");
    return bindable(field, value);
}

QString QueryDataSet::keyCondition(const QVector<QVariant>& values, QVariantList& binds) const
{
    if (m_keyColumns.empty())
        throw DataSetError(ErrorKind::Internal, ERR_INTERNAL_ERR,
                           QStringLiteral("%1 cannot locate the row in %2: its key columns are not read")
                               .arg(objectName(), m_updateTable));
    QStringList parts;
    for (int column : m_keyColumns) {
        const Field& f = field(column);
        const QVariant v = values.at(column);
        if (v.isNull()) {
            parts.append(quoteIdentifier(f.fieldName()) + QStringLiteral(" IS NULL"));
        } else {
            parts.append(quoteIdentifier(f.fieldName()) + QStringLiteral(" = ?"));
            binds.append(stored(f, v));
        }
    }
    QString where = QStringLiteral(" WHERE ") + parts.join(QStringLiteral(" AND "));
    if (!m_keyIsPrimary)
        where += QStringLiteral(" LIMIT 1");
    return where;
}

void QueryDataSet::writeInsert(DataRow& row)
{
    if (!m_table)
        return;
    QStringList columns;
    QVariantList binds;
    for (Field* f : writableFields()) {
        const QVariant& v = row.values.at(f->index());
        const ColumnInfo* info = m_table->column(f->fieldName());
        // A null is sent only where the server would otherwise put a default.
        if (v.isNull() && (info->autoIncrement || (info->defaultValue.isNull() && !info->generatedDefault)))
            continue;
        columns.append(quoteIdentifier(f->fieldName()));
        binds.append(stored(*f, v));
    }
    QStringList marks;
    for (int i = 0; i < columns.size(); ++i)
        marks.append(QStringLiteral("?"));
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(quoteIdentifier(m_updateTable), columns.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    Connection& connection = connectionOrThrow();
    const QString autoColumn = m_table->autoIncrementColumn();
    Field* autoField = autoColumn.isEmpty() ? nullptr : findField(autoColumn);
    const bool serverNumbers = autoField && autoField->index() >= 0 && row.values.at(autoField->index()).isNull();
    QSqlQuery query;
    // After a crash InnoDB can hand out an AUTO_INCREMENT value a committed
    // row already has. Only the statement fails and every attempt moves the
    // counter on, so the row is simply sent again.
    for (int attempt = 0;; ++attempt) {
        query = connection.prepare(sql);
        for (const QVariant& v : binds)
            query.addBindValue(v);
        try {
            connection.exec(query);
            break;
        } catch (const DatabaseError& e) {
            if (!serverNumbers || attempt >= kTakenNumberAttempts || !isPrimaryKeyClash(e))
                throw;
        }
    }

    if (serverNumbers)
        row.values[autoField->index()] = autoField->convert(query.lastInsertId());
    rereadRow(row);
}

void QueryDataSet::rereadRow(DataRow& row)
{
    if (!m_keyIsPrimary || m_keyColumns.empty())
        return;
    const std::vector<Field*> writable = writableFields();
    QStringList columns;
    for (Field* f : writable)
        columns.append(quoteIdentifier(f->fieldName()));
    QVariantList binds;
    const QString sql = QStringLiteral("SELECT %1 FROM %2").arg(columns.join(QLatin1Char(',')), quoteIdentifier(m_updateTable))
                        + keyCondition(row.values, binds);
    // The row is written by now: a failed re-read must not make the caller
    // write it a second time, so the row simply keeps the values posted (a
    // lost connection stays marked on the connection).
    QSqlQuery query;
    try {
        Connection& connection = connectionOrThrow();
        query = connection.prepare(sql);
        for (const QVariant& v : binds)
            query.addBindValue(v);
        connection.exec(query);
    } catch (const DatabaseError&) {
        return;
    }
    if (!query.next())
        return;
    for (size_t i = 0; i < writable.size(); ++i) {
        Field* f = writable[i];
        try {
            row.values[f->index()] = f->convert(query.value(int(i)));
        } catch (const FieldError&) {
            row.values[f->index()] = QVariant();
        }
    }
}

void QueryDataSet::writeUpdate(DataRow& row, const QVector<QVariant>& before)
{
    if (!m_table)
        return;
    QStringList assignments;
    QVariantList binds;
    for (Field* f : writableFields()) {
        const QVariant& v = row.values.at(f->index());
        if (sameValue(v, before.at(f->index())))
            continue;
        assignments.append(quoteIdentifier(f->fieldName()) + QStringLiteral(" = ?"));
        binds.append(stored(*f, v));
    }
    if (assignments.isEmpty())
        return;
    const QString sql = QStringLiteral("UPDATE %1 SET %2").arg(quoteIdentifier(m_updateTable), assignments.join(QStringLiteral(", ")))
                        + keyCondition(before, binds);
    Connection& connection = connectionOrThrow();
    QSqlQuery query = connection.prepare(sql);
    for (const QVariant& v : binds)
        query.addBindValue(v);
    connection.exec(query);
}

void QueryDataSet::writeDelete(const QVector<QVariant>& before)
{
    if (!m_table)
        return;
    QVariantList binds;
    const QString sql = QStringLiteral("DELETE FROM %1").arg(quoteIdentifier(m_updateTable)) + keyCondition(before, binds);
    Connection& connection = connectionOrThrow();
    QSqlQuery query = connection.prepare(sql);
    for (const QVariant& v : binds)
        query.addBindValue(v);
    connection.exec(query);
}

void QueryDataSet::keepPostUntilCommit(const DataRow& row, const QVector<QVariant>& posted,
                                       const QVector<QVariant>& before, bool inserted)
{
    if (!m_connection || !m_connection->inTransaction())
        return;
    std::vector<int> serverKeys;
    if (inserted && m_table) {
        const QString autoColumn = m_table->autoIncrementColumn();
        Field* autoField = autoColumn.isEmpty() ? nullptr : findField(autoColumn);
        if (autoField && autoField->index() >= 0 && posted.value(autoField->index()).isNull())
            serverKeys.push_back(autoField->index());
    }
    QPointer<QueryDataSet> self(this);
    const Bookmark id = row.id;
    m_connection->onTransactionEnd([self, id, posted, before, inserted, serverKeys](bool committed) {
        if (!committed && self)
            self->reopenPosted(id, posted, before, inserted, serverKeys);
    });
}

void QueryDataSet::storeInsert(DataRow& row)
{
    if (!m_cachedUpdates) {
        const QVector<QVariant> posted = row.values;
        writeInsert(row);
        keepPostUntilCommit(row, posted, {}, true);
        return;
    }
    row.status = DataRow::Status::Inserted;
    row.changeOrder = ++m_changeCounter;
}

void QueryDataSet::storeUpdate(DataRow& row, const QVector<QVariant>& before)
{
    if (!m_cachedUpdates) {
        writeUpdate(row, before);
        keepPostUntilCommit(row, row.values, before, false);
        return;
    }
    if (row.status != DataRow::Status::Unchanged || row.values == before)
        return;
    row.original = before;
    row.status = DataRow::Status::Modified;
    row.changeOrder = ++m_changeCounter;
}

bool QueryDataSet::storeDelete(DataRow& row, const QVector<QVariant>& before)
{
    if (!m_cachedUpdates) {
        writeDelete(before);
        return false;
    }
    if (row.status == DataRow::Status::Inserted)
        return false;
    if (row.original.isEmpty())
        row.original = before;
    if (row.status == DataRow::Status::Unchanged)
        row.changeOrder = ++m_changeCounter;
    row.status = DataRow::Status::Deleted;
    return true;
}

// ----------------------------------------------------------- cached updates

void QueryDataSet::setCachedUpdates(bool on)
{
    if (on == m_cachedUpdates)
        return;
    if (!on && updatesPending())
        throw DataSetError(ErrorKind::Validation, DS_PENDING_ERR,
                           QStringLiteral("%1 has pending changes; apply or cancel them first").arg(objectName()));
    m_cachedUpdates = on;
}

bool QueryDataSet::updatesPending() const
{
    if (!isActive())
        return false;
    for (const auto& row : storage()) {
        if (row->status != DataRow::Status::Unchanged)
            return true;
    }
    return false;
}

void QueryDataSet::keepCacheUntilCommit(std::shared_ptr<RowList> deleted)
{
    struct Saved {
        Bookmark id;
        QVector<QVariant> values;
        QVector<QVariant> original;
        DataRow::Status status;
        quint64 changeOrder;
    };
    std::vector<Saved> saved;
    for (const auto& row : storage()) {
        if (row->status != DataRow::Status::Unchanged)
            saved.push_back({row->id, row->values, row->original, row->status, row->changeOrder});
    }
    QPointer<QueryDataSet> self(this);
    m_connection->onTransactionEnd([self, saved = std::move(saved), deleted](bool committed) {
        if (committed || !self || !self->isActive())
            return;
        RowList& rows = self->storage();
        for (auto& row : *deleted)
            rows.push_back(std::move(row));
        deleted->clear();
        for (const Saved& s : saved) {
            auto it = std::find_if(rows.begin(), rows.end(), [&](const auto& r) { return r->id == s.id; });
            if (it == rows.end())
                continue;
            DataRow& row = **it;
            // A row edited again since keeps what was typed; it is pending again.
            if (row.status == DataRow::Status::Unchanged) {
                if (s.status != DataRow::Status::Modified || row.values == s.original)
                    row.values = s.values;
            }
            row.original = s.original;
            row.status = s.status;
            row.changeOrder = s.changeOrder;
        }
        self->rebuildView();
    });
}

void QueryDataSet::applyUpdates()
{
    checkActive();
    checkBrowseMode();
    RowList& rows = storage();
    std::vector<DataRow*> pending;
    for (const auto& row : rows) {
        if (row->status != DataRow::Status::Unchanged)
            pending.push_back(row.get());
    }
    if (pending.empty())
        return;
    std::sort(pending.begin(), pending.end(), [](const DataRow* a, const DataRow* b) { return a->changeOrder < b->changeOrder; });

    const bool inTransaction = m_connection && m_connection->inTransaction();
    auto removed = std::make_shared<RowList>();
    if (inTransaction)
        keepCacheUntilCommit(removed);
    std::vector<const DataRow*> deleted;
    auto dropDeleted = [&] {
        for (auto it = rows.begin(); it != rows.end();) {
            if (std::find(deleted.begin(), deleted.end(), it->get()) != deleted.end()) {
                if (inTransaction)
                    removed->push_back(std::move(*it));
                it = rows.erase(it);
            } else {
                ++it;
            }
        }
        rebuildView();
    };
    try {
        for (DataRow* row : pending) {
            switch (row->status) {
            case DataRow::Status::Inserted:
                writeInsert(*row);
                break;
            case DataRow::Status::Modified:
                writeUpdate(*row, row->original);
                break;
            case DataRow::Status::Deleted:
                writeDelete(row->original);
                deleted.push_back(row);
                break;
            case DataRow::Status::Unchanged:
                break;
            }
            row->status = DataRow::Status::Unchanged;
            row->original.clear();
        }
    } catch (...) {
        dropDeleted();
        throw;
    }
    dropDeleted();
}

void QueryDataSet::cancelUpdates()
{
    if (!isActive())
        return;
    cancel();
    RowList& rows = storage();
    rows.erase(std::remove_if(rows.begin(), rows.end(), [](const auto& r) { return r->status == DataRow::Status::Inserted; }), rows.end());
    for (const auto& row : rows) {
        if (!row->original.isEmpty())
            row->values = row->original;
        row->original.clear();
        row->status = DataRow::Status::Unchanged;
    }
    rebuildView();
}

} // namespace tarvex
