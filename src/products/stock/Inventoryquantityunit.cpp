#include "Inventoryquantityunit.h"

#include "BusyCursor.h"
#include "Categoryunit.h"
#include "Clock.h"
#include "Connection.h"
#include "DBGrid.h"
#include "DBIniFile.h"
#include "Dialogs.h"
#include "Guarded.h"
#include "MemoryTable.h"
#include "Modal.h"
#include "Productdmunit.h"
#include "QueryDataSet.h"
#include "Rfzoexport.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace products {

TInventoryQuantityForm::TInventoryQuantityForm(qint32 warehouseId, const QString& warehouseName, QWidget* parent)
    : TStockCardWindow(QStringLiteral("Zalihe (količine sa robnih kartica)"), warehouseName, parent)
{
    m_scope.warehouseId = warehouseId;
    DefineInventoryQuantityFields(*CDS());
    showTable();
    m_export = new QPushButton(QStringLiteral("Izvezi za RFZO"), this);
    m_export->setAutoDefault(false);
    connect(m_export, &QPushButton::clicked, this, &TInventoryQuantityForm::ExportButtonClick);
    bottomRow()->insertWidget(0, m_export);
    resize(860, 520);
}

void TInventoryQuantityForm::OpenList()
{
    if (!tarvex::guarded([&] {
        tarvex::BusyCursor busy;
        m_scope = QuantityScope(ProductDM->ZConnection()->database(), m_scope.warehouseId);
    }))
        return;
    openProductList([this](tarvex::QueryDataSet& list) { SetInventoryQuantityList(list, m_scope); });
}

void TInventoryQuantityForm::FindButtonClick()
{
    QHash<qint64, TStockQuantities> cards;
    readCards([&](QSqlDatabase db, const QString& date) { cards = CalculateAllQuantities(db, m_scope, date); },
              [&] { ShowInventoryQuantities(cards, *InventoryZQ(), *CDS()); });
}

QString TInventoryQuantityForm::GetRFZO(const QString& partner, const QString& date, const QString& categories) const
{
    const QSqlDatabase db = ProductDM->ZConnection()->database();
    const QString items = RfzoItems(db, *CDS(), categories);
    return RfzoReport(partner, RfzoOrganizationUnit(db, m_scope.warehouseId), date, items);
}

void TInventoryQuantityForm::ExportButtonClick()
{
    tarvex::guarded([&] {
        const QSqlDatabase db = ProductDM->ZConnection()->database();
        const QString companyNumber =
            tarvex::TDBIniFile(db).ReadString(QStringLiteral("CompanyInfo"), QStringLiteral("Number"), QString());
        QString paths;
        TIntArray ids{0};
        if (!CatGet(db, paths, ids, false))
            return;
        QStringList categories;
        for (qint32 id : ids)
            categories << QString::number(id);
        if (categories.isEmpty())
            return;
        QString fileName =
            tarvex::dialogs().saveFileName(QStringLiteral("Izvezi XML datoteku"),
                                           RfzoFileName(tarvex::hostClock().now(), companyNumber),
                                           QStringLiteral("XML (*.xml)"));
        if (fileName.isEmpty())
            return;
        if (QFileInfo(fileName).suffix().isEmpty())
            fileName += QStringLiteral(".xml");
        WriteRfzoFile(fileName, GetRFZO(companyNumber, ToDateText(), categories.join(QLatin1Char(','))));
    });
}

void OpenInventoryQuantity(qint32 WarehouseID, const QString& WarehouseName)
{
    TListReportWindow::OpenModal(new TInventoryQuantityForm(WarehouseID, WarehouseName));
}

} // namespace products
