#pragma once
// The category window: the category tree for administration (add, rename in
// place, delete with the subtree) and for picking one or several categories.

#include "Categorytree.h"

#include <QDialog>
#include <functional>

class QAction;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace products {

enum class TCategoryStatus { csAdmin, csSelect };

class TCategoryForm : public QDialog {
    Q_OBJECT
public:
    // Opens the per-category rebate or attribute window for an identifier.
    using CategoryWindow = std::function<void(qint32)>;

    explicit TCategoryForm(QSqlDatabase db, QWidget* parent = nullptr);

    CategoryTree& tree() { return m_tree; }
    QTreeWidget* treeView() const { return m_view; }
    void setStatus(TCategoryStatus status) { m_status = status; }
    TCategoryStatus status() const { return m_status; }
    bool confirmed() const { return m_confirmed; }
    void setMultiSelect(bool on);
    // Expands the root one level.
    void expandRoot();
    // Puts the tree's selection onto the view.
    void showSelection();
    // The windows behind the "Atributi" and "Rabat" actions; without them the
    // actions stay hidden.
    void setCategoryWindows(CategoryWindow attributes, CategoryWindow rebates);

    QAction* categoryAdd() const { return m_add; }
    QAction* categoryDelete() const { return m_delete; }
    QAction* categorySelectAll() const { return m_selectAll; }
    QAction* categoryDeselectAll() const { return m_deselectAll; }
    QAction* categoryAttribute() const { return m_attribute; }
    QAction* categoryRebate() const { return m_rebate; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

    QTreeWidgetItem* itemOf(const CategoryNode* node) const;
    CategoryNode* nodeOf(const QTreeWidgetItem* item) const;

    void CategoryAddExecute();
    void CategoryDeleteExecute();
    void CategorySelectAllExecute();
    void CategoryDeselectAllExecute();
    void OKButtonClick();
    void TreeViewDblClick();

private:
    void buildView();
    QTreeWidgetItem* buildItem(CategoryNode* node, QTreeWidgetItem* parentItem);
    void updateActions();
    void viewSelectionChanged();
    void itemEdited(QTreeWidgetItem* item);
    CategoryNode* singleSelected() const;

    CategoryTree m_tree;
    TCategoryStatus m_status = TCategoryStatus::csAdmin;
    bool m_confirmed = false;
    bool m_syncing = false;
    QTreeWidget* m_view = nullptr;
    QAction* m_add = nullptr;
    QAction* m_delete = nullptr;
    QAction* m_selectAll = nullptr;
    QAction* m_deselectAll = nullptr;
    QAction* m_attribute = nullptr;
    QAction* m_rebate = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    CategoryWindow m_attributeWindow;
    CategoryWindow m_rebateWindow;
};

// Administration of the category tree (modal).
void CatManage(QSqlDatabase db, TCategoryForm::CategoryWindow attributes = {},
               TCategoryForm::CategoryWindow rebates = {});
// Picks categories (modal); on confirmation replaces Paths and IDs and gives
// true, otherwise leaves them alone. The attribute and rebate windows of the
// module are offered as when managing, unless others are given.
bool CatGet(QSqlDatabase db, QString& paths, TIntArray& ids, bool oneOnly,
            TCategoryForm::CategoryWindow attributes = {}, TCategoryForm::CategoryWindow rebates = {});

} // namespace products
