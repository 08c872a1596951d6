// The small demo shop obeys the module's own rules: every product, opened
// and saved without a change, passes the data module's checks and stays as
// it was.

#include "test_productdm_support.h"

#include "DatabaseError.h"
#include "DemoData.h"

#include <QCryptographicHash>
#include <QSqlQuery>
#include <QSqlRecord>
#include <gtest/gtest.h>

using namespace tarvex;
using namespace tarvex::test;

namespace {

QByteArray productDigest(QSqlDatabase db)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QSqlQuery query(db);
    EXPECT_TRUE(query.exec(QStringLiteral("SELECT * FROM product ORDER BY productid")));
    while (query.next()) {
        for (int i = 0; i < query.record().count(); ++i) {
            const QVariant value = query.value(i);
            hash.addData(value.isNull() ? QByteArray("\x01") : value.toString().toUtf8());
            hash.addData(QByteArray("\x00", 1));
        }
    }
    return hash.result();
}

} // namespace

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
    const QByteArray before = productDigest(db());
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
    EXPECT_EQ(productDigest(db()), before);

    // The editor's own name rule: none of \ ' : and the en dash.
    QSqlQuery names(db());
    ASSERT_TRUE(names.exec(QStringLiteral("SELECT name FROM product")));
    while (names.next()) {
        const QString name = names.value(0).toString();
        for (const QChar c : QStringLiteral("\\':") + QChar(0x2013))
            EXPECT_FALSE(name.contains(c)) << name.toStdString();
    }
}
