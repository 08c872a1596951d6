#include "Connection.h"
#include "Schema.h"
#include "TestServer.h"

#include <gtest/gtest.h>

using namespace tarvex;
using namespace tarvex::test;

// The suite's fresh database: the inserts below find the tables empty.
class SchemaTest : public DatabaseTest {};

// The inserts of the windows name only a few columns: the rest have defaults.
// A product without name, unit, tax or currency is refused, never stored with
// a silent default; a PLU belongs to one product, any number have none.
TEST_F(SchemaTest, DefaultsLetTheInsertsThroughProductsNeedWhatTheModuleValidatesSearchesHaveIndexesAndEveryTableHasAPrimaryKey)
{
    QSqlDatabase connection = db();
    for (const char* sql : {"INSERT INTO tax (name, value) VALUES ('PDV20', 20)",
                            "INSERT INTO warehouse (name) VALUES ('Magacin')",
                            "INSERT INTO categoryprattribute (categoryprid, attributeprid, catattribute) VALUES (1, 1, 'B')",
                            "INSERT INTO productwarehouse (productid,warehouseid,price) VALUES (1,1,10.5)",
                            "INSERT INTO productdetail (productid, maxrebate, webprice, b2bprice) VALUES (1, 0, 0, 0)",
                            "INSERT INTO productcategorypr SET productid = 1, categoryprid = 1",
                            "INSERT INTO categorypr SET parentid = 0, name = 'Pića' ",
                            "INSERT INTO productalter (groupid,productid) VALUES (1,1)",
                            "INSERT INTO productrebate (productid) VALUES (1)",
                            "INSERT INTO product (name, unitname, taxid, pricecurrency, kasaplu) VALUES "
                            "('A', 'kom', 1, 'RSD', 5), ('B', 'kom', 1, 'RSD', NULL), ('C', 'kom', 1, 'RSD', NULL)"})
        execSql(connection, QString::fromUtf8(sql));
    const std::pair<const char*, const char*> defaults[] = {
        {"SELECT status FROM tax", "standard"}, {"SELECT status FROM warehouse", "standard"},
        {"SELECT pricetype FROM warehouse", "v"}, {"SELECT active FROM warehouse", "1"},
        {"SELECT catattributevalue FROM categoryprattribute", ""}, {"SELECT rebatetype FROM productrebate", "P"},
        {"SELECT amount + reservedamount + reversedamount + orderedamount FROM productwarehouse", "0"},
        {"SELECT maxrebate + webrebate + b2brebate FROM categorypr", "0"}};
    for (const auto& [statement, value] : defaults)
        EXPECT_EQ(scalar(connection, statement).toString(), value) << statement;
    EXPECT_ANY_THROW(execSql(connection, "INSERT INTO product (code) VALUES ('X')"));
    EXPECT_ANY_THROW(execSql(connection, "INSERT INTO product (name, unitname, taxid, pricecurrency, kasaplu) "
                                         "VALUES ('D', 'kom', 1, 'RSD', 5)"));

    // Searches and reports have their indexes.
    const QStringList leading = scalar(connection, "SELECT GROUP_CONCAT(CONCAT(table_name, '.', column_name)) FROM "
                                                   "information_schema.statistics WHERE table_schema = DATABASE() "
                                                   "AND seq_in_index = 1").toString().split(',');
    for (const char* column : {"product.name", "product.code", "product.barcode", "product.manufcode",
                               "productwarehouse.productid", "documentitem.productid", "document.documentdate",
                               "document.documenttype", "docfinitem.productid", "categorypr.parentid",
                               "productcategorypr.categoryprid", "productattribute.productid"})
        EXPECT_TRUE(leading.contains(column)) << column;

    // Every table loads as InnoDB in utf8mb4 with a primary key (older databases: test_migration; that
    // schemaTables() names every table: test_backup's manifest).
    EXPECT_EQ(scalar(connection, "SELECT COUNT(*) FROM information_schema.tables WHERE table_schema = DATABASE() "
                                 "AND (engine <> 'InnoDB' OR table_collation NOT LIKE 'utf8mb4%')")
                  .toInt(),
              0);

    const QString keyless = QStringLiteral(
        "SELECT COALESCE(GROUP_CONCAT(t.table_name), '') FROM information_schema.tables AS t WHERE t.table_schema = "
        "DATABASE() AND NOT EXISTS (SELECT 1 FROM information_schema.table_constraints AS c WHERE c.table_schema = "
        "t.table_schema AND c.table_name = t.table_name AND c.constraint_type = 'PRIMARY KEY')");
    EXPECT_EQ(scalar(connection, keyless).toString(), "");
}

