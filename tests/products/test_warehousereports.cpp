// The warehouse window's report buttons and quantities menu open their
// windows for the right warehouse, and the single-warehouse restriction
// holds them back.

#include "Console.h"
#include "DBGrid.h"
#include "Inventoryallwarehousesunit.h"
#include "Inventoryquantityunit.h"
#include "Inventorystockpriceunit.h"
#include "Modal.h"
#include "ProductDMFixture.h"
#include "Productsnapin.h"
#include "ScriptedDialogs.h"
#include "Stocksoverviewunit.h"
#include "Turnoverallwarehousesunit.h"
#include "Warehouseunit.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QMenu>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;

class WarehouseReportsTest : public ProductDMTest {
protected:
    static void SetUpTestSuite()
    {
        ProductDMTest::SetUpTestSuite();
        sql("INSERT INTO warehouse (warehouseid, name, pricetype, active, status) VALUES "
            "(1, 'Glavni', 'v', 1, 'primary'), (2, 'Prodavnica', 'm', 1, 'standard')");
        sql("INSERT INTO dbinifile (section, name, value) VALUES ('Document', 'MaxCategoryRebateInReceipt', '1')");
    }
    void TearDown() override
    {
        dm().Options = TProductOptions();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Opens the warehouse window on the named warehouse, runs `press` in it and
    // gives the captions of the windows it opened.
    QStringList opened(const QString& current, const std::function<void(TWarehouseForm&)>& press)
    {
        QStringList captions;
        ScopedModalHandler handler([&](QDialog& dialog) {
            if (auto* form = dynamic_cast<TWarehouseForm*>(&dialog)) {
                form->findChild<QCheckBox*>()->click(); // all warehouses listed
                EXPECT_TRUE(dm().WarehouseZQ->locate("name", current));
                press(*form);
                form->CloseButton()->click();
                return form->result();
            }
            captions << dialog.windowTitle();
            dialog.reject();
            return int(QDialog::Rejected);
        });
        WarehouseManage();
        return captions;
    }
};

TEST_F(WarehouseReportsTest, EachButtonOpensItsReportForTheCurrentWarehouse)
{
    EXPECT_EQ(opened("Prodavnica", [](TWarehouseForm& f) { f.InventoryStockPriceButton()->click(); }).size(), 1);
    const QStringList menu = opened("Prodavnica", [](TWarehouseForm& f) {
        for (QAction* entry : f.QuantitiesMenu()->actions())
            entry->trigger();
    });
    ASSERT_EQ(menu.size(), 4); // current inventory and the three stock-card scopes
    EXPECT_TRUE(menu[3].contains("Prodavnica")) << menu[3].toStdString();
    EXPECT_FALSE(menu[1].contains("Prodavnica"));
    EXPECT_EQ(opened("Glavni", [](TWarehouseForm& f) { f.TurnoverAllWareButton()->click(); }),
              QStringList{"Promet (količine iz svih magacina)"});
    EXPECT_EQ(opened("Glavni", [](TWarehouseForm& f) {
                  EXPECT_FALSE(f.StocksOverviewButton()->isHidden());
                  f.StocksOverviewButton()->click();
              }),
              QStringList{"Stanje zaliha"});
}

TEST_F(WarehouseReportsTest, TheRestrictionHoldsBackPerWarehouseReportsAndTheWizard)
{
    Console console;
    QString wizard;
    console.setWizardRunner([&](const QString& name, const QString& parameters, QTableView*) {
        wizard = name + "|" + parameters;
        return true;
    });
    GlobalConsole = ComPtr<IConsole>(&console);
    dm().Options.OnlyLocalDefaultWarehouseProds = true;
    dm().Options.DefWarehouseName = "Prodavnica";
    EXPECT_TRUE(opened("Glavni", [](TWarehouseForm& f) {
                    f.InventoryStockPriceButton()->click();
                    f.KepuWizardButton()->click();
                }).isEmpty());
    EXPECT_TRUE(wizard.isEmpty());
    EXPECT_EQ(opened("Glavni", [](TWarehouseForm& f) { f.TurnoverAllWareButton()->click(); }).size(), 1);
    opened("Prodavnica", [](TWarehouseForm& f) { f.KepuWizardButton()->click(); });
    EXPECT_EQ(wizard, "Knjiga evidencije prometa|warehouse:Prodavnica");
    GlobalConsole.reset();
}
