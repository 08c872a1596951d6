// Database errors reach the user in Serbian, naming the field by the label
// the windows show, with the server's text kept as a detail; every column the
// module writes has such a label; over-long text is refused, not cut.

#include "test_productdm_support.h"

#include "DatabaseError.h"
#include "DatabaseErrorText.h"
#include "Dialogs.h"

using namespace tarvex;
using namespace tarvex::test;

class DatabaseMessages : public ProductDMCase {
protected:
    // The host's error box for what the statement raises: its text, a blank
    // line, and the detail behind its "Detalji" button.
    static QString messageOf(const QString& statement)
    {
        try {
            connection().execute(statement);
        } catch (const DatabaseError& error) {
            return exceptionText(error) + "\n\n" + error.detail();
        }
        ADD_FAILURE() << "the statement passed: " << statement.toStdString();
        return QString();
    }
};

TEST_F(DatabaseMessages, EveryColumnTheModuleWritesHasALabelAndEachErrorClassNamesTheFieldAndKeepsTheServerText)
{
    for (QueryDataSet* ds : dm().findChildren<QueryDataSet*>()) {
        for (const QString& param : ds->paramNames())
            ds->setParam(param, -1); // no row
        ds->open();
        for (Field* f : ds->fields())
            EXPECT_TRUE(!f->isWritable() || f->displayLabel() != f->fieldName())
                << f->fieldName().toStdString() << " in " << ds->sql().toStdString();
    }

    insertProduct(1, QStringLiteral("Hleb"));

    const QString tooLong = messageOf("INSERT INTO productdetail (productid, warranty) VALUES (1, REPEAT('x', 26))");
    EXPECT_TRUE(tooLong.startsWith(DB_TOO_LONG_ERR.arg("Garancija") + "\n\nPoruka servera (1406): Data too long")) << tooLong.toStdString();

    sql("ALTER TABLE warehouse ADD UNIQUE KEY warehouse_unique_code (code)");
    sql("INSERT INTO warehouse (warehouseid, name, code) VALUES (1, 'Centralni', 'C1')");
    const QString duplicate = messageOf("INSERT INTO warehouse (warehouseid, name, code) VALUES (2, 'Drugi', 'C1')");
    EXPECT_TRUE(duplicate.startsWith(DB_DUPLICATE_ERR.arg("Kod"))) << duplicate.toStdString();
    EXPECT_TRUE(duplicate.contains("Duplicate entry 'C1'")) << duplicate.toStdString();

    sql("ALTER TABLE productrebate ADD CONSTRAINT fk_rebate_product FOREIGN KEY (productid) REFERENCES product (productid)");
    const QString child = messageOf("INSERT INTO productrebate (productid, quantity, rebate) VALUES (99, 1, 5)");
    EXPECT_TRUE(child.startsWith(DB_CHILD_ROW_ERR.arg("Proizvod"))) << child.toStdString();
    sql("INSERT INTO productrebate (productid, quantity, rebate) VALUES (1, 1, 5)");
    const QString parent = messageOf("DELETE FROM product WHERE productid = 1");
    EXPECT_TRUE(parent.startsWith(DB_PARENT_ROW_ERR + "\n\nPoruka servera (1451): Cannot delete")) << parent.toStdString();
    sql("ALTER TABLE productrebate DROP FOREIGN KEY fk_rebate_product");

    EXPECT_TRUE(messageOf("INSERT INTO fixedasset (productid, purchasedate, depreciationgroupid, "
                          "depreciationaccountinggroupid) VALUES (1, '2024-13-45', 1, 1)")
                    .startsWith(CMN_FIELD_INVALIDE_ERR.arg("Datum nabavke")));
}

TEST_F(DatabaseMessages, OverLongTextIsRefusedNamingTheFieldAndItsLimit)
{
    insertProduct(1, QStringLiteral("Hleb"));
    openProduct(1);
    productZQ().edit();
    const QString pasted(5000, QLatin1Char('x'));
    EXPECT_EQ(thrownText<FieldError>([&] { P("name").setText(pasted); }),
              CMN_FIELD_TOO_LONG_ERR.arg("Ime").arg(100).arg(5000));
    EXPECT_EQ(P("name").asString(), "Hleb");
    // The limit counts letters, not bytes: 100 Serbian letters fit.
    const QString letters(100, QChar(0x0161));
    P("name").setText(letters);
    productZQ().post();
    EXPECT_EQ(text("SELECT name FROM product WHERE productid = 1"), letters);
}
