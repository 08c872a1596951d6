// The module as the console sees it: the snap-in and its services, the
// list in the console, the state it remembers, and a list read a page at a
// time. (That the demo shop obeys the module's rules, the import's round
// trip of its catalogue tells.)

#include "Connection.h"
#include "Console.h"
#include "DBControls.h"
#include "DBGrid.h"
#include "DataSetErrors.h"
#include "IniFile.h"
#include "MainWindow.h"
#include "Productdetailunit.h"
#include "Productdmunit.h"
#include "Productnavigatorunit.h"
#include "Productregistration.h"
#include "Productsnapin.h"
#include "Productviewerunit.h"
#include "ScriptedDialogs.h"
#include "ScratchHelpers.h"
#include "SearchValueList.h"
#include "StandIns.h"
#include "TestServer.h"
#include "UserDriving.h"
#include "Workstation.h"

#include <QDockWidget>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

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
    EXPECT_FALSE(a->GetImage().isNull());
    EXPECT_TRUE(a.query<IOptionsTab>(IID_IOptionsTab));
    auto viewer = a.query<IViewer>(IID_IViewer);
    auto categories = a.query<ICategoryPrService>(IID_ICategoryPrService);
    auto productService = a.query<IProductService>(IID_IProductService);
    EXPECT_EQ(viewer->GetViewerType(), a->GetSnapinType()); // the console pairs them by type
    EXPECT_TRUE(categories);
    EXPECT_TRUE(productService);
    const products::PackageInfoTable* table = GetPackageInfoTable();
    ASSERT_EQ(table->count, 2);
    EXPECT_STREQ(table->units[0].unit, "Productdmunit"); // the data module first, and so last down

    // Without security every attempt says so once, and service calls fail.
    ScriptedDialogs script;
    viewer->Load(nullptr);
    viewer->Load(nullptr);
    EXPECT_ROWS(script.messages(), QStringList(2, "Modul \"Sigurnost\" nije dostupan."));
    EXPECT_EQ(products::ProductDM->ZConnection(), nullptr);

    // Service calls fail with the data layer's error.
    script.clear();
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
    execSql(db(), "INSERT INTO tax (taxid, name, value, status) VALUES (1, 'PDV20', 20, 'primary')");
    execSql(db(), "INSERT INTO warehouse (warehouseid, name, status, pricetype) VALUES (1, 'Glavni magacin', 'primary', 'm')");
    execSql(db(), "INSERT INTO product (productid, name, code, unitname, taxid, price, pricecurrency, type) VALUES "
               "(1, 'Mleko 2.8%', '001', 'l', 1, 100, 'RSD', 'r'), (2, 'Hleb beli', '002', 'kom', 1, 50, 'RSD', 'r'),"
               "(3, 'Mlevena paprika', '003', 'kg', 1, 10.5, 'RSD', 'r')");
    execSql(db(), "INSERT INTO productwarehouse (productid, warehouseid, amount, price) VALUES (1, 1, 12.5, 110)");
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
        QTest::mouseClick(panel->FindButton(), Qt::LeftButton);
        EXPECT_EQ(products::ProductDM->ProductZQ->recordCount(), 2);
        // Sorted by name, headed by the default warehouse's columns (the cells'
        // texts: test_productdm_rules).
        EXPECT_EQ(products::ProductDM->ProductZQ->fieldByName("name").asString(), "Mleko 2.8%");
        EXPECT_EQ(list->DBG()->dataModel()->headerData(4, Qt::Horizontal, Qt::DisplayRole).toString(),
                  "Glavni magacin:Cena");
        // The attribute catalogue is on the tool bar but not in the pop-up menu.
        EXPECT_TRUE(list->toolBar()->actions().contains(list->AttributeAction));
        EXPECT_FALSE(list->popupMenu()->actions().contains(list->AttributeAction));

        viewer->Hide();
        EXPECT_EQ(console.GetActiveGrid(), nullptr);
        viewer->FreeFrame();
        navigator->DestroyNavigatorFrame();
    }
}

class RememberedWindows : public DatabaseTest {};

// What the windows note between sessions (the main window's size, the
// editor's size, the last search) goes to the state file: the settings file
// stays byte for byte as the shop wrote it, and the next session opens as
// the last one was left.
TEST_F(RememberedWindows, WindowStateGoesToTheStateFileTheSettingsFileStaysAsWrittenAndTheNextSessionRestoresIt)
{
    execSql(db(), "INSERT INTO tax (taxid, name, value, status) VALUES (1, 'PDV20', 20, 'primary')");
    execSql(db(), "INSERT INTO warehouse (warehouseid, name, status, pricetype) VALUES (1, 'Glavni magacin', 'primary', 'm')");
    execSql(db(), "INSERT INTO product (productid, name, code, unitname, taxid, price, pricecurrency, type) VALUES "
               "(1, 'Mleko', '001', 'l', 1, 100, 'RSD', 'r'), (2, 'Hleb', '002', 'kom', 1, 50, 'RSD', 'r')");
    QTemporaryDir dir;
    const QString ini = dir.filePath("tarvex.ini");
    const QByteArray written = "; the shop's own\n[Database]\nHost=server.local\n\n[Product]\nProductHideInPrices=0\n";
    writeFile(ini, written);

    Connection connection(db());
    Console console;
    console.addService(ComPtr<IInterface>(new SecurityStandIn(connection)));
    console.loadModule(QStringLiteral(TARVEX_PRODUCTS_MODULE));
    products::ProductDM->setLocalSettings(ini, dir.path());
    // One session: the main window sized, a search, the editor widened.
    const auto session = [&](const std::function<void(MainWindow&, products::TProductNavigatorForm&,
                                                      products::TProductViewerForm&)>& work) {
        MainWindow window(console);
        window.showSnapin();
        window.show();
        auto* panel = qobject_cast<products::TProductNavigatorForm*>(window.navigatorDock()->widget());
        auto* list = qobject_cast<products::TProductViewerForm*>(window.centralWidget());
        ASSERT_TRUE(panel && list);
        work(window, *panel, *list);
    };
    const auto editorSize = [](products::TProductViewerForm& list, const QSize& resizeTo) {
        QSize seen;
        onModalOf<products::TProductDetailForm>([&](products::TProductDetailForm& form) {
            seen = form.size();
            if (resizeTo.isValid())
                form.resize(resizeTo);
            click(form.CancelButton());
        });
        list.ProductEdit->trigger();
        return seen;
    };

    session([&](MainWindow& window, products::TProductNavigatorForm& panel, products::TProductViewerForm& list) {
        // The catalogue's import and export stand in the file menu, above "Izlaz".
        QStringList fileItems;
        for (const QAction* action : window.fileMenu()->actions())
            fileItems << action->text();
        EXPECT_ROWS(fileItems, QStringList({"&Uvoz proizvoda...", "&Izvoz proizvoda...", "", "&Izlaz"}));
        window.resize(1010, 610);
        panel.SearchVLE()->setValue("name", "Ml");
        QTest::mouseClick(panel.FindButton(), Qt::LeftButton);
        ASSERT_EQ(products::ProductDM->ProductZQ->recordCount(), 1);
        editorSize(list, QSize(1300, 900));
    });
    EXPECT_EQ(fileBytes(ini), written);
    const TIniFile state(stateFilePath());
    EXPECT_ROWS(state.ReadSections(), QStringList({"ProductSearch", "ProductDetailForm", "MainWindow"}));

    session([&](MainWindow& window, products::TProductNavigatorForm& panel, products::TProductViewerForm& list) {
        EXPECT_EQ(window.size(), QSize(1010, 610));
        EXPECT_EQ(panel.SearchVLE()->value("name"), "Ml");
        QTest::mouseClick(panel.FindButton(), Qt::LeftButton);
        EXPECT_EQ(products::ProductDM->ProductZQ->recordCount(), 1);
        EXPECT_EQ(editorSize(list, QSize()), QSize(1300, 900));
    });
    EXPECT_EQ(fileBytes(ini), written);
    console.unloadModules();
}

class BigList : public DatabaseTest {};

// A list past the paging threshold, as the user meets it: the grid shows
// it while it is read a page at a time; Ctrl+End, a title click and a
// locate land where a whole list would; a product saved from the editor
// stays the current row.
TEST_F(BigList, ScrollSortLocateAndSaveInAListReadAPageAtATime)
{
    execSql(db(), "INSERT INTO tax (taxid, name, value, status) VALUES (1, 'PDV20', 20, 'primary')");
    execSql(db(), "INSERT INTO warehouse (warehouseid, name, status, pricetype) VALUES (1, 'Glavni', 'primary', 'm')");
    execSql(db(), "INSERT INTO currency (code, name, status) VALUES ('RSD', 'Dinar', 'primary')");
    execSql(db(), "INSERT INTO product (productid, name, code, unitname, taxid, price, pricecurrency, inputprice, "
               "inputpricecurrency, supplyprice, planprice, type) SELECT seq, CONCAT(ELT(1 + seq % 5, 'Čaj ', 'Cvekla ', 'Ćevap ', 'Šargarepa ', "
               "'Džem '), seq), CONCAT('K', seq), 'kom', 1, (seq * 37) % 101, 'RSD', 50, 'RSD', 50, 60, 'r' FROM seq_1_to_300");
    const auto serverOrder = [&](const char* order) {
        return rowsOf(db(), QStringLiteral("SELECT name FROM product ORDER BY %1, productid").arg(QLatin1String(order)));
    };
    ScriptedDialogs script;
    Connection connection(db());
    Console console;
    console.addService(ComPtr<IInterface>(new SecurityStandIn(connection)));
    console.loadModule(QStringLiteral(TARVEX_PRODUCTS_MODULE));
    {
        QueryDataSet& products = *products::ProductDM->ProductZQ;
        products.setPaging(QStringLiteral("productid"), 100, 2);
        MainWindow window(console);
        window.showSnapin();
        window.resize(1000, 500);
        window.show();
        auto* panel = qobject_cast<products::TProductNavigatorForm*>(window.navigatorDock()->widget());
        auto* list = qobject_cast<products::TProductViewerForm*>(window.centralWidget());
        ASSERT_TRUE(panel && list);
        DBGrid* grid = list->DBG();
        QTest::mouseClick(panel->FindButton(), Qt::LeftButton);
        ASSERT_TRUE(products.isPaged());
        DataSetModel* model = grid->dataModel();
        const int name = model->columnOf(products.findField("name"));
        const int price = model->columnOf(products.findField("price"));
        const auto shown = [&](int from, int count) {
            QStringList names;
            for (int row = from; row < from + count; ++row)
                names << model->index(row, name).data().toString();
            return names;
        };
        // Only what the grid shows is read, in the server's order.
        QCoreApplication::processEvents();
        EXPECT_EQ(model->rowCount(), 300);
        EXPECT_LT(products.heldRows(), 100);
        const QStringList byName = serverOrder("name");
        EXPECT_ROWS(shown(0, 6), byName.mid(0, 6));

        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
        EXPECT_EQ(grid->currentIndex().row(), 299);
        EXPECT_EQ(products.currentRow(), 299);
        EXPECT_EQ(products.fieldByName("name").asString(), byName.last());
        QTest::keyClick(grid, Qt::Key_PageUp);
        const int up = products.currentRow();
        EXPECT_LT(up, 299);
        EXPECT_EQ(grid->currentIndex().row(), up);
        EXPECT_ROWS(shown(up, 3), byName.mid(up, 3));

        // A click on the price's title: the server sorts (keeping the product
        // current and letting far pages go: test_dataset_pages), the grid follows.
        QHeaderView* header = grid->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(price) + 5, header->height() / 2));
        EXPECT_EQ(products.sortedFields(), "price ASC");
        EXPECT_EQ(grid->currentIndex().row(), products.currentRow());
        EXPECT_ROWS(shown(0, 300), serverOrder("price"));

        // Locate: the first row by the letters as written, not as the server's
        // collation reads them (which takes "Sargarepa" for "Šargarepa").
        const QStringList byPrice = serverOrder("price");
        ASSERT_TRUE(products.locate("name", "šarg", LocateCaseInsensitive | LocatePartialKey));
        int first = 0;
        while (!byPrice[first].startsWith("Šarg"))
            ++first;
        EXPECT_EQ(products.currentRow(), first);
        EXPECT_EQ(grid->currentIndex().row(), first);
        EXPECT_FALSE(products.locate("name", "Sargarepa", LocateCaseInsensitive | LocatePartialKey));
        EXPECT_EQ(products.currentRow(), first);

        // Saved from the editor: the same row stays current and shows the price.
        const qint64 id = products.fieldByName("productid").asLargeInt();
        onModalOf<products::TProductDetailForm>([](products::TProductDetailForm& form) {
            form.PriceDBE->selectAll();
            QTest::keyClicks(form.PriceDBE, "77.25");
            click(form.OKButton());
            if (form.isVisible())  // refused: the messages tell why
                click(form.CancelButton());
        });
        list->ProductEdit->trigger();
        EXPECT_EQ(products.fieldByName("productid").asLargeInt(), id);
        EXPECT_EQ(products.currentRow(), first);
        EXPECT_EQ(grid->currentIndex().row(), first);
        EXPECT_EQ(model->index(first, price).data().toString(), "77,25");
        EXPECT_EQ(scalar(db(), QStringLiteral("SELECT price FROM product WHERE productid = %1").arg(id)).toDouble(), 77.25);
    }
    console.unloadModules();
    EXPECT_EQ(script.messages(), QStringList()) << script.messages().join('\n').toStdString();
}
