#include "DataSet.h"

#include "DataSetErrors.h"
#include "FilterExpression.h"
#include "HostStrings.h"
#include "ResultStore.h"
#include "RowOrder.h"

#include <algorithm>

namespace tarvex {

namespace {

// Restores the row that field reads see when valueAt & co. return or throw.
class ReadRowGuard {
public:
    ReadRowGuard(const DataRow*& slot, const DataRow* row) : m_slot(slot), m_previous(slot) { m_slot = row; }
    ~ReadRowGuard() { m_slot = m_previous; }

private:
    const DataRow*& m_slot;
    const DataRow* m_previous;
};

} // namespace

DataSet::DataSet(QObject* parent) : QObject(parent)
{
}

DataSet::~DataSet() = default;

// ------------------------------------------------------------------ opening

void DataSet::open()
{
    if (isActive())
        return;
    try {
        loadRows();
        if (!m_sortedFields.isEmpty() && !rowsComeOrdered()) {
            m_order = std::make_unique<RowOrder>(m_sortedFields, [this](const QString& n) { return findField(n); });
            m_order->setStore(m_store.get());
        }
        if (m_filtered && !m_filterText.trimmed().isEmpty())
            m_filter = std::make_unique<FilterExpression>(m_filterText, [this](const QString& n) { return findField(n); });
    } catch (...) {
        m_rows.clear();
        m_order.reset();
        m_filter.reset();
        bindFields({});
        throw;
    }
    m_state = DataSetState::Browse;
    m_modified = false;
    applyViewOrder();
    m_current = m_view.empty() ? -1 : 0;
    m_bof = true;
    m_eof = m_view.empty();
    notifyReset();
    fire(m_events.afterOpen);
    if (!m_view.empty())
        fire(m_events.afterScroll);
}

void DataSet::close()
{
    if (!isActive())
        return;
    fire(m_events.beforeClose);
    m_insertRow.reset();
    m_backup.clear();
    m_view.clear();
    m_rows.clear();
    m_store.reset();
    m_order.reset();
    m_filter.reset();
    bindFields({});
    m_state = DataSetState::Inactive;
    m_modified = false;
    m_current = -1;
    m_bof = m_eof = true;
    notifyReset();
}

void DataSet::checkActive() const
{
    if (!isActive())
        throw DataSetError(ErrorKind::Internal, DS_CLOSED_ERR,
                           QStringLiteral("Cannot perform this operation on a closed dataset (%1)").arg(objectName()));
}

// ------------------------------------------------------------------- fields

QList<Field*> DataSet::fields() const
{
    return QList<Field*>(m_fields.begin(), m_fields.end());
}

Field* DataSet::findField(const QString& name) const
{
    const auto it = m_fieldPool.find(name.toLower());
    return it == m_fieldPool.end() ? nullptr : it->second.get();
}

Field& DataSet::fieldByName(const QString& name) const
{
    Field* field = findField(name);
    if (!field)
        throw DataSetError(ErrorKind::Internal, DS_NO_FIELD_ERR.arg(name),
                           QStringLiteral("Field \"%1\" not found in %2").arg(name, objectName()));
    return *field;
}

Field& DataSet::declareField(const QString& name, FieldType type)
{
    Field& field = fieldForColumn(name);
    if (type != FieldType::Unknown) {
        field.m_declaredType = type;
        field.m_type = type;
    }
    return field;
}

Field& DataSet::fieldForColumn(const QString& name)
{
    std::unique_ptr<Field>& slot = m_fieldPool[name.toLower()];
    if (!slot)
        slot = std::make_unique<Field>(this, name);
    return *slot;
}

void DataSet::bindFields(const std::vector<Field*>& fields)
{
    for (Field* f : m_fields)
        f->m_index = -1;
    m_fields = fields;
    for (size_t i = 0; i < m_fields.size(); ++i)
        m_fields[i]->m_index = int(i);
}

QVariant DataSet::fieldValue(int index) const
{
    const DataRow* row = m_readRow ? m_readRow : currentRowData();
    return row ? rowValue(*row, index) : QVariant();
}

QVariant DataSet::fieldOldValue(int index) const
{
    const DataRow* row = m_readRow ? m_readRow : currentRowData();
    if (!row || row == m_insertRow.get() || row->status == DataRow::Status::Inserted)
        return QVariant();
    if (!row->original.isEmpty())
        return row->original.at(index);
    if (m_state == DataSetState::Edit && row == currentRowData())
        return m_backup.at(index);
    return rowValue(*row, index);
}

void DataSet::assignField(Field& field, const QVariant& value)
{
    checkActive();
    if (!isEditing())
        throw DataSetError(ErrorKind::Internal, DS_NOT_EDITING_ERR,
                           QStringLiteral("%1 is not in edit or insert state").arg(objectName()));
    if (field.m_index < 0)
        throw DataSetError(ErrorKind::Internal, DS_NO_FIELD_ERR.arg(field.fieldName()),
                           QStringLiteral("Field \"%1\" is not among the columns of %2").arg(field.fieldName(), objectName()));
    if (field.readOnly())
        throw DataSetError(ErrorKind::Validation, DS_FIELD_READ_ONLY_ERR.arg(field.displayLabel()),
                           QStringLiteral("Field \"%1\" cannot be modified").arg(field.fieldName()));
    DataRow* row = currentRowData();
    row->values[field.m_index] = field.convert(value);
    m_modified = true;
    if (signalsOn())
        emit rowChanged(m_current);
    if (field.m_onChange)
        field.m_onChange(field);
}

// ------------------------------------------------------- rows without cursor

QVariant DataSet::valueAt(int row, int column) const
{
    return rowValue(*m_view.at(size_t(row)), column);
}

QString DataSet::displayTextAt(int row, int column) const
{
    ReadRowGuard guard(m_readRow, m_view.at(size_t(row)));
    return m_fields.at(size_t(column))->displayText();
}

QString DataSet::textAt(int row, int column) const
{
    ReadRowGuard guard(m_readRow, m_view.at(size_t(row)));
    return m_fields.at(size_t(column))->text();
}

// ------------------------------------------------------------------ editing

void DataSet::checkCanModify() const
{
    if (m_readOnly)
        throw DataSetError(ErrorKind::Validation, DS_READ_ONLY_ERR, QStringLiteral("%1 is read-only").arg(objectName()));
}

void DataSet::checkBrowseMode()
{
    if (!isEditing())
        return;
    if (m_modified)
        post();
    else
        cancel();
}

void DataSet::append()
{
    startInsert(true);
}

void DataSet::insert()
{
    startInsert(false);
}

void DataSet::startInsert(bool append)
{
    checkActive();
    checkBrowseMode();
    checkCanModify();
    fire(m_events.beforeInsert);

    const int previous = m_current;
    const bool previousBof = m_bof;
    const bool previousEof = m_eof;
    const int at = append || m_current < 0 ? int(m_view.size()) : m_current;
    m_insertRow = makeRow(newRowValues());
    if (signalsOn())
        emit rowAboutToBeInserted(at);
    m_view.insert(m_view.begin() + at, m_insertRow.get());
    m_currentBeforeInsert = previous;
    m_current = at;
    m_state = DataSetState::Insert;
    m_bof = m_eof = false;
    if (signalsOn()) {
        emit rowInserted(at);
        emit currentRowChanged(at);
        emit stateChanged();
    }
    try {
        fire(m_events.onNewRecord);
    } catch (...) {
        if (signalsOn())
            emit rowAboutToBeRemoved(at);
        m_view.erase(m_view.begin() + at);
        m_insertRow.reset();
        m_current = previous;
        m_bof = previousBof;
        m_eof = previousEof;
        m_state = DataSetState::Browse;
        if (signalsOn()) {
            emit rowRemoved(at);
            emit currentRowChanged(m_current);
            emit stateChanged();
        }
        throw;
    }
    m_modified = false;
    fire(m_events.afterInsert);
    fire(m_events.afterScroll);
}

void DataSet::edit()
{
    checkActive();
    if (isEditing())
        return;
    if (m_view.empty()) {
        insert();
        return;
    }
    checkCanModify();
    fire(m_events.beforeEdit);
    m_backup = currentRowData()->values;
    m_state = DataSetState::Edit;
    m_modified = false;
    if (signalsOn())
        emit stateChanged();
    fire(m_events.afterEdit);
}

void DataSet::checkRequiredFields()
{
    const DataRow* row = currentRowData();
    for (Field* field : m_fields) {
        if (!field->required())
            continue;
        const QVariant& v = row->values.at(field->index());
        if (v.isNull() || (field->dataType() == FieldType::String && v.toString().isEmpty()))
            throw FieldError(CMN_FIELD_REQUIRED_ERR.arg(field->displayLabel()), field);
    }
}

void DataSet::post()
{
    checkActive();
    if (!isEditing())
        return;
    fire(m_events.beforePost);
    checkRequiredFields();
    DataRow& row = *currentRowData();
    if (m_state == DataSetState::Edit) {
        storeUpdate(row, m_backup);
    } else {
        storeInsert(row);
        storeInsertedRow(std::move(m_insertRow));
    }
    m_state = DataSetState::Browse;
    m_backup.clear();
    m_modified = false;
    if (signalsOn()) {
        emit rowChanged(m_current);
        emit stateChanged();
    }
    placePostedRow();
    fire(m_events.afterPost);
}

void DataSet::storeInsertedRow(std::unique_ptr<DataRow> row)
{
    // Stored next to its neighbour in the view, so clearing the sort order
    // shows it where it was inserted.
    auto position = m_rows.end();
    if (size_t(m_current) + 1 < m_view.size()) {
        const DataRow* next = m_view[size_t(m_current) + 1];
        for (auto it = m_rows.begin(); it != m_rows.end(); ++it) {
            if (it->get() == next) {
                position = it;
                break;
            }
        }
    }
    m_rows.insert(position, std::move(row));
}

void DataSet::placePostedRow()
{
    DataRow* row = currentRowData();
    if (m_filter && !m_filter->matches(row->values)) {
        const int at = m_current;
        if (signalsOn())
            emit rowAboutToBeRemoved(at);
        m_view.erase(m_view.begin() + at);
        if (signalsOn())
            emit rowRemoved(at);
        const int n = int(m_view.size());
        m_current = n == 0 ? -1 : qMin(at, n - 1);
        m_bof = m_eof = n == 0;
        if (signalsOn())
            emit currentRowChanged(m_current);
        return;
    }
    if (!m_keepSorted || !m_order)
        return;
    const int at = m_current;
    // A row already in order stays put (among equals too), so a walk that
    // posts row after row meets each once.
    const bool afterPrevious = at == 0 || m_order->compare(*m_view[size_t(at) - 1], *row) <= 0;
    const bool beforeNext = size_t(at) + 1 >= m_view.size() || m_order->compare(*row, *m_view[size_t(at) + 1]) <= 0;
    if (afterPrevious && beforeNext)
        return;
    m_view.erase(m_view.begin() + at);
    const int to = int(m_order->insertPosition(m_view, *row));
    if (to == at) {
        m_view.insert(m_view.begin() + at, row);
        return;
    }
    if (signalsOn()) {
        // Announced with the view as it was: the row goes back for the moment.
        m_view.insert(m_view.begin() + at, row);
        emit rowAboutToBeMoved(at, to);
        m_view.erase(m_view.begin() + at);
    }
    m_view.insert(m_view.begin() + to, row);
    m_current = to;
    if (signalsOn()) {
        emit rowMoved(at, to);
        emit currentRowChanged(m_current);
    }
}

void DataSet::cancel()
{
    checkActive();
    if (!isEditing())
        return;
    if (m_state == DataSetState::Insert) {
        const int at = m_current;
        if (signalsOn())
            emit rowAboutToBeRemoved(at);
        m_view.erase(m_view.begin() + at);
        m_insertRow.reset();
        const int n = int(m_view.size());
        m_current = n == 0 ? -1 : qBound(0, m_currentBeforeInsert, n - 1);
        m_bof = m_eof = n == 0;
        if (signalsOn()) {
            emit rowRemoved(at);
            emit currentRowChanged(m_current);
        }
    } else {
        currentRowData()->values = m_backup;
        if (signalsOn())
            emit rowChanged(m_current);
    }
    m_backup.clear();
    m_state = DataSetState::Browse;
    m_modified = false;
    if (signalsOn())
        emit stateChanged();
    fire(m_events.afterCancel);
}

void DataSet::deleteRecord()
{
    checkActive();
    if (m_state == DataSetState::Insert) {
        cancel();
        return;
    }
    if (m_view.empty())
        throw DataSetError(ErrorKind::Validation, DS_EMPTY_DELETE_ERR,
                           QStringLiteral("Cannot delete from an empty dataset (%1)").arg(objectName()));
    checkCanModify();
    fire(m_events.beforeDelete);

    DataRow* row = currentRowData();
    const QVector<QVariant> before = m_state == DataSetState::Edit ? m_backup : row->values;
    const bool keep = storeDelete(*row, before);
    row->values = before;
    m_backup.clear();
    m_state = DataSetState::Browse;
    m_modified = false;

    const int at = m_current;
    if (signalsOn())
        emit rowAboutToBeRemoved(at);
    m_view.erase(m_view.begin() + at);
    if (!keep) {
        for (auto it = m_rows.begin(); it != m_rows.end(); ++it) {
            if (it->get() == row) {
                m_rows.erase(it);
                break;
            }
        }
    }
    const int n = int(m_view.size());
    m_current = n == 0 ? -1 : qMin(at, n - 1);
    m_bof = m_eof = n == 0;
    if (signalsOn()) {
        emit rowRemoved(at);
        emit currentRowChanged(m_current);
        emit stateChanged();
    }
    fire(m_events.afterDelete);
    fire(m_events.afterScroll);
}

bool DataSet::reopenPosted(Bookmark rowId, const QVector<QVariant>& posted, const QVector<QVariant>& before,
                           bool inserted, const std::vector<int>& clearOnInsert)
{
    if (!isActive())
        return false;
    auto stored = std::find_if(m_rows.begin(), m_rows.end(), [rowId](const auto& r) { return r->id == rowId; });
    if (stored == m_rows.end())
        return false;
    DataRow* row = stored->get();
    const bool editingIt = isEditing() && currentRowData() == row;
    if (isEditing() && !editingIt)
        return false;
    QVector<QVariant> values = editingIt ? row->values : posted;
    int at = viewIndexOf(row);
    if (inserted) {
        for (int column : clearOnInsert) {
            if (column >= 0 && column < values.size())
                values[column] = QVariant();
        }
        m_insertRow = std::move(*stored);
        m_rows.erase(stored);
        if (at < 0) {
            at = m_current < 0 ? int(m_view.size()) : m_current;
            if (signalsOn())
                emit rowAboutToBeInserted(at);
            m_view.insert(m_view.begin() + at, row);
            if (signalsOn())
                emit rowInserted(at);
        }
        m_currentBeforeInsert = at;
        m_backup.clear();
        m_state = DataSetState::Insert;
    } else {
        if (at < 0) {
            at = int(m_view.size());
            if (signalsOn())
                emit rowAboutToBeInserted(at);
            m_view.push_back(row);
            if (signalsOn())
                emit rowInserted(at);
        }
        m_backup = before;
        m_state = DataSetState::Edit;
    }
    row->values = values;
    m_current = at;
    m_bof = m_eof = false;
    m_modified = true;
    if (signalsOn()) {
        emit rowChanged(at);
        emit currentRowChanged(at);
        emit stateChanged();
    }
    return true;
}

QVector<QVariant> DataSet::newRowValues() const
{
    return QVector<QVariant>(int(m_fields.size()));
}

void DataSet::storeInsert(DataRow&)
{
}

void DataSet::storeUpdate(DataRow&, const QVector<QVariant>&)
{
}

bool DataSet::storeDelete(DataRow&, const QVector<QVariant>&)
{
    return false;
}

std::unique_ptr<DataRow> DataSet::makeRow(QVector<QVariant> values)
{
    auto row = std::make_unique<DataRow>();
    row->values = std::move(values);
    row->id = m_nextRowId++;
    return row;
}

void DataSet::setRows(RowList rows)
{
    m_rows = std::move(rows);
}

void DataSet::setStore(std::shared_ptr<const ResultStore> store)
{
    m_store = std::move(store);
    if (m_order)
        m_order->setStore(m_store.get());
}

std::unique_ptr<DataRow> DataSet::makeStoredRow(qint32 storeRow)
{
    auto row = std::make_unique<DataRow>();
    row->stored = storeRow;
    row->id = m_nextRowId++;
    return row;
}

void DataSet::readPending(const DataRow&) const
{
}

QVariant DataSet::rowValue(const DataRow& row, int column) const
{
    if (row.pending)
        readPending(row);
    if (row.stored >= 0 && row.values.isEmpty())
        return m_store->value(row.stored, column);
    return row.values.at(column);
}

QVector<QVariant> DataSet::rowValues(const DataRow& row) const
{
    if (row.pending)
        readPending(row);
    if (row.stored < 0 || !row.values.isEmpty())
        return row.values;
    QVector<QVariant> values(int(m_fields.size()));
    for (int c = 0; c < values.size(); ++c)
        values[c] = m_store->value(row.stored, c);
    return values;
}

void DataSet::reload(const std::function<bool(const DataRow&, const DataRow&)>& same)
{
    checkActive();
    checkBrowseMode();
    std::unique_ptr<DataRow> before;
    if (const DataRow* current = currentRowData())
        before = std::make_unique<DataRow>(*current);
    const int previous = m_current;
    loadRows();
    if (rowsComeOrdered())
        m_order.reset();
    else if (!m_order && !m_sortedFields.trimmed().isEmpty())
        m_order = std::make_unique<RowOrder>(m_sortedFields, [this](const QString& n) { return findField(n); });
    if (m_order)
        m_order->setStore(m_store.get());
    applyViewOrder();
    const int n = int(m_view.size());
    m_current = n == 0 ? -1 : qMin(qMax(previous, 0), n - 1);
    if (before) {
        for (int i = 0; i < n; ++i) {
            if (same(*before, *m_view[size_t(i)])) {
                m_current = i;
                break;
            }
        }
    }
    m_bof = m_current <= 0;
    m_eof = n == 0;
    notifyReset();
}

// ----------------------------------------------------------------- controls

void DataSet::disableControls()
{
    ++m_disableCount;
}

void DataSet::enableControls()
{
    if (m_disableCount == 0)
        return;
    if (--m_disableCount == 0)
        notifyReset();
}

void DataSet::notifyReset()
{
    if (!signalsOn())
        return;
    emit modelReset();
    emit currentRowChanged(m_current);
    emit stateChanged();
}

void DataSet::fire(const Event& event)
{
    if (event)
        event(*this);
}

} // namespace tarvex
