#include "Alterproductunit.h"

#include "Connection.h"
#include "DBGrid.h"
#include "Dialogs.h"
#include "DisplayFormat.h"
#include "Format.h"
#include "Guarded.h"
#include "Modal.h"
#include "Productdmunit.h"
#include "Productintf.h"
#include "Productsnapin.h"
#include "Productviewerunit.h"
#include "QueryDataSet.h"

#include <QAction>
#include <QPushButton>
#include <QSqlQuery>

namespace products {

namespace {

const QString kAlterSql = QStringLiteral(
    "SELECT p.productid,p.code,p.name,p.price\n"
    "FROM product AS p\n"
    "  INNER JOIN productalter AS pa ON pa.productid = p.productid\n"
    "WHERE pa.groupid = :IDGroup");

} // namespace

TAlterProductForm::TAlterProductForm(QWidget* parent) : TSmallListWindow(QStringLiteral("Zamene"), parent)
{

    m_alter = new tarvex::QueryDataSet(ProductDM->ZConnection(), kAlterSql, this);
    m_alter->setObjectName(QStringLiteral("AlterZQ"));
    m_alter->setReadOnly(true);
    m_alter->declareField(QStringLiteral("code")).setDisplayLabel(QStringLiteral("Kod"));
    m_alter->declareField(QStringLiteral("name")).setDisplayLabel(QStringLiteral("Ime"));
    tarvex::Field& price = m_alter->declareField(QStringLiteral("price"));
    price.setDisplayLabel(QStringLiteral("Cena"));
    price.setDisplayFormat(tarvex::AMOUNT_FORMAT);

    tarvex::DBGrid* grid = newGrid(
        *m_alter, {{QStringLiteral("code"), {}}, {QStringLiteral("name"), {}}, {QStringLiteral("price"), {}}},
        QStringLiteral("name"));
    grid->setObjectName(QStringLiteral("AlterDBG"));
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);

    m_addGroup = new QAction(QStringLiteral("Dodaj u grupu"), this);
    m_addGroup->setObjectName(QStringLiteral("AddGroup"));
    m_removeGroup = new QAction(QStringLiteral("Izbaci iz grupe"), this);
    m_removeGroup->setObjectName(QStringLiteral("RemoveGroup"));
    connect(m_addGroup, &QAction::triggered, this, tarvex::guardedSlot([this] { AddToGroup(); }));
    connect(m_removeGroup, &QAction::triggered, this, tarvex::guardedSlot([this] { RemoveFromGroup(); }));
    // The actions follow the list: a group to leave or none yet.
    for (auto signal : {&tarvex::DataSet::modelReset, &tarvex::DataSet::stateChanged})
        connect(m_alter, signal, this, &TAlterProductForm::updateActions);
    connect(m_alter, &tarvex::DataSet::rowInserted, this, &TAlterProductForm::updateActions);
    connect(m_alter, &tarvex::DataSet::rowRemoved, this, &TAlterProductForm::updateActions);

    layOut(nullptr, {actionButton(m_addGroup), actionButton(m_removeGroup)}, {}, QSize(540, 320));
    updateActions();
}

QPushButton* TAlterProductForm::actionButton(QAction* action)
{
    auto* button = new QPushButton(action->text(), this);
    button->setObjectName(action->objectName() + QStringLiteral("Button"));
    button->setAutoDefault(false);
    button->setEnabled(action->isEnabled());
    connect(button, &QPushButton::clicked, action, &QAction::trigger);
    connect(action, &QAction::changed, button, [button, action] { button->setEnabled(action->isEnabled()); });
    return button;
}

void TAlterProductForm::updateActions()
{
    AddGroupUpdate();
    RemoveGroupUpdate();
}

void TAlterProductForm::AddGroupUpdate()
{
    m_addGroup->setEnabled(ProductDM->mayChangeCatalogue() && m_alter->isActive() && m_alter->isEmpty());
}

void TAlterProductForm::RemoveGroupUpdate()
{
    m_removeGroup->setEnabled(ProductDM->mayChangeCatalogue() && m_alter->isActive() && !m_alter->isEmpty());
}

void TAlterProductForm::OpenAlternatives(qint32 GroupID)
{
    if (m_alter->isActive())
        m_alter->close();
    m_alter->setParam(QStringLiteral("IDGroup"), GroupID);
    m_alter->open();
    updateActions();
}

void TAlterProductForm::AddToGroup()
{
    tarvex::IInterface* found = nullptr;
    if (!GlobalConsole || !GlobalConsole->FindService(tarvex::IID_IProductService, &found) || !found)
        return;
    auto service = tarvex::ComPtr<tarvex::IProductService>::adopt(static_cast<tarvex::IProductService*>(found));
    tarvex::TProductDesc picked;
    if (!service->GetProduct(picked) || picked.productID == m_productId)
        return;

    m_groupId = ProductDM->JoinAlternativeGroup(m_productId, picked.productID);
    OpenAlternatives(m_groupId);
}

void TAlterProductForm::RemoveFromGroup()
{
    ProductDM->LeaveAlternativeGroup(m_productId, m_groupId);
    m_groupId = -1;
    OpenAlternatives(m_groupId);
}

void AlternativesManage(qint32 ProductID)
{
    auto* form = new TAlterProductForm;
    form->setProductId(ProductID);
    form->setGroupId(ProductDM->GetGroupID(ProductID));
    form->OpenAlternatives(form->groupId());
    tarvex::execModal(*form);
}

} // namespace products
