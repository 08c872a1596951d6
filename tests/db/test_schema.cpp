#include "Connection.h"
#include "Schema.h"
#include "TestServer.h"

#include <QMap>
#include <QSqlQuery>
#include <QSqlRecord>
#include <gtest/gtest.h>

using namespace tarvex;
using namespace tarvex::test;

namespace {

// Every column the product module and its stock reports read or write.
const QMap<QString, QStringList>& expectedColumns()
{
    static const QMap<QString, QStringList> columns = {
        {"product", {"productid", "active", "barcode", "code", "name", "foreignname", "type", "unitname", "taxid",
                     "price", "pricecurrency", "inputprice", "inputpricecurrency", "priceformula", "supplyprice",
                     "planprice", "recommendedprice", "rebate", "recommendedrebate", "excise", "manufname",
                     "manufcode", "manufseries", "serialnumbers", "kasaplu", "kasagroupid", "kasasort", "savetoken"}},
        {"productdetail", {"productid", "characteristics", "description", "specification", "model", "warranty",
                           "originalcountry", "exportcountry", "importcountry", "mass", "massgross",
                           "massunitname", "commercialpackage", "transportpackage", "commercialpackagebarcode",
                           "transportpackagebarcode", "minimalorderquantity", "tariffnumber", "additionalrebate",
                           "maxrebate", "maxretailrebate", "secondunitname", "secondunitnamecoefficient",
                           "secondunitnameprice", "b2b", "web", "webprice", "b2bprice", "bonus", "valutedays",
                           "specialprice"}},
        {"tax", {"taxid", "name", "description", "value", "status"}},
        {"warehouse", {"warehouseid", "name", "code", "status", "address", "city", "zip", "pricetype",
                       "warehousemethodtype", "warehousecurrency", "active", "b2b", "warehouseautopricechange",
                       "warehouseonlyfreeamount", "warehouseinternalsupplyprice", "lastloadeddocumentid",
                       "organizationunit"}},
        {"productwarehouse", {"productid", "warehouseid", "amount", "price", "reservedamount", "reversedamount",
                              "orderedamount", "place", "minstock", "maxstock"}},
        {"productalter", {"productid", "groupid"}},
        {"productcategorypr", {"productid", "categoryprid"}},
        {"categorypr", {"categoryprid", "name", "parentid", "maxrebate", "webrebate", "b2brebate"}},
        {"categoryprattribute", {"categoryprattributeid", "categoryprid", "attributeprid", "catattribute",
                                 "catattributevalue"}},
        {"attributepr", {"attributeprid", "attribute", "required", "sort"}},
        {"attributeprvalue", {"attributeprvalueid", "attributeprid", "attributevalue", "sort"}},
        {"productattribute", {"productattributeid", "productid", "attributeprid1", "attributeprid2",
                              "attributeprid3", "attributeprid4", "attributeprid5", "attributeprvalueid1",
                              "attributeprvalueid2", "attributeprvalueid3", "attributeprvalueid4",
                              "attributeprvalueid5", "prodattrequired1", "prodattrequired2", "prodattrequired3",
                              "prodattrequired4", "prodattrequired5", "prodattribute", "prodattributevalue",
                              "prodattbarcode"}},
        {"productattributewarehouse", {"productattributeid", "warehouseid", "amount"}},
        {"productrebate", {"productrebateid", "productid", "quantity", "rebate", "rebatetype"}},
        {"productpackaging", {"productpackagingid", "productid", "packagingid", "productamount", "packagingamount"}},
        {"component", {"rawid", "productid", "quantity"}},
        {"productworkingoperation", {"productworkingoperationid", "productid", "machinetype", "machinenumber",
                                     "description", "preparationtime", "productiontime", "sort"}},
        {"fixedasset", {"productid", "cataloguenumber", "inventorynumber", "serialnumber", "locationgroup",
                        "location", "purchasedate", "activationdate", "warrantydate", "depreciationstartdate",
                        "depreciationenddate", "depreciationpercent", "permanentvalue", "depreciationtaxbasevalue",
                        "depreciationgroupid", "depreciationaccountinggroupid"}},
        {"depreciationgroup", {"depreciationgroupid", "percent", "description"}},
        {"depreciationaccountinggroup", {"depreciationaccountinggroupid", "percent", "description"}},
        {"kasagroup", {"kasagroupid", "name"}},
        {"kasatableitem", {"productid"}},
        {"preceptitem", {"accountnewid", "foreignid"}},
        {"accountnew", {"accountnewid", "type"}},
        {"currency", {"code", "status"}},
        {"exchangelist", {"exchangelistid", "listtype"}},
        {"currencyexchange", {"exchangelistid", "code1", "code2", "code1amount", "code2amount"}},
        {"document", {"documentid", "documentdate", "documenttype", "number", "direction", "warehouseid",
                      "inwarehouseid", "status", "docreturn", "partnerid", "partnername"}},
        {"documentitem", {"documentid", "productid", "quantity"}},
        {"docfinitem", {"documentid", "productid", "warehouseid", "inquantity", "outquantity", "debit", "credit",
                        "price"}},
        {"partner", {"partnerid", "name"}},
        {"dbinifile", {"section", "name", "value"}},
        {"identifierlock", {"name", "value"}},
    };
    return columns;
}

QString columnInfo(QSqlDatabase db, const QString& table, const QString& column, const QString& what)
{
    return scalar(db, QStringLiteral("SELECT %1 FROM information_schema.columns WHERE table_schema = DATABASE() "
                                     "AND table_name = %2 AND column_name = %3")
                          .arg(what, quoteSqlText(table), quoteSqlText(column)))
        .toString();
}

} // namespace

class SchemaTest : public DatabaseTest {};

TEST_F(SchemaTest, HoldsEveryTableAndColumnTheModuleUses)
{
    QSqlDatabase connection = db();
    for (auto it = expectedColumns().cbegin(); it != expectedColumns().cend(); ++it) {
        const QSqlRecord record = connection.record(it.key());
        ASSERT_FALSE(record.isEmpty()) << "missing table " << it.key().toStdString();
        for (const QString& column : it.value())
            EXPECT_TRUE(record.contains(column)) << it.key().toStdString() << "." << column.toStdString();
    }
    EXPECT_EQ(schemaTables().size(), expectedColumns().size());
}

TEST_F(SchemaTest, TypesMatchWhatTheDataLayerDeclares)
{
    QSqlDatabase connection = db();
    EXPECT_EQ(columnInfo(connection, "product", "productid", "COLUMN_TYPE"), "bigint(20)");
    EXPECT_EQ(columnInfo(connection, "product", "productid", "EXTRA"), "auto_increment");
    EXPECT_EQ(columnInfo(connection, "product", "active", "COLUMN_TYPE"), "char(1)");
    EXPECT_EQ(columnInfo(connection, "product", "price", "DATA_TYPE"), "double");
    EXPECT_EQ(columnInfo(connection, "product", "name", "COLUMN_TYPE"), "varchar(100)");
    EXPECT_EQ(columnInfo(connection, "product", "kasaplu", "DATA_TYPE"), "bigint");
    EXPECT_EQ(columnInfo(connection, "product", "kasasort", "DATA_TYPE"), "int");
    EXPECT_EQ(columnInfo(connection, "warehouse", "organizationunit", "COLUMN_TYPE"), "varchar(30)");
    EXPECT_EQ(columnInfo(connection, "fixedasset", "purchasedate", "DATA_TYPE"), "date");
    EXPECT_EQ(columnInfo(connection, "productdetail", "description", "DATA_TYPE"), "text");
    EXPECT_EQ(scalar(connection, "SELECT COUNT(*) FROM information_schema.tables WHERE table_schema = DATABASE() "
                                 "AND (engine <> 'InnoDB' OR table_collation NOT LIKE 'utf8mb4%')")
                  .toInt(),
              0);
}

TEST_F(SchemaTest, DefaultsLetTheApplicationsInsertsThrough)
{
    QSqlDatabase connection = db();
    execSql(connection, "INSERT INTO tax (name, value) VALUES ('PDV20', 20)");
    execSql(connection, "INSERT INTO warehouse (name) VALUES ('Magacin')");
    execSql(connection, "INSERT INTO categoryprattribute (categoryprid, attributeprid, catattribute) VALUES (1, 1, 'Boja')");
    // The stock-row and detail inserts of the product editor name only a few columns.
    execSql(connection, "INSERT INTO productwarehouse (productid,warehouseid,price) VALUES (1,1,10.5)");
    execSql(connection, "INSERT INTO productdetail (productid, maxrebate, webprice, b2bprice) VALUES (1, 0, 0, 0)");
    execSql(connection, "INSERT INTO productcategorypr SET productid = 1, categoryprid = 1");
    execSql(connection, "INSERT INTO categorypr SET parentid = 0, name = 'Pića' ");
    execSql(connection, "INSERT INTO productalter (groupid,productid) VALUES (1,1)");
    execSql(connection, "INSERT INTO productrebate (productid) VALUES (1)");

    EXPECT_EQ(scalar(connection, "SELECT status FROM tax").toString(), "standard");
    EXPECT_EQ(scalar(connection, "SELECT CONCAT(status, '/', pricetype, '/', active) FROM warehouse").toString(),
              "standard/v/1");
    EXPECT_EQ(scalar(connection, "SELECT catattributevalue FROM categoryprattribute").toString(), "");
    EXPECT_EQ(scalar(connection, "SELECT amount + reservedamount + reversedamount + orderedamount FROM productwarehouse")
                  .toDouble(),
              0.0);
    EXPECT_EQ(scalar(connection, "SELECT maxrebate + webrebate + b2brebate FROM categorypr").toDouble(), 0.0);
    EXPECT_EQ(scalar(connection, "SELECT rebatetype FROM productrebate").toString(), "P");
}

TEST_F(SchemaTest, ProductRequiresWhatTheModuleValidates)
{
    QSqlDatabase connection = db();
    // A product without name, unit, tax or currency is refused, never stored with a silent default.
    EXPECT_ANY_THROW(execSql(connection, "INSERT INTO product (code) VALUES ('X')"));
    execSql(connection, "INSERT INTO product (name, unitname, taxid, pricecurrency) VALUES ('Hleb', 'kom', 1, 'RSD')");
    EXPECT_EQ(scalar(connection, "SELECT CONCAT(active, type, serialnumbers, kasasort) FROM product").toString(), "yr00");
    // A PLU belongs to one product; any number of products have none.
    execSql(connection, "INSERT INTO product (name, unitname, taxid, pricecurrency, kasaplu) VALUES "
                        "('A', 'kom', 1, 'RSD', 5), ('B', 'kom', 1, 'RSD', NULL), ('C', 'kom', 1, 'RSD', NULL)");
    EXPECT_ANY_THROW(execSql(connection, "INSERT INTO product (name, unitname, taxid, pricecurrency, kasaplu) "
                                         "VALUES ('D', 'kom', 1, 'RSD', 5)"));
}

TEST_F(SchemaTest, SerbianTextRoundTripsInUtf8mb4)
{
    QSqlDatabase connection = db();
    const QString text = QStringLiteral("Proizvođač ćčšžđ ĆČŠŽĐ");
    execSql(connection, QStringLiteral("INSERT INTO partner (name) VALUES (%1)").arg(quoteSqlText(text)));
    QSqlQuery query(connection);
    ASSERT_TRUE(query.prepare("SELECT name, CHAR_LENGTH(name) FROM partner WHERE name = ?"));
    query.addBindValue(text);
    ASSERT_TRUE(query.exec());
    ASSERT_TRUE(query.next());
    EXPECT_EQ(query.value(0).toString(), text);
    EXPECT_EQ(query.value(1).toInt(), text.size());
}

TEST_F(SchemaTest, SearchesAndReportsHaveTheirIndexes)
{
    QSqlDatabase connection = db();
    auto indexed = [&](const QString& table, const QString& firstColumn) {
        return scalar(connection, QStringLiteral("SELECT COUNT(*) FROM information_schema.statistics WHERE "
                                                 "table_schema = DATABASE() AND table_name = %1 AND column_name = %2 "
                                                 "AND seq_in_index = 1")
                                      .arg(quoteSqlText(table), quoteSqlText(firstColumn)))
                   .toInt() > 0;
    };
    for (const auto& [table, column] : std::vector<std::pair<QString, QString>>{
             {"product", "name"}, {"product", "code"}, {"product", "barcode"}, {"product", "manufcode"},
             {"productwarehouse", "productid"}, {"documentitem", "productid"}, {"document", "documentdate"},
             {"document", "documenttype"}, {"docfinitem", "productid"}, {"categorypr", "parentid"},
             {"productcategorypr", "categoryprid"}, {"productattribute", "productid"}})
        EXPECT_TRUE(indexed(table, column)) << table.toStdString() << "." << column.toStdString();
}

TEST_F(SchemaTest, EveryTableHasAPrimaryKeyAndOldLinkTablesGetTheirs)
{
    QSqlDatabase connection = db();
    const QString keyless = QStringLiteral(
        "SELECT COALESCE(GROUP_CONCAT(t.table_name), '') FROM information_schema.tables AS t WHERE t.table_schema = "
        "DATABASE() AND NOT EXISTS (SELECT 1 FROM information_schema.table_constraints AS c WHERE c.table_schema = "
        "t.table_schema AND c.table_name = t.table_name AND c.constraint_type = 'PRIMARY KEY')");
    EXPECT_EQ(scalar(connection, keyless).toString(), "");

    // A database made before the link tables had keys, a link repeated.
    execSql(connection, "DROP TABLE productcategorypr, productalter");
    execSql(connection, "CREATE TABLE productcategorypr (productid BIGINT NOT NULL, categoryprid BIGINT NOT NULL, "
                        "KEY productcategorypr_product (productid, categoryprid), "
                        "KEY productcategorypr_category (categoryprid, productid)) ENGINE=InnoDB");
    execSql(connection, "CREATE TABLE productalter (productid BIGINT NOT NULL, groupid INT NOT NULL, "
                        "KEY productalter_product (productid), KEY productalter_group (groupid)) ENGINE=InnoDB");
    execSql(connection, "INSERT INTO productcategorypr VALUES (1, 5), (1, 5), (1, 6), (2, 5)");
    execSql(connection, "INSERT INTO productalter VALUES (1, 1), (2, 1)");
    upgradeSchema(connection);
    upgradeSchema(connection);  // a second start finds nothing to do
    EXPECT_EQ(scalar(connection, keyless).toString(), "");
    EXPECT_EQ(scalar(connection, "SELECT GROUP_CONCAT(productid, ':', categoryprid ORDER BY productid, categoryprid) "
                                 "FROM productcategorypr")
                  .toString(),
              "1:5,1:6,2:5");
    EXPECT_EQ(scalar(connection, "SELECT COUNT(*) FROM productalter").toInt(), 2);
    EXPECT_EQ(scalar(connection, "SELECT COUNT(*) FROM information_schema.statistics WHERE table_schema = DATABASE() "
                                 "AND index_name = 'productcategorypr_product'")
                  .toInt(),
              0);
    EXPECT_ANY_THROW(execSql(connection, "INSERT INTO productalter VALUES (1, 1)"));
}
