#include "DatabaseError.h"
#include "Productresourcestring.h"
#include "ReportEngine.h"
#include "Stockhistoryunit.h"
#include "Warehistoryunit.h"
#include "test_stockreports.h"

#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <array>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;

// Warehouse 1 is Centralni, 2 Prodavnica.
class StockHistoryTest : public stocktest::ReportTest {
protected:
    StockHistoryTest() : ReportTest(QDateTime(QDate(2024, 3, 8), QTime(9, 30))) {}
    // What the product editor shows, which the windows open on: product 1
    // and its stock row of the warehouse.
    static void showStockRow(qint64 warehouse)
    {
        openProduct(1);
        QueryDataSet& stock = *dm().ProductWarehouseZQ;
        stock.close();
        stock.setSql(QString(stock.sql()).replace("pw.productid = -1", "pw.productid = 1"));
        stock.open();
        ASSERT_TRUE(stock.locate("warehouseid", warehouse));
    }
};

TEST_F(StockHistoryTest, WareHistoryCountsPostedDocumentsAndTheStockCardEveryEntryAfterThePreviousState)
{
    const auto wareHistory = stocktest::tableOf(DefineWareHistoryFields);
    MemoryTable& table = *wareHistory;
    // The rows "date|document|partner|in|out|balance|id" (no id on the
    // previous state's row), then the totals in, out and balance.
    const auto history = [&](qint64 product, qint64 warehouse, const char* from, const char* to,
                             const QStringList& rows, std::array<double, 3> sums) {
        SCOPED_TRACE(testing::Message() << product << " in " << warehouse << ", " << from << " to " << to);
        const TWareHistoryTotals totals = FillWareHistory(db(), table, product, warehouse, from, to);
        stocktest::expectRows(table, {"documentdate", "document", "partner", "amountin", "amountout", "amountbalance",
                                      "documentid"}, rows);
        EXPECT_EQ(totals.amountIn, sums[0]);
        EXPECT_EQ(totals.amountOut, sums[1]);
        EXPECT_EQ(totals.balance, sums[2]);
    };
    // 10 in and 12 out before the range: the state is 2 out, balance -2.
    // Same day: the receipt before the sale. An empty name on the document
    // stays empty; a missing one shows the partner's. The draft sale is left
    // out; the document on the end date counts, the one of the day after
    // does not.
    const QString previous = PROD_PREV_SITUATION;
    history(1, 1, "2024-02-01", "2024-03-08",
            {"01.02.2024|" + previous + "||0|2|-2|", "05.03.2024|K-4||8|0|6|103", "05.03.2024|R-3|Kupac d.o.o.|0|3|3|102",
             "06.03.2024|I-5||0|5|-2|104", "08.03.2024|K-7|Ručno upisan|1|0|-1|106"},
            {9, 10, -1});
    EXPECT_EQ(table.recNo(), 1);
    // The receiving warehouse sees the transfer as input, after a zero state.
    history(1, 2, "2024-02-01", "2024-03-08", {"01.02.2024|" + previous + "||0|0|0|", "06.03.2024|I-5||5|0|5|104"},
            {5, 0, 5});
    // Everything before the start: just the state row.
    history(1, 1, "2024-06-01", "2024-12-31", {"01.06.2024|" + previous + "||99|0|99|"}, {99, 0, 99});
    // Nothing at all: an empty table and zero totals.
    history(2, 1, "2024-01-01", "2024-12-31", {}, {0, 0, 0});

    // A start that is no date stops before the table is touched.
    FillWareHistory(db(), table, 1, 2, "2024-02-01", "2024-03-08");
    EXPECT_THROW(FillWareHistory(db(), table, 1, 1, "2024-13-01", "2024-03-08"), std::exception);
    EXPECT_EQ(table.recordCount(), 2);
    // A quote in the end date goes to the database as text, not as SQL.
    try {
        FillWareHistory(db(), table, 1, 1, "2024-02-01", "2024-03-08' OR '1'='1");
        EXPECT_LE(table.recordCount(), 5);
    } catch (const DatabaseError&) {
    }

    // The stock card counts every entry, with values and the opening price.
    const auto stockCard = stocktest::tableOf(DefineStockHistoryFields);
    MemoryTable& card = *stockCard;
    FillStockHistory(db(), card, 1, 1, "2024-02-01", "2024-03-08");
    // Document, then in, out, balance, price, debit, credit and value balance.
    // The draft sale R-6 is on the stock card.
    stocktest::expectRows(card, {"document", "amountin", "amountout", "amountbalance", "price", "debit", "credit",
                                 "balance"},
                          {previous + "|0|2|-2|100,00|0,00|200,00|-200,00", "K-4|8|0|6|110,00|880,00|0,00|680,00",
                           "R-3|0|3|3|110,00|0,00|330,00|350,00", "I-5|0|5|-2|110,00|0,00|550,00|-200,00",
                           "R-6|0|4|-6|110,00|0,00|440,00|-640,00", "K-7|1|0|-5|120,00|120,00|0,00|-520,00"});
    card.first();
    EXPECT_TRUE(card.fieldByName("documentid").isNull());
    EXPECT_EQ(card.fieldByName("date").asDate(), QDate(2024, 2, 1));

    // In the receiving warehouse only its own card entry counts.
    FillStockHistory(db(), card, 1, 2, "2024-01-01", "2024-12-31");
    stocktest::expectRows(card, {"document", "balance"}, {previous + "|0,00", "I-5|550,00"});

    EXPECT_DOUBLE_EQ(CurrentStockCardPrice(db(), 1, 1, "2024-03-08"), -520.0 / -5);
    // A quantity that rounds to nothing at six decimals has no price.
    EXPECT_DOUBLE_EQ(CurrentStockCardPrice(db(), 2, 1, "2024-03-08"), 0);
    EXPECT_DOUBLE_EQ(CurrentStockCardPrice(db(), 4, 2, "2024-03-08"), 0);
}

TEST_F(StockHistoryTest, HistoryWindowsShowTotalsPriceOpenDocumentsAndPrint)
{
    showStockRow(1);
    QWidget owner;
    stocktest::drive<TWareHistoryForm>([&] { OpenWareHistory(&owner); }, [&](auto& form) {
        // The period, then the rows counted and the totals in, out and balance.
        const auto shown = [&](const QStringList& expected) {
            const QStringList texts = {form.FromDateEdit()->text(), form.ToDateEdit()->text(),
                                       QString::number(form.CDS()->recordCount()), form.AmountInLabel()->text(),
                                       form.AmountOutLabel()->text(), form.BalanceLabel()->text()};
            EXPECT_ROWS(texts, expected);
        };
        shown({"01.01.2024", "08.03.2024", "0", "0", "0", "0"});

        // A confirmed date replaces the field, a cancelled pick keeps it.
        EXPECT_EQ(stocktest::pickDate(script, form.FromDateButton(), form.FromDateEdit(), QDate(2024, 2, 1)),
                  "01.02.2024");
        EXPECT_EQ(stocktest::pickDate(script, form.ToDateButton(), form.ToDateEdit(), QDate()), "08.03.2024");

        QTest::mouseClick(form.FindButton(), Qt::LeftButton);
        shown({"01.02.2024", "08.03.2024", "5", "9", "10", "-1"});
        EXPECT_EQ(cellText(form.DBG(), "amountbalance", 0), "-2");
        EXPECT_EQ(form.DBG()->dataModel()->columnCount(), 6); // documentid is not shown

        // The previous-state row passes 0; a document row its own id.
        doubleClickCell(form.DBG(), "document", 0);
        doubleClickCell(form.DBG(), "document", 2);
        EXPECT_ROWS(console.documents().opened, QList<qint64>({0, 102}));
        {
            altertest::TestConsole without(true, false);
            doubleClickCell(form.DBG(), "document", 2);
        }
        EXPECT_EQ(console.documents().opened.size(), 2);
        EXPECT_TRUE(script.messages().isEmpty());

        QTableView* listGrid = new QTableView(&form);
        console->SetActiveGrid(listGrid);
        QTest::mouseClick(form.PrintButton(), Qt::LeftButton);
        console.expectPrint("Magacinska kartica: Alfa - A1 - Centralni",
                            "Od datuma 01.02.2024\r\nDo datuma 08.03.2024", form.DBG());
        EXPECT_EQ(console->GetActiveGrid(), listGrid);
    });

    // The stock card's window opened on the other warehouse's stock row: the
    // row the editor shows decides.
    showStockRow(2);
    stocktest::drive<TStockHistoryForm>([&] { OpenStockHistory(&owner); }, [&](auto& form) {
        EXPECT_EQ(form.PriceLabel()->text(), "110,00");
        form.FromDateEdit()->setText("2024-02-01");
        QTest::mouseClick(form.FindButton(), Qt::LeftButton);
        stocktest::expectRows(*form.CDS(), {"document", "debit"}, {PROD_PREV_SITUATION + "|0,00", "I-5|550,00"});
        EXPECT_EQ(cellText(form.DBG(), "debit", 1), "550,00");

        // Nothing for the previous-state row.
        doubleClickCell(form.DBG(), "document", 0);
        EXPECT_EQ(console.documents().opened.size(), 2);
        doubleClickCell(form.DBG(), "document", 1);
        EXPECT_ROWS(console.documents().opened, QList<qint64>({0, 102, 104}));

        int previews = 0;
        {
            ScopedModalHandler preview([&previews](QDialog& dialog) {
                previews += qobject_cast<QPrintPreviewDialog*>(&dialog) != nullptr;
                return 0;
            });
            QTest::mouseClick(form.PrintButton(), Qt::LeftButton);
        }
        EXPECT_EQ(previews, 1);
        EXPECT_EQ(console.wizards.size(), 1); // the ware history's print alone
        const PrintJob job = TReportEngine::stockCardJob(*form.CDS(), *dm().ProductZQ, form.PrintTitle(),
                                                         form.GetPrintHeader().split("\r\n"));
        EXPECT_EQ(job.title, "Robna kartica: Alfa - A1 - Prodavnica");
        EXPECT_ROWS(job.headerLines.mid(0, 2), QStringList({"Od datuma 01.02.2024", "Do datuma 08.03.2024"}));
    });

    const THistorySubject crumbs{2, "Beta", "B1", 1, "Centralni"}; // bought 3, sold 3 minus a rounding crumb
    EXPECT_EQ(TStockHistoryForm(crumbs).PriceLabel()->text(), "0,00");
}
