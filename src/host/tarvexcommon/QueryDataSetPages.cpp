// The query dataset's lists of many rows, read a page at a time: the keys
// of every row in the server's order, the values of a page when first used.
#include "QueryDataSet.h"

#include "Connection.h"
#include "DataSetErrors.h"
#include "HostStrings.h"
#include "DatabaseError.h"
#include "NativeRows.h"
#include "PagedSelect.h"
#include "QueryRowsRead.h"
#include "RowOrder.h"

#include <QSet>
#include <QSqlQuery>
#include <algorithm>
#include <optional>
#include <unordered_set>

namespace tarvex {

namespace {

// Pages whose values stay held around the rows in use.
constexpr int kHeldPages = 40;
// Stands in a page's statement for its keys.
const QString kPageKeys = QStringLiteral("/*keys*/");
// A condition naming a joined column without its table meets a statement
// that left the join out.
constexpr int kUnknownColumn = 1054;

std::vector<qint64> readKeys(Connection& connection, const QString& sql, const QVariantList& values,
                             const std::function<void(int)>& progress)
{
    std::vector<qint64> keys;
    NativeRows rows = connection.readNative(sql, values);
    while (rows.next()) {
        keys.push_back(rows.integer(0));
        if (progress && keys.size() % 100000 == 0)
            progress(int(keys.size()));
    }
    // A join that repeats rows repeats their keys: each counts once, where
    // it first came. Keys are mostly numbered from 1 on: a bit per number
    // tells the ones seen.
    if (keys.empty())
        return keys;
    const auto [low, high] = std::minmax_element(keys.begin(), keys.end());
    const qint64 first = *low;
    if (quint64(*high - first) < 16 * keys.size() + 1024) {
        std::vector<bool> seen(size_t(*high - first) + 1, false);
        keys.erase(std::remove_if(keys.begin(), keys.end(),
                                  [&](qint64 key) {
                                      const bool again = seen[size_t(key - first)];
                                      seen[size_t(key - first)] = true;
                                      return again;
                                  }),
                   keys.end());
    } else {
        std::unordered_set<qint64> seen;
        seen.reserve(keys.size());
        keys.erase(std::remove_if(keys.begin(), keys.end(), [&](qint64 key) { return !seen.insert(key).second; }),
                   keys.end());
    }
    return keys;
}

std::vector<qint64> readKeys(Connection& connection, const ReadPlan& plan, const std::function<void(int)>& progress)
{
    try {
        return readKeys(connection, plan.keys, plan.keyValues, progress);
    } catch (const DatabaseError& e) {
        if (e.code() != kUnknownColumn || plan.keysAllJoins == plan.keys)
            throw;
    }
    return readKeys(connection, plan.keysAllJoins, plan.keyAllJoinsValues, progress);
}

QString keyList(const std::vector<qint64>& keys)
{
    QStringList texts;
    texts.reserve(qsizetype(keys.size()));
    for (qint64 key : keys)
        texts << QString::number(key);
    return texts.join(QLatin1Char(','));
}

QString likePrefix(const QString& text)
{
    QString pattern = text;
    pattern.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    pattern.replace(QLatin1Char('%'), QStringLiteral("\\%"));
    pattern.replace(QLatin1Char('_'), QStringLiteral("\\_"));
    return pattern + QLatin1Char('%');
}

} // namespace

void QueryDataSet::setPaging(const QString& keyField, int threshold, int pageSize)
{
    m_pagingKey = keyField;
    m_pagingThreshold = qMax(0, threshold);
    m_pageSize = qMax(1, pageSize);
}

int QueryDataSet::heldRows() const
{
    return int(std::count_if(view().begin(), view().end(), [](const DataRow* row) { return !row->pending; }));
}

ReadPlan QueryDataSet::readPlan(const QString& sql, const QString& sortedFields) const
{
    ReadPlan plan;
    plan.sql = expandedSql(sql);
    plan.marked = boundSql(sql, plan.values);
    if (m_pagingKey.isEmpty() || m_unpagedOrder || m_cachedUpdates || (isFiltered() && !filter().trimmed().isEmpty()))
        return plan;
    const PagedSelect select(sql, m_pagingKey);
    const QString order = select.isValid() ? select.orderBy(sortedFields) : QString();
    if (order.isEmpty())
        return plan;
    plan.keys = boundSql(select.keysSql(order), plan.keyValues);
    plan.keysAllJoins = boundSql(select.keysSql(order, QString(), true), plan.keyAllJoinsValues);
    plan.page = boundSql(select.withCondition(select.keyExpression() + QStringLiteral(" IN (") + kPageKeys + QLatin1Char(')')),
                         plan.pageValues);
    plan.order = order;
    plan.threshold = m_pagingThreshold;
    plan.pageSize = m_pageSize;
    return plan;
}

QueryRows QueryDataSet::readPlanned(const QSqlDatabase& db, const ReadPlan& plan, const std::function<void(int)>& progress)
{
    // Through the Connection working on the Qt connection, so a lost session
    // is handled as everywhere; one that has none gets one for the read.
    std::optional<Connection> own;
    Connection* connection = Connection::working(db);
    if (!connection)
        connection = &own.emplace(db);
    return readPlanned(*connection, plan, progress);
}

QueryRows QueryDataSet::readPlanned(Connection& connection, const ReadPlan& plan, const std::function<void(int)>& progress)
{
    QueryRows rows;
    rows.sql = plan.sql;
    if (!plan.keys.isEmpty()) {
        std::vector<qint64> keys = readKeys(connection, plan, progress);
        if (int(keys.size()) > plan.threshold) {
            const std::vector<qint64> first(keys.begin(), keys.begin() + qMin<qsizetype>(qsizetype(keys.size()), plan.pageSize));
            QSqlQuery query = connection.select(QString(plan.page).replace(kPageKeys, keyList(first)), plan.pageValues);
            fetchQueryRows(query, rows);
            rows.paged = true;
            rows.order = plan.order;
            rows.keys = std::move(keys);
            return rows;
        }
    }
    QSqlQuery query = connection.select(plan.marked, plan.values);
    fetchQueryRows(query, rows, progress);
    return rows;
}

void QueryDataSet::loadPaged(QueryRows& read)
{
    if (m_keyIndex < 0)
        throw DataSetError(ErrorKind::Internal, ERR_INTERNAL_ERR,
                           QStringLiteral("%1 reads pages by %2, which it does not read").arg(objectName(), m_pagingKey));
    QHash<qint64, int> firstPage;
    for (int i = 0; i < int(read.values.size()); ++i)
        firstPage.insert(read.values[size_t(i)].at(m_keyIndex).toLongLong(), i);
    RowList rows;
    rows.reserve(read.keys.size());
    for (qint64 key : read.keys) {
        auto row = makeRow({});
        row->key = key;
        const auto found = firstPage.constFind(key);
        if (found != firstPage.constEnd()) {
            row->values = std::move(read.values[size_t(*found)]);
            convertValues(row->values);
            ++m_held;
        } else {
            row->pending = true;
        }
        rows.push_back(std::move(row));
    }
    setRows(std::move(rows));
    m_paged = true;
    m_pagedOrder = read.order;
}

void QueryDataSet::readPending(const DataRow& row) const
{
    const std::vector<DataRow*>& rows = view();
    const int at = viewIndexOf(&row);
    std::vector<DataRow*> page;
    if (at < 0) {
        page.push_back(const_cast<DataRow*>(&row));
    } else {
        const int first = at - at % m_pageSize;
        for (int i = first; i < qMin(first + m_pageSize, int(rows.size())); ++i)
            if (rows[size_t(i)]->pending)
                page.push_back(rows[size_t(i)]);
    }
    std::vector<qint64> keys;
    for (const DataRow* r : page)
        keys.push_back(r->key);
    const PagedSelect select(m_sql, m_pagingKey);
    QVariantList values;
    const QString sql = boundSql(select.withCondition(select.keyExpression() + QStringLiteral(" IN (") + keyList(keys) + QLatin1Char(')')),
                                 values);
    QSqlQuery query = connectionOrThrow().select(sql, values);
    const int n = fieldCount();
    QHash<qint64, QVector<QVariant>> read;
    while (query.next()) {
        QVector<QVariant> values(n);
        for (int c = 0; c < n; ++c)
            values[c] = query.value(c);
        convertValues(values);
        const qint64 key = values.at(m_keyIndex).toLongLong();
        read.insert(key, std::move(values));
    }
    for (DataRow* r : page) {
        auto found = read.find(r->key);
        if (found != read.end()) {
            r->values = std::move(*found);
        } else {
            // Deleted by someone else since the keys were read: an empty row.
            r->values = QVector<QVariant>(n);
            r->values[m_keyIndex] = field(m_keyIndex).convert(r->key);
        }
        r->pending = false;
    }
    m_held += int(page.size());
    if (m_held > 2 * kHeldPages * m_pageSize)
        releaseFar(at);
}

void QueryDataSet::releaseFar(int at) const
{
    const int keep = kHeldPages * m_pageSize / 2;
    const DataRow* current = currentRowData();
    const std::vector<DataRow*>& rows = view();
    int held = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        DataRow* row = rows[i];
        if (row->pending)
            continue;
        const bool near = at < 0 || qAbs(int(i) - at) <= keep;
        // Rows added here have no key to be read again by; changed ones stay.
        if (near || row == current || row->key == 0 || row->status != DataRow::Status::Unchanged) {
            ++held;
            continue;
        }
        row->values = QVector<QVariant>();
        row->pending = true;
    }
    m_held = held;
}

qint64 QueryDataSet::keyOf(const DataRow& row) const
{
    if (row.key != 0 || row.pending)
        return row.key;
    return m_keyIndex >= 0 && m_keyIndex < row.values.size() ? row.values.at(m_keyIndex).toLongLong() : 0;
}

void QueryDataSet::setSortedFields(const QString& fields)
{
    if (!isActive() || !m_paged) {
        DataSet::setSortedFields(fields);
        return;
    }
    const QString order = PagedSelect(m_sql, m_pagingKey).orderBy(fields);
    if (!order.isEmpty() && order == m_pagedOrder) {
        setSortText(fields);
        return;
    }
    checkBrowseMode();
    const RowOrder known(fields, [this](const QString& n) { return findField(n); });  // throws for an unknown field
    Q_UNUSED(known);
    // A column the server cannot sort by: every row is read and sorted here.
    m_unpagedOrder = order.isEmpty();
    setSortText(fields);
    refresh();
}

bool QueryDataSet::locate(const QString& fieldNames, const QVariant& values, int options)
{
    if (!m_paged)
        return DataSet::locate(fieldNames, values, options);
    checkActive();
    checkBrowseMode();
    const PagedSelect select(m_sql, m_pagingKey);
    const QStringList names = fieldNames.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    const QVariantList wanted = names.size() == 1 ? QVariantList{values} : values.toList();
    if (names.isEmpty() || wanted.size() != names.size())
        return DataSet::locate(fieldNames, values, options);
    // The server names the rows that may match (its collation ignores case
    // and accents, so it names more); the rows themselves decide, in order.
    QStringList conditions;
    QHash<QString, QVariant> given;
    for (int i = 0; i < names.size(); ++i) {
        const Field* f = findField(names[i].trimmed());
        const QString expression = select.expressionOf(names[i].trimmed());
        if (!f || f->index() < 0 || expression.isEmpty())
            return DataSet::locate(fieldNames, values, options);
        QVariant value;
        try {
            value = f->convert(wanted[i]);
        } catch (const FieldError&) {
            return false;
        }
        const QString name = QStringLiteral("locate%1").arg(i);
        const bool text = f->dataType() == FieldType::String || f->dataType() == FieldType::Unknown;
        if (value.isNull()) {
            conditions << expression + QStringLiteral(" IS NULL");
            continue;
        }
        if (text && (options & LocatePartialKey)) {
            conditions << expression + QStringLiteral(" LIKE :") + name;
            given.insert(name, likePrefix(value.toString()));
        } else {
            conditions << expression + QStringLiteral(" = :") + name;
            given.insert(name, stored(*f, value));
        }
    }
    QVariantList binds;
    const QString sql = placeholderSql(select.keysSql(m_pagedOrder, conditions.join(QStringLiteral(" AND "))),
                                       [&](const QString& name) { return given.contains(name) ? given.value(name) : param(name); },
                                       binds);
    const std::vector<qint64> keys = readKeys(connectionOrThrow(), sql, binds, {});
    const QSet<qint64> candidates(keys.begin(), keys.end());
    return locateAmong(fieldNames, values, options,
                       [&](const DataRow& row) { return row.key == 0 || candidates.contains(row.key); });
}

} // namespace tarvex
