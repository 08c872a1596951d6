#include "IniFile.h"
#include "Reportworker.h"
#include "ScratchHelpers.h"
#include "Stocksoverviewunit.h"
#include "test_stockreports.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTreeWidget>
#include <algorithm>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;

namespace {

QStringList names(MemoryTable& table)
{
    return stocktest::column(table, "ProductName");
}

const QDateTime kNow(QDate(2024, 3, 15), QTime(12, 0));

} // namespace

class StocksOverviewTest : public stocktest::ReportTest {
protected:
    StocksOverviewTest() : ReportTest(kNow, 1) {}
    static void SetUpTestSuite()
    {
        ProductDMTest::SetUpTestSuite();
        sql("INSERT INTO tax (taxid, name, value, status) VALUES (1, 'Opšta', 20, 'primary')");
        // The warehouse columns belong to fixed identifiers.
        sql("INSERT INTO warehouse (warehouseid, name, status) VALUES (1, 'Veleprodaja', 'primary'), (2, 'MP1', "
            "'standard'), (4, 'MP2', 'standard'), (5, 'MP7a', 'standard'), (8, 'Rezerva', 'standard'), "
            "(9, 'Ostalo', 'standard'), (11, 'MP7b', 'standard'), (20, 'VP2', 'standard')");
        sql("INSERT INTO product (productid, name, code, unitname, taxid, pricecurrency, type, active, supplyprice, "
            "recommendedprice) VALUES (1, 'Alfa', 'A1', 'kom', 1, 'RSD', 'r', 'y', 50, 100),"
            "(2, 'Beta', 'B1', 'kg', 1, 'RSD', 'r', 'y', NULL, NULL), (3, 'Gama', 'G1', 'kom', 1, 'RSD', 'r', 'y', "
            "NULL, NULL), (4, 'Delta', 'D''1', 'kom', 1, 'RSD', 'r', 'y', NULL, NULL),"
            "(5, 'Usluga', 'U1', 'h', 1, 'RSD', 'u', 'y', NULL, NULL), (6, 'Epsilon', 'E1', 'kom', 1, 'RSD', 'r', "
            "'n', NULL, NULL), (7, 'Zeta', 'Z1', 'kom', 1, 'RSD', 'r', 'y', NULL, NULL)");
        sql("INSERT INTO productwarehouse (productid, warehouseid, amount, orderedamount, reservedamount, "
            "reversedamount) VALUES (1, 2, 5, 2, 0, 0), (1, 4, 3, -1, 0, 0), (2, 5, 4, 0, 0, 0), (2, 11, 6, 0, 0, 0),"
            "(3, 8, 10, 0, 2, 1), (4, 2, 0, 0, 0, 0), (4, 1, -3, 0, 0, 0), (5, 2, 9, 0, 0, 0), (6, 20, 1, 0, 0, 0),"
            "(7, 2, 1, 0, 0, 0)");
        sql("INSERT INTO productdetail (productid, description, webprice, b2bprice, tariffnumber) VALUES "
            "(1, 'Opis alfe', 90, 70, NULL), (4, NULL, 0, 0, '2024-03-05'), (7, NULL, 0, 0, 'nije datum')");
        // Pića > Sokovi > Gazirani > Kola > Zero > Dublje; "Dete" comes
        // before its parent "Roditelj" is in the tree.
        sql("INSERT INTO categorypr (categoryprid, name, parentid) VALUES (1, 'Hrana', 0), (2, 'Pića', 0), "
            "(3, 'Sokovi', 2), (4, 'Gazirani', 3), (5, 'Kola', 4), (6, 'Zero', 5), (7, 'Dublje', 6), (20, 'Deda', 0),"
            "(12, 'Roditelj', 20), (11, 'Dete', 12)");
        sql("INSERT INTO productcategorypr (productid, categoryprid) VALUES (1, 1), (1, 3), (2, 5), (3, 6), (7, 7)");
        sql("INSERT INTO partner (partnerid, name) VALUES (1, 'Dobavljač X'), (2, 'Dobavljač Y'), (3, 'Povrat')");
        sql("INSERT INTO document (documentid, documentdate, documenttype, number, direction, warehouseid, "
            "partnerid, docreturn) VALUES "
            "(1, '2024-03-01', 'R', '1', -1, 2, NULL, 'n'), (2, '2024-03-14', 'M', '2', -1, 1, NULL, 'n'),"
            "(3, '2024-03-08', 'R', '3', -1, 9, NULL, 'n'), (4, '2024-02-14', 'R', '4', -1, 2, NULL, 'n'),"
            "(5, '2024-03-10', 'R', '5', -1, 5, NULL, 'n'), (6, '2024-03-11', 'R', '6', -1, 11, NULL, 'n'),"
            "(7, '2024-03-12', 'K', '7', 1, 1, 1, 'n'), (8, '2024-03-14', 'K', '8', -1, 1, 3, 'n'),"
            "(18, '2024-03-14', 'K', '18', 1, 1, 3, 'n'), (9, '2024-03-13', 'K', '9', 1, 1, 3, 'y'),"
            "(10, '2024-03-10', 'W', '10', 1, 1, 2, 'n'), (11, '2024-03-05', 'G', '11', 1, 8, NULL, 'n'),"
            "(12, '2024-03-07', 'R', '12', -1, 1, NULL, 'n')");
        sql("INSERT INTO documentitem (documentid, productid, quantity) VALUES "
            "(1, 1, 4), (2, 1, 1), (3, 1, 2), (4, 1, 100), (5, 2, 0.0000004), (6, 2, -2),"
            "(7, 1, 10), (8, 1, -3), (18, 1, 10), (9, 1, 10), (10, 2, -10), (10, 1, 5), (11, 3, 7), (12, 1, 50)");
    }
    // A fresh table filled for the filter, as the window fills its own.
    MemoryTable& fill(const TStocksOverviewFilter& filter)
    {
        table = stocktest::tableOf(DefineStocksOverviewFields);
        FillStocksOverview(db(), *table, filter, kNow);
        return *table;
    }

    std::unique_ptr<MemoryTable> table;
    QTemporaryDir layoutDir;
};

TEST_F(StocksOverviewTest, ColumnsFollowWarehousesStockModePeriodAndSuppliesAndFiltersNarrowTheList)
{
    // Per mode the products listed as "name|code|ordered|MP1|MP2|MP7|VP|
    // reserved|P1|P7|PVP|sold|sold 7|days|supplier|prices": services,
    // products without positive stock (in the mode's warehouses) and inactive
    // ones are out. Warehouses 5 and 11 both feed MP7, each in its own mode.
    // Gama's reserved: 2 reserved and 1 lent, then the free 7 of the reserve
    // warehouse. Sales: 4 in warehouse 2, 1 and 50 in warehouse 1, 2 in
    // warehouse 9 (no column of its own); the 100 before the period does
    // not count; 2024-03-07 is eight days back, 2024-03-08 seven. Beta's
    // 0.0000004 is no sale, and a return exceeding the sales shows negative.
    // Days on stock: Alfa's positive K line of 2024-03-12 (the negative K,
    // the excluded document 18 and the return of later dates do not count);
    // Beta's W line of -10 is a supply; Gama's stock entry gives the date
    // alone; Delta's date is kept in the tariff number, Zeta's text there is
    // no date.
    const QStringList fields = {"ProductName", "ProductCode", "orderedamount", "mp1amount", "mp2amount",
                                "mp7amount", "vp1amount", "reservedamount", "mp1sale", "mp7sale", "vp1sale",
                                "totalsale", "totalsale7", "daysonstock", "lastsupplier",
                                "recommendedpricewithvat", "webpricewithvat", "b2bprice", "supplyprice"};
    const QString alfa = "Alfa|A1|2|5|3||||4||51|57|3|3|Dobavljač X|120,00|108,00|70,00|50,00";
    const QString gama = "Gama|G1||||||10||||||10|||||", zeta = "Zeta|Z1||1|||||||||||||0,00|0,00|";
    const auto beta = [](const char* mp7) { return QString("Beta|B1||||%1||||-2||-2|-2|5|Dobavljač Y||||").arg(mp7); };
    const QPair<TStockMode, QStringList> listed[] = {
        {TStockMode::WholesaleOrRetail, {alfa, beta("10"), gama, zeta}},
        {TStockMode::Retail, {alfa, beta("4"), zeta}},
        {TStockMode::Wholesale, {beta("6"), gama}},
        {TStockMode::All, {alfa, beta("10"), "Delta|D'1||||||||||||10|||0,00|0,00|", gama, zeta}}};
    const QString from = "2024-02-15", to = "2024-03-15";
    for (const auto& [mode, expected] : listed) {
        SCOPED_TRACE(int(mode));
        expectSameTable(stocktest::rows(fill({"", "", 1, {}, mode, from, to}), fields), expected, fields);
    }

    const TStockMode either = TStockMode::WholesaleOrRetail, all = TStockMode::All;
    EXPECT_TRUE(stocktest::rows(fill({"", "", 1, {}, either, "2024-03-14", "2024-03-14"}), {"ProductName", "totalsale"})
                    .contains("Alfa|1"));
    // A quote in a date text reaches the database as text, not as SQL.
    EXPECT_NO_THROW(fill({"", "", 1, {}, either, "2024-03-14'", "2024-03-14"}));

    // Across the spring clock change the days stay whole.
    const std::tuple<QDate, QDateTime, int> days[] = {{QDate(2024, 3, 15), kNow, 0}, {QDate(2024, 3, 14), kNow, 1},
                                                      {QDate(2024, 3, 17), kNow, 1},
                                                      {QDate(2024, 3, 30), QDateTime(QDate(2024, 4, 2), QTime(0, 30)), 3}};
    for (const auto& [day, until, whole] : days)
        EXPECT_EQ(WholeDaysBetween(day, until), whole) << day.toString(Qt::ISODate).toStdString();

    // Narrowed by code, name, the active flag and categories. Two sibling
    // categories with four generations below them: Alfa once although it is
    // in both, Zero's Gama, not Dublje's Zeta. The root: the top level and
    // three generations below it.
    EXPECT_ROWS(names(fill({"D'", "", 1, {}, all, from, to})), QStringList({"Delta"}));
    EXPECT_ROWS(names(fill({"", "Ga", 1, {}, all, from, to})), QStringList({"Gama"}));
    EXPECT_ROWS(names(fill({"", "", 2, {}, all, from, to})), QStringList({"Epsilon"}));
    EXPECT_EQ(names(fill({"", "", 0, {}, all, from, to})).size(), 6);
    EXPECT_ROWS(names(fill({"", "", 1, {1, 2}, all, from, to})), QStringList({"Alfa", "Beta", "Gama"}));
    EXPECT_ROWS(names(fill({"", "", 1, {0}, all, from, to})), QStringList({"Alfa", "Beta"}));
    EXPECT_ROWS(ExpandCategories(db(), {1, 2}), QList<qint64>({1, 2, 3, 4, 5, 6}));
    QList<qint64> fromRoot = ExpandCategories(db(), {0});
    std::sort(fromRoot.begin(), fromRoot.end());
    EXPECT_ROWS(fromRoot, QList<qint64>({0, 1, 2, 3, 4, 5, 11, 12, 20}));
}

TEST_F(StocksOverviewTest, WindowOpensWithTreeDatesAndLayoutComputesStopsSortsShowsDescriptionsAndExports)
{
    hostClock().setNow(QDateTime(QDate(2024, 3, 31), QTime(9, 0)));
    auto* form = new TStocksOverviewForm(layoutDir.filePath("state.ini"));
    EXPECT_TRUE(form->StocksOverviewCDS()->isEmpty()); // nothing is counted before "&Prikaži"
    EXPECT_EQ(form->FromDateEdit()->text(), "29.02.2024");
    EXPECT_EQ(form->ToDateEdit()->text(), "31.03.2024");
    EXPECT_EQ(form->ActiveCB()->currentIndex(), 1);
    EXPECT_TRUE(form->StockWsRtRB()->isChecked());

    QTreeWidget* tree = form->TreeView();
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), "Glavna kategorija");
    // A child read before its parent stays at the top level.
    EXPECT_EQ(tree->topLevelItem(1)->text(0), "Dete");
    EXPECT_EQ(form->FindNode(12)->parent()->text(0), "Deda");
    EXPECT_EQ(form->FindNode(7)->parent(), form->FindNode(6));
    EXPECT_EQ(form->FindNode(99), nullptr);
    EXPECT_FALSE(tree->topLevelItem(0)->isExpanded());

    DBGrid* grid = form->StocksOverviewDBG();
    // The user moves the name first, widens the code and hides P9; the
    // layout outlives a computation and the window.
    QHeaderView* header = grid->horizontalHeader();
    header->moveSection(1, 0);
    header->resizeSection(0, 140);
    grid->setColumnVisible("mp9sale", false);
    QTest::mouseClick(form->FindButton(), Qt::LeftButton);
    EXPECT_ROWS(grid->visibleColumns().mid(0, 2), QStringList({"ProductName", "ProductCode"}));
    EXPECT_EQ(header->sectionSize(0), 140);
    form->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(TIniFile(layoutDir.filePath("state.ini")).SectionExists("StocksOverviewDS"));

    auto* again = new TStocksOverviewForm(layoutDir.filePath("state.ini"));
    DBGrid* grid2 = again->StocksOverviewDBG();
    EXPECT_ROWS(grid2->visibleColumns().mid(0, 2), QStringList({"ProductName", "ProductCode"}));
    EXPECT_FALSE(grid2->isColumnVisible("mp9sale"));
    EXPECT_EQ(grid2->horizontalHeader()->sectionSize(0), 140);
    delete again;

    // A remembered layout that reads as none leaves the design layout.
    writeFile(layoutDir.filePath("state.ini"), "[StocksOverviewDS]\nProductName=x;1\n");
    auto* third = new TStocksOverviewForm(layoutDir.filePath("state.ini"));
    EXPECT_ROWS(third->StocksOverviewDBG()->visibleColumns().mid(0, 2), QStringList({"ProductCode", "ProductName"}));
    EXPECT_TRUE(third->StocksOverviewDBG()->isColumnVisible("mp9sale"));
    delete third;

    // Computed on the fixture's day.
    hostClock().setNow(kNow);
    form = new TStocksOverviewForm(layoutDir.filePath("state.ini"));
    form->show();
    form->TreeView()->topLevelItem(0)->setSelected(true);
    QTest::mouseClick(form->FindButton(), Qt::LeftButton);
    MemoryTable& rows = *form->StocksOverviewCDS();
    EXPECT_ROWS(names(rows), QStringList({"Alfa", "Beta"}));
    EXPECT_EQ(form->ProdDescMemo()->toPlainText(), "Opis alfe");

    form->TreeView()->clearSelection();
    form->AllRB()->setChecked(true);
    QTest::mouseClick(form->FindButton(), Qt::LeftButton);
    const QStringList all = names(rows);
    ASSERT_ROWS(all, QStringList({"Alfa", "Beta", "Delta", "Gama", "Zeta"}));

    // The sales of "VP ili MP" wait on the locked documents until "Prekini":
    // the table stays as it was; the next count shows the list of the mode.
    rows.locate("ProductName", "Alfa");
    EXPECT_FALSE(form->CancelButton()->isVisible());
    form->StockWsRtRB()->setChecked(true);
    expectPrekiniStops(*form, form->FindButton(), form->ExportToExcelButton(), "document", "Prodaja u periodu",
                       script);
    EXPECT_ROWS(names(rows), all);
    EXPECT_EQ(form->ProdDescMemo()->toPlainText(), "Opis alfe");
    QTest::mouseClick(form->FindButton(), Qt::LeftButton);
    EXPECT_ROWS(names(rows), names(fill(form->CurrentFilter())));
    EXPECT_ROWS(names(rows), QStringList({"Alfa", "Beta", "Gama", "Zeta"}));

    // "PVP" twice: ascending (empty first, Alfa, the only one sold, last),
    // then descending; a new computation keeps the order chosen.
    grid = form->StocksOverviewDBG();
    const auto alfaAt = [&](const char* order, int place) {
        EXPECT_EQ(rows.indexName(), order);
        EXPECT_EQ(names(rows).indexOf("Alfa"), place);
    };
    stocktest::clickTitle(grid, "vp1sale");
    alfaAt("vp1saleA", 3);
    stocktest::clickTitle(grid, "vp1sale");
    alfaAt("vp1saleD", 0);
    EXPECT_EQ(grid->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    QTest::mouseClick(form->FindButton(), Qt::LeftButton);
    alfaAt("vp1saleD", 0);

    // The description follows the current row; a product without one
    // leaves the memo empty.
    rows.locate("ProductName", "Gama");
    EXPECT_EQ(form->ProdDescMemo()->toPlainText(), "");
    rows.locate("ProductName", "Alfa");
    EXPECT_EQ(form->ProdDescMemo()->toPlainText(), "Opis alfe");
    doubleClickCell(grid, "ProductName", rows.recNo() - 1);
    EXPECT_ROWS(console.products().opened, (QList<QPair<qint32, qint32>>{{1, 1}}));

    // A confirmed date replaces the field, a cancelled pick keeps it.
    EXPECT_EQ(stocktest::pickDate(script, form->FromDateButton(), form->FromDateEdit(), QDate(2024, 1, 2)),
              "02.01.2024");
    EXPECT_EQ(stocktest::pickDate(script, form->ToDateButton(), form->ToDateEdit(), QDate()), "15.03.2024");
    QTest::mouseClick(form->FindButton(), Qt::LeftButton);
    const QString chosen = layoutDir.filePath("zalihe");
    script.answer(chosen);
    QTest::mouseClick(form->ExportToExcelButton(), Qt::LeftButton);
    EXPECT_EQ(fileBytes(chosen + ".xlsx").left(2), "PK");
    // A name typed with ".xls" is saved as what it holds.
    script.answer(chosen + "2.xls");
    QTest::mouseClick(form->ExportToExcelButton(), Qt::LeftButton);
    EXPECT_ROWS(QDir(layoutDir.path()).entryList({"zalihe*"}), QStringList({"zalihe.xlsx", "zalihe2.xlsx"}));
    // Cancelled: nothing written.
    script.answer(QString());
    QTest::mouseClick(form->ExportToExcelButton(), Qt::LeftButton);
    EXPECT_EQ(script.shown().last().what, "save");
    EXPECT_EQ(script.messages(), QStringList());

    // Without a product module nothing opens and nothing is said.
    altertest::TestConsole without(false, true);
    doubleClickCell(grid, "ProductName", rows.recNo() - 1);
    EXPECT_EQ(console.products().opened.size(), 1);
    EXPECT_TRUE(script.messages().isEmpty());
    delete form;
}

// "Prekini" just before the work sends its statement: the first KILL finds
// nothing running, the statement then waits on a locked table, and only the
// KILL sent again stops it.
TEST_F(StocksOverviewTest, PrekiniStopsAStatementSentJustAfterIt)
{
    bool stopped = false;
    TReportWorker worker;
    std::atomic<bool> begun{false};
    workerstop::whileLocked(
        db(), "document",
        [&] {
            stopped = !worker.run(db(), [&](QSqlDatabase own, const TProgress&) {
                begun = true;
                QThread::msleep(500);
                tarvex::selectSql(own, QStringLiteral("SELECT COUNT(*) FROM document"));
            });
        },
        [&] {
            if (begun)
                worker.cancel();
        });
    EXPECT_TRUE(stopped);
}
