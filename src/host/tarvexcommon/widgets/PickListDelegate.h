#pragma once
// Grid columns whose value is chosen from a fixed list of texts: the cell's
// editor is a drop-down list, and the chosen text goes to the field through
// its set-text (so coded columns store the code of the chosen caption).
// Columns without a list edit as usual.

#include <QHash>
#include <QStringList>
#include <QStyledItemDelegate>

namespace tarvex {

class DBGrid;

class PickListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    // Becomes the grid's item delegate.
    explicit PickListDelegate(DBGrid* grid);

    void setPickList(const QString& fieldName, const QStringList& items);
    QStringList pickList(const QString& fieldName) const;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

private:
    QStringList listAt(const QModelIndex& index) const;

    DBGrid* m_grid;
    QHash<QString, QStringList> m_lists;  // by lower-case field name
};

} // namespace tarvex
