#pragma once
// "Zamene": the group of products that stand in for one product. The product
// joins another product's group (a new group when that one has none) or
// leaves its own; every change is written at once.

#include "Smalllistwindow.h"

class QAction;
class QPushButton;

namespace tarvex {
class QueryDataSet;
} // namespace tarvex

namespace products {

class TAlterProductForm : public TSmallListWindow {
    Q_OBJECT
public:
    explicit TAlterProductForm(QWidget* parent = nullptr);

    tarvex::DBGrid* AlterDBG() const { return grid(); }
    tarvex::QueryDataSet* AlterZQ() const { return m_alter; }
    QAction* AddGroup() const { return m_addGroup; }
    QAction* RemoveGroup() const { return m_removeGroup; }

    qint32 productId() const { return m_productId; }
    void setProductId(qint32 id) { m_productId = id; }
    // -1 while the product has no group.
    qint32 groupId() const { return m_groupId; }
    void setGroupId(qint32 id) { m_groupId = id; }

    // Lists the members of the group (none for -1).
    void OpenAlternatives(qint32 GroupID);
    // Picks a product through the product service and puts this product
    // into its group.
    void AddToGroup();
    void RemoveFromGroup();
    void AddGroupUpdate();
    void RemoveGroupUpdate();

private:
    QPushButton* actionButton(QAction* action);
    void updateActions();

    tarvex::QueryDataSet* m_alter = nullptr;
    QAction* m_addGroup = nullptr;
    QAction* m_removeGroup = nullptr;
    qint32 m_productId = -1;
    qint32 m_groupId = -1;
};

// Shows the alternatives of a product (modal).
void AlternativesManage(qint32 ProductID);

} // namespace products
