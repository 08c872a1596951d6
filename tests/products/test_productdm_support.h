#pragma once
// Helpers shared by the product data module's tests: a clean module on an
// emptied database before each test, products opened the way the editor
// opens them, and new products filled far enough to be saved.

#include "ProductDMFixture.h"
#include "DataSetErrors.h"
#include "Productcachedlists.h"
#include "ScratchHelpers.h"

#include <initializer_list>

namespace tarvex::test {

class ProductDMCase : public ProductDMTest {
protected:
    // Every test starts with closed datasets, empty caches, the options of
    // a module that has not loaded them, and no rows but two taxes: 1 (20 %,
    // the primary) and 2 (10 %).
    void SetUp() override
    {
        for (QueryDataSet* ds : dm().findChildren<QueryDataSet*>()) {
            ds->close();
            ds->setFilter(QString());
            ds->setFiltered(false);
            ds->setSortedFields(QString());
        }
        dm().ProductZQ->setSql(products::TProductDM::productDesignSql());
        dm().SetDefaultTaxID(0);
        dm().SetDefWarehouseID(0);
        dm().Options = products::TProductOptions();
        emptyTables(db());
        sql("INSERT INTO tax (taxid, name, value, status) VALUES (1, 'PDV20', 20, 'primary'), (2, 'PDV10', 10, "
            "'standard')");
    }

    // A new product with everything the save needs but what the defaults give.
    static void appendProduct(const QString& name)
    {
        productZQ().open();
        productZQ().append();
        P("name").setValue(name);
        P("unitname").setValue(QStringLiteral("kom"));
        P("pricecurrency").setValue(QStringLiteral("RSD"));
        P("inputpricecurrency").setValue(QStringLiteral("RSD"));
    }

    // A new product as the editor starts it: the detail and rebate lists open and empty.
    static void startProduct(const QString& name)
    {
        appendProduct(name);
        QueryDataSet& detail = *dm().ProductDetailZQ;
        detail.close();
        detail.setParam("productid", -1);
        detail.open();
        products::OpenRebate(-1);
    }

    // Warehouses a test's stock rows stand on ("Magacin 1", ...).
    static void insertWarehouses(std::initializer_list<int> ids)
    {
        for (int id : ids)
            sql(QStringLiteral("INSERT INTO warehouse (warehouseid, name) VALUES (%1, 'Magacin %1')").arg(id));
    }

    // A saved product the module's checks accept, on tax 1.
    static void insertProduct(qint64 id, const QString& name)
    {
        sql(QStringLiteral("INSERT INTO product (productid, name, unitname, taxid, price, pricecurrency, inputprice, "
                           "inputpricecurrency, supplyprice, planprice) VALUES (%1, %2, 'kom', 1, 1, 'RSD', 1, 'RSD', 1, 1)")
                .arg(id)
                .arg(quoteSqlText(name)));
    }

    // "<field><sep><sort>" of every row in the dataset's order.
    static QStringList rowTexts(QueryDataSet& ds, const QString& field, const char* sep = "")
    {
        QStringList rows;
        for (ds.first(); !ds.eof(); ds.next())
            rows << ds.fieldByName(field).asString() + sep + ds.fieldByName("sort").asString();
        return rows;
    }
    // The words of a text, as a list to compare entry by entry.
    static QStringList words(const char* text) { return QString::fromUtf8(text).split(QLatin1Char(' ')); }
    static double number(const QString& statement) { return scalar(db(), statement).toDouble(); }
};

} // namespace tarvex::test
