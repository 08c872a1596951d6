// The data module's rules on the real database: new products, saving,
// uniqueness, the accounting delete guards, stock rows, working operations
// and the texts of coded columns.

#include "test_productdm_support.h"

#include "HostStrings.h"
#include "ScriptedDialogs.h"

using namespace tarvex;
using namespace tarvex::test;

class ProductRules : public ProductDMCase {
protected:
    static void post() { productZQ().post(); }
};

TEST_F(ProductRules, ANewProductStartsFromItsDefaults)
{
    dm().Options.DefaultProductUnitName = QStringLiteral("kom");
    productZQ().open();
    productZQ().append();
    EXPECT_TRUE(P("active").asBoolean());
    EXPECT_FALSE(P("serialnumbers").asBoolean());
    EXPECT_EQ(P("type").asString(), "r");
    EXPECT_EQ(P("unitname").asString(), "kom");
    EXPECT_EQ(P("taxid").asInteger(), 1);
    EXPECT_EQ(P("taxvalue").asFloat(), 20);
    for (const char* name : {"inputprice", "supplyprice", "planprice", "recommendedprice", "price"})
        EXPECT_EQ(P(name).asFloat(), 1.0) << name;
    EXPECT_DOUBLE_EQ(P("pricewithvat").asFloat(), 1.2);
}

TEST_F(ProductRules, WithoutAPrimaryTaxTheSaveStopsAtTheTax)
{
    sql("UPDATE tax SET status = 'standard'");
    appendProduct(QStringLiteral("Hleb"));
    EXPECT_TRUE(P("taxid").isNull());
    EXPECT_TRUE(P("taxvalue").isNull());
    EXPECT_DOUBLE_EQ(P("pricewithvat").asFloat(), 1.0);
    EXPECT_EQ(thrownText<FieldError>(post), CMN_FIELD_REQUIRED_ERR.arg("Porez"));
    EXPECT_EQ(productZQ().state(), DataSetState::Insert);
    EXPECT_EQ(number("SELECT COUNT(*) FROM product"), 0);
}

TEST_F(ProductRules, SavingTrimsTheNameStoresBlankCodesAsNullAndChecksUniquenessAsTheOptionsSay)
{
    dm().Options.UniqueProductCode = true;
    dm().Options.UniqueProductBarcode = true;
    for (const char* name : {"  Hleb beli  ", "Mleko\t"}) {
        appendProduct(QString::fromUtf8(name));
        P("code").setValue("   ");
        P("barcode").setValue(" ");
        post();
        EXPECT_TRUE(P("code").isNull());
    }
    // Stored with the defaults: active, goods.
    EXPECT_ROWS(rowsOf(db(), "SELECT CONCAT('[', name, ']'), code, barcode, active, type FROM product ORDER BY productid"),
                (QStringList{"[Hleb beli]|-|-|y|r", "[Mleko]|-|-|y|r"}));

    // A name of blanks only is no name.
    appendProduct(QStringLiteral("   "));
    EXPECT_EQ(thrownText<FieldError>(post), CMN_FIELD_REQUIRED_ERR.arg("Ime"));
    EXPECT_TRUE(P("name").isNull());
    productZQ().cancel();

    // Codes and barcodes are unique only when the options say so.
    sql("UPDATE product SET code = 'H1', barcode = '8600001' WHERE name = 'Hleb beli'");
    dm().Options.UniqueProductBarcode = false;
    appendProduct(QStringLiteral("Kifla"));
    P("code").setValue(" H1");
    P("barcode").setValue("8600001");
    EXPECT_EQ(thrownText<FieldError>(post), CMN_FIELD_INVALIDE_ERR.arg("Kod"));
    dm().Options.UniqueProductCode = false;
    dm().Options.UniqueProductBarcode = true;
    EXPECT_EQ(thrownText<FieldError>(post), CMN_FIELD_INVALIDE_ERR.arg("Barkod"));
    dm().Options.UniqueProductBarcode = false;
    post();
    EXPECT_EQ(number("SELECT COUNT(*) FROM product WHERE code = 'H1' AND barcode = '8600001'"), 2);

    // Names must differ in as many leading characters as the option says.
    insertProduct(10, QStringLiteral("Čokolada mlečna"));
    dm().Options.UniqueProductNameCharsNum = 5;
    appendProduct(QStringLiteral("čokol bela")); // the same five letters in another case
    EXPECT_EQ(thrownText<FieldError>(post), CMN_FIELD_INVALIDE_ERR.arg("Ime"));
    P("name").setValue("Čoko bela");
    post();
    // A product's own name is no rival.
    openProduct(10);
    productZQ().edit();
    P("rebate").setValue(5);
    post();

    dm().Options.UniqueProductNameCharsNum = 0;
    appendProduct(QStringLiteral("Čokolada mlečna"));
    post();
    EXPECT_EQ(number("SELECT COUNT(*) FROM product WHERE name = 'Čokolada mlečna'"), 2);
}

TEST_F(ProductRules, WarehouseCodesAreUniqueWhateverTheOptionsAndAccountingReferencesGuardDeletes)
{
    sql("INSERT INTO warehouse (warehouseid, name, code) VALUES (1, 'Centralni', 'M1'), (2, 'Lager', NULL)");
    QueryDataSet& w = *dm().WarehouseZQ;
    w.open();
    w.append();
    w.fieldByName("name").setValue("Prodavnica");
    w.fieldByName("code").setValue("M1");
    EXPECT_EQ(thrownText<FieldError>([&] { w.post(); }), CMN_FIELD_INVALIDE_ERR.arg("Kod"));
    w.fieldByName("code").clear();
    w.post();
    // A warehouse keeps its own code.
    ASSERT_TRUE(w.locate("warehouseid", 1));
    w.edit();
    w.fieldByName("name").setValue("Centralni magacin");
    w.post();
    w.append();
    w.fieldByName("name").setValue("Ostava");
    w.fieldByName("code").setValue("");
    w.post();

    insertProduct(1, QStringLiteral("Hleb"));
    insertProduct(2, QStringLiteral("Mleko"));
    sql("INSERT INTO accountnew (accountnewid, type) VALUES (1, 'product'), (2, 'tax'), (3, 'warehouse')");
    // Product 1, tax 1 and warehouse 2 are referred to; warehouse 1 is not,
    // although a product and a tax with its id are.
    sql("INSERT INTO preceptitem (accountnewid, foreignid) VALUES (1, 1), (2, 1), (3, 2)");

    const auto deleting = [](QueryDataSet& ds, const char* key, int id) {
        ds.open();
        EXPECT_TRUE(ds.locate(QString::fromUtf8(key), id));
        return thrownText<DataSetError>([&] { ds.deleteRecord(); });
    };
    openProduct(1);
    EXPECT_EQ(thrownText<DataSetError>([] { productZQ().deleteRecord(); }), CMN_RELATIONAL_INTEGRITY_ERR);
    EXPECT_EQ(deleting(*dm().TaxZQ, "taxid", 1), CMN_RELATIONAL_INTEGRITY_ERR);
    EXPECT_EQ(deleting(*dm().WarehouseZQ, "warehouseid", 2), CMN_RELATIONAL_INTEGRITY_ERR);
    EXPECT_EQ(dm().WarehouseZQ->recordCount(), 4);

    openProduct(2);
    productZQ().deleteRecord();
    ASSERT_TRUE(dm().TaxZQ->locate("taxid", 2));
    dm().TaxZQ->deleteRecord();
    ASSERT_TRUE(dm().WarehouseZQ->locate("warehouseid", 1));
    dm().WarehouseZQ->deleteRecord();
    // The two appended warehouses ("n") have whatever ids the server gives.
    EXPECT_ROWS(rowsOf(db(), "SELECT productid FROM product"), QStringList{"1"});
    EXPECT_ROWS(rowsOf(db(), "SELECT taxid FROM tax"), QStringList{"1"});
    EXPECT_ROWS(rowsOf(db(), "SELECT IF(warehouseid > 2, 'n', warehouseid) FROM warehouse ORDER BY warehouseid"),
                (QStringList{"2", "n", "n"}));
}

TEST_F(ProductRules, StockRowsAreNeverAddedOrRemovedThroughTheStockList)
{
    insertProduct(1, QStringLiteral("Hleb"));
    sql("INSERT INTO warehouse (warehouseid, name) VALUES (1, 'Centralni'), (2, 'Lager')");
    sql("INSERT INTO productwarehouse (productid, warehouseid, amount, price, reservedamount) VALUES "
        "(1, 1, 5, 10, 7), (1, 2, 3, 11, 0)");
    QueryDataSet& pw = *dm().ProductWarehouseZQ;
    pw.setSql(ChangeSQLCondition(pw.sql(), QStringLiteral("pw.productid = 1")));
    pw.open();
    ScriptedDialogs dialogs;
    EXPECT_THROW(pw.append(), SilentAbort);
    EXPECT_EQ(pw.state(), DataSetState::Browse);
    EXPECT_THROW(pw.deleteRecord(), SilentAbort);
    EXPECT_EQ(pw.recordCount(), 2);
    EXPECT_EQ(number("SELECT COUNT(*) FROM productwarehouse"), 2);
    EXPECT_TRUE(dialogs.shown().isEmpty());

    // Reservations beyond the stock are not clamped.
    EXPECT_EQ(pw.fieldByName("freeamount").asFloat(), -2.0);
}

TEST_F(ProductRules, AFixedAssetIsSavedForTheProductShownOnceComplete)
{
    insertProduct(5, QStringLiteral("Viljuškar"));
    openProduct(5);
    QueryDataSet& fa = *dm().FixedAssetZQ;
    fa.setParam("IDProduct", 5);
    fa.open();
    fa.append();
    const auto F = [&](const char* name) -> Field& { return fa.fieldByName(QString::fromUtf8(name)); };
    const auto save = [&] { fa.post(); };
    F("depreciationstartdate").setValue(QDate(2024, 1, 1));
    F("depreciationenddate").setValue(QDate(2030, 12, 31));
    F("depreciationaccountinggroupid").setValue(2);
    EXPECT_EQ(thrownText<FieldError>(save), CMN_FIELD_REQUIRED_ERR.arg("Poreska amort. grupa"));
    F("depreciationgroupid").setValue(1);
    F("depreciationpercent").setValue(150);
    EXPECT_EQ(thrownText<FieldError>(save), CMN_FIELD_INVALIDE_ERR.arg("Procenat"));
    F("depreciationpercent").setValue(15);
    fa.post();
    EXPECT_ROWS(rowsOf(db(), "SELECT productid, depreciationstartdate, depreciationpercent FROM fixedasset"),
                QStringList{"5|2024-01-01|15"});
}

TEST_F(ProductRules, DeletingAWorkingOperationClosesTheGapWhenApplied)
{
    sql("INSERT INTO productworkingoperation (productid, machinetype, sort) VALUES (1, 'Rezanje', 1), "
        "(1, 'Savijanje', 2), (1, 'Varenje', 3), (1, 'Farbanje', 4), (2, 'Pakovanje', 1)");
    const auto stored = [] {
        return rowsOf(db(), "SELECT CONCAT(machinetype, ':', sort) FROM productworkingoperation WHERE productid = 1 "
                            "ORDER BY sort");
    };
    QueryDataSet& wo = *dm().ProductWorkingOperationZQ;
    wo.setParam("idproduct", 1);
    wo.open();
    wo.append();
    EXPECT_EQ(wo.fieldByName("sort").asInteger(), 5);
    wo.cancel();

    ASSERT_TRUE(wo.locate("machinetype", "Savijanje"));
    wo.deleteRecord();
    EXPECT_EQ(wo.fieldByName("machinetype").asString(), "Varenje");
    EXPECT_ROWS(rowTexts(wo, "machinetype", ":"), words("Rezanje:1 Varenje:2 Farbanje:3"));
    EXPECT_ROWS(stored(), words("Rezanje:1 Savijanje:2 Varenje:3 Farbanje:4"));
    wo.applyUpdates();
    EXPECT_ROWS(stored(), words("Rezanje:1 Varenje:2 Farbanje:3"));
    EXPECT_EQ(text("SELECT sort FROM productworkingoperation WHERE productid = 2"), "1");

    // A long description shows its first 255 characters.
    wo.first();
    wo.edit();
    wo.fieldByName("description").setValue(QString(300, QLatin1Char('x')));
    EXPECT_EQ(wo.fieldByName("description").displayText().size(), 255);
    EXPECT_EQ(wo.fieldByName("description").asString().size(), 300);
    wo.cancel();
}

TEST_F(ProductRules, CodedColumnsAndPricesShowTheirTexts)
{
    insertProduct(1, QStringLiteral("Montaža"));
    insertProduct(2, QStringLiteral("Hleb"));
    sql("UPDATE product SET type = 'u', price = 10.1235, inputprice = 1.5, rebate = 0 WHERE productid = 1");
    sql("INSERT INTO warehouse (warehouseid, name, pricetype, warehousemethodtype, active, warehouseautopricechange) "
        "VALUES (1, 'Centralni', 'm', 'a', 1, 0), (2, 'Lager', 'v', NULL, 0, 1)");
    sql("INSERT INTO productwarehouse (productid, warehouseid, amount, price, reservedamount) VALUES "
        "(1, 1, 2.5, 12.345, 1)");
    // The list as the search panel shows it for warehouse 1.
    productZQ().setSql(ChangeSQLCondition(products::TProductDM::productDesignSql(), QStringLiteral("p.productid > 0"))
                           .replace(QStringLiteral("pw.warehouseid = 0"), QStringLiteral("pw.warehouseid = 1")));
    productZQ().open();
    ASSERT_TRUE(productZQ().locate("productid", 1));
    using Shown = std::pair<const char*, const char*>;
    for (const auto& [field, shown] : {Shown{"type", "Usluga"}, {"taxvalue", "20,00 %"}, {"price", "10,1235"},
                                       {"pricewithvat", "12,15"}, {"inputprice", "1,50"}, {"wh_price", "12,35"},
                                       {"primaryamount", "2,5"}, {"freeamount", "1,5"}})
        EXPECT_EQ(P(field).displayText(), shown) << field;
    productZQ().edit();
    P("type").setText("Proizvod");
    EXPECT_EQ(P("type").asString(), "p");
    post();
    EXPECT_EQ(text("SELECT type FROM product WHERE productid = 1"), "p");

    // Without a stock row in the warehouse shown, its price and amounts are empty, not zero.
    ASSERT_TRUE(productZQ().locate("productid", 2));
    EXPECT_TRUE(P("wh_price").isNull());
    EXPECT_EQ(P("primaryamount").displayText(), QString());

    QueryDataSet& w = *dm().WarehouseZQ;
    w.open();
    const auto W = [&](const char* name) -> Field& { return w.fieldByName(QString::fromUtf8(name)); };
    for (const auto& [field, shown] :
         {Shown{"pricetype", "Maloprodajna cena"}, {"warehousemethodtype", "Prosečna nabavna cena"}, {"active", "Aktivan"},
          {"warehouseautopricechange", "Ne"}, {"warehouseonlyfreeamount", "Da"}})
        EXPECT_EQ(W(field).displayText(), shown) << field;
    w.next();
    for (const auto& [field, shown] :
         {Shown{"pricetype", "Veleprodajna cena"}, {"warehousemethodtype", ""}, {"active", "Neaktivan"}})
        EXPECT_EQ(W(field).displayText(), shown) << field;
    w.edit();
    for (const auto& [field, typed] : {Shown{"pricetype", "Maloprodajna cena"}, {"warehousemethodtype", "Planska cena"},
                                       {"active", "Aktivan"}, {"warehouseautopricechange", "Ne"},
                                       {"warehouseinternalsupplyprice", "Da"}})
        W(field).setText(typed);
    w.post();
    EXPECT_ROWS(rowsOf(db(), "SELECT pricetype, warehousemethodtype, active, warehouseautopricechange, "
                             "warehouseinternalsupplyprice FROM warehouse WHERE warehouseid = 2"),
                QStringList{"m|p|1|0|1"});
}
