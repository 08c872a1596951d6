// The query dataset against a real database: defaults of new rows, live
// writes of just the changed columns of the own table, composite keys,
// Booleans in their stored forms, refresh, failures.
#include "Connection.h"
#include "DataSetErrors.h"
#include "DatabaseError.h"
#include "NativeRows.h"
#include "QueryDataSet.h"
#include "TestServer.h"

#include <gtest/gtest.h>

using namespace tarvex;
using namespace tarvex::test;

namespace {

// The product list's text, as the search navigator builds it, for warehouse 1.
const QString kProductSql = QStringLiteral(
    "SELECT DISTINCT p.*,p.price * (1+t.value/100) AS pricewithvat, (pw.price + 0.0) AS wh_price, "
    "(t.value+0.0) AS taxvalue,(pw.amount + 0.0) as primaryamount "
    "FROM product AS p LEFT JOIN tax t ON p.taxid = t.taxid "
    "LEFT JOIN productwarehouse AS pw ON (p.productid = pw.productid AND pw.warehouseid = 1) ");

const QString kProductWarehouseSql = QStringLiteral(
    "SELECT pw.*, CONCAT(w.name,'') AS name,pw.amount - pw.reservedamount - pw.reversedamount AS freeamount "
    "FROM productwarehouse AS pw LEFT JOIN warehouse AS w ON pw.warehouseid = w.warehouseid "
    "WHERE pw.productid = :productid ORDER BY w.name");

class QueryDataSetTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        for (const char* table : {"productwarehouse", "product", "tax", "warehouse"})
            execSql(db(), QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
        execSql(db(), "INSERT INTO tax (taxid, name, value, status) VALUES (1, 'Opšta', 20, 'primary')");
        execSql(db(), "INSERT INTO product (productid, name, unitname, taxid, price, pricecurrency, code) VALUES "
                   "(1, 'Čaj', 'kom', 1, 100, 'RSD', 'C1'), (2, 'Brašno', 'kg', 1, 80, 'RSD', 'B1'), "
                   "(3, 'Šećer', 'kg', 1, 120, 'RSD', 'S1')");
        products.declareField("active", FieldType::Boolean);
    }

    QVariant value(const QString& sql) { return scalar(db(), sql); }

    Connection connection{db()};
    QueryDataSet products{&connection, kProductSql};
};

} // namespace

TEST_F(QueryDataSetTest, NewRowsTakeDefaultsInsertReadsTheKeyBackCompositeKeysBooleansFailedWritesAndEndedSessions)
{
    products.open();
    products.append();
    // Each field's new value ('y' of a CHAR(1) declared Boolean, a TINYINT(1)
    // as Boolean), whether it is required (NOT NULL, but not the
    // auto-increment key), and its table; computed columns have none and are
    // not written.
    QStringList fields;
    for (const char* name : {"active", "type", "price", "serialnumbers", "name", "taxid", "productid", "barcode",
                             "wh_price", "pricewithvat"}) {
        const Field& f = products.fieldByName(name);
        fields << QStringLiteral("%1=%2 %3%4%5").arg(name, f.isNull() ? "null" : f.value().toString(),
                                                      f.required() ? "required " : "", f.tableName(),
                                                      f.isWritable() ? "" : "-");
    }
    EXPECT_ROWS(fields, QStringList({"active=true required product", "type=r required product", "price=0 required product",
                                   "serialnumbers=false required product", "name=null required product",
                                   "taxid=null required product", "productid=null product", "barcode=null product",
                                   "wh_price=null -", "pricewithvat=null -"}));
    EXPECT_EQ(products.fieldByName("name").size(), 100);

    for (const auto& [field, value] : {std::pair{"name", QVariant("Novi proizvod")}, {"unitname", "kom"}, {"taxid", 1},
                                       {"pricecurrency", "RSD"}, {"price", 10.5}})
        products.fieldByName(field).setValue(value);
    products.fieldByName("pricewithvat").setValue(12.6);  // computed: kept in memory only
    products.post();

    const qint64 id = products.fieldByName("productid").asLargeInt();
    // Read back: the stored row below is found by it.
    EXPECT_ROWS(rowsOf(db(), QStringLiteral("SELECT name, active, kasasort FROM product WHERE productid = %1").arg(id)),
                QStringList{"Novi proizvod|y|0"});
    EXPECT_DOUBLE_EQ(products.fieldByName("pricewithvat").asFloat(), 12.6);

    products.edit();
    products.fieldByName("pricewithvat").setValue(99.0);  // nothing of the own table changed
    products.post();
    products.edit();
    products.fieldByName("active").setValue(false);
    products.post();
    EXPECT_EQ(value(QStringLiteral("SELECT active FROM product WHERE productid = %1").arg(id)).toString(), "n");

    // Composite-key rows change and go alone by their whole key; Boolean columns read as true or false.
    execSql(db(), "INSERT INTO warehouse (warehouseid, name, active) VALUES (1, 'Glavni', 1), (2, 'Prodavnica', 1), "
               "(5, 'Stari', 0)");
    execSql(db(), "INSERT INTO productwarehouse (productid, warehouseid, amount) VALUES (1, 1, 5), (1, 2, 7), (2, 1, 9)");

    QueryDataSet rows(&connection, kProductWarehouseSql);
    rows.setParam("productid", 1);
    rows.open();
    ASSERT_EQ(rows.recordCount(), 2);
    ASSERT_TRUE(rows.locate("name", "Prodavnica"));
    rows.edit();
    rows.fieldByName("minstock").setValue(3);
    rows.fieldByName("name").setValue("renamed in memory");
    rows.post();
    EXPECT_ROWS(rowsOf(db(), "SELECT productid, warehouseid, minstock FROM productwarehouse ORDER BY productid, "
                             "warehouseid"),
                (QStringList{"1|1|-", "1|2|3", "2|1|-"}));
    EXPECT_EQ(value("SELECT name FROM warehouse WHERE warehouseid = 2").toString(), "Prodavnica");

    rows.deleteRecord();
    EXPECT_ROWS(rowsOf(db(), "SELECT productid, warehouseid FROM productwarehouse ORDER BY productid, warehouseid"),
                (QStringList{"1|1", "2|1"}));

    QueryDataSet warehouses(&connection, "SELECT * FROM warehouse WHERE warehouseid = 5");
    warehouses.open();
    Field& active = warehouses.fieldByName("active");
    EXPECT_EQ(active.dataType(), FieldType::Boolean);
    EXPECT_FALSE(active.asBoolean());
    warehouses.setFilter("active=True");
    warehouses.setFiltered(true);
    EXPECT_TRUE(warehouses.isEmpty());
    warehouses.setFiltered(false);
    warehouses.edit();
    active.setValue(true);
    warehouses.post();
    EXPECT_EQ(value("SELECT active FROM warehouse WHERE warehouseid = 5").toInt(), 1);

    // A failed write keeps the edit and the error.
    products.edit();
    // A text longer than its column never reaches the server.
    EXPECT_THROW(products.fieldByName("name").setValue(QString(150, QLatin1Char('x'))), FieldError);
    execSql(db(), "ALTER TABLE product ADD CONSTRAINT test_name_check CHECK (name <> 'odbijeno')");
    products.fieldByName("name").setValue("odbijeno");
    EXPECT_THROW(products.post(), DatabaseError);  // only the changed column is written: the next test
    execSql(db(), "ALTER TABLE product DROP CONSTRAINT test_name_check");
    EXPECT_EQ(products.state(), DataSetState::Edit);
    EXPECT_EQ(products.fieldByName("name").asString(), "odbijeno");
    products.cancel();  // what a cancel brings back: test_memorytable

    // A read the server refuses leaves the dataset closed; the error's code,
    // message and statement: the native read's below and test_logfile's (one
    // path in Connection).
    QueryDataSet broken(&connection, "SELECT nosuch FROM product");
    EXPECT_THROW(broken.open(), DatabaseError);
    EXPECT_FALSE(broken.isActive());
    QueryDataSet readOnly(&connection, "SELECT * FROM tax");
    readOnly.setReadOnly(true);
    readOnly.open();
    EXPECT_THROW(readOnly.edit(), DataSetError);

    // A new session's mode (its revival after the server ends it: test_logfile).
    Connection own(database().settings());
    // Strict, no backslash escapes, GROUP BY as the module's reports write it.
    const QStringList modes = own.value("SELECT @@SESSION.sql_mode").toString().split(',');
    EXPECT_TRUE(modes.contains("NO_BACKSLASH_ESCAPES"));
    EXPECT_TRUE(modes.contains("STRICT_TRANS_TABLES"));
    EXPECT_FALSE(modes.contains("ONLY_FULL_GROUP_BY"));

    own.execute("INSERT INTO tax (name, value) VALUES ('Posebna', 10)");
    EXPECT_EQ(own.lastInsertId(), value("SELECT MAX(taxid) FROM tax").toLongLong());
}

TEST_F(QueryDataSetTest, LiveUpdateWritesOnlyTheChangedColumnsRefreshStaysOnTheSameRowAndRowsReadElsewhereOpenTheDataSet)
{
    products.setSortedFields("name");
    products.open();
    ASSERT_TRUE(products.locate("productid", 1));

    // Another workstation changes the code of the same row meanwhile.
    Connection(database().settings()).execute("UPDATE product SET code = 'C1-other', price = 101 WHERE productid = 1");

    products.edit();
    products.fieldByName("name").setValue("Čaj zeleni");
    products.fieldByName("price").setValue(100.0);  // assigned, but equal to what was read
    products.post();
    EXPECT_ROWS(rowsOf(db(), "SELECT name, code, price FROM product WHERE productid < 3 ORDER BY productid"),
                (QStringList{"Čaj zeleni|C1-other|101", "Brašno|B1|80"}));

    ASSERT_TRUE(products.locate("name", "Šećer"));
    EXPECT_EQ(products.recNo(), 3);
    connection.execute("INSERT INTO product (name, unitname, taxid, pricecurrency) VALUES ('Alva', 'kg', 1, 'RSD')");
    connection.execute("UPDATE product SET price = 125 WHERE productid = 3");
    products.refresh();
    EXPECT_EQ(products.recordCount(), 4);
    EXPECT_EQ(products.fieldByName("name").asString(), "Šećer");
    EXPECT_EQ(products.recNo(), 4);
    EXPECT_EQ(products.fieldByName("price").asFloat(), 125.0);

    // Rows read on another connection open the dataset as its own read.
    const QString sql = kProductSql + "WHERE p.productid < 3";
    QueryRows rows = QueryDataSet::readRows(db(), products.expandedSql(sql));
    ASSERT_EQ(rows.values.size(), 2u);
    connection.execute("UPDATE product SET price = 90 WHERE productid = 1");  // after the read
    products.openWith(sql, std::move(rows));
    ASSERT_TRUE(products.locate("productid", 1));
    EXPECT_DOUBLE_EQ(products.fieldByName("price").asFloat(), 101);  // as read
    EXPECT_EQ(products.fieldByName("active").dataType(), FieldType::Boolean);
    products.edit();
    products.fieldByName("code").setValue("C2");
    products.post();
    EXPECT_EQ(value("SELECT code FROM product WHERE productid = 1").toString(), "C2");

    // Rows read for another statement are not taken: the statement is read.
    products.openWith(kProductSql, QueryDataSet::readRows(db(), kProductSql + "WHERE p.productid = 2"));
    EXPECT_EQ(products.recordCount(), 4);
}

TEST_F(QueryDataSetTest, NativeRowsBringNumbersTextsDatesAndNullsAsTheDriverDoesAndFailuresAsDatabaseErrors)
{
    connection.execute("UPDATE product SET supplyprice = 0.1e0 + 0.2e0, manufname = 'Foo''s \\\\' WHERE productid = 1");
    const QString sql = "SELECT p.productid, p.price * 1.1e0, p.supplyprice, p.manufname, p.name, "
                        "DATE('2024-02-29'), NULL FROM product AS p WHERE p.name LIKE ? ORDER BY p.productid";
    QSqlQuery driver = connection.select(sql, {"%a%"});
    NativeRows native = connection.readNative(sql, {"%a%"});
    int rows = 0;
    while (driver.next()) {
        ASSERT_TRUE(native.next());
        ++rows;
        EXPECT_EQ(native.integer(0), driver.value(0).toLongLong());
        EXPECT_EQ(native.number(1), driver.value(1).toDouble()) << "row " << rows;  // every bit
        EXPECT_EQ(native.isNull(2), driver.value(2).isNull());
        EXPECT_EQ(native.number(2), driver.value(2).toDouble());
        EXPECT_EQ(native.text(3), driver.value(3).toString());
        EXPECT_EQ(native.text(4), driver.value(4).toString());
        EXPECT_EQ(native.date(5), QDate(2024, 2, 29));
        EXPECT_TRUE(native.isNull(6));
    }
    EXPECT_FALSE(native.next());
    EXPECT_EQ(rows, 2);  // Čaj and Brašno
    // Into a store by column kind: the stocks overview's, row for row against
    // the driver's reading (test_stockfastpath).
    try {
        NativeRows broken = connection.readNative("SELECT nosuch FROM product");
        FAIL() << "a statement the server refuses";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.code(), 1054);
        EXPECT_EQ(e.sql(), "SELECT nosuch FROM product");
    }
    EXPECT_TRUE(connection.isConnected());
}
