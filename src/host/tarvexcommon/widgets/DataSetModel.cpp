#include "DataSetModel.h"

#include "Dialogs.h"

namespace tarvex {

namespace {

bool isNumeric(FieldType type)
{
    return type == FieldType::Integer || type == FieldType::LargeInt || type == FieldType::Float;
}

} // namespace

DataSetModel::DataSetModel(DataSet* dataSet, QObject* parent) : QAbstractTableModel(parent), m_dataSet(dataSet)
{
    connect(dataSet, &DataSet::modelReset, this, &DataSetModel::resetFromDataSet);
    // Single rows follow as single rows; a model that lost step with the
    // dataset (controls were disabled) is reset instead.
    connect(dataSet, &DataSet::rowAboutToBeInserted, this, [this](int row) {
        m_changing = inStep();
        if (m_changing)
            beginInsertRows(QModelIndex(), row, row);
    });
    connect(dataSet, &DataSet::rowInserted, this, [this] {
        if (!m_changing)
            return resetFromDataSet();
        ++m_rows;
        endInsertRows();
        m_changing = false;
    });
    connect(dataSet, &DataSet::rowAboutToBeRemoved, this, [this](int row) {
        m_changing = inStep();
        if (m_changing)
            beginRemoveRows(QModelIndex(), row, row);
    });
    connect(dataSet, &DataSet::rowRemoved, this, [this] {
        if (!m_changing)
            return resetFromDataSet();
        --m_rows;
        endRemoveRows();
        m_changing = false;
    });
    connect(dataSet, &DataSet::rowAboutToBeMoved, this, [this](int from, int to) {
        m_changing = inStep() &&
                     beginMoveRows(QModelIndex(), from, from, QModelIndex(), to > from ? to + 1 : to);
    });
    connect(dataSet, &DataSet::rowMoved, this, [this] {
        if (!m_changing)
            return resetFromDataSet();
        endMoveRows();
        m_changing = false;
    });
    connect(dataSet, &DataSet::stateChanged, this, [this] {
        // Closing and opening change the columns and rows wholesale.
        if (!m_dataSet->isActive() ? m_rows != 0 || !m_columns.isEmpty() : m_rows != m_dataSet->recordCount())
            resetFromDataSet();
    });
    connect(dataSet, &DataSet::rowChanged, this, [this](int row) {
        if (row >= 0 && row < m_rows && !m_columns.isEmpty())
            emit dataChanged(index(row, 0), index(row, int(m_columns.size()) - 1));
    });
    resetFromDataSet();
}

DataSetModel::RowPainter DataSetModel::rowsWhere(const QString& fieldName, const QString& value, const QColor& colour)
{
    return [fieldName, value, colour](const DataSet& ds, int row) {
        const Field* field = ds.findField(fieldName);
        if (field && field->index() >= 0 && ds.valueAt(row, field->index()).toString() == value)
            return colour;
        return QColor();
    };
}

void DataSetModel::setRowPainter(RowPainter painter)
{
    m_painter = std::move(painter);
    if (m_rows > 0 && !m_columns.isEmpty())
        emit dataChanged(index(0, 0), index(m_rows - 1, int(m_columns.size()) - 1), {Qt::BackgroundRole});
}

void DataSetModel::resetFromDataSet()
{
    beginResetModel();
    m_columns.clear();
    m_rows = 0;
    if (m_dataSet && m_dataSet->isActive()) {
        if (m_fixed.isEmpty()) {
            for (Field* field : m_dataSet->fields())
                if (field->visible())
                    m_columns << field;
        } else {
            for (const Column& column : m_fixed)
                if (Field* field = m_dataSet->findField(column.fieldName); field && field->index() >= 0)
                    m_columns << field;
        }
        m_rows = m_dataSet->recordCount();
    }
    endResetModel();
}

void DataSetModel::setColumns(const QList<Column>& columns)
{
    m_fixed = columns;
    resetFromDataSet();
}

void DataSetModel::refreshColumns()
{
    resetFromDataSet();
}

Field* DataSetModel::fieldAt(int column) const
{
    return column >= 0 && column < m_columns.size() ? m_columns[column] : nullptr;
}

int DataSetModel::columnOf(const Field* field) const
{
    return int(m_columns.indexOf(const_cast<Field*>(field)));
}

int DataSetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int DataSetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant DataSetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows || !m_dataSet || index.row() >= m_dataSet->recordCount())
        return QVariant();
    const Field* field = fieldAt(index.column());
    if (!field || field->index() < 0)
        return QVariant();
    try {
        return dataOf(index, *field, role);
    } catch (const std::exception&) {
        // A page of a long list that could not be read (the connection's
        // loss is told by the connection): the cell stays empty.
        return QVariant();
    }
}

QVariant DataSetModel::dataOf(const QModelIndex& index, const Field& field, int role) const
{
    switch (role) {
    case Qt::DisplayRole:
        return m_dataSet->displayTextAt(index.row(), field.index());
    case Qt::EditRole:
        return m_dataSet->textAt(index.row(), field.index());
    case Qt::TextAlignmentRole:
        return int((isNumeric(field.dataType()) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        if (m_painter) {
            const QColor colour = m_painter(*m_dataSet, index.row());
            if (colour.isValid())
                return colour;
        }
        return QVariant();
    default:
        return QVariant();
    }
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    const Field* field = fieldAt(section);
    if (!field)
        return QVariant();
    if (role == Qt::DisplayRole) {
        for (const Column& column : m_fixed)
            if (!column.title.isEmpty() && column.fieldName.compare(field->fieldName(), Qt::CaseInsensitive) == 0)
                return column.title;
        return field->displayLabel();
    }
    if (role == Qt::TextAlignmentRole)
        return int((isNumeric(field->dataType()) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    return QVariant();
}

Qt::ItemFlags DataSetModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const Field* field = fieldAt(index.column());
    if (field && !field->readOnly() && m_dataSet && !m_dataSet->isReadOnly())
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool DataSetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    m_editRefused = false;
    if (role != Qt::EditRole || !index.isValid() || !(flags(index) & Qt::ItemIsEditable))
        return false;
    Field* field = fieldAt(index.column());
    try {
        if (m_dataSet->currentRow() != index.row()) {
            m_dataSet->checkBrowseMode();
            m_dataSet->setRecNo(index.row() + 1);
        }
        if (!m_dataSet->isEditing())
            m_dataSet->edit();
        field->setText(value.toString());
    } catch (const std::exception& e) {
        m_editRefused = true;
        dialogs().showException(e);
        return false;
    }
    return true;
}

void DataSetModel::sort(int column, Qt::SortOrder order)
{
    const Field* field = fieldAt(column);
    if (!field || !m_dataSet)
        return;
    m_dataSet->setSortedFields(field->fieldName() + (order == Qt::AscendingOrder ? QStringLiteral(" ASC")
                                                                                  : QStringLiteral(" DESC")));
}

QList<DataSetModel::Column> declareColumns(DataSet& rows, const QList<DeclaredColumn>& columns)
{
    QList<DataSetModel::Column> shown;
    for (const DeclaredColumn& column : columns) {
        Field& field = rows.declareField(QString::fromUtf8(column.field));
        field.setDisplayLabel(QString::fromUtf8(column.title));
        if (column.format)
            field.setDisplayFormat(QString::fromUtf8(column.format));
        field.setReadOnly(column.readOnly);
        shown.append({field.fieldName(), QString()});
    }
    return shown;
}

} // namespace tarvex
