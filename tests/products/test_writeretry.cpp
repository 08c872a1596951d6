// The one retry policy on the module's write paths: a save, a single post
// and a copy that the server refuses for another session's sake (deadlock
// 1213, lock wait timeout 1205) go through once when a later try succeeds
// and are told only when the budget runs out; a group join and a copy whose
// COMMIT answer is lost on the way (a proxy drops it after the server has
// committed) are found written and are not done twice.

#include "test_productdm_support.h"

#include "Productsave.h"
#include "WriteRetry.h"
#include "stress_proxy.h"

#include <QFileInfo>
#include <QTemporaryDir>

using namespace tarvex;
using namespace tarvex::test;

class WriteRetryTest : public ProductDMCase {
protected:
    void SetUp() override
    {
        ProductDMCase::SetUp();
        conflictsOn(QStringLiteral("productdetail"));
        conflictsOn(QStringLiteral("tax"));
        dm().SetDefaultTaxID(1);
    }
    void TearDown() override
    {
        sql("SET @conflicts = 0");
        sql("DROP TRIGGER IF EXISTS productdetail_conflicts");
        sql("DROP TRIGGER IF EXISTS tax_conflicts");
        RetryBudget::setBudgetMs(10000);
        for (QueryDataSet* ds : {dm().ProductZQ, dm().ProductDetailZQ}) {
            if (ds->isActive())
                ds->cancel();
        }
    }
    // Makes the table's next inserts on this session fail as conflicts():
    // the count lives in a session variable, which no rollback undoes.
    static void conflictsOn(const QString& table)
    {
        execSql(db(), QStringLiteral("DROP TRIGGER IF EXISTS %1_conflicts").arg(table));
        execSql(db(),
                QStringLiteral("CREATE TRIGGER %1_conflicts BEFORE INSERT ON %1 FOR EACH ROW "
                               "IF @conflicts > 0 THEN SET @conflicts = @conflicts - 1; "
                               "IF @conflict = 1205 THEN SIGNAL SQLSTATE 'HY000' SET MYSQL_ERRNO = 1205, "
                               "MESSAGE_TEXT = 'Lock wait timeout exceeded; try restarting transaction'; "
                               "ELSE SIGNAL SQLSTATE '40001' SET MYSQL_ERRNO = 1213, "
                               "MESSAGE_TEXT = 'Deadlock found when trying to get lock; try restarting transaction'; "
                               "END IF; END IF")
                    .arg(table));
    }
    // The next `times` inserts fail with the code (1213 or 1205).
    static void conflicts(int code, int times)
    {
        sql(QStringLiteral("SET @conflict = %1, @conflicts = %2").arg(code).arg(times));
    }
    // The code the save was refused with, 0 when it went through.
    static int savedOrRefused() { return thrownCode([] { products::Productsave(dm()).write({}); }); }
};

TEST_F(WriteRetryTest, ConflictsOnTheSavePathAreRunAgainUntilTheBudgetRunsOutAndOnlyThenTold)
{
    // What the server does, its error, how many times, the budget, the code the user is told (0 for none).
    const std::tuple<const char*, int, int, int, int> cases[] = {
        {"deadlocks", 1213, 3, 10000, 0},
        {"lock wait timeouts", 1205, 2, 10000, 0},
        {"deadlocks past the budget", 1213, 1000000, 300, 1213},
        {"lock waits past the budget", 1205, 1000000, 300, 1205},
    };
    // Support reads in the log which work was run again or given up.
    const InstalledLog installed;
    for (const auto& [what, code, times, budgetMs, told] : cases) {
        SCOPED_TRACE(what);
        RetryBudget::setBudgetMs(budgetMs);
        const QString name = QString::fromUtf8(what);
        // With its detail row: the conflicts meet the save's second write.
        startProduct(name);
        dm().ProductDetailZQ->append();
        dm().ProductDetailZQ->fieldByName("model").setValue(name + QStringLiteral(" model"));
        conflicts(code, times);
        const qint64 logged = QFileInfo(installed.path).size();
        EXPECT_EQ(savedOrRefused(), told);
        const QString log = QString::fromUtf8(fileBytes(installed.path).mid(logged));  // what the save added to the log
        EXPECT_TRUE(log.contains(QStringLiteral("Product save: error %1, run again (try 2)").arg(code)))
            << log.toStdString();
        EXPECT_EQ(log.contains(QStringLiteral("Product save: error %1 after ").arg(code)), told != 0)
            << log.toStdString();
        const int left = int(number("SELECT @conflicts"));
        sql("SET @conflicts = 0");
        if (told == 0) {
            EXPECT_EQ(left, 0);  // every conflict was met and outlived
            EXPECT_EQ(productZQ().state(), DataSetState::Browse);
        } else {
            // Refused as a whole: the work waits in the editor for the next press.
            EXPECT_EQ(productZQ().state(), DataSetState::Insert);
            EXPECT_EQ(P("name").asString(), name);
            EXPECT_TRUE(P("productid").isNull());
            EXPECT_EQ(savedOrRefused(), 0);
        }
        EXPECT_EQ(text(QStringLiteral("SELECT COUNT(*) FROM product WHERE name = %1").arg(quoteSqlText(name))), "1");
        EXPECT_EQ(text(QStringLiteral("SELECT COUNT(*) FROM productdetail d INNER JOIN product p ON p.productid = "
                                      "d.productid WHERE p.name = %1").arg(quoteSqlText(name))),
                  "1");
    }
    EXPECT_EQ(number("SELECT COUNT(*) FROM product"), double(std::size(cases)));

    // A single post outside any transaction (a tax rate) meets the same policy.
    RetryBudget::setBudgetMs(10000);
    QueryDataSet& taxes = *dm().TaxZQ;
    taxes.close();
    taxes.open();
    taxes.append();
    taxes.fieldByName("name").setValue(QStringLiteral("PDV8"));
    taxes.fieldByName("value").setValue(8);
    conflicts(1213, 2);
    taxes.post();
    EXPECT_EQ(number("SELECT @conflicts"), 0);
    EXPECT_EQ(text("SELECT COUNT(*) FROM tax WHERE name = 'PDV8'"), "1");
}

TEST_F(WriteRetryTest, AJoinAndACopyWhoseCommitAnswerIsLostAreFoundWrittenAndNotDoneTwice)
{
    insertProduct(1, QStringLiteral("Hleb"));
    insertProduct(2, QStringLiteral("Kifla"));
    sql("INSERT INTO productdetail (productid, model) VALUES (1, 'Beli')");
    QTemporaryDir dir;
    stress::CommitCutter cutter(database().settings().socket, dir.filePath(QStringLiteral("cut.sock")), 0);
    cutter.start();
    ConnectionSettings settings = database().settings();
    settings.socket = cutter.path();
    Connection proxied(settings);
    products::TProductDM module;
    module.setLocalSettings(dir.filePath(QStringLiteral("tarvex.ini")), dir.path());
    module.SetZConnection(&proxied);
    module.DataModuleCreate();

    // Every COMMIT from here on loses its answer.
    cutter.setEvery(1);
    const qint32 copy = module.CopyProduct(1, {QStringLiteral("name=Hleb (kopija)")});
    const qint32 group = module.JoinAlternativeGroup(2, 1);
    cutter.setEvery(0);
    EXPECT_EQ(cutter.cut(), 2);
    EXPECT_TRUE(proxied.isConnected());
    EXPECT_FALSE(proxied.transactionInDoubt());

    EXPECT_ROWS(rowsOf(db(), "SELECT productid FROM product WHERE name LIKE 'Hleb%' ORDER BY productid"),
                (QStringList{"1", QString::number(copy)}));
    EXPECT_EQ(text(QStringLiteral("SELECT model FROM productdetail WHERE productid = %1").arg(copy)), "Beli");
    EXPECT_ROWS(rowsOf(db(), "SELECT productid, groupid FROM productalter ORDER BY productid"),
                (QStringList{QStringLiteral("1|%1").arg(group), QStringLiteral("2|%1").arg(group)}));

    // Pressed again after all: the join is there, nothing is added.
    EXPECT_EQ(module.JoinAlternativeGroup(2, 1), group);
    EXPECT_EQ(number("SELECT COUNT(*) FROM productalter"), 2);
}

// The editor's stock-row and detail writes: each runs once through
// conflicts, a second "add to warehouse" finds the row instead of meeting a
// duplicate key, a recount changes only what the documents say differs, and
// the category rebates make or update the detail row alike.
TEST_F(WriteRetryTest, TheEditorsStockRowsAndDetailsRunOnceThroughConflictsAndFindWhatIsThere)
{
    insertProduct(1, QStringLiteral("Hleb"));
    insertProduct(2, QStringLiteral("Kifla"));
    sql("INSERT INTO warehouse (warehouseid, name, code) VALUES (1, 'Glavni', 'G'), (2, 'Drugi', 'D')");
    conflictsOn(QStringLiteral("productwarehouse"));
    conflicts(1213, 2);
    EXPECT_TRUE(dm().AddProductWarehouse(1, 1, 50));
    EXPECT_EQ(number("SELECT @conflicts"), 0);
    EXPECT_FALSE(dm().AddProductWarehouse(1, 1, 60)) << "the row is there already";
    EXPECT_ROWS(rowsOf(db(), "SELECT warehouseid, price FROM productwarehouse WHERE productid = 1"), QStringList{"1|50"});

    sql("UPDATE productwarehouse SET amount = 4 WHERE productid = 1");
    sql("INSERT INTO productwarehouse (productid, warehouseid, amount) VALUES (1, 2, 3), (2, 1, 9)");
    // What the documents say, their amounts by warehouse, the rows changed, the rows after (warehouse|amount).
    const std::tuple<const char*, QMap<qint64, double>, int, QStringList> recounts[] = {
        {"one differs, one has no documents", {{1, 5.5}}, 2, {"1|5.5", "2|0"}},
        {"the same again", {{1, 5.5}}, 0, {"1|5.5", "2|0"}},
        {"a difference below a millionth", {{1, 5.5000000001}, {2, 0}}, 0, {"1|5.5", "2|0"}},
    };
    for (const auto& [what, documents, changed, amounts] : recounts) {
        SCOPED_TRACE(what);
        EXPECT_EQ(dm().RecountProductWarehouses(1, documents), changed);
        EXPECT_ROWS(rowsOf(db(), "SELECT warehouseid, amount + 0 FROM productwarehouse WHERE productid = 1 "
                                 "ORDER BY warehouseid"),
                    amounts);
    }
    EXPECT_EQ(text("SELECT amount + 0 FROM productwarehouse WHERE productid = 2"), "9") << "another product's row";

    sql("INSERT INTO categorypr (categoryprid, parentid, name, maxrebate, webrebate, b2brebate) VALUES "
        "(1, 0, 'Pekara', 15, 10, 20), (2, 0, 'Akcija', 30, 25, 5)");
    sql("INSERT INTO productcategorypr (productid, categoryprid) VALUES (1, 1), (1, 2), (2, 1)");
    sql("INSERT INTO productdetail (productid, model) VALUES (1, 'Beli')");
    conflicts(1213, 1);
    dm().LoadDetailsFromCategories(1, 200);  // the category with the higher web rebate decides
    dm().LoadDetailsFromCategories(2, 80);   // no detail row yet
    EXPECT_EQ(number("SELECT @conflicts"), 0);
    expectSameTable(rowsOf(db(), "SELECT productid, model, maxrebate + 0, webprice + 0, b2bprice + 0 FROM productdetail "
                                 "ORDER BY productid"),
                    {"1|Beli|30|150|190", "2|-|15|72|64"}, {"productid", "model", "maxrebate", "webprice", "b2bprice"});
}
