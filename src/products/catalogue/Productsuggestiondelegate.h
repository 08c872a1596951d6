#pragma once
// Grid cells whose field has a list of suggestions are edited in a combo that
// offers the list and still takes any typed text; other cells edit as usual.

#include "DBGrid.h"

#include <QComboBox>
#include <QHash>
#include <QStringList>
#include <QStyledItemDelegate>

namespace products {

class SuggestionDelegate : public QStyledItemDelegate {
public:
    // Becomes the grid's item delegate.
    explicit SuggestionDelegate(tarvex::DBGrid* grid) : QStyledItemDelegate(grid), m_grid(grid)
    {
        grid->setItemDelegate(this);
    }

    void setList(const QString& fieldName, const QStringList& items) { m_lists.insert(fieldName.toLower(), items); }
    QStringList list(const QString& fieldName) const { return m_lists.value(fieldName.toLower()); }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QStringList items = listAt(index);
        if (items.isEmpty())
            return QStyledItemDelegate::createEditor(parent, option, index);
        auto* combo = new QComboBox(parent);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->addItems(items);
        return combo;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        if (auto* combo = qobject_cast<QComboBox*>(editor))
            combo->setEditText(index.data(Qt::EditRole).toString());
        else
            QStyledItemDelegate::setEditorData(editor, index);
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        auto* combo = qobject_cast<QComboBox*>(editor);
        if (!combo) {
            QStyledItemDelegate::setModelData(editor, model, index);
            return;
        }
        if (combo->currentText() != index.data(Qt::EditRole).toString())
            model->setData(index, combo->currentText(), Qt::EditRole);
    }

private:
    QStringList listAt(const QModelIndex& index) const
    {
        const tarvex::Field* field = m_grid->fieldOfSection(index.column());
        return field ? m_lists.value(field->fieldName().toLower()) : QStringList();
    }

    tarvex::DBGrid* m_grid;
    QHash<QString, QStringList> m_lists;  // by lower-case field name
};

} // namespace products
