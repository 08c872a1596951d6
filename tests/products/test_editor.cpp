#include "Console.h"
#include "HostStrings.h"
#include "Modal.h"
#include "Productdetailunit.h"
#include "Productresourcestring.h"
#include "Productsnapin.h"
#include "Productwarehousesunit.h"
#include "Productviewerunit.h"
#include "ScriptedDialogs.h"
#include "test_editor_support.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;

namespace {

QStringList pageCaptions(TProductDetailForm& form)
{
    QStringList captions;
    for (int i = 0; i < form.PageControl()->count(); ++i) {
        if (form.PageControl()->isTabVisible(i))
            captions << form.PageControl()->tabText(i);
    }
    return captions;
}

// The product service as another module sees it: records what it is asked to open.
class RecordingProductService final : public ComObject<IProductService, IID_IProductService> {
public:
    QList<QPair<qint32, qint32>> opened;

    bool GetProduct(TProductDesc&) override { return false; }
    TProductDescArr GetProduct(const QString&, bool, bool) override { return {}; }
    bool GetProduct(const QString&, TProductDesc&) override { return false; }
    bool GetProduct(qint32, qint32, TProductDesc&) override { return false; }
    TProductDescArr GetProductAll(qint32, TDoubleArray&) override { return {}; }
    double GetProductPrice(qint32, qint32) override { return 0; }
    double GetProductAmount(qint32, qint32) override { return 0; }
    QString GetProductCurrency(qint32) override { return {}; }
    bool GetProductAttribute(const QString&, TProductDesc&, qint32&) override { return false; }
    bool GetProduct(TProductDescArr&) override { return false; }
    void OpenProduct(qint32 productID, qint32 warehouseID) override { opened.append({productID, warehouseID}); }
};

// The console of the module for the length of a test.
struct ScopedConsole {
    ScopedConsole() { GlobalConsole = ComPtr<IConsole>(&console); }
    ~ScopedConsole() { GlobalConsole.reset(); }
    Console console;
};

} // namespace

class ProductEditor : public EditorTest {};

TEST_F(ProductEditor, ANewProductFromTheListsAddIsSavedWithItsDetails)
{
    ScriptedDialogs script;
    TProductViewerForm viewer;
    ASSERT_TRUE(viewer.ProductAdd->isEnabled());
    bool shown = false;
    ScopedModalHandler editor([&](QDialog& dialog) {
        auto& form = dynamic_cast<TProductDetailForm&>(dialog);
        shown = true;
        EXPECT_EQ(form.windowTitle(), "Proizvod");
        EXPECT_EQ(pageCaptions(form), (QStringList{"Opšte", "Detalji", "Rabat", "Slika", "Kasa", "Atributi"}));
        EXPECT_EQ(form.parentWidget(), &viewer);
        EXPECT_EQ(dm().ProductZQ->state(), DataSetState::Insert);
        // Defaults: the primary currency and tax rate, the product type's caption.
        EXPECT_EQ(form.PriceCurrDBE->text(), "RSD");
        EXPECT_EQ(form.InPriceCurrDBE->text(), "RSD");
        EXPECT_EQ(form.TaxEdit->text(), "PDV 20");
        EXPECT_DOUBLE_EQ(dm().ProductZQ->fieldByName("pricewithvat").asFloat(), 1.2);
        EXPECT_TRUE(form.InPriceCurrDBE->isReadOnly());
        EXPECT_FALSE(form.ProductCopy->isEnabled());
        EXPECT_FALSE(form.Warehouses->KasaAddDefaultProductWarehouse()->isEnabled());
        EXPECT_FALSE(form.ScannedDocumentAction->isEnabled());
        EXPECT_EQ(form.Warehouses->TotalLabel()->text(), "Ukupna slobodna količina: 0");
        form.PageControl()->setCurrentWidget(form.DetailsTS);
        form.PageControl()->setCurrentIndex(0);

        EditorTest::type(form.NameDBE, QStringLiteral("Čokolada 100g"));
        EditorTest::type(form.UnitNameDBE, QStringLiteral("kom"));
        EditorTest::type(form.PriceVATDBE, QStringLiteral("120"));
        EditorTest::type(form.DetailsTS->findChild<DBEdit*>("modelDBE"), QStringLiteral("Mlečna"));
        form.ApplyButton()->click();
        EXPECT_TRUE(script.messages().isEmpty()) << script.messages().join('\n').toStdString();
        // Saved once: copying and the warehouse actions are there without reopening.
        EXPECT_EQ(dm().ProductZQ->state(), DataSetState::Browse);
        EXPECT_TRUE(form.ProductCopy->isEnabled());
        EXPECT_TRUE(form.Warehouses->KasaAddDefaultProductWarehouse()->isEnabled());
        EXPECT_TRUE(form.ScannedDeleteAction->isEnabled());
        EXPECT_FALSE(form.CustomApply()->isEnabled());
        form.OKButton()->click();
        EXPECT_FALSE(form.isVisible());
        return form.result();
    });
    viewer.ProductAdd->trigger();
    ASSERT_TRUE(shown);
    EXPECT_TRUE(script.messages().isEmpty()) << script.messages().join('\n').toStdString();
    const QString id = stored("SELECT productid FROM product WHERE name = 'Čokolada 100g'").toString();
    ASSERT_FALSE(id.isEmpty());
    EXPECT_DOUBLE_EQ(stored("SELECT price FROM product WHERE productid = " + id).toDouble(), 100.0);
    EXPECT_EQ(stored("SELECT pricecurrency FROM product WHERE productid = " + id).toString(), "RSD");
    EXPECT_EQ(stored("SELECT model FROM productdetail WHERE productid = " + id).toString(), "Mlečna");
    EXPECT_EQ(dm().LoadedProductName, "Čokolada 100g");
}

TEST_F(ProductEditor, EachCheckRefusesWithItsMessageAndPostsNothing)
{
    struct Case {
        const char* what;
        std::function<void(TProductDetailForm&)> prepare;
        QString message;
    };
    const QList<Case> cases{
        {"colon in the name", [](TProductDetailForm& f) { type(f.NameDBE, "Sok: jabuka"); }, PROD_NAME_CHAR_ERR},
        {"apostrophe in the name", [](TProductDetailForm& f) { type(f.NameDBE, "Sok 'Jabuka'"); }, PROD_NAME_CHAR_ERR},
        {"backslash in the name", [](TProductDetailForm& f) { type(f.NameDBE, "Sok 1\\2"); }, PROD_NAME_CHAR_ERR},
        {"en dash in the name", [](TProductDetailForm& f) { type(f.NameDBE, QString("Sok ") + QChar(0x2013) + " 1l"); },
         PROD_NAME_CHAR_ERR},
        {"code required",
         [](TProductDetailForm& f) {
             dm().Options.ProductCodeRequired = true;
             type(f.NameDBE, "Sok");
         },
         PROD_CODE_INVALIDE_ERR},
        {"foreign name required",
         [](TProductDetailForm& f) {
             dm().Options.ForeignNameRequired = true;
             type(f.NameDBE, "Sok");
         },
         PROD_FOREI_NAME_INVALIDE_ERR},
        {"manufacturer required",
         [](TProductDetailForm& f) {
             dm().Options.ManufacturerNameRequired = true;
             type(f.NameDBE, "Sok");
         },
         PROD_MANUF_NAME_INVALIDE_ERR},
        {"category required",
         [](TProductDetailForm& f) {
             dm().Options.ProductCategoryRequired = true;
             type(f.NameDBE, "Sok");
         },
         PROD_CAT_PR_INVALIDE_ERR},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dm().Options = TProductOptions();
        newProduct();
        ScriptedDialogs script;
        TProductDetailForm form;
        type(form.UnitNameDBE, "kom");
        c.prepare(form);
        form.ApplyButton()->click();
        EXPECT_EQ(script.messages(), QStringList{c.message});
        EXPECT_EQ(script.shown().value(0).kind, MessageKind::Error);
        EXPECT_EQ(dm().ProductZQ->state(), DataSetState::Insert);
        EXPECT_EQ(stored("SELECT COUNT(*) FROM product").toInt(), 1);
        dm().ProductZQ->cancel();
    }
}

TEST_F(ProductEditor, TheSameNameWithoutTheColonSaves)
{
    ScriptedDialogs script;
    showProduct(10);
    TProductDetailForm form;
    type(form.NameDBE, "Mleko: 1l");
    form.ApplyButton()->click();
    EXPECT_EQ(script.messages(), QStringList{PROD_NAME_CHAR_ERR});
    type(form.NameDBE, "Mleko 1l");
    form.ApplyButton()->click();
    EXPECT_EQ(script.messages().size(), 1);
    EXPECT_EQ(stored("SELECT name FROM product WHERE productid = 10").toString(), "Mleko 1l");
}

TEST_F(ProductEditor, APluLocksTheNameAndTaxEvenBeforeTheEditIsLeft)
{
    dm().Options.ProductNameUnchangeable = true;
    sql("UPDATE product SET kasaplu = 7 WHERE productid = 10");
    ScriptedDialogs script;
    showProduct(10);
    TProductDetailForm form;
    type(form.NameDBE, "Mleko novo");
    EXPECT_EQ(dm().ProductZQ->fieldByName("name").asString(), "Mleko");  // still in the edit only
    form.ApplyButton()->click();
    EXPECT_EQ(script.messages(), QStringList{PROD_NAME_UNCHANGE_ERR});
    EXPECT_EQ(stored("SELECT name FROM product WHERE productid = 10").toString(), "Mleko");
    form.ChangeTaxButtonClick();
    EXPECT_EQ(script.messages().last(), PROD_TAX_UNCHANGE_ERR);

    // Other fields still save once the name is back.
    type(form.NameDBE, "Mleko");
    type(form.CodeDBE, "ML2");
    script.clear();
    form.ApplyButton()->click();
    EXPECT_TRUE(script.messages().isEmpty());
    EXPECT_EQ(stored("SELECT code FROM product WHERE productid = 10").toString(), "ML2");

    // Without a PLU the name changes freely.
    sql("UPDATE product SET kasaplu = NULL WHERE productid = 10");
    showProduct(10);
    TProductDetailForm unlocked;
    type(unlocked.NameDBE, "Mleko 2l");
    unlocked.ApplyButton()->click();
    EXPECT_TRUE(script.messages().isEmpty());
    EXPECT_EQ(stored("SELECT name FROM product WHERE productid = 10").toString(), "Mleko 2l");
    EXPECT_EQ(dm().LoadedProductName, "Mleko 2l");
}

TEST_F(ProductEditor, AProductWithStockCannotBeDeactivatedUnlessItIsAService)
{
    sql("INSERT INTO productwarehouse (productid, warehouseid, amount) VALUES (10, 1, 3)");
    ScriptedDialogs script;
    {
        // The box still holds the focus, so the field still reads active.
        showProduct(10);
        TProductDetailForm form;
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        form.ActiveDBCB->setFocus();
        QTest::keyClick(form.ActiveDBCB, Qt::Key_Space);
        ASSERT_TRUE(form.ActiveDBCB->hasFocus());
        ASSERT_TRUE(dm().ProductZQ->fieldByName("active").asBoolean());
        form.CustomApply()->trigger();  // by keyboard: the focus stays in the box
        EXPECT_EQ(script.messages(), QStringList{PROD_ACTIVE_INVALIDE_ERR});
        EXPECT_EQ(stored("SELECT active FROM product WHERE productid = 10").toString(), "y");
        form.CancelButton()->click();
    }
    {
        // A service with stock can be deactivated.
        sql("UPDATE product SET type = 'u' WHERE productid = 10");
        script.clear();
        showProduct(10);
        TProductDetailForm form;
        form.ActiveDBCB->click();
        form.ActiveDBCB->commit();
        form.ApplyButton()->click();
        EXPECT_TRUE(script.messages().isEmpty()) << script.messages().join('\n').toStdString();
        EXPECT_EQ(stored("SELECT active FROM product WHERE productid = 10").toString(), "n");
    }
}

TEST_F(ProductEditor, TheCloseCheckStaysDiscardsOrSaves)
{
    ScriptedDialogs script;
    showProduct(10);
    {
        TProductDetailForm form;
        form.show();
        type(form.NameDBE, "Mleko A");
        script.answer(ButtonCancel);
        EXPECT_FALSE(form.close());
        EXPECT_EQ(script.messages(), QStringList{CMN_SAVE_CHANGES_PROMT});
        EXPECT_EQ(script.shown().last().buttons, ButtonYes | ButtonNo | ButtonCancel);
        EXPECT_EQ(dm().ProductZQ->state(), DataSetState::Edit);

        script.answer(ButtonNo);
        EXPECT_TRUE(form.close());
        EXPECT_EQ(dm().ProductZQ->state(), DataSetState::Browse);
        EXPECT_EQ(dm().ProductZQ->fieldByName("name").asString(), "Mleko");
    }
    {
        TProductDetailForm form;
        form.show();
        type(form.NameDBE, "Mleko: B");
        script.clear();
        script.answer(ButtonYes);
        EXPECT_FALSE(form.close());  // the check fails: the window stays
        EXPECT_EQ(script.messages(), (QStringList{CMN_SAVE_CHANGES_PROMT, PROD_NAME_CHAR_ERR}));

        type(form.NameDBE, "Mleko B");
        script.answer(ButtonYes);
        EXPECT_TRUE(form.close());
        EXPECT_EQ(stored("SELECT name FROM product WHERE productid = 10").toString(), "Mleko B");
    }
    {
        // Nothing unsaved: no question.
        TProductDetailForm form;
        form.show();
        script.clear();
        EXPECT_TRUE(form.close());
        EXPECT_TRUE(script.messages().isEmpty());
    }
}

TEST_F(ProductEditor, OkOnAFailingCheckShowsTheErrorThenAsks)
{
    ScriptedDialogs script;
    showProduct(10);
    TProductDetailForm form;
    form.show();
    type(form.NameDBE, "Mleko: C");
    script.answer(ButtonCancel);
    form.OKButton()->click();
    EXPECT_EQ(script.messages(), (QStringList{PROD_NAME_CHAR_ERR, CMN_SAVE_CHANGES_PROMT}));
    EXPECT_TRUE(form.isVisible());
}

TEST_F(ProductEditor, CancelDropsTheChangesAndANewRow)
{
    ScriptedDialogs script;
    showProduct(10);
    {
        TProductDetailForm form;
        form.show();
        type(form.NameDBE, "Mleko D");
        type(form.DetailsTS->findChild<DBEdit*>("warrantyDBE"), "2 godine");
        EXPECT_TRUE(form.CustomApply()->isEnabled());
        form.CancelButton()->click();
        EXPECT_FALSE(form.isVisible());
        EXPECT_TRUE(script.messages().isEmpty());
        EXPECT_EQ(dm().ProductZQ->fieldByName("name").asString(), "Mleko");
    }
    EXPECT_EQ(stored("SELECT COUNT(*) FROM productdetail").toInt(), 0);
    newProduct();
    {
        TProductDetailForm form;
        form.show();
        type(form.NameDBE, "Novi");
        form.CancelButton()->click();
    }
    EXPECT_EQ(dm().ProductZQ->state(), DataSetState::Browse);
    EXPECT_EQ(dm().ProductZQ->recordCount(), 0);
    EXPECT_EQ(stored("SELECT COUNT(*) FROM product").toInt(), 1);
}

TEST_F(ProductEditor, CopyMakesANewProductWithoutCodesAndOpensIt)
{
    ScopedConsole scoped;
    auto* service = new RecordingProductService;
    scoped.console.addService(ComPtr<IInterface>(service));
    sql("UPDATE product SET kasaplu = 3 WHERE productid = 10");
    sql("INSERT INTO productcategorypr (productid, categoryprid) VALUES (10, 4)");
    sql("INSERT INTO productwarehouse (productid, warehouseid, amount) VALUES (10, 1, 3)");
    ScriptedDialogs script;
    showProduct(10);
    TProductDetailForm form;
    form.show();
    EXPECT_TRUE(form.ProductCopy->isEnabled());
    type(form.ExciseDBE, "2");
    EXPECT_FALSE(form.ProductCopy->isEnabled());  // only a saved product is copied
    form.ApplyButton()->click();
    ASSERT_TRUE(form.ProductCopy->isEnabled());

    form.ProductCopy->trigger();
    EXPECT_EQ(script.messages(), QStringList{PRODUCT_COPIED});
    EXPECT_EQ(script.shown().value(0).kind, MessageKind::Information);
    const qint32 copy = stored("SELECT productid FROM product WHERE name = 'Kopija Mleko'").toInt();
    ASSERT_GT(copy, 10);
    EXPECT_TRUE(stored(QString("SELECT code FROM product WHERE productid = %1").arg(copy)).isNull());
    EXPECT_TRUE(stored(QString("SELECT barcode FROM product WHERE productid = %1").arg(copy)).isNull());
    EXPECT_TRUE(stored(QString("SELECT kasaplu FROM product WHERE productid = %1").arg(copy)).isNull());
    EXPECT_DOUBLE_EQ(stored(QString("SELECT excise FROM product WHERE productid = %1").arg(copy)).toDouble(), 2.0);
    EXPECT_EQ(stored(QString("SELECT COUNT(*) FROM productcategorypr WHERE productid = %1").arg(copy)).toInt(), 1);
    EXPECT_EQ(stored(QString("SELECT COUNT(*) FROM productwarehouse WHERE productid = %1").arg(copy)).toInt(), 0);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(service->opened, (QList<QPair<qint32, qint32>>{{copy, 1}}));
}

TEST_F(ProductEditor, CopyWithoutTheProductServiceSaysTheModuleIsMissing)
{
    ScriptedDialogs script;
    showProduct(10);
    TProductDetailForm form;
    form.show();
    form.ProductCopy->trigger();
    EXPECT_EQ(script.messages(), (QStringList{PRODUCT_COPIED, CMN_NO_MODULE.arg(CMN_MOD_PRODUCT_NAME)}));
    EXPECT_TRUE(form.isVisible());
}

TEST_F(ProductEditor, OptionsHideAndLockThePrices)
{
    ScriptedDialogs script;
    showProduct(10);
    dm().Options.ProductHideInPrices = true;
    dm().Options.LockRecommendedPriceRebate = true;
    {
        TProductDetailForm form;
        form.show();
        EXPECT_FALSE(form.InPriceDBE->isVisible());
        EXPECT_FALSE(form.SupplyPriceDBE->isVisible());
        EXPECT_FALSE(form.RebateL->isVisible());
        EXPECT_TRUE(form.PriceDBE->isVisible());
        EXPECT_FALSE(form.PriceDBE->isReadOnly());
        EXPECT_TRUE(form.RecommendedRebateDBE->isReadOnly());
        EXPECT_FALSE(form.RatePriceE->isVisible());
        EXPECT_FALSE(form.PriceFormulaDBE->isVisible());
    }
    dm().Options = TProductOptions();
    dm().Options.OnlyDocumentChangePrices = true;
    TProductDetailForm form;
    form.show();
    EXPECT_TRUE(form.InPriceDBE->isVisible());
    for (QLineEdit* edit : {form.InPriceDBE, form.SupplyPriceDBE, form.RebateDBE, form.PriceDBE, form.PriceVATDBE,
                            form.RecommendedPriceWithVATDBE, form.RecommendedRebateDBE})
        EXPECT_TRUE(edit->isReadOnly()) << edit->objectName().toStdString();
    EXPECT_FALSE(form.ExciseDBE->isReadOnly());
}

TEST_F(ProductEditor, TheRatePriceFollowsTheDefaultExchangeList)
{
    ScriptedDialogs script;
    dm().Options.ShowRatePrice = true;
    showProduct(10);
    {
        // No matching exchange row: the price itself.
        TProductDetailForm form;
        form.show();
        EXPECT_TRUE(form.RatePriceE->isVisible());
        EXPECT_EQ(form.RatePriceE->text(), "100.00");
    }
    sql("INSERT INTO exchangelist (exchangelistid, listtype) VALUES (1, 'Podraz. lista'), (2, 'Druga')");
    sql("INSERT INTO currencyexchange (exchangelistid, code1, code2, code1amount, code2amount) VALUES "
        "(2, 'RSD', 'EUR', 1, 5), (1, 'EUR', 'RSD', 1, 117.2)");
    TProductDetailForm form;
    form.show();
    // code1 is the other currency: code1amount / code2amount.
    EXPECT_EQ(form.RatePriceE->text(), "0.85");
    type(form.PriceDBE, "234.4");
    form.PriceDBE->commit();
    form.PriceDBEExit();
    EXPECT_EQ(form.RatePriceE->text(), "2.00");
}
