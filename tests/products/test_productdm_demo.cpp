// The small demo shop obeys the module's own rules: every product, opened
// and saved without a change, passes the data module's checks and stays as
// it was.

#include "test_productdm_support.h"

#include "DatabaseError.h"
#include "DemoData.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

using namespace tarvex;
using namespace tarvex::test;

class DemoProducts : public ProductDMCase {
protected:
    static void SetUpTestSuite()
    {
        ProductDMCase::SetUpTestSuite();
        QSqlDatabase connection = db();
        generateDemoData(connection, DemoScale::small(), 7, QDate(2025, 3, 14));
    }
    // The demo shop's rows and its own options.
    void SetUp() override { dm().LoadOptions(); }
};

TEST_F(DemoProducts, EveryProductSavesUnchanged)
{
    const auto checksum = [] {
        QSqlQuery row = connection().select(QStringLiteral("CHECKSUM TABLE product"));
        return row.next() ? row.value(1).toString() : QString();
    };
    const QString before = checksum();
    ASSERT_FALSE(before.isEmpty());
    productZQ().setSql(ChangeSQLCondition(products::TProductDM::productDesignSql(), QStringLiteral("1 = 1")));
    productZQ().open();
    ASSERT_EQ(productZQ().recordCount(), 500);
    QStringList refusals;
    int saved = 0;
    for (productZQ().first(); !productZQ().eof(); productZQ().next()) {
        const QString id = P("productid").asString();
        try {
            productZQ().edit();
            productZQ().post();
            ++saved;
        } catch (const FieldError& error) {
            refusals << id + ": " + error.userText();
            productZQ().cancel();
        } catch (const DatabaseError& error) {
            refusals << id + ": " + error.serverMessage();
            productZQ().cancel();
        }
    }
    EXPECT_EQ(refusals, QStringList());
    EXPECT_EQ(saved, 500);
    EXPECT_EQ(checksum(), before);
    // The editor's own name rule: none of \ ' : and the en dash.
    EXPECT_EQ(text("SELECT GROUP_CONCAT(name) FROM product WHERE INSTR(name, CHAR(92)) OR INSTR(name, CHAR(39)) OR "
                   "INSTR(name, ':') OR INSTR(name, '–')"),
              QString());
}
