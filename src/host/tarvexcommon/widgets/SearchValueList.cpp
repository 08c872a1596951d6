#include "SearchValueList.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QToolButton>

namespace tarvex {

// Edits a value as a combo (pick list), a line with a "..." button, or a
// plain line; blocked rows take no typing.
class SearchValueDelegate : public QStyledItemDelegate {
public:
    explicit SearchValueDelegate(SearchValueList* list) : QStyledItemDelegate(list), m_list(list) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        const QString key = m_list->m_keys.value(index.row());
        const auto props = m_list->m_props.value(key);
        if (!props.pickList.isEmpty()) {
            auto* combo = new QComboBox(parent);
            combo->setEditable(!props.blocked);
            combo->addItem(QString());
            combo->addItems(props.pickList);
            return combo;
        }
        auto* holder = new QWidget(parent);
        holder->setAutoFillBackground(true);
        auto* layout = new QHBoxLayout(holder);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        auto* line = new QLineEdit(holder);
        line->setObjectName(QStringLiteral("value"));
        line->setReadOnly(props.blocked);
        line->setFrame(false);
        layout->addWidget(line);
        holder->setFocusProxy(line);
        if (props.button) {
            auto* button = new QToolButton(holder);
            button->setText(QStringLiteral("..."));
            layout->addWidget(button);
            QObject::connect(button, &QToolButton::clicked, m_list, [list = m_list, key] {
                list->setFocus();
                emit list->editButtonClicked(key);
            });
        }
        return holder;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        const QString text = index.data(Qt::EditRole).toString();
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            const int at = combo->findText(text);
            if (at >= 0)
                combo->setCurrentIndex(at);
            else if (combo->isEditable())
                combo->setEditText(text);
            return;
        }
        if (auto* line = editor->findChild<QLineEdit*>(QStringLiteral("value")))
            line->setText(text);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            model->setData(index, combo->currentText(), Qt::EditRole);
            return;
        }
        if (auto* line = editor->findChild<QLineEdit*>(QStringLiteral("value")))
            if (!line->isReadOnly())
                model->setData(index, line->text(), Qt::EditRole);
    }

private:
    SearchValueList* m_list;
};

SearchValueList::SearchValueList(QWidget* parent) : QTableWidget(0, 2, parent)
{
    setHorizontalHeaderLabels({QStringLiteral("Kriterijum"), QStringLiteral("Vrednost")});
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->hide();
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::AllEditTriggers);
    setItemDelegateForColumn(1, new SearchValueDelegate(this));
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    // Several category paths outgrow any panel: the whole value shows as a tip.
    connect(this, &QTableWidget::itemChanged, this, [](QTableWidgetItem* changed) {
        if (changed->column() == 1 && changed->toolTip() != changed->text())
            changed->setToolTip(changed->text());
    });
}

void SearchValueList::addKey(const QString& key)
{
    const int row = rowCount();
    insertRow(row);
    auto* caption = new QTableWidgetItem(key);
    caption->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    setItem(row, 0, caption);
    setItem(row, 1, new QTableWidgetItem(QString()));
    m_keys << key;
    m_props.insert(key, RowProps());
}

QString SearchValueList::currentKey() const
{
    return m_keys.value(currentRow());
}

void SearchValueList::setCaption(const QString& key, const QString& caption)
{
    if (const int row = rowOf(key); row >= 0)
        item(row, 0)->setText(caption);
    resizeColumnToContents(0);
}

QString SearchValueList::caption(const QString& key) const
{
    const int row = rowOf(key);
    return row >= 0 ? item(row, 0)->text() : QString();
}

QString SearchValueList::value(const QString& key) const
{
    const int row = rowOf(key);
    return row >= 0 ? item(row, 1)->text() : QString();
}

void SearchValueList::setValue(const QString& key, const QString& value)
{
    if (const int row = rowOf(key); row >= 0)
        item(row, 1)->setText(value);
}

QStringList SearchValueList::values() const
{
    QStringList list;
    for (int row = 0; row < rowCount(); ++row)
        list << item(row, 1)->text();
    return list;
}

void SearchValueList::clearValues()
{
    for (int row = 0; row < rowCount(); ++row)
        item(row, 1)->setText(QString());
}

void SearchValueList::setPickList(const QString& key, const QStringList& items)
{
    m_props[key].pickList = items;
}

QStringList SearchValueList::pickList(const QString& key) const
{
    return m_props.value(key).pickList;
}

void SearchValueList::setEditButton(const QString& key, bool on)
{
    m_props[key].button = on;
}

bool SearchValueList::hasEditButton(const QString& key) const
{
    return m_props.value(key).button;
}

void SearchValueList::setTypingBlocked(const QString& key, bool on)
{
    m_props[key].blocked = on;
}

bool SearchValueList::typingBlocked(const QString& key) const
{
    return m_props.value(key).blocked;
}

void SearchValueList::pressEditButton()
{
    const QString key = currentKey();
    if (!key.isEmpty() && hasEditButton(key))
        emit editButtonClicked(key);
}

void SearchValueList::commitPending()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    // Moving the current cell closes the editor and writes its text.
    const QModelIndex at = currentIndex();
    setCurrentIndex(model()->index(at.row(), 0));
    setCurrentIndex(at);
}

void SearchValueList::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit findRequested();
        return;
    }
    // A blocked row refuses typed characters; moving and editing keys pass.
    if (typingBlocked(currentKey()) && !event->text().isEmpty() && event->text().at(0).isPrint())
        return;
    QTableWidget::keyPressEvent(event);
}

} // namespace tarvex
