// The editor's fixed-asset page: shown for type o, dates snapped to the first
// of their month, the percentage computed from the months between them, the
// two depreciation groups picked from sibling modules, and the asset row
// posted by apply but kept by Cancel for the close check to ask about.

#include "DBControls.h"
#include "HostStrings.h"
#include "Productdetailunit.h"
#include "Productfixedassetpage.h"
#include "Productsnapin.h"
#include "ScriptedDialogs.h"
#include "Siblingintf.h"
#include "test_alter_console.h"
#include "test_editor_support.h"

#include <QAction>
#include <QTabWidget>
#include <gtest/gtest.h>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;

namespace {

// A depreciation-group module that hands out one group.
template <const QUuid& Iid>
class GroupPicker final : public ComObject<IDepreciationGroupService, Iid> {
public:
    GroupPicker(qint64 id, double percent) : m_id(id), m_percent(percent) {}
    bool GetGroup(qint64& id, double& percent) override
    {
        id = m_id;
        percent = m_percent;
        return true;
    }

private:
    qint64 m_id;
    double m_percent;
};

Field& asset(const char* name)
{
    return ProductDM->FixedAssetZQ->fieldByName(QString::fromUtf8(name));
}

} // namespace

class EditorFixedAsset : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        sql("INSERT INTO depreciationgroup (depreciationgroupid, percent) VALUES (3, 15)");
        sql("INSERT INTO depreciationaccountinggroup (depreciationaccountinggroupid, percent) VALUES (4, 12.5)");
        sql("INSERT INTO product (productid, name, unitname, taxid, pricecurrency, type) VALUES "
            "(30, 'Viljuškar', 'kom', 1, 'RSD', 'o')");
        sql("INSERT INTO fixedasset (productid, inventorynumber, location, depreciationstartdate, "
            "depreciationenddate, depreciationpercent, depreciationgroupid, depreciationaccountinggroupid) VALUES "
            "(30, 'INV-1', 'Magacin A', '2020-01-01', '2024-12-01', 0, 3, 4)");
    }
    // The asset row in edit state with a percentage, as the user leaves it.
    static void setPercent(double percent)
    {
        ProductDM->FixedAssetZQ->edit();
        asset("depreciationpercent").setValue(percent);
    }
};

TEST_F(EditorFixedAsset, ThePageShowsTheAssetOfAFixedAssetOnly)
{
    ScriptedDialogs script;
    showProduct(30);
    TProductDetailForm form;
    ASSERT_TRUE(pageShown(form.PageControl(), form.FixedAssetTS));
    EXPECT_EQ(pageTitle(form.PageControl(), form.FixedAssetTS), "Osnovno sredstvo");
    EXPECT_EQ(form.FixedAssetTS->InventoryNumberDBE->text(), "INV-1");
    EXPECT_EQ(form.FixedAssetTS->DepreciationGroupPercentDBE->text(), "15");
    EXPECT_EQ(form.FixedAssetTS->LocationDBCB->findText("Magacin A"), 0);
    form.close();

    // Another product: hidden until an apply makes it a fixed asset.
    showProduct(10);
    TProductDetailForm other;
    EXPECT_FALSE(pageShown(other.PageControl(), other.FixedAssetTS));
    EXPECT_TRUE(ProductDM->FixedAssetZQ->isActive());
    EXPECT_TRUE(ProductDM->FixedAssetZQ->isEmpty());
    for (const char* type : {"o", "r"}) {
        ProductDM->ProductZQ->edit();
        ProductDM->ProductZQ->fieldByName("type").setValue(QString::fromUtf8(type));
        other.CustomApply()->trigger();
        EXPECT_EQ(pageShown(other.PageControl(), other.FixedAssetTS), type == std::string("o"));
    }
}

TEST_F(EditorFixedAsset, DatesSnapToTheirMonthAndThePercentageFollowsTheMonths)
{
    ScriptedDialogs script;
    showProduct(30);
    TProductDetailForm form;
    TProductFixedAssetPage& page = *form.FixedAssetTS;

    page.DepreciationCalculateBClick();
    EXPECT_EQ(asset("depreciationpercent").asFloat(), 20);  // 60 months

    script.answer(QDate(2021, 3, 17));
    page.DepreciationStartDateBClick();
    EXPECT_EQ(script.shown().last().text, "2020-01-01");
    EXPECT_EQ(asset("depreciationstartdate").asDate(), QDate(2021, 3, 1));
    EXPECT_EQ(asset("depreciationenddate").asDate(), QDate(2021, 3, 1));
    page.DepreciationCalculateBClick();
    EXPECT_EQ(asset("depreciationpercent").asFloat(), 100);  // one month gives 1200

    script.answer(QDate(2023, 3, 28));
    page.DepreciationEndDateBClick();
    EXPECT_EQ(asset("depreciationenddate").asDate(), QDate(2023, 3, 1));
    page.DepreciationCalculateBClick();
    EXPECT_EQ(asset("depreciationpercent").asFloat(), 50);  // 24 months
    script.answer(QDate(2022, 1, 5));
    page.DepreciationEndDateBClick();
    page.DepreciationCalculateBClick();
    EXPECT_EQ(asset("depreciationpercent").asFloat(), 100);  // 11 months give 109.09

    // A cancelled date changes nothing.
    script.answer(QDate());
    page.DepreciationEndDateBClick();
    EXPECT_EQ(asset("depreciationenddate").asDate(), QDate(2022, 1, 1));
    script.answer(QDate(2019, 5, 20));
    page.PurchaseDateBClick();
    EXPECT_EQ(asset("purchasedate").asDate(), QDate(2019, 5, 20));

    form.CustomApply()->trigger();
    EXPECT_EQ(stored("SELECT CONCAT(depreciationstartdate, ' ', depreciationenddate, ' ', depreciationpercent, ' ', "
                     "purchasedate) FROM fixedasset WHERE productid = 30")
                  .toString(),
              "2021-03-01 2022-01-01 100 2019-05-20");
}

TEST_F(EditorFixedAsset, GroupsComeFromTheSiblingModulesWhenLoaded)
{
    ScriptedDialogs script;
    showProduct(30);
    TProductDetailForm form;
    TProductFixedAssetPage& page = *form.FixedAssetTS;
    // Without the modules the buttons do nothing.
    page.DepreciationGroupBClick();
    page.DepreciationAccountingGroupBClick();
    EXPECT_EQ(ProductDM->FixedAssetZQ->state(), DataSetState::Browse);
    EXPECT_TRUE(script.messages().isEmpty());

    altertest::TestConsole scoped(false);
    scoped.console.addService(ComPtr<IInterface>(new GroupPicker<IID_IDepreciationGroupService>(5, 15)));
    scoped.console.addService(ComPtr<IInterface>(new GroupPicker<IID_IDepreciationAccountingGroupService>(6, 15)));
    // The tax group sets the percentage only where there is none.
    page.DepreciationGroupBClick();
    EXPECT_EQ(asset("depreciationgroupid").asLargeInt(), 5);
    EXPECT_EQ(page.DepreciationGroupPercentDBE->text(), "15");
    EXPECT_EQ(asset("depreciationpercent").asFloat(), 15);
    setPercent(10);
    page.DepreciationGroupBClick();
    EXPECT_EQ(asset("depreciationpercent").asFloat(), 10);
    // The accounting group always does.
    page.DepreciationAccountingGroupBClick();
    EXPECT_EQ(asset("depreciationaccountinggroupid").asLargeInt(), 6);
    EXPECT_EQ(asset("DepreciationAccountingGroupPercent").asFloat(), 15);
    EXPECT_EQ(asset("depreciationpercent").asFloat(), 15);
    setPercent(0);
    page.DepreciationAccountingGroupBClick();
    EXPECT_EQ(asset("depreciationpercent").asFloat(), 15);
}

TEST_F(EditorFixedAsset, CancelKeepsAnEditedAssetForTheCloseCheck)
{
    ScriptedDialogs script;
    showProduct(30);
    {
        TProductDetailForm form;
        ProductDM->FixedAssetZQ->edit();
        asset("inventorynumber").setValue(QStringLiteral("INV-2"));
        // Cancel leaves the asset edited, so the close check asks; No drops it.
        script.answer(ButtonNo);
        form.CustomCancel()->trigger();
        EXPECT_EQ(script.messages(), QStringList{CMN_SAVE_CHANGES_PROMT});
        EXPECT_EQ(ProductDM->FixedAssetZQ->state(), DataSetState::Browse);
    }
    EXPECT_EQ(stored("SELECT inventorynumber FROM fixedasset WHERE productid = 30").toString(), "INV-1");

    script.clear();
    TProductDetailForm form;
    ProductDM->FixedAssetZQ->edit();
    asset("inventorynumber").setValue(QStringLiteral("INV-3"));
    script.answer(ButtonYes);
    form.CustomCancel()->trigger();
    EXPECT_EQ(stored("SELECT inventorynumber FROM fixedasset WHERE productid = 30").toString(), "INV-3");
}
