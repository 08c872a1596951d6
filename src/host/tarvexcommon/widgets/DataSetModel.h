#pragma once
// A table model over a dataset: one column per visible field, display texts
// through the fields' formats and get-text handlers, edits through set-text
// and the dataset's edit state. Rows added, removed or moved are inserted,
// removed or moved in the model (the dataset announces them before it makes
// them), value changes update single rows; rows read anew reset it.

#include "DataSet.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QPointer>
#include <functional>

namespace tarvex {

class DataSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The background of a row (light red for a row under its minimum stock,
    // silver for the default row); an invalid colour leaves the row as is.
    using RowPainter = std::function<QColor(const DataSet&, int row)>;

    explicit DataSetModel(DataSet* dataSet, QObject* parent = nullptr);

    // Paints the rows whose field holds the value (the default row's silver).
    static RowPainter rowsWhere(const QString& fieldName, const QString& value, const QColor& colour);

    DataSet* dataSet() const { return m_dataSet; }
    void setRowPainter(RowPainter painter);
    // The field shown in a model column, or null.
    Field* fieldAt(int column) const;
    int columnOf(const Field* field) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    // Client-side sort by the column's field.
    void sort(int column, Qt::SortOrder order) override;

    // A single row is being inserted, removed or moved: from before the
    // model announces it until the views have followed.
    bool changingRows() const { return m_changing; }

    // Whether the last setData was refused (its message already shown).
    bool lastEditRefused() const { return m_editRefused; }

    // Takes the fields again (after their visibility changed).
    void refreshColumns();

    // Fixed columns: these fields in this order, under these titles (an empty
    // title keeps the field's label). Without them every visible field shows.
    struct Column {
        QString fieldName;
        QString title;
    };
    void setColumns(const QList<Column>& columns);

private:
    void resetFromDataSet();
    QVariant dataOf(const QModelIndex& index, const Field& field, int role) const;
    // The model shows the dataset's rows as they are: a single row may follow.
    bool inStep() const { return m_rows == m_dataSet->recordCount() && !m_columns.isEmpty(); }

    QPointer<DataSet> m_dataSet;
    QList<Field*> m_columns;
    QList<Column> m_fixed;
    int m_rows = 0;
    bool m_changing = false;
    bool m_editRefused = false;
    RowPainter m_painter;
};

// A fixed column declared on its data set: the field's title and display
// format (none: the field's own); typed in unless read-only.
struct DeclaredColumn {
    const char* field;
    const char* title;
    const char* format = nullptr;
    bool readOnly = false;
};

// Declares the fields as the columns say and gives them in order, for
// setColumns.
QList<DataSetModel::Column> declareColumns(DataSet& rows, const QList<DeclaredColumn>& columns);

} // namespace tarvex
