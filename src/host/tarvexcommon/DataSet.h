#pragma once
// The dataset: rows of fields with a cursor, the browse / edit / insert
// states, events the data module hangs its rules on, client-side sort,
// filter and locate, and signals a table model observes. The query dataset
// (QueryDataSet) reads its rows from the database and writes changes back;
// the in-memory table (MemoryTable) holds rows built in code.
//
// Rows are stored as one vector of values each; a view (the visible rows in
// their order) points into them. Events are plain functions: an exception
// thrown from a before-event or the new-record event stops the operation and
// leaves the dataset as it was (SilentAbort stops it without a message).

#include "Field.h"

#include <QObject>
#include <QVector>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace tarvex {

class FilterExpression;
class ResultStore;
class RowOrder;

enum class DataSetState { Inactive, Browse, Edit, Insert };

enum LocateOption { LocateCaseInsensitive = 0x1, LocatePartialKey = 0x2 };

// A stored row. Datasets own them; the view and bookmarks refer to them.
struct DataRow {
    enum class Status : quint8 { Unchanged, Modified, Inserted, Deleted };
    QVector<QVariant> values;
    QVector<QVariant> original;  // as read, kept while a cached change is pending
    quint64 id = 0;              // the bookmark
    quint64 changeOrder = 0;     // when the pending change was first made
    qint64 key = 0;              // a row of a list read a page at a time: its key
    Status status = Status::Unchanged;
    // Values not read yet: the dataset reads the row's page on first use.
    bool pending = false;
    // A row of the dataset's result store (-1: none): while `values` is
    // empty its values are read from there; a change first copies them here.
    qint32 stored = -1;
};

class DataSet : public QObject {
    Q_OBJECT
public:
    using Event = std::function<void(DataSet&)>;
    struct Events {
        Event afterOpen;
        Event beforeClose;
        Event beforeInsert;
        Event onNewRecord;   // runs in insert state; assignments here do not count as changes
        Event afterInsert;
        Event beforeEdit;
        Event afterEdit;
        Event beforePost;
        Event afterPost;
        Event afterCancel;
        Event beforeDelete;
        Event afterDelete;
        Event afterScroll;
    };
    using Bookmark = quint64;

    explicit DataSet(QObject* parent = nullptr);
    ~DataSet() override;

    Events& events() { return m_events; }

    // --- opening
    void open();
    void close();
    bool isActive() const { return m_state != DataSetState::Inactive; }
    DataSetState state() const { return m_state; }
    bool isEditing() const { return m_state == DataSetState::Edit || m_state == DataSetState::Insert; }
    // A field was assigned since edit or insert began (new-record defaults aside).
    bool isModified() const { return m_modified; }
    // Editing, inserting and deleting refused.
    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool on) { m_readOnly = on; }

    // --- fields (the columns of the open dataset, in order)
    int fieldCount() const { return int(m_fields.size()); }
    Field& field(int index) const { return *m_fields.at(size_t(index)); }
    QList<Field*> fields() const;
    // Any letter case; also finds fields declared but not (yet) returned.
    Field* findField(const QString& name) const;
    // Throws DataSetError for an unknown name.
    Field& fieldByName(const QString& name) const;
    // The field of that name, created when new. A type other than Unknown
    // overrides the column's (a CHAR(1) 'y'/'n' or TINYINT column as Boolean).
    Field& declareField(const QString& name, FieldType type = FieldType::Unknown);

    // --- cursor
    void first();
    void last();
    void next();
    void prior();
    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }
    bool isEmpty() const { return m_view.empty(); }
    int recordCount() const { return int(m_view.size()); }
    // 1-based; 0 when empty.
    int recNo() const { return m_current + 1; }
    void setRecNo(int recNo);
    // 0-based current row in the view; -1 when empty.
    int currentRow() const { return m_current; }
    Bookmark bookmark() const;
    bool bookmarkValid(Bookmark bookmark) const;
    void gotoBookmark(Bookmark bookmark);
    // Moves to the first row whose fields (names separated by ";") equal the
    // values (one value, or a QVariantList for several fields). Returns false
    // and stays put when none does.
    virtual bool locate(const QString& fieldNames, const QVariant& values, int options = 0);

    // --- rows without moving the cursor (table models, export)
    QVariant valueAt(int row, int column) const;
    QString displayTextAt(int row, int column) const;
    QString textAt(int row, int column) const;

    // --- editing
    void append();
    void insert();
    // On an empty dataset edit inserts.
    void edit();
    void post();
    void cancel();
    void deleteRecord();
    // Posts a modified edit, cancels an unmodified one.
    void checkBrowseMode();

    // --- order and filter
    // Field names separated by "," or ";", each optionally followed by ASC
    // or DESC; empty restores the order rows were read in. Texts sort by
    // Serbian Latin rules (c, č, ć, d, dž, đ), nulls first.
    virtual void setSortedFields(const QString& fields);
    const QString& sortedFields() const { return m_sortedFields; }
    // Comparisons of fields with constants joined by AND, OR, NOT and
    // parentheses: "active=True", "name <> 'x' AND price >= 10", "code IS NULL".
    void setFilter(const QString& expression);
    const QString& filter() const { return m_filterText; }
    void setFiltered(bool on);
    bool isFiltered() const { return m_filtered; }
    // Posted rows move to their place in the sort order (in-memory tables,
    // lists kept in a user-visible order).
    void setKeepSorted(bool on) { m_keepSorted = on; }

    // --- controls: while disabled (a counter) no signal goes out; enabling
    // again sends one reset.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disableCount > 0; }

signals:
    // Rows read anew, re-sorted or re-filtered wholesale.
    void modelReset();
    void rowChanged(int row);
    // A single visible row added, removed or moved is announced before the
    // view changes and again after it, so a table model can keep its
    // selection and scroll position. `to` is the row's place once moved.
    void rowAboutToBeInserted(int row);
    void rowInserted(int row);
    void rowAboutToBeRemoved(int row);
    void rowRemoved(int row);
    void rowAboutToBeMoved(int from, int to);
    void rowMoved(int from, int to);
    void currentRowChanged(int row);
    void stateChanged();

protected:
    using RowList = std::vector<std::unique_ptr<DataRow>>;

    // Binds the columns and fills the storage on open and refresh.
    virtual void loadRows() = 0;
    // Reads the values of a pending row (and of its page); the rows of
    // datasets that have none are never pending.
    virtual void readPending(const DataRow& row) const;
    // The rows come from loadRows in the sort order already (the server
    // sorted them): the client-side order is not applied.
    virtual bool rowsComeOrdered() const { return false; }
    // Locate among the rows `candidate` lets through (all when empty): a
    // list read a page at a time asks the server which rows may match.
    bool locateAmong(const QString& fieldNames, const QVariant& values, int options,
                     const std::function<bool(const DataRow&)>& candidate);
    const std::vector<DataRow*>& view() const { return m_view; }
    int viewIndexOf(const DataRow* row) const;
    void setSortText(const QString& fields) { m_sortedFields = fields; }
    // Values of a new row (the column defaults).
    virtual QVector<QVariant> newRowValues() const;
    // Posting and deleting write through these; an exception refuses the
    // change and leaves the dataset as it was.
    virtual void storeInsert(DataRow& row);
    virtual void storeUpdate(DataRow& row, const QVector<QVariant>& before);
    // Returns true when the row stays stored (hidden) as a pending deletion.
    virtual bool storeDelete(DataRow& row, const QVector<QVariant>& before);

    // For loadRows: the columns in order, and the rows.
    void bindFields(const std::vector<Field*>& fields);
    Field& fieldForColumn(const QString& name);
    void setRows(RowList rows);
    RowList& storage() { return m_rows; }
    const RowList& storage() const { return m_rows; }
    std::unique_ptr<DataRow> makeRow(QVector<QVariant> values);
    // Rows whose values stay in a result store (one store column per field,
    // in order) until a change needs them: a report's many rows cost the
    // store's compact columns and a small row each.
    void setStore(std::shared_ptr<const ResultStore> store);
    const ResultStore* store() const { return m_store.get(); }
    std::unique_ptr<DataRow> makeStoredRow(qint32 storeRow);
    // A value of a row, from its own values or from the store.
    QVariant rowValue(const DataRow& row, int column) const;
    // Every value of a row, as its own values hold them or the store.
    QVector<QVariant> rowValues(const DataRow& row) const;
    const DataRow* currentRowData() const;
    DataRow* currentRowData();
    // Re-reads through loadRows and keeps the current row where `same`
    // finds it again (else the same record number).
    void reload(const std::function<bool(const DataRow& before, const DataRow& after)>& same);
    // Rebuilds the view after stored rows changed wholesale; keeps the
    // current row when it is still visible.
    void rebuildView();
    void checkActive() const;
    void notifyReset();
    // Undoes a post that a rolled-back transaction took back from the
    // database: the row (by its bookmark) is edited or inserted again with
    // `posted`, or with what is typed into it when it is being edited again
    // by now; `before` is what an edit started from. The columns in
    // `clearOnInsert` (keys the server gave) are emptied of an inserted row.
    // Returns false when the row is gone or another row is being edited.
    bool reopenPosted(Bookmark rowId, const QVector<QVariant>& posted, const QVector<QVariant>& before,
                      bool inserted, const std::vector<int>& clearOnInsert);

private:
    friend class Field;

    // Field support
    QVariant fieldValue(int index) const;
    QVariant fieldOldValue(int index) const;
    void assignField(Field& field, const QVariant& value);

    void checkCanModify() const;
    void checkRequiredFields();
    void startInsert(bool append);
    void scrollTo(int row, bool bof, bool eof);
    void placePostedRow();
    void storeInsertedRow(std::unique_ptr<DataRow> row);
    void applyViewOrder();
    bool rowPassesFilter(const DataRow& row) const;
    void fire(const Event& event);
    bool signalsOn() const { return m_disableCount == 0; }

    Events m_events;
    DataSetState m_state = DataSetState::Inactive;
    bool m_readOnly = false;
    bool m_modified = false;
    bool m_keepSorted = false;

    std::map<QString, std::unique_ptr<Field>> m_fieldPool;  // by lower-case name
    std::vector<Field*> m_fields;

    RowList m_rows;                       // stored rows, in the order read
    std::vector<DataRow*> m_view;         // visible rows in their order
    std::unique_ptr<DataRow> m_insertRow; // the row being inserted (in the view, not stored)
    QVector<QVariant> m_backup;           // values before the edit began
    int m_current = -1;
    int m_currentBeforeInsert = -1;
    bool m_bof = true;
    bool m_eof = true;
    quint64 m_nextRowId = 1;
    mutable const DataRow* m_readRow = nullptr;  // valueAt & co. read this row

    QString m_sortedFields;
    std::unique_ptr<RowOrder> m_order;
    std::shared_ptr<const ResultStore> m_store;
    QString m_filterText;
    bool m_filtered = false;
    std::unique_ptr<FilterExpression> m_filter;

    int m_disableCount = 0;
};

} // namespace tarvex
