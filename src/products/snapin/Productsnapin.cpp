#include "Productsnapin.h"

#include "Categorytree.h"
#include "Categoryunit.h"
#include "Connection.h"
#include "Consolemenu.h"
#include "Dialogs.h"
#include "Format.h"
#include "Guarded.h"
#include "Getproductunit.h"
#include "HostStrings.h"
#include "Productdetailunit.h"
#include "Productdmunit.h"
#include "Productlistsql.h"
#include "Productimportunit.h"
#include "Productnavigatorunit.h"
#include "Productoptionstabunit.h"
#include "Productpricelabels.h"
#include "Productresourcestring.h"
#include "Productviewerunit.h"
#include "Siblingintf.h"
#include "Taxunit.h"
#include "Warehouseunit.h"

#include <QAction>
#include <QPainter>

namespace products {

ComPtr<IConsole> GlobalConsole;
QPointer<TProductOptionsTabFrame> OptionTab;

NotAvailableYet::NotAvailableYet(const QString& what)
    : tarvex::TarvexError(tarvex::ErrorKind::Configuration,
                          QStringLiteral("%1: ta mogućnost modula Proizvodi još nije dostupna.").arg(what))
{
}

QImage productSnapinImage()
{
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(0x2e, 0x6d, 0xb4));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(2, 2, 28, 28), 5, 5);
    painter.setPen(Qt::white);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(20);
    painter.setFont(font);
    painter.drawText(QRectF(2, 2, 28, 28), Qt::AlignCenter, QStringLiteral("P"));
    return image;
}

// --- viewer

TProductViewer::~TProductViewer()
{
    delete m_form;
}

QWidget* TProductViewer::GetFrame()
{
    if (!m_form)
        m_form = new TProductViewerForm;
    return m_form;
}

void TProductViewer::FreeFrame()
{
    delete m_form;
}

void TProductViewer::Load(tarvex::ISnapin*)
{
    if (ProductDM->ZConnection() && ProductDM->connection().isConnected())
        return;
    tarvex::IInterface* found = nullptr;
    if (!m_console || !m_console->FindService(tarvex::IID_ISecurityService, &found) || !found) {
        tarvex::dialogs().error(tarvex::CMN_NO_MODULE.arg(tarvex::CMN_MOD_SECURITY_NAME));
        return;
    }
    auto security = ComPtr<tarvex::ISecurityService>::adopt(static_cast<tarvex::ISecurityService*>(found));
    if (!ProductDM->ZConnection())
        ProductDM->SetZConnection(security->GetConnection());
    security->RefreshSession();
    ProductDM->LoadOptions();
}

void TProductViewer::Show()
{
    if (m_form)
        m_form->show();
    if (m_console)
        m_console->SetActiveGrid(m_form ? m_form->DBG() : nullptr);
}

void TProductViewer::Hide()
{
    if (m_form)
        m_form->hide();
    if (m_console)
        m_console->SetActiveGrid(nullptr);
}

QList<QAction*> TProductViewer::GetActionList()
{
    if (!m_form)
        return {};
    QList<QAction*> actions = m_form->actionList();
    // The import and the export belong in the console's file menu.
    const QString fileMenu = QStringLiteral("file");
    auto fileAction = [&](const char* name, const QString& text, void (*open)()) {
        auto* action = m_form->findChild<QAction*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
        if (!action) {
            action = new QAction(text, m_form);
            action->setObjectName(QLatin1String(name));
            action->setProperty(tarvex::kConsoleMenuProperty, fileMenu);
            QObject::connect(action, &QAction::triggered, action, tarvex::guardedSlot([open] { open(); }));
        }
        actions << action;
    };
    fileAction("ProductImportAction", QStringLiteral("&Uvoz proizvoda..."), &ProductImportExecute);
    fileAction("ProductExportAction", QStringLiteral("&Izvoz proizvoda..."), &ProductExportExecute);
    return actions;
}

// --- navigator

TProductNavigator::~TProductNavigator()
{
    delete m_form;
}

QWidget* TProductNavigator::GetNavigatorFrame()
{
    if (!m_form) {
        m_form = new TProductNavigatorForm;
        m_form->RememberCriteria(QStringLiteral("ProductSearch"));
    }
    return m_form;
}

void TProductNavigator::DestroyNavigatorFrame()
{
    delete m_form;
}

void TProductNavigator::ShowNavigator()
{
    if (m_form && !m_form->SearchPropsSet && ProductDM->ZConnection() && ProductDM->connection().isConnected()) {
        m_form->SetSearchProps();
        m_form->SearchPropsSet = true;
    }
    if (m_form)
        m_form->show();
}

void TProductNavigator::HideNavigator()
{
    if (m_form)
        m_form->hide();
}

// --- snap-in

TProductSnapin::TProductSnapin(IConsole* console)
{
    m_image = productSnapinImage();
    m_viewer = ComPtr<tarvex::IViewer>(new TProductViewer(console));
    m_navigator = ComPtr<tarvex::INavigable>(new TProductNavigator(console));
}

TProductSnapin::~TProductSnapin()
{
    m_viewer.reset();
    m_navigator.reset();
}

int TProductSnapin::Release()
{
    const int left = --m_refs;
    if (left == 0)
        delete this;
    return left;
}

HResult TProductSnapin::QueryInterface(const QUuid& iid, void** object)
{
    *object = nullptr;
    if (iid == tarvex::IID_IInterface || iid == tarvex::IID_ISnapin)
        *object = static_cast<tarvex::ISnapin*>(this);
    else if (iid == tarvex::IID_IOptionsTab)
        *object = static_cast<tarvex::IOptionsTab*>(this);
    else if (iid == tarvex::IID_ICategoryPrService)
        *object = static_cast<tarvex::ICategoryPrService*>(this);
    else if (iid == tarvex::IID_ITaxService)
        *object = static_cast<tarvex::ITaxService*>(this);
    else if (iid == tarvex::IID_IWarehouseService)
        *object = static_cast<tarvex::IWarehouseService*>(this);
    else if (iid == tarvex::IID_IProductService)
        *object = static_cast<tarvex::IProductService*>(this);
    else if (iid == tarvex::IID_IPriceLabelService)
        *object = static_cast<tarvex::IPriceLabelService*>(this);
    else if (iid == tarvex::IID_IViewer)
        return m_viewer->QueryInterface(iid, object);   // answered by the viewer object
    else if (iid == tarvex::IID_INavigable)
        return m_navigator->QueryInterface(iid, object);
    else
        return tarvex::kNoInterface;
    AddRef();
    return tarvex::kOk;
}

QString TProductSnapin::GetName()
{
    return SNAPIN_NAME;
}

QString TProductSnapin::GetDescription()
{
    return SNAPIN_DESCR;
}

void TProductSnapin::load()
{
    m_viewer->Load(nullptr);
}

// --- options page

QWidget* TProductSnapin::CreateFrame()
{
    load();
    if (!ProductDM->OptionStores())
        return nullptr;
    OptionTab = new TProductOptionsTabFrame(*ProductDM->OptionStores(), ProductDM->Options);
    OptionTab->OptionsToControls();
    return OptionTab;
}

void TProductSnapin::DestroyFrame()
{
    delete OptionTab;
    OptionTab = nullptr;
}

void TProductSnapin::Update()
{
    if (OptionTab)
        OptionTab->ControlsToOptions();
}

QString TProductSnapin::GetTabCaption()
{
    return SNAPIN_NAME;
}

// --- categories

bool TProductSnapin::GetCategoryPr(QString& paths, tarvex::TIntArray& ids, bool oneOnly)
{
    load();
    // Without the security module the data layer's error goes to the caller.
    return CatGet(ProductDM->connection().database(), paths, ids, oneOnly);
}

void TProductSnapin::GetCatPathsToIDs(const QString& paths, tarvex::TIntArray& ids)
{
    load();
    ids = CatPathsToIDs(ProductDM->connection().database(), paths);
}

// --- taxes and warehouses

bool TProductSnapin::GetTax(qint32& taxID, QString& name, double& value, bool byID)
{
    load();
    return products::GetTax(taxID, name, value, byID);
}

QList<tarvex::TPriceLabelDesc> TProductSnapin::GetPriceLabels(const QList<qint64>& productIds, qint64 warehouseId)
{
    load();
    return PriceLabelRows(ProductDM->connection().database(), productIds, warehouseId);
}

bool TProductSnapin::GetWarehouse(qint32& id, QString& name, bool byID)
{
    load();
    return products::GetWarehouse(id, name, byID);
}

bool TProductSnapin::GetWarehouse(tarvex::TWarehouseDesc& desc, bool byID)
{
    load();
    return products::GetWarehouse(desc, byID);
}

// --- products

bool TProductSnapin::GetProduct(tarvex::TProductDesc& desc)
{
    load();
    return ProductGet(desc);
}

tarvex::TProductDescArr TProductSnapin::GetProduct(const QString& value, bool byCode, bool byBarcode)
{
    load();
    return ProductGet(value, byCode, byBarcode);
}

bool TProductSnapin::GetProduct(const QString& barcode, tarvex::TProductDesc& desc)
{
    load();
    return ProductGet(barcode, desc);
}

bool TProductSnapin::GetProduct(qint32 productID, qint32 warehouseID, tarvex::TProductDesc& desc)
{
    load();
    return ProductGet(productID, warehouseID, desc);
}

tarvex::TProductDescArr TProductSnapin::GetProductAll(qint32 warehouseID, tarvex::TDoubleArray& amounts)
{
    load();
    return ProductGetAll(warehouseID, amounts);
}

double TProductSnapin::GetProductPrice(qint32 productID, qint32 warehouseID)
{
    load();
    return ProductDM->GetProductPrice(productID, warehouseID);
}

double TProductSnapin::GetProductAmount(qint32 productID, qint32 warehouseID)
{
    load();
    return ProductDM->GetProductAmount(productID, warehouseID);
}

QString TProductSnapin::GetProductCurrency(qint32 productID)
{
    load();
    return ProductDM->GetProductCurrency(productID);
}

bool TProductSnapin::GetProductAttribute(const QString& barcode, tarvex::TProductDesc& desc, qint32& productAttributeID)
{
    load();
    return ProductGetAttribute(barcode, desc, productAttributeID);
}

bool TProductSnapin::GetProduct(tarvex::TProductDescArr& descs)
{
    load();
    return ProductGet(descs);
}

void TProductSnapin::OpenProduct(qint32 productID, qint32 warehouseID)
{
    load();
    QueryDataSet* products = ProductDM->ProductZQ;
    products->close();
    products->setSql(productListSql(QStringLiteral(":shownwarehouse"), QStringLiteral("p.productid = :shownproduct")));
    products->setParam(QStringLiteral("shownwarehouse"), warehouseID);
    products->setParam(QStringLiteral("shownproduct"), productID);
    products->open();
    products->first();
    if (products->isEmpty())
        return;
    OpenProductDetail(nullptr);
}

} // namespace products
