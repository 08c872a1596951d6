#include "Categoryunit.h"
#include "DBIniFile.h"
#include "Inventoryquantityunit.h"
#include "MemoryTable.h"
#include "QueryDataSet.h"
#include "Rfzoexport.h"
#include "test_stockreports.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;
using stocktest::column;

namespace {

QString readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("<missing>");
    return QString::fromUtf8(file.readAll());
}

const QString kHead = QStringLiteral(
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><PregledStanjaZaliha><ZUStanjeZaliha><Partner>123</Partner>"
    "<OrganizacioneJedinice><OrganizacionaJedinica>1</OrganizacionaJedinica><Datumi><Datum Datum=\"2024-03-05\">");
const QString kTail =
    QStringLiteral("</Datum></Datumi></OrganizacioneJedinice></ZUStanjeZaliha></PregledStanjaZaliha>");

} // namespace

// Stock cards up to 2024-03-05 (the cut-off day counts, 2024-03-06 does not):
// Aspirin (code A&B) 10 in and 3 out in retail warehouse 2; Brufen 10 in and
// 10 out, Cink 0.0000001 in, Diklofen 1 out and Gel 2 in, all in warehouse 1;
// Eferalgan 0.0004 in retail warehouse 3; Fervex 5 in warehouse 2; Hemomicin
// only on the stock list. Category 1 holds Aspirin, Diklofen and Eferalgan,
// its child 2 holds Fervex, and Gel is linked to identifier 0.
class InventoryQuantityTest : public stocktest::ReportTest {
protected:
    InventoryQuantityTest() : ReportTest(QDateTime(QDate(2024, 3, 5), QTime(9, 8, 7))) {}
    static void SetUpTestSuite()
    {
        ProductDMTest::SetUpTestSuite();
        sql("INSERT INTO warehouse (warehouseid, name, status, pricetype, organizationunit) VALUES "
            "(1, 'Centralni', 'primary', 'v', NULL), (2, 'Prodavnica', 'standard', 'm', 'OJ-2'),"
            "(3, 'Apoteka', 'standard', 'm', NULL), (7, 'Depo', 'standard', 'v', '')");
        sql("INSERT INTO tax (taxid, name, value, status) VALUES (1, 'Opšta', 20, 'primary')");
        sql("INSERT INTO product (productid, name, code, unitname, taxid, pricecurrency, type) VALUES "
            "(1, 'Aspirin', 'A&B', 'kut', 1, 'RSD', 'r'), (2, 'Brufen', 'B1', 'kut', 1, 'RSD', 'r'),"
            "(3, 'Cink', 'C1', 'kom', 1, 'RSD', 'r'), (4, 'Diklofen', 'D1', 'kut', 1, 'RSD', 'r'),"
            "(5, 'Eferalgan', 'E1', 'kut', 1, 'RSD', 'r'), (6, 'Fervex', 'F1', 'kes', 1, 'RSD', 'r'),"
            "(7, 'Gel', 'G1', 'tuba', 1, 'RSD', 'r'), (8, 'Hemomicin', 'H1', 'kut', 1, 'RSD', 'r')");
        sql("INSERT INTO productwarehouse (productid, warehouseid, amount) VALUES (1, 2, 7), (1, 1, 4), (2, 1, 0),"
            "(3, 1, 0), (4, 1, -1), (5, 3, 0), (6, 2, 5), (7, 1, 2), (8, 1, 5)");
        sql("INSERT INTO document (documentid, documentdate, documenttype, number, direction, warehouseid) VALUES "
            "(1, '2024-03-01', 'K', '1', 1, 1), (2, '2024-03-05', 'R', '2', -1, 1), (3, '2024-03-06', 'K', '3', 1, 1)");
        sql("INSERT INTO docfinitem (documentid, productid, warehouseid, inquantity, outquantity) VALUES "
            "(1, 1, 2, 10, 0), (2, 1, 2, 0, 3), (3, 1, 2, 100, 0), (1, 2, 1, 10, 0), (2, 2, 1, 0, 10),"
            "(1, 3, 1, 0.0000001, 0), (1, 4, 1, 0, 1), (1, 5, 3, 0.0004, 0), (1, 6, 2, 5, 0), (2, 7, 1, 2, 0)");
        sql("INSERT INTO categorypr (categoryprid, parentid, name) VALUES (1, 0, 'Lekovi'), (2, 1, 'Analgetici')");
        sql("INSERT INTO productcategorypr (productid, categoryprid) VALUES (1, 1), (4, 1), (5, 1), (6, 2), (7, 0)");
        TDBIniFile(db()).WriteString("CompanyInfo", "Number", "123");
    }
    // The list of a scope up to a date, as "&Prikaži" fills it.
    struct Listed {
        std::unique_ptr<QueryDataSet> products = std::make_unique<QueryDataSet>();
        std::unique_ptr<MemoryTable> table = std::make_unique<MemoryTable>();
        QStringList operator()(const QStringList& fields) const { return stocktest::rows(*table, fields); }
    };
    static Listed fill(qint32 warehouseId, const QString& date = QStringLiteral("2024-03-05"))
    {
        Listed listed;
        DefineInventoryQuantityFields(*listed.table);
        listed.table->createDataSet();
        AddTitleSortOrders(*listed.table);
        listed.products->setConnection(&connection());
        const TQuantityScope scope = QuantityScope(db(), warehouseId);
        SetInventoryQuantityList(*listed.products, scope);
        listed.products->open();
        FillInventoryQuantities(db(), scope, *listed.products, *listed.table, date);
        return listed;
    }
};

TEST_F(InventoryQuantityTest, EachScopeReadsItsOwnStockCardsUpToTheDate)
{
    // One warehouse: 10 in and 10 out, and 0.0000001 in, leave nothing; a
    // negative balance is listed; a stock row without entries is not.
    const Listed one = fill(1);
    EXPECT_EQ(one({"name", "amountbalance"}), QStringList({"Diklofen|-1", "Gel|2"}));
    EXPECT_EQ(one.table->fieldByName("productid").asLargeInt(), 4);

    const Listed retail = fill(-1);
    EXPECT_EQ(retail({"name", "amountin", "amountout", "amountbalance"}),
              QStringList({"Aspirin|10|3|7", "Eferalgan|0.0004|0|0.0004", "Fervex|5|0|5"}));
    EXPECT_EQ(QuantityScope(db(), -1).warehouseIds, "2,3");

    EXPECT_EQ(fill(0)({"name", "code", "unitname"}), QStringList({"Aspirin|A&B|kut", "Diklofen|D1|kut", "Eferalgan|E1|kut",
                                                             "Fervex|F1|kes", "Gel|G1|tuba"}));

    // The entry dated on the day counts, the one of the next day does not. A
    // date text with a quote stays one literal, which the server reads as the
    // date it starts with.
    EXPECT_EQ(fill(2, "2024-03-04")({"amountbalance"}), QStringList({"10", "5"}));
    EXPECT_EQ(fill(2, "2024-03-06")({"amountbalance"}), QStringList({"107", "5"}));
    EXPECT_EQ(fill(2, "2024-03-05' OR '1'='1")({"amountbalance"}), QStringList({"7", "5"}));

    // Without retail warehouses only warehouse 0 is read.
    sql("UPDATE warehouse SET pricetype = 'v'");
    const TQuantityScope none = QuantityScope(db(), -1);
    const QStringList noneListed = fill(-1)({"name"});
    sql("UPDATE warehouse SET pricetype = 'm' WHERE warehouseid IN (2, 3)");
    EXPECT_EQ(none.warehouseIds, "0");
    EXPECT_TRUE(noneListed.isEmpty());
}

TEST_F(InventoryQuantityTest, ReportHoldsOnlyPositiveStockOfDirectlyLinkedProducts)
{
    // The list's current order is the report's order (the export test
    // writes the report of category 1).
    const Listed all = fill(0);
    all.table->setIndexName("amountbalanceD");
    EXPECT_EQ(RfzoItems(db(), *all.table, "0,2"),
              "<JKL>F1</JKL><StanjeZaliha>5.000</StanjeZaliha><JKL>G1</JKL><StanjeZaliha>2.000</StanjeZaliha>");
    EXPECT_EQ(all.table->recNo(), 1);

    EXPECT_EQ(RfzoEscape("<a href=\"x\">&lt;</a>"), "&lt;a href=&quot;x&quot;&gt;&amp;lt;&lt;/a&gt;");
    EXPECT_EQ(RfzoOrganizationUnit(db(), 2), "OJ-2");
    EXPECT_EQ(RfzoOrganizationUnit(db(), 7), "7"); // empty unit
    EXPECT_EQ(RfzoOrganizationUnit(db(), 3), "3"); // no unit
    EXPECT_EQ(RfzoOrganizationUnit(db(), -1), "1");
    EXPECT_EQ(RfzoFileName(QDateTime(QDate(2024, 3, 5), QTime(9, 8, 7)), "123"), "rfzo_20240305090807_123");
}

TEST_F(InventoryQuantityTest, WindowListsSortsByTitleAndPrintsTheDateAsTyped)
{
    stocktest::drive<TInventoryQuantityForm>([] { OpenInventoryQuantity(2, "Prodavnica"); }, [&](auto& form) {
        EXPECT_EQ(form.ToDateEdit()->text(), "2024-03-05");
        QTest::mouseClick(form.FindButton(), Qt::LeftButton);
        MemoryTable& table = *form.InventoryStockQuantityCDS();
        EXPECT_EQ(column(table, "name"), QStringList({"Aspirin", "Fervex"}));
        DBGrid* grid = form.InventoryQuantityDBG();
        EXPECT_EQ(grid->visibleColumns(),
                  QStringList({"name", "code", "unitname", "amountin", "amountout", "amountbalance"}));
        EXPECT_EQ(grid->horizontalHeader()->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_EQ(grid->horizontalHeader()->sortIndicatorSection(), -1);

        // The first click on a title sorts ascending, the next descending.
        stocktest::clickTitle(grid, "amountbalance");
        EXPECT_EQ(column(table, "name"), QStringList({"Fervex", "Aspirin"}));
        stocktest::clickTitle(grid, "amountbalance");
        EXPECT_EQ(table.indexName(), "amountbalanceD");
        EXPECT_EQ(grid->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
        form.DBGTitleClick("name");
        EXPECT_EQ(table.indexName(), "nameA");

        // A confirmed date replaces the field, a cancelled pick keeps it.
        for (const QDate& date : {QDate(2024, 3, 4), QDate()})
            EXPECT_EQ(stocktest::pickDate(script, form.ToDateButton(), form.ToDateEdit(), date), "2024-03-04");

        form.ToDateEdit()->setText("5.3.2024");
        QTest::mouseClick(form.PrintButton(), Qt::LeftButton);
        EXPECT_TRUE(script.messages().isEmpty());
    });
    console.expectPrint("Zalihe (količine sa robnih kartica) - Prodavnica", "Datum 5.3.2024");
    EXPECT_EQ(console->GetActiveGrid(), nullptr);
}

TEST_F(InventoryQuantityTest, ExportWritesTheListAsLastShownForThePickedCategories)
{
    QTemporaryDir dir;
    auto* form = new TInventoryQuantityForm(0, QString());
    form->OpenList();
    form->FindButtonClick();

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
    // Diklofen (-1) is never exported, Fervex sits below the category picked,
    // Gel is linked to 0 only; Eferalgan's 0.0004 goes out as 0.000. The file
    // name has no extension, so ".xml" is added.
    script.answer(dir.filePath("stanje"));
    exportPicking(1);
    EXPECT_EQ(offered, QList<qint64>({0}));
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown()[0].text, "Izvezi XML datoteku");
    // Compared as text read back: a byte-order mark would show.
    EXPECT_EQ(readFile(dir.filePath("stanje.xml")), kHead + "<JKL>A&amp;B</JKL><StanjeZaliha>7.000</StanjeZaliha>"
                                                            "<JKL>E1</JKL><StanjeZaliha>0.000</StanjeZaliha>" + kTail);

    // A later date goes into the file, but the quantities stay those of the
    // last "&Prikaži"; the existing file is overwritten.
    form->ToDateEdit()->setText("2024-03-06");
    script.answer(dir.filePath("stanje.xml"));
    exportPicking();
    EXPECT_EQ(readFile(dir.filePath("stanje.xml")), QString(kHead).replace("2024-03-05", "2024-03-06") +
                                                        "<JKL>G1</JKL><StanjeZaliha>2.000</StanjeZaliha>" + kTail);

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
