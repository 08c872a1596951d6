#include "Getproductunit.h"

#include "Connection.h"
#include "DBIniFile.h"
#include "Format.h"
#include "HostStrings.h"
#include "Modal.h"
#include "OkCancelRow.h"
#include "Productdmunit.h"
#include "Productlistsql.h"
#include "Productnavigatorunit.h"
#include "Productviewerunit.h"
#include "SqlText.h"
#include "Taxunit.h"

#include <QPushButton>
#include <QSplitter>
#include <QSqlQuery>
#include <QSqlRecord>
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

void fillCommon(TProductDesc& desc, const std::function<QVariant(const char*)>& value)
{
    desc.name = value("name").toString();
    desc.inputPriceCurrency = value("inputpricecurrency").toString();
    desc.priceCurrency = value("pricecurrency").toString();
    desc.unitName = value("unitname").toString();
    desc.code = value("code").toString();
    desc.barcode = value("barcode").toString();
    desc.manufCode = value("manufcode").toString();
    desc.inputPrice = value("inputprice").toDouble();
    desc.rebate = value("rebate").toDouble();
    desc.supplyPrice = value("supplyprice").toDouble();
    desc.price = value("price").toDouble();
    desc.planPrice = value("planprice").toDouble();
    desc.taxID = value("taxid").toInt();
    desc.productType = value("type").toString().isEmpty() ? QChar() : value("type").toString().at(0);
}

// Fills from a row of one of the direct queries (tax name and value joined).
void fillFromQuery(TProductDesc& desc, const QSqlQuery& row, bool recommended)
{
    auto value = [&row](const char* name) { return row.value(QString::fromUtf8(name)); };
    fillCommon(desc, value);
    if (recommended) {
        desc.recommendedPrice = value("recommendedprice").toDouble();
        desc.recommendedRebate = value("recommendedrebate").toDouble();
    }
    desc.taxName = value("taxname").toString();
    desc.taxValue = value("taxvalue").toDouble();
}

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
    fillCommon(desc, [products](const char* name) { return products->fieldByName(QString::fromUtf8(name)).value(); });
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
    QSqlQuery row = ProductDM->connection().select(
        QStringLiteral("SELECT productattributeid FROM productattribute WHERE prodattbarcode = ?"), {barcode});
    if (row.next())
        productAttributeId = row.value(0).toInt();
    return true;
}

bool ProductGet(qint32 productId, qint32 warehouseId, TProductDesc& desc)
{
    QSqlQuery row = ProductDM->connection().select(
        QStringLiteral("SELECT DISTINCT p.*,(pw.price + 0.0) AS wh_price,") +
            priceWithVatSql(QStringLiteral("pw.price")) +
            QStringLiteral(" AS wh_pricewithvat,t.value as taxvalue,t.name as taxname FROM product AS p LEFT JOIN tax "
                           "AS t ON p.taxid = t.taxid LEFT JOIN productwarehouse AS pw ON (p.productid = pw.productid "
                           "AND pw.warehouseid = ?) WHERE p.productid = ?"),
        {warehouseId, productId});
    if (!row.next())
        return false;
    fillFromQuery(desc, row, true);
    desc.productID = productId;
    return true;
}

TProductDescArr ProductGetAll(qint32 warehouseId, tarvex::TDoubleArray& amounts)
{
    const QString sql =
        warehouseId < 1
            ? QStringLiteral("SELECT DISTINCT p.*,t.value as taxvalue,t.name as taxname FROM product AS p LEFT JOIN tax "
                             "AS t ON p.taxid = t.taxid WHERE p.active = 'y'")
            : QStringLiteral("SELECT DISTINCT p.*,(pw.price + 0.0) AS wh_price,") +
                  priceWithVatSql(QStringLiteral("pw.price")) +
                  QStringLiteral(" AS wh_pricewithvat,t.value as taxvalue,t.name as taxname,pw.amount FROM product AS "
                                 "p LEFT JOIN tax AS t ON p.taxid = t.taxid LEFT JOIN productwarehouse AS pw ON "
                                 "p.productid = pw.productid WHERE p.active = 'y' AND pw.warehouseid = ?");
    QSqlQuery rows = warehouseId < 1 ? ProductDM->connection().select(sql)
                                     : ProductDM->connection().select(sql, {warehouseId});
    TProductDescArr found;
    tarvex::TDoubleArray quantities;
    while (rows.next()) {
        TProductDesc desc;
        fillFromQuery(desc, rows, false);
        desc.productID = rows.value(QStringLiteral("productid")).toInt();
        found << desc;
        if (warehouseId >= 1)
            quantities << rows.value(QStringLiteral("amount")).toDouble();
    }
    if (!found.isEmpty())
        amounts = quantities;
    return found;
}

} // namespace products
