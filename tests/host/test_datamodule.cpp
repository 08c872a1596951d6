// The data-module base: validations run before a post and stop it with the
// message and the field; the generic helpers the module's windows call.
#include "Connection.h"
#include "CustomDM.h"
#include "DataSetErrors.h"
#include "HostStrings.h"
#include "QueryDataSet.h"
#include "TestServer.h"

#include <gtest/gtest.h>

using namespace tarvex;
using namespace tarvex::test;

namespace {

// A module with a product query and a small validation list.
class ProductModule : public TCustomDM {
public:
    ProductModule()
    {
        ProductZQ = new QueryDataSet(this);
        ProductZQ->setObjectName("ProductZQ");
        ProductZQ->setSql("SELECT p.*, (t.value + 0.0) AS taxvalue FROM product AS p LEFT JOIN tax AS t ON p.taxid = t.taxid "
                          "ORDER BY p.productid");
        ProductZQ->declareField("active", FieldType::Boolean);
        ProductZQ->events().beforePost = [this](DataSet& ds) { CommonBeforePost(ds); };
        ProductZQ->events().beforeDelete = [this](DataSet& ds) { CommonBeforeDelete(ds); };
    }

    QueryDataSet* ProductZQ;

protected:
    void CreateFieldValidations() override
    {
        FieldValidations.append(FieldValidation(&ProductZQ->declareField("price"), TestMoneyNoZero, true));
        FieldValidations.append(FieldValidation(&ProductZQ->declareField("code"), [](Field& f) {
            return TestUnique(f, "product", "code", "productid", QString(), 0);
        }, false));
    }
};

class DataModuleTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        for (const char* sql : {"DELETE FROM product", "DELETE FROM tax", "DELETE FROM productdetail",
                                "DELETE FROM productcategorypr",
                                "INSERT INTO tax (taxid, name, value) VALUES (1, 'A', 20), (2, 'B', 10), (3, 'C', 20)",
                                "INSERT INTO product (productid, name, unitname, taxid, price, pricecurrency, code, kasaplu) "
                                "VALUES (1, 'Mleko 1l', 'kom', 1, 100, 'RSD', 'M1', 7), (2, 'Hleb', 'kom', 1, 50, 'RSD', NULL, NULL)",
                                "INSERT INTO productdetail (productid, description) VALUES (1, 'opis')",
                                "INSERT INTO productcategorypr (productid, categoryprid) VALUES (1, 4), (1, 9)"})
            connection.execute(QString::fromUtf8(sql));
        module.SetZConnection(&connection);
        module.DataModuleCreate();
        module.ProductZQ->open();
    }

    // The message and field name of the FieldError a post raises; empty when it posts.
    std::pair<QString, QString> postError()
    {
        try {
            module.ProductZQ->post();
        } catch (const FieldError& e) {
            return {e.userText(), e.field() ? e.field()->fieldName() : QString()};
        }
        return {};
    }

    Connection connection{db()};
    ProductModule module;
};

} // namespace

// The product module's validations through the same base (required names,
// unique leading characters, a row that is no rival to itself):
// test_productdm_rules.
TEST_F(DataModuleTest, ValidationsStopThePostWithTheMessageAndTheFieldTheHostsTestsMeanWhatTheySayAndTheHelpersWork)
{
    DataSet& ds = *module.ProductZQ;
    ds.append();
    for (const auto& [field, value] : {std::pair{"name", QVariant("Mleko 2l")}, {"unitname", "kom"},
                                       {"pricecurrency", "RSD"}, {"taxid", 1}, {"price", 0.0000001}})
        ds.fieldByName(field).setValue(value);
    // Zero at six decimals; a field without a label is named by its name.
    EXPECT_EQ(postError(), std::make_pair(CMN_FIELD_INVALIDE_ERR.arg("price"), QString("price")));
    ds.fieldByName("price").setValue(12.5);
    ds.fieldByName("code").setValue("M1");
    EXPECT_EQ(postError(), std::make_pair(CMN_FIELD_INVALIDE_ERR.arg("code"), QString("code")));
    ds.cancel();

    // The host's tests mean what their names say.
    ASSERT_TRUE(ds.locate("productid", 2));
    ds.edit();
    using Check = bool (*)(Field&);
    const std::tuple<const char*, QVariant, Check, bool> cases[] = {
        {"price", -1.0, TestMoney, false}, {"price", -1.0, TestMoneyNoZero, false}, {"price", 0.0, TestMoney, true},
        {"price", 0.0, TestMoneyNoZero, false}, {"price", 0.0, TestTaxRate, true}, {"price", 100.5, TestTaxRate, false},
        {"price", 100.5, TestID, false}, {"price", 3.0, TestID, true}, {"code", "  ", TestZeroLength, false},
        {"code", "  ", TestMoney, true},  // empty: the required mark decides
        {"code", "2024-02-30", TestDate, false}, {"code", "2024-02-29", TestDate, true}, {"code", "12,5", TestMoney, true},
    };
    for (const auto& [name, value, check, passes] : cases) {
        ds.fieldByName(name).setValue(value);
        EXPECT_EQ(check(ds.fieldByName(name)), passes) << name << " " << value.toString().toStdString();
    }
    Field& code = ds.fieldByName("code");
    code.setValue("m1");  // the database compares without letter case
    EXPECT_FALSE(TestUnique(code, "product", "code", "productid", QString(), 0));
    EXPECT_TRUE(TestUnique(code, "product", "code", "productid", "kasaplu IS NULL", 0));
    ds.cancel();

    // The delete guard, the connection hand-over, field values filling a list each once.
    EXPECT_EQ(module.ProductZQ->connection(), &connection);
    QueryDataSet empty(&connection, "SELECT * FROM product WHERE productid < 0");
    empty.open();
    EXPECT_THROW(module.CommonBeforeDelete(empty), SilentAbort);
    module.ProductZQ->last();
    module.ProductZQ->deleteRecord();
    EXPECT_ROWS(rowsOf(db(), "SELECT productid FROM product"), QStringList{"1"});

    QStringList list{"stale"};  // each call replaces the list; nulls left out
    const std::tuple<const char*, const char*, bool, const char*, QStringList> values[] = {
        {"value", "tax", true, "", {"10", "20"}}, {"value", "tax", false, "", {"10", "20", "20"}},
        {"name", "tax", true, "WHERE value = 20", {"A", "C"}}, {"code", "product", true, "", {"M1"}}};
    for (const auto& [field, table, distinct, where, expected] : values) {
        module.GetFieldValues(field, table, list, distinct, where, QString());
        EXPECT_ROWS(list, expected) << field << " of " << table << (distinct ? ", distinct " : " ") << where;
    }

    // CopyDataSet inserts the rows again with replacements.
    module.CopyDataSet("product", "productid = ?", {"name=Kopija 'Mleko' 1l", "kasaplu=NULL", "code='M''9'"}, QString(),
                       {1});
    const qint64 copy = module.GetLastInsertID();
    EXPECT_GT(copy, 2);
    expectSameTable(rowsOf(db(), QStringLiteral("SELECT name, kasaplu, code, price FROM product WHERE productid = %1")
                                     .arg(copy)),
                    {"Kopija 'Mleko' 1l|-|M'9|100"}, {"name", "kasaplu", "code", "price"});

    const QString newId = QStringLiteral("productid=%1").arg(copy);
    module.CopyDataSet("productdetail", "productid=1", {newId}, "productid");
    module.CopyDataSet("productcategorypr", "productid=1", {newId}, "productid");
    module.CopyDataSet("fixedasset", "productid=1", {newId}, "productid");  // none to copy
    EXPECT_EQ(scalar(db(), QStringLiteral("SELECT description FROM productdetail WHERE productid = %1").arg(copy)).toString(),
              "opis");
    const QString id = QString::number(copy);
    EXPECT_ROWS(rowsOf(db(), "SELECT productid FROM productcategorypr ORDER BY productid"),
                (QStringList{"1", "1", id, id}));
    EXPECT_THROW(module.CopyDataSet("product", "productid=1", {"nosuch=1"}, QString()), DataSetError);
}
