// The product save without a window: its checks in their one order, the
// writes as one transaction, generated identifiers that another workstation
// took meanwhile, a save cut off with the connection, and the deletion with
// its guards.

#include "test_productdm_support.h"

#include "Format.h"
#include "HostStrings.h"
#include "Productresourcestring.h"
#include "Productsave.h"

using namespace tarvex;
using namespace tarvex::test;
using products::ProductsaveInput;
using products::Productsave;

class ProductSave : public ProductDMCase {
protected:
    void SetUp() override
    {
        ProductDMCase::SetUp();
        sql("DELETE FROM tax WHERE taxid = 2");
        sql("INSERT INTO categorypr (categoryprid, parentid, name) VALUES (1, 0, 'Hrana'), (2, 1, 'Pekara')");
        dm().SetDefaultTaxID(1);
        dm().Options.AutoProductCodeFormat = QStringLiteral("{c}{c}{c}{c}{c}");
    }
    void TearDown() override
    {
        sql("DROP TRIGGER IF EXISTS productrebate_refuses");
        for (QueryDataSet* ds : {dm().ProductDetailZQ, dm().ProductRebateZQ})
            ds->cancelUpdates();
    }

    static void addRebate(double quantity, const QString& type)
    {
        products::NewRowsOfProduct owned(*dm().ProductRebateZQ);
        QueryDataSet& rebates = *dm().ProductRebateZQ;
        rebates.append();
        rebates.fieldByName("quantity").setValue(quantity);
        rebates.fieldByName("rebate").setValue(5.0);
        rebates.fieldByName("rebatetype").setValue(type);
        rebates.post();
    }
    static QString check(const ProductsaveInput& input = {}) { return Productsave(dm()).check(input); }
    static void save(const ProductsaveInput& input = {}) { Productsave(dm()).write(input); }
    static int count(const QString& table) { return int(number("SELECT COUNT(*) FROM " + table)); }
};

TEST_F(ProductSave, ChecksRunInOneOrderTheFirstFailureIsTheAnswerAndAPluLocksTheName)
{
    auto& o = dm().Options;
    o.ProductCodeRequired = o.ForeignNameRequired = o.ManufacturerNameRequired = o.ProductCategoryRequired = true;
    o.ProductNameUnchangeable = true;
    insertProduct(1, QStringLiteral("Hleb"));
    sql("UPDATE product SET kasaplu = 4 WHERE productid = 1");
    insertWarehouses({1});
    sql("INSERT INTO productwarehouse (productid, warehouseid, amount) VALUES (1, 1, 3)");
    openProduct(1);
    dm().LoadedProductName = QStringLiteral("Hleb");
    productZQ().edit();
    P("name").setValue(QStringLiteral("Hleb: beli"));
    P("code").clear();
    P("active").setValue(false);

    ProductsaveInput input;
    input.typedName = QStringLiteral("Hleb: beli");
    EXPECT_EQ(check(input), products::PROD_NAME_CHAR_ERR);
    P("name").setValue(QStringLiteral("Hleb"));
    EXPECT_EQ(check(input), products::PROD_NAME_UNCHANGE_ERR);  // the edit still shows the typed text
    input.typedName = QStringLiteral("Hleb");
    EXPECT_EQ(check(input), products::PROD_CODE_INVALIDE_ERR);
    P("code").setValue(QStringLiteral("H1"));
    EXPECT_EQ(check(input), products::PROD_FOREI_NAME_INVALIDE_ERR);
    P("foreignname").setValue(QStringLiteral("Bread"));
    EXPECT_EQ(check(input), products::PROD_MANUF_NAME_INVALIDE_ERR);
    P("manufname").setValue(QStringLiteral("Pekara"));
    EXPECT_EQ(check(input), products::PROD_ACTIVE_INVALIDE_ERR);
    P("type").setValue(QStringLiteral("u"));  // a service with stock may be deactivated
    EXPECT_EQ(check(input), products::PROD_CAT_PR_INVALIDE_ERR);
    input.categories = QStringList();  // emptied by the user
    EXPECT_EQ(check(input), products::PROD_CAT_PR_INVALIDE_ERR);
    sql("INSERT INTO productcategorypr (productid, categoryprid) VALUES (1, 2)");
    EXPECT_EQ(check(input), products::PROD_CAT_PR_INVALIDE_ERR);
    input.categories.reset();  // unchanged: the stored link counts
    EXPECT_EQ(check(input), QString());
    EXPECT_EQ(productZQ().state(), DataSetState::Edit);  // checks write nothing
    productZQ().cancel();

    // Under the option a PLU locks the name even while typed (the window's
    // case, test_editor): the PLU as the edit leaves it, the name field, the
    // name edit's text when there is an edit.
    struct Case { const char* what; bool option; QVariant plu; const char* name; const char* typed; bool refused; };
    const Case cases[] = {
        {"renamed", true, 4, "Kifla", nullptr, true},
        {"a PLU given in this edit", true, 9, "Kifla", nullptr, true},
        {"the name kept", true, 4, "Hleb", "Hleb", false},
        {"the PLU cleared", true, QVariant(), "Kifla", nullptr, false},
        {"option off", false, 4, "Kifla", "Kifla", false},
    };
    o = products::TProductOptions();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dm().Options.ProductNameUnchangeable = c.option;
        dm().LoadedProductName = QStringLiteral("Hleb");
        productZQ().edit();
        P("kasaplu").setValue(c.plu);
        P("name").setValue(QString::fromUtf8(c.name));
        ProductsaveInput typed;
        if (c.typed)
            typed.typedName = QString::fromUtf8(c.typed);
        EXPECT_EQ(check(typed), c.refused ? products::PROD_NAME_UNCHANGE_ERR : QString());
        productZQ().cancel();
    }
}

// The server refuses a row first: nothing is written and the work waits, as
// the user left it, for the next save. Then it drops the session in the
// middle of the save, which runs again on a new one.
TEST_F(ProductSave, ASaveRefusedWritesNothingAndLeavesTheWorkForTheNextSaveOneCutOffByALostSessionRunsAgain)
{
    startProduct(QStringLiteral("Kifla"));
    QueryDataSet& detail = *dm().ProductDetailZQ;
    QueryDataSet& rebates = *dm().ProductRebateZQ;
    detail.append();
    detail.fieldByName("model").setValue(QStringLiteral("Mala"));
    addRebate(10, QStringLiteral("P"));
    addRebate(20, QStringLiteral("I"));
    ProductsaveInput input;
    input.categories = QStringList{QStringLiteral("Hrana>Pekara")};
    // The server refuses the second rebate, the last write of the save:
    // nothing is written, and the work waits as it was.
    sql("CREATE TRIGGER productrebate_refuses BEFORE INSERT ON productrebate FOR EACH ROW "
        "IF NEW.quantity = 20 THEN SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'refused'; END IF");
    EXPECT_ANY_THROW(save(input));
    for (const char* table : {"product", "productdetail", "productrebate", "productcategorypr"})
        EXPECT_EQ(count(table), 0) << table;
    EXPECT_EQ(productZQ().state(), DataSetState::Insert);
    EXPECT_EQ(detail.state(), DataSetState::Insert);
    EXPECT_TRUE(P("productid").isNull());
    EXPECT_EQ(P("name").asString(), "Kifla");
    EXPECT_EQ(detail.fieldByName("model").asString(), "Mala");
    EXPECT_TRUE(rebates.updatesPending());
    EXPECT_EQ(rebates.recordCount(), 2);
    for (rebates.first(); !rebates.eof(); rebates.next())
        EXPECT_EQ(rebates.fieldByName("productid").asLargeInt(), 0);  // still waiting for the product's id
    ASSERT_TRUE(rebates.locate("quantity", 20.0));
    rebates.edit();
    rebates.fieldByName("quantity").setValue(25.0);
    rebates.post();

    // The server drops the session right after the product row went in: the
    // transaction died with it, so the save runs again on a new session,
    // without a word, and everything goes in once.
    const QString session = scalar(connection().database(), "SELECT CONNECTION_ID()").toString();
    const auto original = detail.events().beforePost;
    int posts = 0;
    detail.events().beforePost = [session, &posts, original](DataSet& ds) {
        if (++posts == 1) {
            Connection killer(database().settings());
            killer.execute("KILL CONNECTION " + session);
        }
        if (original)
            original(ds);
    };
    save(input);
    detail.events().beforePost = original;
    EXPECT_EQ(posts, 2);
    EXPECT_TRUE(connection().isConnected());
    const qint64 id = P("productid").asLargeInt();
    EXPECT_EQ(count("product"), 1);
    EXPECT_ROWS(rowsOf(db(), "SELECT model, productid FROM productdetail"), QStringList{QStringLiteral("Mala|%1").arg(id)});
    EXPECT_ROWS(rowsOf(db(), QStringLiteral("SELECT quantity FROM productrebate WHERE productid = %1 ORDER BY quantity")
                                 .arg(id)),
                (QStringList{"10", "25"}));
    EXPECT_EQ(text("SELECT categoryprid FROM productcategorypr"), "2");
    EXPECT_EQ(dm().LoadedProductName, "Kifla");
    EXPECT_FALSE(rebates.updatesPending());
}

TEST_F(ProductSave, GeneratedIdentifiersTakenMeanwhileAreReplacedTypedOnesAreRefusedAndEachSaveHasItsToken)
{
    auto& o = dm().Options;
    o.AutoProductCode = o.AutoProductBarcode = o.UniqueProductCode = o.UniqueProductBarcode = true;
    startProduct(QStringLiteral("Prvi"));
    EXPECT_EQ(P("code").asString(), "00001");
    const QString barcode = P("barcode").asString();
    P("kasaplu").setValue(1);
    dm().Generated.plu = 1;
    // Another workstation saves a product with the same code, barcode and
    // PLU while this one is open, and a second one takes the next code.
    sql(QStringLiteral("INSERT INTO product (name, code, barcode, kasaplu, unitname, taxid, pricecurrency) VALUES "
                       "('Drugi', '00001', '%1', 1, 'kom', 1, 'RSD'), ('Treći', '00003', NULL, 2, 'kom', 1, 'RSD')")
            .arg(barcode));
    save();
    EXPECT_EQ(P("code").asString(), "00004");  // the user sees the final values
    EXPECT_EQ(P("kasaplu").asString(), "3");
    EXPECT_NE(P("barcode").asString(), barcode);
    EXPECT_EQ(number("SELECT COUNT(DISTINCT code) + COUNT(DISTINCT barcode) + COUNT(DISTINCT kasaplu) FROM product"),
              3 + 2 + 3);
    // A new product gets its detail row; each save writes a token of its
    // own, so an interrupted one can be told apart.
    const QString byId = QStringLiteral(" WHERE productid = %1").arg(P("productid").asLargeInt());
    EXPECT_EQ(text("SELECT COUNT(*) FROM productdetail" + byId), "1");
    const QString token = text("SELECT savetoken FROM product" + byId);
    EXPECT_EQ(token.size(), 36);
    productZQ().edit();
    P("foreignname").setValue(QStringLiteral("Roll"));
    save();
    EXPECT_NE(text("SELECT savetoken FROM product" + byId), token);

    // A typed value is the user's: a clash is refused as ever.
    startProduct(QStringLiteral("Četvrti"));
    P("code").setValue(QStringLiteral("00003"));
    EXPECT_EQ(thrownText<FieldError>([] { save(); }), CMN_FIELD_INVALIDE_ERR.arg(P("code").displayLabel()));
    EXPECT_EQ(productZQ().state(), DataSetState::Insert);
    productZQ().cancel();
}

TEST_F(ProductSave, DeletionIsRefusedWithItsReasonOrTakesEveryRowOfTheProduct)
{
    for (qint64 id : {1, 2, 3})
        insertProduct(id, QStringLiteral("P%1").arg(id));
    sql("INSERT INTO document (documentid, documentdate, documenttype, number, status) VALUES "
        "(1, '2026-01-05', 'R', '17', 'p'), (2, '2026-01-06', 'K', '3', 'n')");
    sql("INSERT INTO documentitem (documentid, productid, quantity) VALUES (1, 1, 2), (2, 2, 1)");
    EXPECT_EQ(dm().ProductDeleteRefusal(1), tarvex::Format(products::PROD_DELETE_DOCUMENTS_ERR, {"P1", "R 17"}));
    EXPECT_EQ(dm().ProductDeleteRefusal(2), tarvex::Format(products::PROD_DELETE_DRAFTS_ERR, {"P2", "K 3"}));
    EXPECT_EQ(thrownText<DataSetError>([] { dm().DeleteProduct(1); }),
              tarvex::Format(products::PROD_DELETE_DOCUMENTS_ERR, {"P1", "R 17"}));
    // Product 3 goes into product 2 and is made of product 1.
    sql("INSERT INTO component (rawid, productid, quantity) VALUES (3, 2, 1), (1, 3, 4)");
    EXPECT_EQ(dm().ProductDeleteRefusal(3), tarvex::Format(products::PROD_DELETE_RAW_ERR, {"P3", "P2"}));
    sql("DELETE FROM component WHERE rawid = 3");

    sql("INSERT INTO productdetail (productid) VALUES (3)");
    insertWarehouses({1});
    sql("INSERT INTO productwarehouse (productid, warehouseid, amount) VALUES (3, 1, 5), (1, 1, 2)");
    sql("INSERT INTO productcategorypr (productid, categoryprid) VALUES (3, 2)");
    sql("INSERT INTO productalter (groupid, productid) VALUES (1, 3), (1, 1)");
    sql("INSERT INTO productrebate (productid, quantity) VALUES (3, 10)");
    sql("INSERT INTO productattribute (productattributeid, productid) VALUES (70, 3)");
    sql("INSERT INTO productattributewarehouse (productattributeid, warehouseid) VALUES (70, 1)");
    EXPECT_EQ(dm().ProductDeleteRefusal(3), QString());
    EXPECT_EQ(dm().ProductDeleteQuestion(3), tarvex::Format(products::PROD_DELETE_STOCK_CNF, {"P3"}));
    productZQ().setSql(ChangeSQLCondition(products::TProductDM::productDesignSql(), "p.productid IN (1, 3)"));
    productZQ().open();
    ASSERT_TRUE(productZQ().locate("productid", 3));
    dm().DeleteProduct(3);
    EXPECT_EQ(productZQ().recordCount(), 1);
    EXPECT_ROWS(rowsOf(db(), "SELECT productid FROM product ORDER BY productid"), (QStringList{"1", "2"}));
    // Product 3's own recipe went with it.
    for (const char* table : {"productdetail", "productcategorypr", "productrebate", "productattribute",
                              "productattributewarehouse", "component"})
        EXPECT_EQ(count(table), 0) << table;
    EXPECT_ROWS(rowsOf(db(), "SELECT productid FROM productwarehouse"), QStringList{"1"});
    EXPECT_ROWS(rowsOf(db(), "SELECT productid FROM productalter"), QStringList{"1"});
}
