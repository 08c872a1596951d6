#include "PickListDelegate.h"

#include "DBGrid.h"

#include <QComboBox>

namespace tarvex {

PickListDelegate::PickListDelegate(DBGrid* grid) : QStyledItemDelegate(grid), m_grid(grid)
{
    grid->setItemDelegate(this);
}

void PickListDelegate::setPickList(const QString& fieldName, const QStringList& items)
{
    m_lists.insert(fieldName.toLower(), items);
}

QStringList PickListDelegate::pickList(const QString& fieldName) const
{
    return m_lists.value(fieldName.toLower());
}

QStringList PickListDelegate::listAt(const QModelIndex& index) const
{
    const Field* field = m_grid->fieldOfSection(index.column());
    return field ? m_lists.value(field->fieldName().toLower()) : QStringList();
}

QWidget* PickListDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const
{
    const QStringList items = listAt(index);
    if (items.isEmpty())
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto* combo = new QComboBox(parent);
    combo->addItems(items);
    // A choice is the whole entry: store it and leave the cell at once.
    auto* self = const_cast<PickListDelegate*>(this);
    connect(combo, &QComboBox::activated, self, [self, combo] {
        emit self->commitData(combo);
        emit self->closeEditor(combo);
    });
    return combo;
}

void PickListDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    auto* combo = qobject_cast<QComboBox*>(editor);
    if (!combo) {
        QStyledItemDelegate::setEditorData(editor, index);
        return;
    }
    combo->setCurrentIndex(combo->findText(index.data(Qt::EditRole).toString()));
}

void PickListDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    auto* combo = qobject_cast<QComboBox*>(editor);
    if (!combo) {
        QStyledItemDelegate::setModelData(editor, model, index);
        return;
    }
    // Nothing chosen, or the value it already has: no edit.
    if (combo->currentIndex() < 0 || combo->currentText() == index.data(Qt::EditRole).toString())
        return;
    model->setData(index, combo->currentText(), Qt::EditRole);
}

} // namespace tarvex
