#include "Categoryunit.h"
#include "Inventoryquantityunit.h"
#include "Inventorystockpriceunit.h"
#include "QueryDataSet.h"
#include "Rfzoexport.h"
#include "ScratchHelpers.h"
#include "test_stockreports.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <cmath>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;
using stocktest::column;

namespace {

const QString kHead = QStringLiteral(
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><PregledStanjaZaliha><ZUStanjeZaliha><Partner>123</Partner>"
    "<OrganizacioneJedinice><OrganizacionaJedinica>1</OrganizacionaJedinica><Datumi><Datum Datum=\"2024-03-05\">");
const QString kTail =
    QStringLiteral("</Datum></Datumi></OrganizacioneJedinice></ZUStanjeZaliha></PregledStanjaZaliha>");

} // namespace

// On the shop's stock cards up to 2024-03-05 (the cut-off day counts,
// 2024-03-06 does not): Alfa 18 in and 15 out, the service 6 in and Delta 2
// out in Centralni, Beta's crumb there too; Beta 2 in in retail Prodavnica,
// Epsilon 0.0004 in retail Apoteka.
// For the values, of Centralni: Alfa 18 in at 1880 and 15 out at 1530 (and,
// not counting, the transfer of 2024-03-06 of 5 at 550 into Prodavnica);
// Beta's card leaves 0.0000001 though its stock row says -2; the service 6
// in at 20; Delta 2 out at 30; Epsilon has a stock row only.
class StockCardTest : public stocktest::ReportTest {
protected:
    // The list of a scope up to a date, as "&Prikaži" fills it into
    // m_list, against the expected rows of the fields.
    void fill(qint32 warehouseId, const QStringList& fields, const QStringList& expected,
              const QString& date = QStringLiteral("2024-03-05"))
    {
        m_list = stocktest::tableOf(DefineInventoryQuantityFields);
        AddTitleSortOrders(*m_list);
        QueryDataSet products(&connection(), QString());
        const TQuantityScope scope = QuantityScope(db(), warehouseId);
        SetInventoryQuantityList(products, scope);
        products.open();
        FillInventoryQuantities(db(), scope, products, *m_list, date);
        stocktest::expectRows(*m_list, fields, expected);
    }
    std::unique_ptr<MemoryTable> m_list;
};

TEST_F(StockCardTest, EachScopeReadsItsOwnStockCardsUpToTheDateAndTheReportHoldsPositiveLinkedStock)
{
    // One warehouse: Beta's 3 in and 2.9999999 out leave nothing; a negative
    // balance is listed; a stock row without entries is not.
    fill(1, {"name", "productid", "amountbalance"}, {"Alfa|1|3", "Čišćenje|3|6", "Delta|4|-2"});
    fill(-1, {"name", "amountin", "amountout", "amountbalance"}, {"Beta|2|0|2", "Epsilon|0|0|0"});
    EXPECT_EQ(QuantityScope(db(), -1).warehouseIds, "2,3");
    fill(0, {"name", "code", "unitname"},
         {"Alfa|A1|kom", "Beta|B1|kg", "Čišćenje|U1|h", "Delta|D1|l", "Epsilon|E&1|kom"});

    // The entries dated on the day count (Alfa's 3 above), the transfer of
    // the next day does not. A date text with a quote stays one literal,
    // which the server reads as the date it starts with.
    fill(-1, {"name", "amountbalance"}, {"Alfa|5", "Beta|2", "Epsilon|0"}, "2024-03-06");
    fill(-1, {"name"}, {"Beta", "Epsilon"}, "2024-03-05' OR '1'='1");

    // Without retail warehouses only warehouse 0 is read.
    sql("UPDATE warehouse SET pricetype = 'v'");
    EXPECT_EQ(QuantityScope(db(), -1).warehouseIds, "0");
    fill(-1, {"name"}, {});
    sql("UPDATE warehouse SET pricetype = 'm' WHERE warehouseid IN (2, 3)");

    // The fund's report holds only positive stock of directly linked
    // products. The list's current order is the report's order (the export
    // test writes the report of category 1).
    fill(0, {"name"}, {"Alfa", "Beta", "Čišćenje", "Delta", "Epsilon"});
    m_list->setIndexName("amountbalanceD");
    EXPECT_EQ(RfzoItems(db(), *m_list, "0,2"),
              "<JKL>U1</JKL><StanjeZaliha>6.000</StanjeZaliha><JKL>A1</JKL><StanjeZaliha>3.000</StanjeZaliha>");
    EXPECT_EQ(m_list->recNo(), 1);

    EXPECT_EQ(RfzoEscape("<a href=\"x\">&lt;</a>"), "&lt;a href=&quot;x&quot;&gt;&amp;lt;&lt;/a&gt;");
    // Warehouse 1's unit is empty, 3 has none: their identifiers stand in.
    for (const auto& [warehouse, unit] : {std::pair{2, "OJ-2"}, {1, "1"}, {3, "3"}, {-1, "1"}})
        EXPECT_EQ(RfzoOrganizationUnit(db(), warehouse), unit) << warehouse;
    EXPECT_EQ(RfzoFileName(QDateTime(QDate(2024, 3, 5), QTime(9, 8, 7)), "123"), "rfzo_20240305090807_123");
}

TEST_F(StockCardTest, WindowListsSortsByTitleAndPrintsTheDateAsTyped)
{
    stocktest::drive<TInventoryQuantityForm>([] { OpenInventoryQuantity(1, "Centralni"); }, [&](auto& form) {
        EXPECT_EQ(form.ToDateEdit()->text(), "05.03.2024");
        QTest::mouseClick(form.FindButton(), Qt::LeftButton);
        MemoryTable& table = *form.InventoryStockQuantityCDS();
        EXPECT_ROWS(column(table, "name"), QStringList({"Alfa", "Čišćenje", "Delta"}));
        DBGrid* grid = form.InventoryQuantityDBG();
        EXPECT_EQ(grid->horizontalHeader()->sortIndicatorSection(), -1);

        // The first click on a title sorts ascending, the next descending.
        stocktest::clickTitle(grid, "amountbalance");
        EXPECT_ROWS(column(table, "name"), QStringList({"Delta", "Alfa", "Čišćenje"}));
        stocktest::clickTitle(grid, "amountbalance");
        EXPECT_EQ(table.indexName(), "amountbalanceD");
        EXPECT_EQ(grid->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
        stocktest::clickTitle(grid, "name");
        EXPECT_EQ(table.indexName(), "nameA");

        // A confirmed date replaces the field, a cancelled pick keeps it.
        for (const QDate& date : {QDate(2024, 3, 4), QDate()})
            EXPECT_EQ(stocktest::pickDate(script, form.ToDateButton(), form.ToDateEdit(), date), "04.03.2024");

        form.ToDateEdit()->setText("5.3.2024");
        QTest::mouseClick(form.PrintButton(), Qt::LeftButton);
        EXPECT_TRUE(script.messages().isEmpty());
    });
    console.expectPrint("Zalihe (količine sa robnih kartica) - Centralni", "Datum 5.3.2024");
    EXPECT_EQ(console->GetActiveGrid(), nullptr);
}

TEST_F(StockCardTest, ExportWritesTheListAsLastShownForThePickedCategories)
{
    QTemporaryDir dir;
    const auto written = [&] { return QString::fromUtf8(fileBytes(dir.filePath("stanje.xml"))); };
    auto* form = new TInventoryQuantityForm(0, QString());
    form->OpenList();
    QTest::mouseClick(form->FindButton(), Qt::LeftButton);

    // "Izvezi" with the category picker answered: the category given picked
    // alone (-1: none; by default those offered), then confirmed or cancelled.
    QList<qint64> offered;
    auto exportPicking = [&](qint64 category = -2, bool confirmed = true) {
        ScopedModalHandler modal([&](QDialog& dialog) {
            auto& picker = dynamic_cast<TCategoryForm&>(dialog);
            offered.clear();
            for (const CategoryNode* node : picker.tree().selection())
                offered << node->id;
            if (category > -2)
                picker.treeView()->clearSelection();
            if (category >= 0)
                picker.itemOf(picker.tree().findNode(category))->setSelected(true);
            QTest::mouseClick(confirmed ? picker.okButton() : picker.cancelButton(), Qt::LeftButton);
            return dialog.result();
        });
        QTest::mouseClick(form->ExportButton(), Qt::LeftButton);
    };
    // The picker offers the top category; the user picks "Lekovi" alone.
    // Delta (-2) is never exported, the service sits below the category
    // picked, Alfa is linked to 0 only; Epsilon's 0.0004 goes out as 0.000.
    // The file name has no extension, so ".xml" is added.
    script.answer(dir.filePath("stanje"));
    exportPicking(1);
    EXPECT_EQ(offered, QList<qint64>({0}));
    ASSERT_EQ(script.shown().size(), 1);
    // Compared as text read back: a byte-order mark would show.
    EXPECT_EQ(written(), kHead + "<JKL>B1</JKL><StanjeZaliha>2.000</StanjeZaliha>"
                                 "<JKL>E&amp;1</JKL><StanjeZaliha>0.000</StanjeZaliha>" + kTail);

    // A later date goes into the file, but the quantities stay those of the
    // last "&Prikaži"; the existing file is overwritten.
    form->ToDateEdit()->setText("2024-03-06");
    script.answer(dir.filePath("stanje.xml"));
    exportPicking();
    EXPECT_EQ(written(), QString(kHead).replace("2024-03-05", "2024-03-06") +
                             "<JKL>A1</JKL><StanjeZaliha>3.000</StanjeZaliha>" + kTail);

    // A cancelled picker, a picker confirmed with nothing selected and a
    // cancelled save dialog write nothing; a file that cannot be written is
    // reported.
    script.clear();
    exportPicking(-1, false);
    exportPicking(-1);
    EXPECT_TRUE(script.shown().isEmpty());
    script.answer(QString()).answer(dir.filePath("nema/stanje.xml"));
    exportPicking();
    exportPicking();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"stanje.xml"}));
    ASSERT_EQ(script.messages().size(), 1);
    EXPECT_TRUE(script.messages()[0].contains("nema/stanje.xml")) << script.messages()[0].toStdString();
    delete form;
}

// The values of a warehouse's stock cards: each product from its own card
// up to the date, the window's list only on "&Prikaži".
TEST_F(StockCardTest, ValuesFromTheOwnCardUpToTheDateOnShowSortedByTitleAndStopped)
{
    // The entries dated on the day count, those of the next day do not; a
    // date text with a quote stays one literal.
    // Alfa's card: warehouse, date, then amount, price and value (NAN: not read).
    const std::tuple<qint32, const char*, double, double, double> prices[] = {
        {1, "2024-03-06", -2, 100, -200}, {1, "2024-03-05", 3, 116.67, 350}, {1, "2024-03-04", -2, 100, -200},
        {2, "2024-03-06", 5, 110, 550}, {2, "2024-03-05", 0, NAN, NAN}, {1, "x' OR 'a'='a", 0, NAN, NAN}};
    for (const auto& [warehouse, date, amount, price, value] : prices) {
        SCOPED_TRACE(testing::Message() << "warehouse " << warehouse << ", " << date);
        const TStockPrice alfa = CalculatePrice(db(), warehouse, 1, date);
        EXPECT_DOUBLE_EQ(alfa.amount, amount);
        if (!std::isnan(price)) {
            EXPECT_NEAR(alfa.price, price, 0.005);
            EXPECT_NEAR(alfa.value, value, 1e-6);
        }
    }

    stocktest::drive<TInventoryStockPriceForm>([] { OpenInventoryStockPrice(1, "Centralni"); }, [&](auto& form) {
        EXPECT_EQ(form.ToDateEdit()->text(), "05.03.2024");
        EXPECT_EQ(form.InventoryZQ()->recordCount(), 6);
        EXPECT_EQ(form.InventoryStockPriceCDS()->recordCount(), 0);
        EXPECT_EQ(form.TotalLabel()->text(), "Ukupna vrednost: 0,00");

        form.show();
        QTest::keyClick(&form, Qt::Key_Return); // "&Prikaži" is the default button
        MemoryTable& table = *form.InventoryStockPriceCDS();
        // Services are valued and -2 is listed; Beta's 0.0000001 is nothing,
        // whatever its value; 20 for 6 units is 3.33 a unit but still worth 20.
        stocktest::expectRows(table, {"name", "amount", "price", "productvalue"},
                              {"Alfa|3|116,67|350,00", "Čišćenje|6|3,33|20,00", "Delta|-2|15,00|-30,00"});
        EXPECT_EQ(table.recNo(), 1);
        EXPECT_EQ(form.TotalLabel()->text(), "Ukupna vrednost: 340,00");
        DBGrid* grid = form.InventoryStockPriceDBG();

        stocktest::clickTitle(grid, "price");
        EXPECT_ROWS(column(table, "name"), QStringList({"Čišćenje", "Delta", "Alfa"}));
        stocktest::clickTitle(grid, "price");
        EXPECT_ROWS(column(table, "name"), QStringList({"Alfa", "Delta", "Čišćenje"}));

        // Another session holds the stock cards: the reading waits on the
        // server. After "Prekini" the list of 5 March stays as it was.
        form.ToDateEdit()->setText("2024-03-06");
        expectPrekiniStops(form, form.FindButton(), form.PrintButton(), "docfinitem", "Robne kartice", script);
        EXPECT_ROWS(column(table, "amount"), QStringList({"3", "-2", "6"}));
        EXPECT_EQ(form.TotalLabel()->text(), "Ukupna vrednost: 340,00");
        // The window is usable; a refill keeps the order chosen.
        QTest::mouseClick(form.FindButton(), Qt::LeftButton);
        EXPECT_EQ(table.indexName(), "priceD");
        EXPECT_ROWS(column(table, "amount"), QStringList({"-2", "-2", "6"}));
        EXPECT_EQ(form.TotalLabel()->text(), "Ukupna vrednost: -210,00");

        QTest::mouseClick(form.PrintButton(), Qt::LeftButton);
        EXPECT_TRUE(script.messages().isEmpty());
    });
    console.expectPrint("Zalihe magacina (cene sa robnih kartica) - Centralni", "Datum 06.03.2024");
}
