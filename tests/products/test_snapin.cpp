#include "Console.h"
#include "DataSetErrors.h"
#include "Connection.h"
#include "MainWindow.h"
#include "Productdmunit.h"
#include "Productnavigatorunit.h"
#include "Productregistration.h"
#include "Productsnapin.h"
#include "Productviewerunit.h"
#include "ScriptedDialogs.h"
#include "StandIns.h"
#include "TestServer.h"

#include <QDockWidget>
#include <QMenu>
#include <QToolBar>
#include <gtest/gtest.h>

using namespace tarvex;
using namespace tarvex::test;

namespace {

// The module as the console loads it: started, asked for its snap-in, finished.
struct LoadedModule {
    LoadedModule()
    {
        Initialize();
        factory = ComPtr<ISnapinFactory>::adopt(GetSnapinFactory());
    }
    ~LoadedModule()
    {
        factory.reset();
        Finalize();
    }
    ComPtr<ISnapin> snapinFor(Console& console)
    {
        ISnapin* raw = nullptr;
        factory->CreateSnapin(&console, &raw);
        return ComPtr<ISnapin>::adopt(raw);
    }
    ComPtr<ISnapinFactory> factory;
};

} // namespace

TEST(ProductSnapin, IdentityOneSnapinForEveryConsoleAndNothingWithoutSecurity)
{
    // The consoles outlive the module (a console unloads its modules first).
    Console first;
    Console second;
    LoadedModule module;
    ASSERT_NE(products::ProductDM, nullptr);
    // The exported name under the unit's prefix hands out the same factory.
    EXPECT_EQ(ComPtr<ISnapinFactory>::adopt(Productregistration_GetSnapinFactory()).get(), module.factory.get());
    ComPtr<ISnapin> a = module.snapinFor(first);
    ComPtr<ISnapin> b = module.snapinFor(second);
    EXPECT_EQ(a.get(), b.get());
    EXPECT_EQ(products::GlobalConsole.get(), &second);
    EXPECT_EQ(a->GetName(), "Proizvodi");
    EXPECT_EQ(a->GetDescription(), "Upravljanje proizvodima");
    EXPECT_EQ(a->GetSnapinType(), 1002);
    EXPECT_FALSE(a->GetImage().isNull());
    EXPECT_EQ(a.query<IOptionsTab>(IID_IOptionsTab)->GetTabCaption(), "Proizvodi");
    EXPECT_EQ(a.query<IViewer>(IID_IViewer)->GetViewerType(), 1002);
    EXPECT_TRUE(a.query<IProductService>(IID_IProductService));
    EXPECT_TRUE(a.query<ICategoryPrService>(IID_ICategoryPrService));
    const products::PackageInfoTable* table = GetPackageInfoTable();
    ASSERT_EQ(table->count, 2);
    EXPECT_STREQ(table->units[0].unit, "Productdmunit"); // the data module first, and so last down

    // Without security every attempt says so once, and service calls fail.
    ScriptedDialogs script;
    auto viewer = a.query<IViewer>(IID_IViewer);
    viewer->Load(nullptr);
    viewer->Load(nullptr);
    EXPECT_EQ(script.messages(), QStringList(2, "Modul \"Sigurnost\" nije dostupan."));
    EXPECT_EQ(products::ProductDM->ZConnection(), nullptr);

    // Service calls fail with the data layer's error.
    script.clear();
    auto categories = a.query<ICategoryPrService>(IID_ICategoryPrService);
    auto productService = a.query<IProductService>(IID_IProductService);
    TIntArray ids;
    QString paths = QStringLiteral("Pića");
    EXPECT_THROW(categories->GetCatPathsToIDs(paths, ids), DataSetError);
    EXPECT_THROW(categories->GetCategoryPr(paths, ids, true), DataSetError);
    TProductDesc desc;
    EXPECT_THROW(productService->GetProduct(1, 1, desc), DataSetError);
    EXPECT_TRUE(ids.isEmpty());
    // Each call first said that the security module is missing.
    EXPECT_EQ(script.messages().size(), 3);
}

class ProductSnapinDb : public DatabaseTest {};

TEST_F(ProductSnapinDb, TheConsoleShowsTheListAndSearches)
{
    QSqlDatabase d = db();
    execSql(d, "INSERT INTO tax (taxid, name, value, status) VALUES (1, 'PDV20', 20, 'primary')");
    execSql(d, "INSERT INTO warehouse (warehouseid, name, status, pricetype) VALUES (1, 'Glavni magacin', 'primary', 'm')");
    execSql(d, "INSERT INTO product (productid, name, code, unitname, taxid, price, pricecurrency, type) VALUES "
               "(1, 'Mleko 2.8%', '001', 'l', 1, 100, 'RSD', 'r'), (2, 'Hleb beli', '002', 'kom', 1, 50, 'RSD', 'r'),"
               "(3, 'Mlevena paprika', '003', 'kg', 1, 10.5, 'RSD', 'r')");
    execSql(d, "INSERT INTO productwarehouse (productid, warehouseid, amount, price) VALUES (1, 1, 12.5, 110)");
    Connection connection(db());
    Console console;
    LoadedModule module;
    {
        console.addService(ComPtr<IInterface>(new SecurityStandIn(connection)));
        ComPtr<ISnapin> snapin = module.snapinFor(console);
        auto viewer = snapin.query<IViewer>(IID_IViewer);
        auto navigator = snapin.query<INavigable>(IID_INavigable);

        // Showing the panel before the connection prepares nothing...
        navigator->GetNavigatorFrame();
        auto* panel = static_cast<products::TProductNavigator*>(navigator.get())->form();
        navigator->ShowNavigator();
        EXPECT_FALSE(panel->SearchPropsSet);
        // ...the list's Load connects, and the next showing prepares them once.
        viewer->Load(snapin.get());
        EXPECT_TRUE(products::ProductDM->IsConnected());
        navigator->ShowNavigator();
        EXPECT_TRUE(panel->SearchPropsSet);

        QWidget* frame = viewer->GetFrame();
        viewer->Show();
        auto* list = static_cast<products::TProductViewerForm*>(frame);
        EXPECT_EQ(console.GetActiveGrid(), list->DBG());
        panel->SearchVLE()->setValue("name", "Ml");
        panel->FindButtonClick();
        EXPECT_EQ(products::ProductDM->ProductZQ->recordCount(), 2);
        // Sorted by name; the warehouse columns are the default warehouse's.
        EXPECT_EQ(products::ProductDM->ProductZQ->fieldByName("name").asString(), "Mleko 2.8%");
        auto* model = list->DBG()->dataModel();
        EXPECT_EQ(model->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Ime");
        EXPECT_EQ(model->headerData(4, Qt::Horizontal, Qt::DisplayRole).toString(), "Glavni magacin:Cena");
        EXPECT_EQ(model->headerData(9, Qt::Horizontal, Qt::DisplayRole).toString(), "Moneta");
        EXPECT_EQ(model->data(model->index(0, 4), Qt::DisplayRole).toString(), "110.00");
        // Without a stock row the warehouse columns stay empty, not zero.
        EXPECT_EQ(model->data(model->index(1, 4), Qt::DisplayRole).toString(), "");
        EXPECT_EQ(model->data(model->index(1, 7), Qt::DisplayRole).toString(), "20.00 %");
        EXPECT_EQ(model->data(model->index(0, 12), Qt::DisplayRole).toString(), "12.5");
        EXPECT_EQ(model->data(model->index(0, 17), Qt::DisplayRole).toString(), "Roba");
        // The attribute catalogue is on the tool bar but not in the pop-up menu.
        EXPECT_TRUE(list->toolBar()->actions().contains(list->AttributeAction));
        EXPECT_FALSE(list->popupMenu()->actions().contains(list->AttributeAction));

        {
            MainWindow window(console);
            window.resize(1100, 500);
            window.setCentralWidget(frame);
            window.navigatorDock()->setWidget(panel);
            frame->setParent(nullptr);
            panel->setParent(nullptr);
        }
        viewer->Hide();
        EXPECT_EQ(console.GetActiveGrid(), nullptr);
        viewer->FreeFrame();
        navigator->DestroyNavigatorFrame();
    }
}
