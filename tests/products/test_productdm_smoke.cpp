#include "ProductDMFixture.h"

#include <gtest/gtest.h>

using namespace tarvex::test;

class ProductDMSmoke : public ProductDMTest {};

TEST_F(ProductDMSmoke, ANewProductTakesThePrimaryTaxAndSaves)
{
    sql("INSERT INTO tax (taxid, name, value, status) VALUES (1, 'PDV20', 20, 'primary'), (2, 'PDV10', 10, 'standard')");
    dm().SetDefaultTaxID(0);
    dm().LoadOptions();
    auto* p = dm().ProductZQ;
    p->open();
    p->append();
    EXPECT_EQ(p->fieldByName("taxid").asInteger(), 1);
    EXPECT_DOUBLE_EQ(p->fieldByName("pricewithvat").asFloat(), 1.2);
    p->fieldByName("name").setValue("  Hleb beli  ");
    p->fieldByName("unitname").setValue("kom");
    p->fieldByName("pricecurrency").setValue("RSD");
    p->fieldByName("inputpricecurrency").setValue("RSD");
    p->fieldByName("code").setValue("   ");
    p->post();
    EXPECT_EQ(scalar(db(), "SELECT CONCAT(name, '|', active, '|', type, '|', IFNULL(code, 'NULL')) FROM product").toString(),
              "Hleb beli|y|r|NULL");
}
