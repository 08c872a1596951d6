#include "Productviewerunit.h"

#include "Attributeunit.h"
#include "BusyCursor.h"
#include "Categoryprattributeunit.h"
#include "Categoryprrebateunit.h"
#include "Categoryunit.h"
#include "Connection.h"
#include "Dialogs.h"
#include "Format.h"
#include "Guarded.h"
#include "Productdetailunit.h"
#include "Productdmunit.h"
#include "Productoptionsunit.h"
#include "SqlText.h"
#include "Taxunit.h"
#include "Warehouseunit.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QToolBar>

namespace products {

TProductViewerForm::TProductViewerForm(QWidget* parent) : tarvex::TCustomViewerForm(parent)
{
    using QKS = QKeySequence;
    ProductAdd = addListAction(QStringLiteral("Dodaj"), QStringLiteral("Dodaj novi proizvod"), QKS(Qt::CTRL | Qt::Key_Insert));
    ProductEdit = addListAction(QStringLiteral("Uredi"), QStringLiteral("Uredi izabrani proizvod"), QKS(Qt::CTRL | Qt::Key_Return));
    ProductDelete = addListAction(QStringLiteral("Izbriši"), QStringLiteral("Izbriši izabrani proizvod"), QKS(Qt::CTRL | Qt::Key_Delete));
    addListSeparator();
    CategoryAction = addListAction(QStringLiteral("Kategorije"), QStringLiteral("Upravljanje kategorijama"), QKS(Qt::CTRL | Qt::Key_K));
    TaxAction = addListAction(QStringLiteral("Porezi"), QStringLiteral("Upravljanje porezima"), QKS(Qt::CTRL | Qt::Key_T));
    WarehouseAction = addListAction(QStringLiteral("Magacini"), QStringLiteral("Upravljanje magacinima"), QKS(Qt::CTRL | Qt::Key_M));
    AlternativesAction = addListAction(QStringLiteral("Zamene"), QString(), QKS(Qt::CTRL | Qt::Key_Z));
    // The attribute catalogue is on the tool bar, not in the pop-up menu.
    AttributeAction = addListAction(QStringLiteral("Atributi"), QString(), QKS(Qt::CTRL | Qt::Key_A), true, false);
    addListSeparator();
    ProductOptions = addListAction(QStringLiteral("Opcije"), QString(), QKS(Qt::CTRL | Qt::Key_O));
    // Pop-up order: add, edit, delete | category .. alternatives | options | columns.
    popupMenu()->insertSeparator(CategoryAction);
    popupMenu()->insertSeparator(ProductOptions);

    connect(ProductAdd, &QAction::triggered, this, tarvex::guardedSlot([this] { ProductAddExecute(); }));
    connect(ProductEdit, &QAction::triggered, this, tarvex::guardedSlot([this] { ProductEditExecute(); }));
    connect(ProductDelete, &QAction::triggered, this, tarvex::guardedSlot([this] { ProductDeleteExecute(); }));
    connect(CategoryAction, &QAction::triggered, this, tarvex::guardedSlot([this] { CategoryActionExecute(); }));
    connect(TaxAction, &QAction::triggered, this, tarvex::guardedSlot([this] { TaxActionExecute(); }));
    connect(WarehouseAction, &QAction::triggered, this, tarvex::guardedSlot([this] { WarehouseActionExecute(); }));
    connect(AlternativesAction, &QAction::triggered, this, tarvex::guardedSlot([this] { AlternativesActionExecute(); }));
    connect(AttributeAction, &QAction::triggered, this, tarvex::guardedSlot([this] { AttributeActionExecute(); }));
    connect(ProductOptions, &QAction::triggered, this, tarvex::guardedSlot([this] { ProductOptionsExecute(); }));

    DBG()->setDataSet(ProductDM->ProductZQ);
    DBG()->dataModel()->setColumns({{QStringLiteral("name"), {}},          {QStringLiteral("code"), {}},
                                    {QStringLiteral("barcode"), {}},       {QStringLiteral("unitname"), {}},
                                    {QStringLiteral("wh_price"), {}},      {QStringLiteral("wh_pricewithvat"), {}},
                                    {QStringLiteral("price"), {}},         {QStringLiteral("taxvalue"), {}},
                                    {QStringLiteral("pricewithvat"), {}},  {QStringLiteral("pricecurrency"), QStringLiteral("Moneta")},
                                    {QStringLiteral("supplyprice"), {}},   {QStringLiteral("planprice"), {}},
                                    {QStringLiteral("primaryamount"), {}}, {QStringLiteral("reservedamount"), {}},
                                    {QStringLiteral("reversedamount"), {}}, {QStringLiteral("freeamount"), {}},
                                    {QStringLiteral("orderedamount"), {}}, {QStringLiteral("type"), {}},
                                    {QStringLiteral("manufname"), QStringLiteral("Proizvođač")},
                                    {QStringLiteral("manufcode"), {}}});
    tarvex::GridSorter::AddGrid(DBG());
    // The windows the list's actions open.
    m_windows.taxes = &TaxManage;
    m_windows.warehouses = &WarehouseManage;
    m_windows.attributes = &AttributeManage;
    m_windows.productEditor = [this] { OpenProductDetail(this); };
    DBG()->horizontalHeader()->setDefaultSectionSize(90);
    connect(DBG()->horizontalHeader(), &QHeaderView::sectionDoubleClicked, this, [this] {
        tarvex::guarded([this] { DBGDblClick(); });
    });
    connect(ProductDM->ProductZQ, &tarvex::DataSet::stateChanged, this, &TProductViewerForm::updateActions);
    connect(ProductDM->ProductZQ, &tarvex::DataSet::modelReset, this, &TProductViewerForm::updateActions);
    connect(ProductDM->ProductZQ, &tarvex::DataSet::currentRowChanged, this, &TProductViewerForm::updateActions);
    updateActions();
}

void TProductViewerForm::setWindows(Windows windows)
{
    m_windows = std::move(windows);
    updateActions();
}

bool TProductViewerForm::hasCurrentProduct() const
{
    const QueryDataSet* products = ProductDM->ProductZQ;
    return products->isActive() && !products->isEmpty();
}

void TProductViewerForm::setPicking()
{
    m_picking = true;
    m_windows.taxes = nullptr;
    m_windows.warehouses = nullptr;
    m_windows.attributes = nullptr;
    for (QAction* action : {ProductDelete, CategoryAction, TaxAction, WarehouseAction, AttributeAction, ProductOptions})
        action->setVisible(false);
    // A separator with nothing shown between it and the next goes too.
    for (const QList<QAction*>& actions : {toolBar()->actions(), popupMenu()->actions()}) {
        bool shownAfter = false;
        for (auto it = actions.crbegin(); it != actions.crend(); ++it) {
            if ((*it)->isSeparator()) {
                (*it)->setVisible(shownAfter);
                shownAfter = false;
            } else if ((*it)->isVisible()) {
                shownAfter = true;
            }
        }
    }
    updateActions();
}

void TProductViewerForm::updateActions()
{
    // A role that may not change products still opens them, to read.
    ProductAdd->setEnabled(bool(m_windows.productEditor) && ProductDM->mayChangeCatalogue());
    ProductEdit->setEnabled(bool(m_windows.productEditor) && hasCurrentProduct());
    ProductDelete->setEnabled(!m_picking && hasCurrentProduct() && ProductDM->mayChangeCatalogue());
    CategoryAction->setEnabled(!m_picking);
    TaxAction->setEnabled(bool(m_windows.taxes));
    WarehouseAction->setEnabled(bool(m_windows.warehouses));
    AttributeAction->setEnabled(bool(m_windows.attributes));
    AlternativesAction->setEnabled(hasCurrentProduct());
    ProductOptions->setEnabled(!m_picking && tarvex::mayAdminister(ProductDM->role()));
}

void TProductViewerForm::ProductAddExecute()
{
    if (!m_windows.productEditor)
        return;
    QueryDataSet* products = ProductDM->ProductZQ;
    if (!products->isActive())
        products->open();
    products->append();
    ProductEditExecute();
}

void TProductViewerForm::ProductEditExecute()
{
    if (m_windows.productEditor && hasCurrentProduct())
        m_windows.productEditor();
}

void TProductViewerForm::ProductDeleteExecute()
{
    if (m_picking || !hasCurrentProduct())
        return;
    const qint64 id = ProductDM->ProductZQ->fieldByName(QStringLiteral("productid")).asLargeInt();
    const QString refusal = ProductDM->ProductDeleteRefusal(id);
    if (!refusal.isEmpty()) {
        tarvex::dialogs().error(refusal);
        return;
    }
    if (tarvex::dialogs().confirmDelete(ProductDM->ProductDeleteQuestion(id)))
        ProductDM->DeleteProduct(id);
}

void TProductViewerForm::CategoryActionExecute()
{
    if (m_picking)
        return;
    CatManage(ProductDM->ZConnection()->database(), &CategoryPrAttributeManage, &CategoryPrRebateManage);
}

void TProductViewerForm::TaxActionExecute()
{
    if (m_windows.taxes)
        m_windows.taxes();
}

void TProductViewerForm::WarehouseActionExecute()
{
    if (m_windows.warehouses)
        m_windows.warehouses();
}

void TProductViewerForm::AttributeActionExecute()
{
    if (m_windows.attributes)
        m_windows.attributes();
}

void TProductViewerForm::ProductOptionsExecute()
{
    if (!m_picking && ProductDM->OptionStores())
        ShowProductOptions(*ProductDM->OptionStores(), ProductDM->Options);
}

void TProductViewerForm::AlternativesActionExecute()
{
    if (!hasCurrentProduct())
        return;
    QueryDataSet* products = ProductDM->ProductZQ;
    const qint32 productId = qint32(products->fieldByName(QStringLiteral("productid")).asLargeInt());
    const qint32 group = ProductDM->GetGroupID(productId);
    tarvex::BusyCursor busy;
    products->close();
    products->setSql(tarvex::ChangeSQLCondition(products->sql(),
                                                QStringLiteral("pa.groupid = :altgroup AND p.productid <> :altproduct")));
    products->setParam(QStringLiteral("altgroup"), group);
    products->setParam(QStringLiteral("altproduct"), productId);
    products->open();
}

void TProductViewerForm::DBGDblClick()
{
    if (onDoubleClick)
        onDoubleClick();
    else
        ProductEditExecute();
}

} // namespace products
