#include "Getproductunit.h"
#include "ProductDMFixture.h"
#include "Productnavigatorunit.h"
#include "Productviewerunit.h"
#include "SearchValueList.h"
#include "test_refwindows.h"
#include "test_workerstop.h"

#include <gtest/gtest.h>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;

class ProductPickerTest : public ProductDMTest {
protected:
    static void SetUpTestSuite()
    {
        ProductDMTest::SetUpTestSuite();
        sql("INSERT INTO tax (taxid, name, value, status) VALUES (1, 'PDV20', 20, 'primary'), (2, 'PDV10', 10, 'standard')");
        sql("INSERT INTO warehouse (warehouseid, name, status) VALUES (1, 'Glavni', 'primary'), (5, 'Ostava', 'standard')");
        sql("INSERT INTO product (productid, name, code, barcode, unitname, taxid, price, recommendedprice, "
            "recommendedrebate, pricecurrency, type, active) VALUES "
            "(1, 'Mleko', 'M1', '8600000000011', 'l', 1, 100, 130, 5, 'RSD', 'r', 'y'),"
            "(2, 'Mleko kozje', 'M2', '8600000000028', 'l', 2, 200, 0, 0, 'RSD', 'r', 'n'),"
            "(3, 'Med', 'M3', '8600000000035', 'kg', 2, 900, 0, 0, 'RSD', 'r', 'y'),"
            "(4, 'Med livadski', 'M4', '8600000000035', 'kg', 2, 950, 0, 0, 'EUR', 'u', 'y')");
        sql("INSERT INTO productwarehouse (productid, warehouseid, amount, price) VALUES (1, 5, 7.5, 110), (2, 5, 3, 210)");
        sql("INSERT INTO productattribute (productattributeid, productid, prodattbarcode) VALUES (77, 1, '2240012303032')");
    }
};

TEST_F(ProductPickerTest, SilentSearchesByBarcodeCodeOrNameAndDirectQueriesByIdAndForAWarehouse)
{
    // Barcode wins over code; only active products.
    TProductDescArr found = ProductGet("8600000000011", true, true);
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found[0].productID, 1);
    EXPECT_EQ(found[0].taxName, "PDV20");
    EXPECT_EQ(found[0].taxValue, 20);
    found = ProductGet("Mleko", false, false);
    ASSERT_EQ(found.size(), 1); // the inactive one is left out
    EXPECT_EQ(ProductGet("M", true, false).size(), 3);

    TProductDesc desc;
    desc.name = "untouched";
    EXPECT_FALSE(ProductGet("8600000000035", desc)); // two products share it
    EXPECT_EQ(desc.name, "untouched");
    EXPECT_TRUE(ProductGet("8600000000028", desc)); // inactive ones are found by barcode
    EXPECT_EQ(desc.productID, 2);
    EXPECT_EQ(desc.productType, QLatin1Char('r'));

    qint32 variant = -1;
    EXPECT_TRUE(ProductGetAttribute("8600000000011", desc, variant));
    EXPECT_EQ(variant, -1); // the product's own barcode is no variant's

    // By identifier and for a warehouse.
    ASSERT_TRUE(ProductGet(2, 5, desc));
    // The product's own price, not the warehouse's.
    EXPECT_EQ(desc.price, 200);
    EXPECT_EQ(desc.taxName, "PDV10");
    EXPECT_EQ(desc.recommendedPrice, 0);
    ASSERT_TRUE(ProductGet(1, 5, desc));
    EXPECT_DOUBLE_EQ(desc.recommendedPrice, 130);
    EXPECT_FALSE(ProductGet(99, 5, desc));

    TDoubleArray amounts{42};
    EXPECT_EQ(ProductGetAll(0, amounts).size(), 3);
    EXPECT_TRUE(amounts.isEmpty());
    const TProductDescArr stocked = ProductGetAll(5, amounts);
    ASSERT_EQ(stocked.size(), 1); // product 2 has stock there but is inactive
    EXPECT_EQ(stocked[0].productID, 1);
    EXPECT_EQ(amounts, TDoubleArray{7.5});
    EXPECT_DOUBLE_EQ(stocked[0].recommendedPrice, 0); // not filled by this query
    amounts = {1, 2};
    EXPECT_TRUE(ProductGetAll(9, amounts).isEmpty());
    EXPECT_EQ(amounts, (TDoubleArray{1, 2}));
}

TEST_F(ProductPickerTest, ThePickerConfirmsOnlyWithARowAndSeveralWithNoneMarkedIsTheCurrentOne)
{
    TProductDesc desc;
    desc.name = "untouched";
    dm().ProductZQ->close(); // no search yet: the list is empty
    inModal<TGetProductForm>([&] { EXPECT_TRUE(ProductGet(desc)); }, [](TGetProductForm& form) {
        QTest::mouseClick(form.okButton(), Qt::LeftButton); // an empty list: nothing happens
        EXPECT_TRUE(form.isVisible());
        form.navigator()->SearchVLE()->setValue("name", "Me");
        QTest::mouseClick(form.navigator()->FindButton(), Qt::LeftButton);
        doubleClickCell(form.viewer()->DBG(), "name", 0); // a double-click confirms
    });
    EXPECT_EQ(desc.name, "Med");

    desc.name = "untouched";
    inModal<TGetProductForm>([&] { EXPECT_FALSE(ProductGet(desc)); },
                             [](TGetProductForm& form) { form.cancelButton()->click(); });
    EXPECT_EQ(desc.name, "untouched");

    // Picking several with none marked takes the current row (the marked
    // ones, in the order clicked: test_user_paths).
    TProductDescArr descs;
    inModal<TGetProductForm>([&] { EXPECT_TRUE(ProductGet(descs)); }, [](TGetProductForm& form) {
        form.navigator()->SearchVLE()->setValue("name", "Med l");
        QTest::mouseClick(form.navigator()->FindButton(), Qt::LeftButton);
        form.viewer()->DBG()->selectionModel()->clearSelection();
        form.okButton()->click();
    });
    ASSERT_EQ(descs.size(), 1);
    EXPECT_EQ(descs[0].name, "Med livadski");
}

TEST_F(ProductPickerTest, TheWholeCatalogueIsReadOnAWorkerAndPrekiniKeepsTheListShown)
{
    TProductNavigatorForm panel;
    panel.show();
    panel.SearchVLE()->setValue("name", "Med");
    QTest::mouseClick(panel.FindButton(), Qt::LeftButton);
    QueryDataSet& found = *dm().ProductZQ;
    ASSERT_EQ(found.recordCount(), 2);

    // No criteria: the whole catalogue, read while another session holds a
    // table of the statement, until "Prekini".
    panel.SearchVLE()->setValue("name", "");
    const workerstop::Stop stop = workerstop::stopWhileLocked(
        db(), "productalter", *panel.SearchBar(), "Proizvodi",
        [&] { QTest::mouseClick(panel.FindButton(), Qt::LeftButton); },
        [&] {
            EXPECT_FALSE(panel.FindButton()->isEnabled());
            EXPECT_EQ(found.recordCount(), 2);
        });
    EXPECT_TRUE(stop.clicked);
    EXPECT_TRUE(found.isActive());
    EXPECT_EQ(found.fieldByName("name").asString(), "Med");
    EXPECT_EQ(found.recordCount(), 2);
    EXPECT_TRUE(panel.FindButton()->isEnabled());

    // Unhindered, it lists every product, the inactive one too.
    QTest::mouseClick(panel.FindButton(), Qt::LeftButton);
    EXPECT_EQ(found.recordCount(), 4);
}
