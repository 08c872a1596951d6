#include "Categoryunit.h"

#include "Categoryprattributeunit.h"
#include "Categoryprrebateunit.h"
#include "Dialogs.h"
#include "Format.h"
#include "Guarded.h"
#include "HostStrings.h"
#include "Modal.h"
#include "OkCancelRow.h"
#include "Productdmunit.h"
#include "Productresourcestring.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace products {

namespace {
constexpr int kNodeRole = Qt::UserRole + 1;
}

TCategoryForm::TCategoryForm(QSqlDatabase db, QWidget* parent) : QDialog(parent), m_tree(std::move(db))
{
    setWindowTitle(QStringLiteral("Kategorije"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(420, 520);

    m_add = new QAction(QStringLiteral("Dodaj"), this);
    m_add->setToolTip(QStringLiteral("Dodaj novu kategoriju"));
    m_add->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Insert));
    m_delete = new QAction(QStringLiteral("Izbriši"), this);
    m_delete->setToolTip(QStringLiteral("Izbriši izabranu kategoriju"));
    m_delete->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Delete));
    m_selectAll = new QAction(QStringLiteral("Izaberi sve"), this);
    m_deselectAll = new QAction(QStringLiteral("Poništi sve"), this);
    m_attribute = new QAction(QStringLiteral("Atributi"), this);
    m_rebate = new QAction(QStringLiteral("Rabat"), this);
    m_attribute->setVisible(false);
    m_rebate->setVisible(false);
    for (QAction* action : {m_add, m_delete, m_selectAll, m_deselectAll, m_attribute, m_rebate})
        action->setShortcutContext(Qt::WindowShortcut);
    connect(m_add, &QAction::triggered, this, &TCategoryForm::CategoryAddExecute);
    connect(m_delete, &QAction::triggered, this, &TCategoryForm::CategoryDeleteExecute);
    connect(m_selectAll, &QAction::triggered, this, &TCategoryForm::CategorySelectAllExecute);
    connect(m_deselectAll, &QAction::triggered, this, &TCategoryForm::CategoryDeselectAllExecute);
    connect(m_attribute, &QAction::triggered, this, [this] {
        if (CategoryNode* node = singleSelected(); node && m_attributeWindow)
            m_attributeWindow(qint32(node->id));
    });
    connect(m_rebate, &QAction::triggered, this, [this] {
        if (CategoryNode* node = singleSelected(); node && m_rebateWindow)
            m_rebateWindow(qint32(node->id));
    });

    auto* toolBar = new QToolBar(this);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    toolBar->addAction(m_add);
    toolBar->addAction(m_delete);
    toolBar->addSeparator();
    toolBar->addAction(m_selectAll);
    toolBar->addAction(m_deselectAll);
    toolBar->addSeparator();
    toolBar->addAction(m_attribute);
    toolBar->addSeparator();
    toolBar->addAction(m_rebate);

    m_view = new QTreeWidget(this);
    m_view->setHeaderHidden(true);
    m_view->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_view, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        menu.addAction(m_add);
        menu.addAction(m_delete);
        menu.addSeparator();
        menu.addAction(m_rebate);
        menu.exec(m_view->viewport()->mapToGlobal(at));
    });
    connect(m_view, &QTreeWidget::itemSelectionChanged, this, &TCategoryForm::viewSelectionChanged);
    connect(m_view, &QTreeWidget::itemChanged, this, &TCategoryForm::itemEdited);
    connect(m_view, &QTreeWidget::itemDoubleClicked, this, [this] { TreeViewDblClick(); });

    const tarvex::OkCancelRow buttons = tarvex::makeOkCancelRow(this);
    m_ok = buttons.ok;
    m_cancel = buttons.cancel;
    connect(m_ok, &QPushButton::clicked, this, &TCategoryForm::OKButtonClick);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(toolBar);
    layout->addWidget(m_view);
    layout->addLayout(buttons.layout);

    // FormCreate
    m_tree.createTree();
    buildView();
    setMultiSelect(false);
    updateActions();
}

void TCategoryForm::buildView()
{
    m_syncing = true;
    m_view->clear();
    buildItem(m_tree.root(), nullptr);
    m_view->collapseAll();
    m_syncing = false;
}

QTreeWidgetItem* TCategoryForm::buildItem(CategoryNode* node, QTreeWidgetItem* parentItem)
{
    auto* item = parentItem ? new QTreeWidgetItem(parentItem) : new QTreeWidgetItem(m_view);
    item->setText(0, node->caption);
    item->setData(0, kNodeRole, QVariant::fromValue<quintptr>(reinterpret_cast<quintptr>(node)));
    // The root is no category: it cannot be renamed.
    if (!node->isRoot())
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    for (const auto& child : node->children)
        buildItem(child.get(), item);
    return item;
}

CategoryNode* TCategoryForm::nodeOf(const QTreeWidgetItem* item) const
{
    return item ? reinterpret_cast<CategoryNode*>(item->data(0, kNodeRole).value<quintptr>()) : nullptr;
}

QTreeWidgetItem* TCategoryForm::itemOf(const CategoryNode* node) const
{
    for (QTreeWidgetItemIterator it(m_view); *it; ++it)
        if (nodeOf(*it) == node)
            return *it;
    return nullptr;
}

void TCategoryForm::setMultiSelect(bool on)
{
    m_tree.setMultiSelect(on);
    m_view->setSelectionMode(on ? QAbstractItemView::MultiSelection : QAbstractItemView::SingleSelection);
    showSelection();
    updateActions();
}

void TCategoryForm::expandRoot()
{
    if (QTreeWidgetItem* root = m_view->topLevelItem(0))
        root->setExpanded(true);
}

void TCategoryForm::showSelection()
{
    m_syncing = true;
    m_view->clearSelection();
    for (CategoryNode* node : m_tree.selection()) {
        if (QTreeWidgetItem* item = itemOf(node)) {
            for (QTreeWidgetItem* up = item->parent(); up; up = up->parent())
                up->setExpanded(true);
            item->setExpanded(node->expanded);
            item->setSelected(true);
            m_view->setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
        }
    }
    m_syncing = false;
    updateActions();
}

void TCategoryForm::setCategoryWindows(CategoryWindow attributes, CategoryWindow rebates)
{
    m_attributeWindow = std::move(attributes);
    m_rebateWindow = std::move(rebates);
    m_attribute->setVisible(bool(m_attributeWindow));
    m_rebate->setVisible(bool(m_rebateWindow));
}

void TCategoryForm::viewSelectionChanged()
{
    if (m_syncing)
        return;
    // Keep the tree's selection order: newly selected nodes go to the end.
    QList<CategoryNode*> nowSelected;
    for (QTreeWidgetItem* item : m_view->selectedItems())
        nowSelected << nodeOf(item);
    for (CategoryNode* node : QList<CategoryNode*>(m_tree.selection()))
        if (!nowSelected.contains(node))
            m_tree.deselect(node);
    for (CategoryNode* node : nowSelected)
        if (!m_tree.selection().contains(node)) {
            const bool wasExpanded = node->expanded;
            m_tree.focusNode(node);
            node->expanded = wasExpanded;
        }
    updateActions();
}

CategoryNode* TCategoryForm::singleSelected() const
{
    return m_tree.selection().size() == 1 ? m_tree.selection().first() : nullptr;
}

void TCategoryForm::updateActions()
{
    CategoryNode* single = singleSelected();
    const CategoryNode* any = m_tree.selected();
    // Picking a category only reads; changing the tree is the catalogue's right.
    const bool writes = !ProductDM || ProductDM->mayChangeCatalogue();
    m_add->setEnabled(writes && single != nullptr);
    m_delete->setEnabled(writes && any && !any->isRoot());
    m_selectAll->setEnabled(m_tree.multiSelect());
    m_deselectAll->setEnabled(m_tree.multiSelect());
    m_attribute->setEnabled(writes && single && !single->isRoot());
    m_rebate->setEnabled(writes && single && !single->isRoot());
}

void TCategoryForm::itemEdited(QTreeWidgetItem* item)
{
    if (m_syncing)
        return;
    CategoryNode* node = nodeOf(item);
    if (!node || node->isRoot() || item->text(0) == node->caption)
        return;
    QString name = item->text(0);
    // Not stored (a name too long for the column, say): the node keeps the
    // name it has in the database.
    if (!tarvex::guarded([&] { m_tree.editCategory(name, node); }))
        name = node->caption;
    // A refused (empty) name brings the stored one back.
    m_syncing = true;
    item->setText(0, name);
    node->caption = name;
    m_syncing = false;
}

void TCategoryForm::CategoryAddExecute()
{
    CategoryNode* parent = singleSelected();
    if (!parent)
        return;
    QString name = CAT_NEW_NAME;
    if (!tarvex::dialogs().inputQuery(CAT_NEW_TITLE, CAT_NEW_PROMT, name))
        return;
    CategoryNode* added = nullptr;
    tarvex::guarded([&] { added = m_tree.addCategory(name, parent); });
    if (!added)
        return;
    m_syncing = true;
    QTreeWidgetItem* parentItem = itemOf(parent);
    buildItem(added, parentItem);
    parentItem->setExpanded(true);
    m_syncing = false;
}

void TCategoryForm::CategoryDeleteExecute()
{
    CategoryNode* node = m_tree.selected();
    if (!node || node->isRoot())
        return;
    if (!tarvex::dialogs().confirmDelete(tarvex::Format(CAT_DEL_CONF_FMT, {node->caption})))
        return;
    if (!tarvex::guarded([&] { m_tree.deleteCategories(node->id); })) {
        // What was deleted before the failure is gone: show the tree as stored.
        m_tree.createTree();
        buildView();
        expandRoot();
        showSelection();
        return;
    }
    m_syncing = true;
    delete itemOf(node);
    m_tree.removeNode(node);
    m_syncing = false;
    showSelection();
}

void TCategoryForm::CategorySelectAllExecute()
{
    m_tree.selectAll();
    showSelection();
}

void TCategoryForm::CategoryDeselectAllExecute()
{
    m_tree.deselectAll();
    showSelection();
}

void TCategoryForm::OKButtonClick()
{
    m_confirmed = true;
    accept();
}

void TCategoryForm::TreeViewDblClick()
{
    if (m_status == TCategoryStatus::csSelect && m_tree.selected())
        OKButtonClick();
}

void CatManage(QSqlDatabase db, TCategoryForm::CategoryWindow attributes, TCategoryForm::CategoryWindow rebates)
{
    auto* form = new TCategoryForm(std::move(db));
    form->setMultiSelect(false);
    form->setStatus(TCategoryStatus::csAdmin);
    form->setCategoryWindows(std::move(attributes), std::move(rebates));
    form->expandRoot();
    form->okButton()->hide();
    form->cancelButton()->setText(tarvex::CMN_CAPTION_CLOSE);
    tarvex::execModal(*form);
}

bool CatGet(QSqlDatabase db, QString& paths, TIntArray& ids, bool oneOnly, TCategoryForm::CategoryWindow attributes,
            TCategoryForm::CategoryWindow rebates)
{
    auto* form = new TCategoryForm(std::move(db));
    form->setAttribute(Qt::WA_DeleteOnClose, false);
    std::unique_ptr<TCategoryForm> owner(form);
    form->setMultiSelect(!oneOnly);
    form->setStatus(TCategoryStatus::csSelect);
    // Picking shows the same tool bar as managing.
    form->setCategoryWindows(attributes ? std::move(attributes) : &CategoryPrAttributeManage,
                             rebates ? std::move(rebates) : &CategoryPrRebateManage);
    form->expandRoot();
    form->tree().selectCategories(paths, ids, !paths.isEmpty());
    form->showSelection();
    tarvex::execModal(*form);
    if (!form->confirmed())
        return false;
    form->tree().getSelectedCategories(paths, ids, oneOnly);
    return true;
}

} // namespace products
