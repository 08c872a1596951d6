// The first ten minutes in the demo shop, as the README tells them: the
// console shows the catalogue, a category search narrows it, a product opens
// in the editor with its prices as the shop reads them, and a warehouse's
// inventory lists its stock.

#include "Console.h"
#include "DBControls.h"
#include "DBGrid.h"
#include "DemoData.h"
#include "Inventoryunit.h"
#include "MainWindow.h"
#include "Modal.h"
#include "Productdetailunit.h"
#include "Productdmunit.h"
#include "Productnavigatorunit.h"
#include "Productviewerunit.h"
#include "ScriptedDialogs.h"
#include "SearchValueList.h"
#include "StandIns.h"
#include "TestServer.h"

#include <QDockWidget>
#include <QLabel>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tarvex;
using namespace tarvex::test;

class DemoTour : public DatabaseTest {
protected:
    static void SetUpTestSuite()
    {
        DatabaseTest::SetUpTestSuite();
        QSqlDatabase d = db();
        generateDemoData(d, DemoScale::small(), 20261206, QDate(2026, 12, 6));
    }
};

TEST_F(DemoTour, SearchEditAndInventoryOfTheDemoShop)
{
    ScriptedDialogs script;
    QTemporaryDir settings;
    Connection connection(db());
    QSqlQuery path(db());
    ASSERT_TRUE(path.exec("SELECT CONCAT(top.name, '>', mid.name, '>', leaf.name) FROM categorypr leaf "
                          "JOIN categorypr mid ON mid.categoryprid = leaf.parentid "
                          "JOIN categorypr top ON top.categoryprid = mid.parentid WHERE leaf.name = 'Mleko i jogurt'") &&
                path.next());
    const QString dairy = path.value(0).toString();
    {
        Console console;
        console.addService(ComPtr<IInterface>(new SecurityStandIn(connection)));
        console.loadModule(QStringLiteral(TARVEX_PRODUCTS_MODULE));
        products::ProductDM->setLocalSettings(settings.filePath("tarvex.ini"), settings.path());
        {
            MainWindow window(console);
            window.resize(1600, 800);
            window.showSnapin();
            auto* list = qobject_cast<products::TProductViewerForm*>(window.centralWidget());
            auto* panel = qobject_cast<products::TProductNavigatorForm*>(window.navigatorDock()->widget());
            ASSERT_TRUE(list && panel);

            panel->SearchVLE()->setValue("category", dairy);
            panel->FindButtonClick();
            products::QueryDataSet& found = *products::ProductDM->ProductZQ;
            ASSERT_GT(found.recordCount(), 3);
            // Only the category's own products.
            for (int row = 0; row < found.recordCount(); ++row)
                EXPECT_EQ(scalar(db(), QStringLiteral("SELECT COUNT(*) FROM productcategorypr pc JOIN categorypr c ON "
                                                      "c.categoryprid = pc.categoryprid WHERE c.name = 'Mleko i jogurt' "
                                                      "AND pc.productid = %1")
                                           .arg(found.valueAt(row, found.fieldByName("productid").index()).toLongLong()))
                              .toInt(),
                          1);
            // The first product in the editor: prices as the display formats say.
            int editors = 0;
            {
                ScopedModalHandler modal([&](QDialog& dialog) {
                    auto& form = dynamic_cast<products::TProductDetailForm&>(dialog);
                    ++editors;
                    EXPECT_EQ(form.NameDBE->text(), found.fieldByName("name").asString());
                    EXPECT_TRUE(QRegularExpression("^\\d+\\.\\d\\d$").match(form.PriceVATDBE->text()).hasMatch())
                        << form.PriceVATDBE->text().toStdString();
                    EXPECT_TRUE(QRegularExpression("^\\d+\\.\\d\\d\\d?\\d?$").match(form.PriceDBE->text()).hasMatch())
                        << form.PriceDBE->text().toStdString();
                    EXPECT_FALSE(form.InPriceDBE->text().isEmpty());
                    return int(QDialog::Rejected);
                });
                list->ProductEdit->trigger();
            }
            EXPECT_EQ(editors, 1);

            // The central warehouse's inventory.
            int reports = 0;
            {
                ScopedModalHandler modal([&](QDialog& dialog) {
                    auto& form = dynamic_cast<products::TInventoryForm&>(dialog);
                    ++reports;
                    EXPECT_GT(form.InventoryZQ()->recordCount(), 100);
                    EXPECT_TRUE(form.TotalLabel()->text().startsWith("Ukupna vrednost: "));
                    return int(QDialog::Rejected);
                });
                products::OpenWarehouseInventory(1, QStringLiteral("Centralni magacin"));
            }
            EXPECT_EQ(reports, 1);
        }
        console.unloadModules();
    }
    EXPECT_EQ(script.messages(), QStringList());
}
