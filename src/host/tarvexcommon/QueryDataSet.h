#pragma once
// The query dataset (the module's ...ZQ): rows read with an SQL statement
// whose ":name" parameters are replaced client-side by safely quoted
// literals, and changes written back to the statement's own table.
//
// Writing back: the own table is the first table of the FROM clause (or the
// one named with setUpdateTable). Only its columns are written; computed and
// joined columns can be changed in memory but never reach the database. A
// post of an edit UPDATEs just the columns whose values changed, locating the
// row by its primary key as read (all of its columns as read when the table
// has no key); an insert INSERTs, takes the new auto-increment key back and
// re-reads the row; a delete DELETEs by the key. All through bound
// parameters. New rows start with the table's column defaults.
//
// With cached updates on, inserts, edits and deletions stay in memory until
// applyUpdates() writes them, in the order they were made.
//
// Inside a transaction of the connection, what a post or an apply wrote
// counts only once the transaction commits: a rollback puts a posted row back
// into edit or insert state and the applied changes back into the cache, so
// the user's work is as it was before the save and can be saved again.

#include "DataSet.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace tarvex {

class Connection;
struct TableInfo;

// Rows read apart from a dataset, on another connection (a worker's): the
// statement as sent, its columns and its values. A list read a page at a
// time has every row's key (in `order`) and the values of its first page.
struct QueryRows {
    QString sql;
    QSqlRecord record;
    std::vector<QVector<QVariant>> values;
    bool paged = false;
    QString order;
    std::vector<qint64> keys;
};

// What opening a statement reads, to be read on another connection: made by
// QueryDataSet::readPlan on the dataset's thread, read by readPlanned.
struct ReadPlan {
    QString sql;            // with the values written in: tells statements apart
    QString marked;         // the statement as sent ("?" marks) and its values
    QVariantList values;
    // A list that may be read a page at a time: its keys' statement (with
    // every join kept in `keysAllJoins`, for a condition that names a joined
    // column without its table), and the statement of a page ("%1": keys).
    QString keys;
    QString keysAllJoins;
    QVariantList keyValues;
    QVariantList keyAllJoinsValues;
    QString page;
    QVariantList pageValues;
    QString order;
    int threshold = 0;
    int pageSize = 0;
};

class QueryDataSet : public DataSet {
    Q_OBJECT
public:
    explicit QueryDataSet(QObject* parent = nullptr);
    QueryDataSet(Connection* connection, const QString& sql, QObject* parent = nullptr);

    void setConnection(Connection* connection);
    Connection* connection() const { return m_connection; }

    // Changing the text closes the dataset. Parameter values stay, by name.
    void setSql(const QString& sql);
    const QString& sql() const { return m_sql; }
    // Names as written in the text, each once, in order.
    QStringList paramNames() const;
    // Any letter case; a parameter without a value reads as NULL.
    void setParam(const QString& name, const QVariant& value);
    QVariant param(const QString& name) const;
    // The statement with its values written in: what it reads, for telling
    // statements apart (it is sent with the values bound, see boundSql).
    QString expandedSql() const;
    // Another statement with this dataset's parameter values filled in.
    QString expandedSql(const QString& sql) const;
    // A statement as sent: "?" for each parameter, its values in `values`.
    QString boundSql(const QString& sql, QVariantList& values) const;

    // Reads a statement's rows on `db`, from any thread; `progress` hears the
    // rows read so far now and then. Throws DatabaseError.
    static QueryRows readRows(const QSqlDatabase& db, const QString& sql,
                              const std::function<void(int rows)>& progress = {});
    // The same with "?" placeholders bound to `values`.
    static QueryRows readRows(const QSqlDatabase& db, const QString& sql, const QVariantList& values,
                              const std::function<void(int rows)>& progress = {});
    // Sets the statement and opens with its rows read elsewhere (readRows of
    // expandedSql(sql)), as open() would have read them. Rows read for
    // another statement are not taken: the statement is read afresh.
    void openWith(const QString& sql, QueryRows rows);
    // What open() would read for the statement, for readPlanned; in that
    // sort order (as setSortedFields takes it) when given.
    ReadPlan readPlan(const QString& sql) const { return readPlan(sql, sortedFields()); }
    ReadPlan readPlan(const QString& sql, const QString& sortedFields) const;
    // Reads a plan's rows on `db`, from any thread (see readRows).
    static QueryRows readPlanned(const QSqlDatabase& db, const ReadPlan& plan,
                                 const std::function<void(int rows)>& progress = {});

    // A list of many rows read a page at a time: when `keyField` (an integer
    // naming one row) is set and an open finds more than `threshold` rows,
    // only their keys are read, in the sort order as the server sorts them
    // (its collation, its indexes), and each page of `pageSize` rows when
    // first shown. Sorting and locating then ask the server; rows far from
    // those in use are let go. Not with cached updates or a filter.
    void setPaging(const QString& keyField, int threshold = 20000, int pageSize = 100);
    bool isPaged() const { return m_paged; }
    // Rows whose values are held (read from their pages, or changed).
    int heldRows() const;

    bool locate(const QString& fieldNames, const QVariant& values, int options = 0) override;
    void setSortedFields(const QString& fields) override;

    void setUpdateTable(const QString& table) { m_updateTableSetting = table; }
    // The table posts write to (known once open); empty when none.
    const QString& updateTable() const { return m_updateTable; }

    void setCachedUpdates(bool on);
    bool cachedUpdates() const { return m_cachedUpdates; }
    bool updatesPending() const;
    // Posts a pending edit, then writes the pending changes in the order
    // they were made. Stops at the first failure (DatabaseError): what was
    // written stays written, the failed change and the rest stay pending.
    // Inside a transaction the changes stay pending until it commits.
    void applyUpdates();
    // Drops the pending changes (and a pending edit): rows are as read.
    void cancelUpdates();

    // Reads the rows again and stays on the same row (by key) when it is
    // still there. Throws DataSetError while cached changes are pending.
    void refresh();

protected:
    void loadRows() override;
    void readPending(const DataRow& row) const override;
    bool rowsComeOrdered() const override { return m_paged; }
    QVector<QVariant> newRowValues() const override;
    void storeInsert(DataRow& row) override;
    void storeUpdate(DataRow& row, const QVector<QVariant>& before) override;
    bool storeDelete(DataRow& row, const QVector<QVariant>& before) override;

private:
    Connection& connectionOrThrow() const;
    static QueryRows readPlanned(Connection& connection, const ReadPlan& plan, const std::function<void(int rows)>& progress);
    // The columns of a read result as fields; fills m_convert.
    std::vector<Field*> bindColumns(const QSqlRecord& record, const QString& sql);
    void convertValues(QVector<QVariant>& values) const;
    void loadPaged(QueryRows& read);
    qint64 keyOf(const DataRow& row) const;
    // Lets go of the values of rows far from view row `at`.
    void releaseFar(int at) const;
    void resolveOwnTable(const QString& sql);
    void writeInsert(DataRow& row);
    void writeUpdate(DataRow& row, const QVector<QVariant>& before);
    void writeDelete(const QVector<QVariant>& before);
    // " WHERE ..." locating a row by its key values; fills the bound values.
    QString keyCondition(const QVector<QVariant>& values, QVariantList& binds) const;
    void rereadRow(DataRow& row);
    QVariant stored(const Field& field, const QVariant& value) const;
    std::vector<Field*> writableFields() const;
    // Inside a transaction: a rollback reopens the posted row.
    void keepPostUntilCommit(const DataRow& row, const QVector<QVariant>& posted, const QVector<QVariant>& before,
                             bool inserted);
    // Inside a transaction: a rollback puts the pending rows back as they are
    // now; `deleted` takes the rows the apply removes until then.
    void keepCacheUntilCommit(std::shared_ptr<RowList> deleted);

    Connection* m_connection = nullptr;
    std::unique_ptr<QueryRows> m_prefetched;  // for the next loadRows
    QString m_sql;
    QHash<QString, QVariant> m_params;  // by lower-case name
    QString m_updateTableSetting;
    QString m_updateTable;
    QString m_ownAlias;
    const TableInfo* m_table = nullptr;  // of the open dataset's own table
    std::vector<int> m_keyColumns;       // the key's field indexes; empty when it cannot be located
    bool m_keyIsPrimary = false;
    bool m_cachedUpdates = false;
    quint64 m_changeCounter = 0;
    std::vector<bool> m_convert;         // columns whose values the field converts

    QString m_pagingKey;
    int m_pagingThreshold = 0;
    int m_pageSize = 100;
    bool m_paged = false;
    bool m_unpagedOrder = false;         // sorted by a column the server cannot sort by
    QString m_pagedOrder;                // the ORDER BY the keys were read in
    int m_keyIndex = -1;
    mutable int m_held = 0;
};

} // namespace tarvex
