#include "Getproductunit.h"

#include "Connection.h"
#include "DBIniFile.h"
#include "Format.h"
#include "HostStrings.h"
#include "Modal.h"
#include "OkCancelRow.h"
#include "Productdescs.h"
#include "Productdmunit.h"
#include "Productnavigatorunit.h"
#include "Productviewerunit.h"
#include "Taxunit.h"

#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace products {

using tarvex::TProductDesc;
using tarvex::TProductDescArr;

TGetProductForm::TGetProductForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Izaberite proizvod"));
    setWindowFlags((windowFlags() | Qt::WindowMaximizeButtonHint) & ~Qt::WindowMinimizeButtonHint);
    resize(1150, 600);
    auto* splitter = new QSplitter(this);
    m_navigator = new TProductNavigatorForm(splitter);
    m_viewer = new TProductViewerForm(splitter);
    splitter->addWidget(m_navigator);
    splitter->addWidget(m_viewer);
    splitter->setStretchFactor(1, 1);
    // The search panel keeps room for a category path; the list the rest.
    splitter->setSizes({400, 750});
    m_viewer->onDoubleClick = [this] { OKButtonClick(); };
    // Choosing a product deletes nothing and administers nothing.
    m_viewer->setPicking();

    const tarvex::OkCancelRow buttons = tarvex::makeOkCancelRow(this, tarvex::CancelPlace::BeforeOk);
    m_ok = buttons.ok;
    m_cancel = buttons.cancel;
    connect(m_ok, &QPushButton::clicked, this, &TGetProductForm::OKButtonClick);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter);
    layout->addLayout(buttons.layout);
    m_navigator->SearchVLE()->setFocus();
}

void TGetProductForm::setMultiSelect(bool on)
{
    m_viewer->DBG()->setMultiSelect(on);
}

void TGetProductForm::OKButtonClick()
{
    const QueryDataSet* products = ProductDM->ProductZQ;
    if (!products->isActive() || products->isEmpty())
        return;
    m_confirmed = true;
    accept();
}

namespace {

// Runs the search panel's search, unseen, with these criteria only.
void silentSearch(const QMap<QString, QString>& criteria)
{
    TGetProductForm form;
    form.navigator()->SearchVLE()->clearValues();
    for (auto it = criteria.cbegin(); it != criteria.cend(); ++it)
        form.navigator()->SearchVLE()->setValue(it.key(), it.value());
    form.navigator()->FindButtonClick();
    ProductDM->ProductZQ->first();
}

} // namespace

void FillDescFromProductList(TProductDesc& desc)
{
    const QueryDataSet* products = ProductDM->ProductZQ;
    FillDescCommon(desc,
                   [products](const char* name) { return products->fieldByName(QString::fromUtf8(name)).value(); });
    desc.recommendedPrice = products->fieldByName(QStringLiteral("recommendedprice")).asFloat();
    desc.recommendedRebate = products->fieldByName(QStringLiteral("recommendedrebate")).asFloat();
    desc.productID = qint32(products->fieldByName(QStringLiteral("productid")).asLargeInt());
    qint32 taxId = desc.taxID;
    QString taxName;
    double taxValue = 0;
    if (GetTax(taxId, taxName, taxValue, true)) {
        desc.taxName = taxName;
        desc.taxValue = taxValue;
    } else {
        desc.taxName.clear();
        desc.taxValue = 0;
    }
}

namespace {

// Shows the picker; true when the user confirmed a product.
bool pick(TGetProductForm& form)
{
    tarvex::TDBIniFile settings(ProductDM->connection().database());
    if (settings.ReadBool(QStringLiteral("Appearance"), QStringLiteral("GetWindow"), false))
        form.setWindowState(Qt::WindowMaximized);
    tarvex::execModal(form);
    return form.confirmed();
}

} // namespace

bool ProductGet(TProductDesc& desc)
{
    TGetProductForm form;
    if (!pick(form))
        return false;
    FillDescFromProductList(desc);
    return true;
}

bool ProductGet(TProductDescArr& descs)
{
    TGetProductForm form;
    form.setMultiSelect(true);
    if (!pick(form))
        return false;
    QueryDataSet* products = ProductDM->ProductZQ;
    const QList<int> marked = form.viewer()->DBG()->markedRows();
    TProductDescArr picked;
    if (marked.isEmpty()) {
        TProductDesc desc;
        FillDescFromProductList(desc);
        picked << desc;
    } else {
        for (const int row : marked) {
            products->setRecNo(row + 1);
            TProductDesc desc;
            FillDescFromProductList(desc);
            picked << desc;
        }
    }
    descs = picked;
    return true;
}

TProductDescArr ProductGet(const QString& value, bool byCode, bool byBarcode)
{
    const QString key = byBarcode ? QStringLiteral("barcode") : byCode ? QStringLiteral("code") : QStringLiteral("name");
    silentSearch({{key, value}, {QStringLiteral("active"), tarvex::ACTIVE_Y_CAP}});
    TProductDescArr found;
    QueryDataSet* products = ProductDM->ProductZQ;
    for (products->first(); !products->eof(); products->next()) {
        TProductDesc desc;
        FillDescFromProductList(desc);
        found << desc;
    }
    return found;
}

bool ProductGet(const QString& barcode, TProductDesc& desc)
{
    silentSearch({{QStringLiteral("barcode"), barcode}});
    if (ProductDM->ProductZQ->recordCount() != 1)
        return false;
    FillDescFromProductList(desc);
    return true;
}

bool ProductGetAttribute(const QString& barcode, TProductDesc& desc, qint32& productAttributeId)
{
    if (!ProductGet(barcode, desc))
        return false;
    ReadProductAttributeId(ProductDM->connection(), barcode, productAttributeId);
    return true;
}

bool ProductGet(qint32 productId, qint32 warehouseId, TProductDesc& desc)
{
    return ReadProductDesc(ProductDM->connection(), productId, warehouseId, desc);
}

TProductDescArr ProductGetAll(qint32 warehouseId, tarvex::TDoubleArray& amounts)
{
    return ReadActiveProductDescs(ProductDM->connection(), warehouseId, amounts);
}

} // namespace products
