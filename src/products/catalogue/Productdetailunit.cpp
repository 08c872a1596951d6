// The product editor's behaviour: what it loads when it opens, the option
// effects, the tax and currency pickers, the rate price, apply with its
// checks, OK, cancel, the close check, copy, printing and price labels, and
// the details taken from the categories. The controls are built in
// Productdetailpages.cpp; the categories, cash-register and attribute parts
// live in their own units.

#include "Productdetailunit.h"


#include "Alterproductunit.h"
#include "BusyCursor.h"
#include "Captions.h"
#include "Categorytree.h"
#include "Connection.h"
#include "DBControls.h"
#include "DBGrid.h"
#include "Dialogs.h"
#include "DisplayFormat.h"
#include "Format.h"
#include "Guarded.h"
#include "HostStrings.h"
#include "Modal.h"
#include "Productattributesunit.h"
#include "Productcachedlists.h"
#include "Productcategoriesunit.h"
#include "Productdmunit.h"
#include "Productfixedassetpage.h"
#include "Productimagepage.h"
#include "Productkasaunit.h"
#include "Productpackagingunit.h"
#include "Productproductsunit.h"
#include "Productresourcestring.h"
#include "Productsave.h"
#include "Productscanneddocument.h"
#include "Productsnapin.h"
#include "Productwarehousesunit.h"
#include "Productworkoperationspage.h"
#include "Siblingintf.h"
#include "SqlText.h"
#include "Taxunit.h"
#include "Windowsize.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QListWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTabWidget>
#include <QToolButton>

namespace products {

namespace {

using tarvex::DataSetState;

QueryDataSet& product()
{
    return *ProductDM->ProductZQ;
}

tarvex::Field& productField(const char* name)
{
    return product().fieldByName(QString::fromUtf8(name));
}

qint32 productId()
{
    return productField("productid").asInteger();
}

QSqlDatabase database()
{
    return ProductDM->ZConnection()->database();
}

void editIfBrowsing()
{
    if (product().state() == DataSetState::Browse)
        product().edit();
}

// A service of the console, or null when the console has none.
template <class I>
tarvex::ComPtr<I> findService(const QUuid& iid)
{
    tarvex::IInterface* found = nullptr;
    if (!GlobalConsole || !GlobalConsole->FindService(iid, &found) || !found)
        return {};
    return tarvex::ComPtr<I>::adopt(static_cast<I*>(found));
}

bool refuse(const QString& message)
{
    tarvex::dialogs().error(message);
    return false;
}

} // namespace

TProductDetailForm::TProductDetailForm(QWidget* parent) : tarvex::TCustomDetailForm(parent)
{
    setWindowTitle(QStringLiteral("Proizvod"));
    setSizeGripEnabled(true);
    buildGeneralTab();
    buildDetailsTab();
    buildRebateTab();
    buildImageTab();
    buildKasaTab();
    buildAttributeTabs();
    buildWorkOperationsTab();
    buildFixedAssetTab();
    buildBottomPanel();

    connect(ChangeTaxButton, &QToolButton::clicked, this, tarvex::guardedSlot([this] { ChangeTaxButtonClick(); }));
    connect(PriceCurrB, &QToolButton::clicked, this, tarvex::guardedSlot([this] { PriceCurrBClick(); }));
    connect(InPriceCurrB, &QToolButton::clicked, this, tarvex::guardedSlot([this] { InPriceCurrBClick(); }));
    connect(CalcButton, &QPushButton::clicked, this, tarvex::guardedSlot([this] { CalcButtonClick(); }));
    connect(Warehouses->PrintButton(), &QPushButton::clicked, this, tarvex::guardedSlot([this] { PrintButtonClick(); }));
    connect(Warehouses->PriceLabelsButton(), &QPushButton::clicked, this,
            tarvex::guardedSlot([this] { PriceLabelsButtonClick(); }));
    connect(ProductCopy, &QAction::triggered, this, tarvex::guardedSlot([this] { ProductCopyExecute(); }));
    connect(AlternativesAction, &QAction::triggered, this, tarvex::guardedSlot([this] { AlternativesActionExecute(); }));
    connect(ProductRaws, &QAction::triggered, this, tarvex::guardedSlot([this] { ProductRawsExecute(); }));
    connect(ProductPackaging, &QAction::triggered, this, tarvex::guardedSlot([this] { ProductPackagingExecute(); }));
    connect(ProductProducts, &QAction::triggered, this, tarvex::guardedSlot([this] { ProductProductsExecute(); }));
    connect(ObjectButton, &QPushButton::clicked, this, tarvex::guardedSlot([this] { ObjectButtonClick(); }));
    connect(ScannedDocumentAction, &QAction::triggered, this, tarvex::guardedSlot([this] { ScannedDocumentActionExecute(); }));
    connect(ScannedDeleteAction, &QAction::triggered, this, tarvex::guardedSlot([this] { ScannedDeleteActionExecute(); }));
    connect(LoadDetailsFromCategory, &QAction::triggered, this, tarvex::guardedSlot([this] { LoadDetailsFromCategoryExecute(); }));
    connect(Categories, &TProductCategoriesGroup::categoriesEdited, this, [this] {
        CategoriesChanged = true;
        updateActions();
        tarvex::guarded([this] { updateAttributeSuggestions(); });
    });
    // Leaving either price edit (its text stored) shows the rate price of the new one.
    for (tarvex::DBEdit* price : {PriceDBE, PriceVATDBE})
        connect(price, &tarvex::DBEdit::left, this, tarvex::guardedSlot([this] { PriceDBEExit(); }));
    connect(&product(), &tarvex::DataSet::stateChanged, this, &TProductDetailForm::updateProductActions);
    // Apply follows every dataset the window saves.
    connect(ProductDM->ProductDetailZQ, &tarvex::DataSet::stateChanged, this, &TProductDetailForm::updateActions);
    connect(ProductDM->ProductWarehouseZQ, &tarvex::DataSet::stateChanged, this, &TProductDetailForm::updateActions);
    // A removed variant changes no state but leaves a pending deletion.
    for (auto signal : {&tarvex::DataSet::stateChanged, &tarvex::DataSet::modelReset})
        connect(ProductDM->ProductAttributeZQ, signal, this, &TProductDetailForm::updateActions);
    connect(ProductDM->ProductAttributeZQ, &tarvex::DataSet::rowRemoved, this, &TProductDetailForm::updateActions);
    connect(ProductDM->FixedAssetZQ, &tarvex::DataSet::stateChanged, this, &TProductDetailForm::updateActions);
    for (tarvex::DataSet* cached : {static_cast<tarvex::DataSet*>(ProductDM->ProductWorkingOperationZQ),
                                    static_cast<tarvex::DataSet*>(ProductDM->ProductPackagingZQ),
                                    static_cast<tarvex::DataSet*>(ProductDM->ProductRebateZQ)}) {
        for (auto signal : {&tarvex::DataSet::stateChanged, &tarvex::DataSet::modelReset})
            connect(cached, signal, this, &TProductDetailForm::updateActions);
        connect(cached, &tarvex::DataSet::rowRemoved, this, &TProductDetailForm::updateActions);
    }

    FormCreate();
    // Wide enough for the eleven columns of the variant grid, tall enough
    // for five warehouse rows; then as the user left it on this workstation.
    KeepWindowSize(this, QStringLiteral("ProductDetailForm"), QSize(1100, 700));
    NameDBE->setFocus();
}

TProductDetailForm::~TProductDetailForm() = default;

void TProductDetailForm::FormCreate()
{
    {
        tarvex::BusyCursor busy;
        QStringList values;
        ProductDM->GetFieldValues(QStringLiteral("manufname"), QStringLiteral("product"), values, true, {}, {});
        ManufNameDBCB->addItems(values);
        ProductDM->GetFieldValues(QStringLiteral("manufseries"), QStringLiteral("product"), values, true, {}, {});
        ManufSeriesDBCB->addItems(values);
        FixedAssetTS->FillLocations();
        QStringList types;
        tarvex::FillProdTypeCaptions(types);
        TypeDBCB->addItems(types);
        TypeDBCB->bind(&product(), QStringLiteral("type"));
        ManufNameDBCB->bind(&product(), QStringLiteral("manufname"));
        ManufSeriesDBCB->bind(&product(), QStringLiteral("manufseries"));

        CategoriesChanged = false;
        LoadCategories();
        SetDefaultCurrency();
        SetTaxName();
        OpenDetails();
        OpenWarehouses();
        ImageTS->LoadProductImage();
        KasaTS->LoadKasaGroups();
        KasaTS->GetKasaGroup();
        OpenWorkingOperations();
        OpenAttributes(product().state() == DataSetState::Insert ? -1 : productId());
        const bool descriptive = ProductDM->Options.AttributeDesc;
        PageControl()->setTabVisible(PageControl()->indexOf(AttributesDescTS), descriptive);
        PageControl()->setTabVisible(PageControl()->indexOf(AttributesTS), !descriptive);
        OpenFixedAsset();
        OpenPackaging(listOwnerId());
        OpenRebate(listOwnerId());
        ProductDM->LoadedProductName = productField("name").asString();
        applyOptionsToControls();
        ObjectButton->setVisible(bool(findService<tarvex::IObjectService>(tarvex::IID_IObjectService)));
        updateProductActions();
        if (!ProductDM->mayChangeCatalogue()) {
            Warehouses->PrintButton()->setProperty(kReadsOnly, true);
            Warehouses->PriceLabelsButton()->setProperty(kReadsOnly, true);
            setReadOnlyView();
        }
    }
    QApplication::processEvents();
}

void TProductDetailForm::applyOptionsToControls()
{
    const TProductOptions& options = ProductDM->Options;
    if (options.ProductHideInPrices) {
        for (QWidget* hidden : {static_cast<QWidget*>(InPriceL), static_cast<QWidget*>(InPriceDBE),
                                static_cast<QWidget*>(InPriceCurrL), InPriceCurrDBE->parentWidget(),
                                static_cast<QWidget*>(SupplyPriceL), static_cast<QWidget*>(SupplyPriceDBE),
                                static_cast<QWidget*>(SupplyPriceCurrL), static_cast<QWidget*>(SupplyPriceCurrDBE),
                                static_cast<QWidget*>(RebateL), static_cast<QWidget*>(RebateDBE)})
            hidden->hide();
    }
    if (options.OnlyDocumentChangePrices) {
        for (tarvex::DBEdit* edit : {InPriceDBE, SupplyPriceDBE, RebateDBE, PriceDBE, PriceVATDBE,
                                RecommendedPriceWithVATDBE, RecommendedRebateDBE})
            lockEdit(edit);
    }
    if (options.LockRecommendedPriceRebate) {
        lockEdit(RecommendedPriceWithVATDBE);
        lockEdit(RecommendedRebateDBE);
    }
    if (options.ShowRatePrice)
        showRatePrice();
}

void TProductDetailForm::updateProductActions()
{
    const DataSetState state = product().state();
    // Raw materials and the like need a product that has been saved once.
    const bool saved = state != DataSetState::Insert;
    for (QAction* action : {Warehouses->KasaAddDefaultProductWarehouse(), Warehouses->KasaAddOtherProductWarehouse(),
                            KasaTS->AutoPLU(), KasaTS->AutoPLUVireo(), KasaTS->ClearPLU(), LoadDetailsFromCategory,
                            AttributesTS->AddAttribute(), AttributesTS->RemoveAttribute(), ScannedDocumentAction,
                            ScannedDeleteAction, ProductRaws, ProductPackaging, ProductProducts})
        action->setEnabled(saved);
    ProductCopy->setEnabled(state == DataSetState::Browse);
    AlternativesAction->setEnabled(state == DataSetState::Browse);
    updateActions();
}

// --- loading

void TProductDetailForm::LoadCategories()
{
    if (product().state() != DataSetState::Insert)
        Categories->LoadCategories(productId());
    updateAttributeSuggestions();
}

void TProductDetailForm::updateAttributeSuggestions()
{
    QStringList marks;
    QVariantList ids;
    for (qint32 id : CatPathsToIDs(database(), CatStringsToPath(Categories->lines()))) {
        marks << QStringLiteral("?");
        ids << id;
    }
    QStringList names;
    if (!ids.isEmpty())
        ProductDM->GetFieldValues(QStringLiteral("catattribute"), QStringLiteral("categoryprattribute"), names, true,
                                  QStringLiteral("WHERE categoryprid IN (%1)").arg(marks.join(QLatin1Char(','))),
                                  QString(), ids);
    AttributesDescTS->setAttributeSuggestions(names);
}

void TProductDetailForm::SetDefaultCurrency()
{
    if (product().state() != DataSetState::Insert)
        return;
    QSqlQuery query = tarvex::selectSql(database(), QStringLiteral("SELECT code FROM currency WHERE status = 'primary'"));
    if (!query.next())
        return;
    const QString code = query.value(0).toString();
    productField("inputpricecurrency").setValue(code);
    productField("pricecurrency").setValue(code);
}

void TProductDetailForm::SetTaxName()
{
    qint32 id = productField("taxid").asInteger();
    if (id <= 0)
        return;
    QString name;
    double value = 0;
    if (GetTax(id, name, value, true))
        TaxEdit->setText(name);
}

void TProductDetailForm::OpenDetails()
{
    QueryDataSet& detail = *ProductDM->ProductDetailZQ;
    detail.close();
    detail.setParam(QStringLiteral("productid"), productId());
    detail.open();
}

void TProductDetailForm::OpenWarehouses()
{
    Warehouses->OpenWarehouses();
}

qint64 TProductDetailForm::listOwnerId() const
{
    return product().state() == DataSetState::Insert ? -1 : productId();
}

void TProductDetailForm::setPageVisible(QWidget* page, bool visible)
{
    PageControl()->setTabVisible(PageControl()->indexOf(page), visible);
}

bool TProductDetailForm::pageVisible(QWidget* page) const
{
    return PageControl()->isTabVisible(PageControl()->indexOf(page));
}

namespace {

bool manufactured()
{
    const QString type = productField("type").asString();
    return type == u"p" || type == u"l";
}

} // namespace

void TProductDetailForm::OpenWorkingOperations()
{
    WorkOperationsTS->OpenWorkingOperations(listOwnerId());
    if (!pageVisible(WorkOperationsTS) && manufactured())
        setPageVisible(WorkOperationsTS, true);
}

void TProductDetailForm::OpenFixedAsset()
{
    FixedAssetTS->OpenFixedAsset(productId());
    if (!pageVisible(FixedAssetTS) && productField("type").asString() == u"o")
        setPageVisible(FixedAssetTS, true);
}

void TProductDetailForm::showPagesOfType()
{
    const bool shown = pageVisible(WorkOperationsTS);
    if (manufactured() && !shown)
        OpenWorkingOperations();
    else if (!manufactured() && shown)
        setPageVisible(WorkOperationsTS, false);
    const bool fixedAsset = productField("type").asString() == u"o";
    if (fixedAsset && !pageVisible(FixedAssetTS))
        OpenFixedAsset();
    else if (!fixedAsset && pageVisible(FixedAssetTS))
        setPageVisible(FixedAssetTS, false);
}

// --- pickers and prices

void TProductDetailForm::ChangeTaxButtonClick()
{
    if (ProductDM->Options.ProductNameUnchangeable && !productField("kasaplu").isNull()) {
        refuse(PROD_TAX_UNCHANGE_ERR);
        return;
    }
    qint32 id = 0;
    QString name;
    double value = 0;
    if (!GetTax(id, name, value, false))
        return;
    editIfBrowsing();
    productField("taxid").setValue(id);
    TaxEdit->setText(name);
    productField("taxvalue").setValue(value);
}

void TProductDetailForm::PriceCurrBClick()
{
    ChangeCurrency(QStringLiteral("pricecurrency"));
}

void TProductDetailForm::InPriceCurrBClick()
{
    ChangeCurrency(QStringLiteral("inputpricecurrency"));
}

void TProductDetailForm::ChangeCurrency(const QString& fieldName)
{
    auto currencies = findService<tarvex::ICurrencyService>(tarvex::IID_ICurrencyService);
    if (!currencies) {
        refuse(tarvex::CMN_NO_MODULE.arg(tarvex::CMN_MOD_DOCUMENT_NAME));
        return;
    }
    QString code;
    if (!currencies->GetCurrency(code))
        return;
    editIfBrowsing();
    product().fieldByName(fieldName).setValue(code);
}

void TProductDetailForm::PriceDBEExit()
{
    tarvex::BusyCursor busy;
    if (ProductDM->Options.ShowRatePrice)
        showRatePrice();
}

void TProductDetailForm::showRatePrice()
{
    RatePriceL->show();
    RatePriceE->show();
    const QString currency = productField("pricecurrency").asString();
    QSqlQuery query = tarvex::selectSql(
        database(),
        QStringLiteral("SELECT code2amount,code1amount,code1 FROM currencyexchange AS ce INNER JOIN "
                       "exchangelist AS el ON ce.exchangelistid = el.exchangelistid WHERE (ce.code1 = "
                       "? OR ce.code2 = ?) AND el.listtype = ?"),
        {currency, currency, ProductDM->Options.DefaultExchangeList});
    double rate = 1;
    if (query.next()) {
        const double code2amount = query.value(0).toDouble();
        const double code1amount = query.value(1).toDouble();
        rate = query.value(2).toString() == currency ? code2amount / code1amount : code1amount / code2amount;
    }
    RatePriceE->setText(tarvex::FormatFloat(tarvex::AMOUNT_FORMAT, productField("price").asFloat() * rate));
}

void TProductDetailForm::CalcButtonClick()
{
    const double value = ProductDM->CalculatePrice();
    if (value < 0)
        return;
    editIfBrowsing();
    productField("price").setValue(value);
}

// --- apply, OK, cancel, close

bool TProductDetailForm::anythingUnsaved() const
{
    if (product().isEditing() || ProductDM->ProductDetailZQ->isEditing() ||
        ProductDM->ProductWarehouseZQ->isEditing() || ProductDM->FixedAssetZQ->isEditing() || CategoriesChanged)
        return true;
    for (const QueryDataSet* cached : {ProductDM->ProductWorkingOperationZQ, ProductDM->ProductAttributeZQ,
                                       ProductDM->ProductPackagingZQ, ProductDM->ProductRebateZQ}) {
        if (cached->isEditing() || cached->updatesPending())
            return true;
    }
    return false;
}

bool TProductDetailForm::CustomApplyUpdate()
{
    return anythingUnsaved();
}

bool TProductDetailForm::CategoriesExist()
{
    return TProductCategoriesGroup::CategoriesExist(productId());
}

bool TProductDetailForm::saveProduct()
{
    ProductsaveInput input;
    // The "Aktivan" box too: a click not yet written counts.
    tarvex::FieldLink::commitAll(this);
    input.typedName = NameDBE->text();
    if (CategoriesChanged)
        input.categories = Categories->lines();
    Productsave save(*ProductDM);
    const QString refusal = save.check(input);
    if (!refusal.isEmpty())
        return refuse(refusal);
    save.write(input);
    CategoriesChanged = false;
    return true;
}

void TProductDetailForm::LoadDetailsFromCategoryExecute()
{
    if (!runApply())
        return;
    ProductDM->LoadDetailsFromCategories(productId(), productField("price").asFloat());
    OpenDetails();
}

bool TProductDetailForm::CustomApplyExecute()
{
    if (!saveProduct())
        return false;
    showPagesOfType();
    updateProductActions();
    return true;
}

void TProductDetailForm::cancelChanges(bool alsoFixedAsset)
{
    product().cancel();
    ProductDM->ProductDetailZQ->cancel();
    ProductDM->ProductWorkingOperationZQ->cancelUpdates();
    ProductDM->ProductAttributeZQ->cancelUpdates();
    if (alsoFixedAsset)
        ProductDM->FixedAssetZQ->cancel();
    ProductDM->ProductPackagingZQ->cancelUpdates();
    ProductDM->ProductRebateZQ->cancelUpdates();
}

void TProductDetailForm::CustomCancelExecute()
{
    // The close check asks about an edited fixed asset.
    cancelChanges(false);
    close();
}

bool TProductDetailForm::FormCloseQuery()
{
    if (!anythingUnsaved())
        return true;
    const int answer = tarvex::dialogs().message(tarvex::MessageKind::Confirmation, tarvex::CMN_SAVE_CHANGES_PROMT,
                                                 tarvex::ButtonYes | tarvex::ButtonNo | tarvex::ButtonCancel);
    if (answer == tarvex::ButtonCancel)
        return false;
    if (answer == tarvex::ButtonNo) {
        cancelChanges(true);
        return true;
    }
    return saveProduct();
}

void TProductDetailForm::closeEvent(QCloseEvent* event)
{
    tarvex::TCustomDetailForm::closeEvent(event);
    if (event->isAccepted())
        KasaTS->FreeKasaGroups();
}

// --- printing, labels, copy, objects

void TProductDetailForm::PrintButtonClick()
{
    if (!GlobalConsole)
        return;
    QTableView* remembered = GlobalConsole->GetActiveGrid();
    GlobalConsole->SetActiveGrid(Warehouses->WarehouseDBG());
    GlobalConsole->RunWizard(tarvex::CMN_PRINT_WIZ_NAME,
                             QStringLiteral("title:") + PageControl()->tabText(PageControl()->currentIndex()) +
                                 QStringLiteral(" - ") + productField("name").asString());
    GlobalConsole->SetActiveGrid(remembered);
}

void TProductDetailForm::PriceLabelsButtonClick()
{
    if (!runApply())
        return;
    if (!GlobalConsole)
        return;
    const QString warehouseId = ProductDM->ProductWarehouseZQ->isEmpty()
                                    ? QString()
                                    : ProductDM->ProductWarehouseZQ->fieldByName(QStringLiteral("warehouseid")).asString();
    GlobalConsole->RunWizard(tarvex::CMN_PROD_INVENTORY_WIZ_NAME,
                             QStringLiteral("productids:") + productField("productid").asString() +
                                 QStringLiteral(";productquantities:1;documentnumber:") + PROD_PRICE_LAB_CAP +
                                 QStringLiteral(";warehouseid:") + warehouseId);
}

void TProductDetailForm::AlternativesActionExecute()
{
    if (!runApply())
        return;
    AlternativesManage(productId());
    close();
}

void TProductDetailForm::ProductRawsExecute()
{
    if (!runApply())
        return;
    auto production = findService<tarvex::IProductionService>(tarvex::IID_IProductionService);
    if (!production) {
        tarvex::dialogs().error(tarvex::CMN_NO_MODULE.arg(tarvex::CMN_MOD_PRODUCTION_NAME));
        return;
    }
    const qint32 id = productId();
    close();
    production->ShowRawMaterials(id);
}

void TProductDetailForm::ProductProductsExecute()
{
    if (!runApply())
        return;
    if (!findService<tarvex::IProductionService>(tarvex::IID_IProductionService)) {
        tarvex::dialogs().error(tarvex::CMN_NO_MODULE.arg(tarvex::CMN_MOD_PRODUCTION_NAME));
        return;
    }
    ProductProductsManage(productId(), this);
}

void TProductDetailForm::ProductPackagingExecute()
{
    if (!runApply())
        return;
    ProductPackagingManage(this);
    // Closing the list writes its rows with the product; a refusal is shown
    // and the close check asks about what is left.
    (void)runApply();
    close();
}

void TProductDetailForm::ProductCopyExecute()
{
    if (!runApply())
        return;
    const TStringArr overrides{QStringLiteral("name=") + tarvex::CMN_COPY_STR + QLatin1Char(' ') +
                                   productField("name").asString(),
                               QStringLiteral("kasaplu=NULL"), QStringLiteral("barcode=NULL"),
                               QStringLiteral("code=NULL")};
    // The copy appears with its codes cleared or not at all.
    const qint32 newId = ProductDM->CopyProduct(productId(), overrides);
    if (newId <= 0)
        return;
    tarvex::dialogs().information(PRODUCT_COPIED);
    auto service = findService<tarvex::IProductService>(tarvex::IID_IProductService);
    if (!service) {
        refuse(tarvex::CMN_NO_MODULE.arg(tarvex::CMN_MOD_PRODUCT_NAME));
        return;
    }
    close();
    service->OpenProduct(newId, ProductDM->GetDefWarehouseID());
}

void TProductDetailForm::ObjectButtonClick()
{
    auto objects = findService<tarvex::IObjectService>(tarvex::IID_IObjectService);
    if (!objects)
        return;
    const qint32 id = productId();
    objects->ShowObjects(tarvex::Format(QStringLiteral("di.productid = %d OR so.productid = %d"), {id, id}),
                         windowTitle() + QLatin1Char(' ') + productField("name").asString());
}

void TProductDetailForm::ScannedDocumentActionExecute()
{
    products::ScannedDocumentActionExecute(productId());
}

void TProductDetailForm::ScannedDeleteActionExecute()
{
    products::ScannedDeleteActionExecute(productId());
}

void OpenProductDetail(QWidget* owner)
{
    TProductDetailForm form(owner);
    tarvex::execModal(form);
}

} // namespace products
