// The editor as a whole: a new product from the list, the checks of a save,
// the close question, cancel, copy, the price options, a save the database
// refuses half way, and deleting from the list; and its cached lists:
// rebates and working operations are written only by apply (new products'
// rows get the new id) and dropped by cancel, the working-operations and
// fixed-asset pages follow the product type, and moving an operation swaps
// positions.

#include "Format.h"
#include "HostStrings.h"
#include "Modal.h"
#include "Productfixedassetpage.h"
#include "Productkasaunit.h"
#include "Productrebatepage.h"
#include "Productresourcestring.h"
#include "Productviewerunit.h"
#include "Productwarehousesunit.h"
#include "Productworkoperationspage.h"
#include "UserDriving.h"
#include "test_alter_console.h"
#include "test_editor_support.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;

class ProductEditor : public EditorTest {};

// A new product from the list's Add: its defaults; the pages' actions wait
// for its first save; a save the server refuses half way leaves every
// dataset as the user left it, and the next apply saves it all, the rebates
// typed before it with the new id; after it a variant is added and the
// cash-register page's warehouse button adds it to the default warehouse once.
TEST_F(ProductEditor, ANewProductFromTheListsAddOutlivesARefusedSaveAndTheNextApplySavesItWithItsRows)
{
    sql("INSERT INTO attributepr (attributeprid, attribute, sort) VALUES (2, 'Veličina', 1)");
    sql("INSERT INTO attributeprvalue (attributeprvalueid, attributeprid, attributevalue, sort) VALUES (4, 2, 'L', 1)");
    // The server refuses one detail text: the failure comes after the product row went in.
    sql("CREATE TRIGGER productdetail_refuses BEFORE INSERT ON productdetail FOR EACH ROW "
        "IF NEW.model = 'kvar' THEN SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'model refused'; END IF");
    TProductViewerForm viewer;
    ASSERT_TRUE(viewer.ProductAdd->isEnabled());
    inModal<TProductDetailForm>([&] { viewer.ProductAdd->trigger(); }, [&](TProductDetailForm& form) {
        QTabWidget* pages = form.PageControl();
        QStringList titles;
        for (int i = 0; i < pages->count(); ++i)
            if (pages->isTabVisible(i))
                titles << pages->tabText(i);
        EXPECT_ROWS(titles, (QStringList{"Opšte", "Detalji", "Rabat", "Slika", "Kasa", "Atributi"}));
        EXPECT_EQ(form.parentWidget(), &viewer);
        EXPECT_EQ(dm().ProductZQ->state(), DataSetState::Insert);
        // Defaults: the primary currency and tax rate, the product type's caption.
        EXPECT_EQ(form.PriceCurrDBE->text(), "RSD");
        EXPECT_EQ(form.InPriceCurrDBE->text(), "RSD");
        EXPECT_EQ(form.TaxEdit->text(), "PDV 20");
        EXPECT_DOUBLE_EQ(dm().ProductZQ->fieldByName("pricewithvat").asFloat(), 1.2);
        EXPECT_TRUE(form.InPriceCurrDBE->isReadOnly());
        EXPECT_EQ(form.Warehouses->TotalLabel()->text(), "Ukupna slobodna količina: 0");
        EXPECT_TRUE(ProductDM->ProductRebateZQ->isEmpty());
        EXPECT_TRUE(ProductDM->ProductAttributeZQ->isEmpty());
        QPushButton* addDefault = nullptr;
        for (QPushButton* button : form.KasaTS->findChildren<QPushButton*>())
            if (button->text() == "Dodaj u podrazumevani magacin")
                addDefault = button;
        ASSERT_NE(addDefault, nullptr);
        // The cards, print and labels only.
        EXPECT_EQ(form.Warehouses->findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly).size(), 4);
        for (QAction* action : {form.KasaTS->AutoPLU(), form.KasaTS->ClearPLU(), form.KasaTS->AutoPLUVireo(),
                                form.LoadDetailsFromCategory, form.AttributesTS->AddAttribute(),
                                form.AttributesTS->RemoveAttribute(), form.ProductCopy, form.ScannedDocumentAction})
            EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
        EXPECT_FALSE(addDefault->isEnabled());

        type(form.NameDBE, QStringLiteral("Čokolada 100g"));
        type(form.UnitNameDBE, QStringLiteral("kom"));
        type(form.PriceVATDBE, QStringLiteral("180"));
        pages->setCurrentWidget(form.DetailsTS);
        DBEdit* model = form.DetailsTS->findChild<DBEdit*>("modelDBE");
        ASSERT_TRUE(model);
        type(model, QStringLiteral("kvar"));
        addRebate(100, 5, "I");
        addRebate(10, 2.5, "P");
        // The cursor stays on the row just typed.
        EXPECT_EQ(ProductDM->ProductRebateZQ->fieldByName("quantity").asFloat(), 10);
        QTest::mouseClick(form.ApplyButton(), Qt::LeftButton);
        sql("DROP TRIGGER productdetail_refuses");
        EXPECT_EQ(script.messages().size(), 1);
        EXPECT_EQ(rows("product"), 1); // the one the test started with
        EXPECT_EQ(rows("productrebate"), 0);
        EXPECT_EQ(dm().ProductZQ->state(), DataSetState::Insert);
        EXPECT_EQ(dm().ProductDetailZQ->state(), DataSetState::Insert);
        EXPECT_TRUE(dm().ProductZQ->fieldByName("productid").isNull());
        EXPECT_DOUBLE_EQ(dm().ProductZQ->fieldByName("price").asFloat(), 150); // from the price with VAT
        EXPECT_EQ(model->text(), "kvar");
        EXPECT_TRUE(form.CustomApply()->isEnabled());
        EXPECT_FALSE(form.ProductCopy->isEnabled()); // still a new product

        type(model, QStringLiteral("Mlečna"));
        type(form.PriceDBE, "12.3457");
        QTest::mouseClick(form.ApplyButton(), Qt::LeftButton);
        EXPECT_EQ(script.messages().size(), 1) << script.messages().join('\n').toStdString();
        const qint64 id = dm().ProductZQ->fieldByName("productid").asLargeInt();
        ASSERT_GT(id, 10);
        EXPECT_EQ(rows("product"), 2);
        EXPECT_ROWS(rowsOf(db(), QStringLiteral("SELECT p.price, p.pricecurrency, d.model FROM product AS p JOIN "
                                                "productdetail AS d ON d.productid = p.productid WHERE p.productid = %1")
                                     .arg(id)),
                    QStringList{"12.3457|RSD|Mlečna"});
        EXPECT_ROWS(rowsOf(db(), "SELECT productid, quantity, rebate, rebatetype FROM productrebate ORDER BY quantity"),
                    (QStringList{QStringLiteral("%1|10|2.5|P").arg(id), QStringLiteral("%1|100|5|I").arg(id)}));
        EXPECT_EQ(dm().ProductZQ->state(), DataSetState::Browse);
        EXPECT_FALSE(ProductDM->ProductRebateZQ->updatesPending());
        EXPECT_FALSE(form.CustomApply()->isEnabled());

        // Saved once: the actions are there without reopening.
        for (QAction* action : {form.AttributesTS->AddAttribute(), form.KasaTS->AutoPLU(), form.ProductCopy,
                                form.ScannedDeleteAction})
            ASSERT_TRUE(action->isEnabled()) << action->text().toStdString();
        script.answer(ButtonNo);
        addVariant(form, {Pick{2, 4}});
        form.ApplyButton()->click();
        EXPECT_EQ(rows("productattribute", QStringLiteral("productid = %1").arg(id)), 1);

        ASSERT_TRUE(addDefault->isEnabled());
        script.clear();
        addDefault->click();
        EXPECT_ROWS(script.messages(), QStringList{PRODWARE_ADD_INF});
        // At the product's price, to the last decimal.
        EXPECT_ROWS(rowsOf(db(), "SELECT p.name, pw.warehouseid, pw.price FROM productwarehouse AS pw JOIN "
                                 "product AS p ON p.productid = pw.productid"),
                    QStringList{"Čokolada 100g|1|12.3457"});
        EXPECT_EQ(dm().ProductWarehouseZQ->recordCount(), 1);
        addDefault->click();
        EXPECT_EQ(script.messages().last(), PRODWARE_EXIST_WRN);
        EXPECT_EQ(script.shown().last().kind, MessageKind::Warning);
        EXPECT_EQ(rows("productwarehouse"), 1);
        form.OKButton()->click();
        EXPECT_FALSE(form.isVisible());
    });
    EXPECT_EQ(dm().LoadedProductName, "Čokolada 100g");
}

// Which check refuses a save, and in which order, the data module's save
// tests tell; here the window shows the refusal as an error and stores
// nothing, and cancel drops the row. Under the option a PLU locks the name before the edit is left,
// and the tax rate.
TEST_F(ProductEditor, ARefusedNameIsShownAsAnErrorNothingIsStoredAndCancelDropsTheRow)
{
    sql("UPDATE product SET kasaplu = 7 WHERE productid = 10");
    const QString dash = QString("Sok ") + QChar(0x2013) + " 1l";
    const std::pair<QString, QString> cases[] = {
        {"Sok: jabuka", PROD_NAME_CHAR_ERR}, {"Sok 'Jabuka'", PROD_NAME_CHAR_ERR}, {"Sok 1\\2", PROD_NAME_CHAR_ERR},
        {dash, PROD_NAME_CHAR_ERR}, {"Mleko novo", PROD_NAME_UNCHANGE_ERR}};
    for (const auto& [name, error] : cases) {
        SCOPED_TRACE(name.toStdString());
        const bool locked = error == PROD_NAME_UNCHANGE_ERR;
        dm().Options.ProductNameUnchangeable = locked;
        locked ? openProduct(10) : newProduct();
        script.clear();
        TProductDetailForm form;
        type(form.UnitNameDBE, "kom");
        type(form.NameDBE, name);
        EXPECT_EQ(dm().ProductZQ->fieldByName("name").asString(), locked ? "Mleko" : ""); // in the edit only
        form.ApplyButton()->click();
        EXPECT_ROWS(script.messages(), QStringList{error});
        EXPECT_EQ(script.shown().value(0).kind, MessageKind::Error);
        EXPECT_EQ(dm().ProductZQ->state(), locked ? DataSetState::Edit : DataSetState::Insert);
        EXPECT_ROWS(rowsOf(db(), "SELECT name FROM product"), QStringList{"Mleko"});
        if (locked) {
            click(form.ChangeTaxButton);
            EXPECT_EQ(script.messages().last(), PROD_TAX_UNCHANGE_ERR);
        }
        // Cancel drops the change, and a new row.
        form.CancelButton()->click();
        EXPECT_EQ(dm().ProductZQ->state(), DataSetState::Browse);
        EXPECT_EQ(dm().ProductZQ->recordCount(), locked ? 1 : 0);
    }
}

// One window after another on the product: what is typed into the name, the
// answer to the close question, how the window is left; whether it went, what
// was said and the name the product then has (the stored one once it went).
TEST_F(ProductEditor, TheCloseCheckStaysDiscardsOrSavesAndCancelDropsTheChanges)
{
    enum Way { Close, Ok, Cancel };
    struct Step { const char* typed; int answer; Way way; bool gone; QStringList said; const char* name; };
    const Step steps[] = {
        {"Mleko A", ButtonCancel, Close, false, {CMN_SAVE_CHANGES_PROMT}, "Mleko"}, // still only in the edit
        {nullptr, ButtonNo, Close, true, {CMN_SAVE_CHANGES_PROMT}, "Mleko"},
        // The check fails: the window stays; OK shows the error, then asks.
        {"Mleko: B", ButtonYes, Close, false, {CMN_SAVE_CHANGES_PROMT, PROD_NAME_CHAR_ERR}, "Mleko: B"},
        {nullptr, ButtonCancel, Ok, false, {PROD_NAME_CHAR_ERR, CMN_SAVE_CHANGES_PROMT}, "Mleko: B"},
        {"Mleko B", ButtonYes, Close, true, {CMN_SAVE_CHANGES_PROMT}, "Mleko B"},
        // Cancel drops what was typed (a detail too) without a word.
        {"Mleko D", 0, Cancel, true, {}, "Mleko B"},
        // Nothing unsaved: no question.
        {nullptr, 0, Close, true, {}, "Mleko B"},
    };
    openProduct(10);
    std::unique_ptr<TProductDetailForm> form;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.typed ? step.typed : "-");
        if (!form) {
            form = std::make_unique<TProductDetailForm>();
            form->show();
        }
        if (step.typed) {
            type(form->NameDBE, QString::fromUtf8(step.typed));
            if (step.way == Cancel)
                type(form->DetailsTS->findChild<DBEdit*>("warrantyDBE"), "2 godine");
            EXPECT_TRUE(form->CustomApply()->isEnabled());
        }
        script.clear();
        if (step.answer)
            script.answer(step.answer);
        if (step.way == Close) {
            EXPECT_EQ(form->close(), step.gone);
        } else {
            (step.way == Ok ? form->OKButton() : form->CancelButton())->click();
        }
        EXPECT_EQ(form->isVisible(), !step.gone);
        EXPECT_EQ(script.messages(), step.said);
        for (const ScriptedDialogs::Shown& shown : script.shown())
            EXPECT_TRUE(shown.text != CMN_SAVE_CHANGES_PROMT || shown.buttons == (ButtonYes | ButtonNo | ButtonCancel));
        EXPECT_EQ(dm().ProductZQ->state(), step.gone ? DataSetState::Browse : DataSetState::Edit);
        EXPECT_EQ(dm().ProductZQ->fieldByName("name").asString(), step.name);
        if (step.gone)
            form.reset();
    }
    EXPECT_EQ(column("name"), "Mleko B");
    EXPECT_EQ(rows("productdetail"), 0);
}

// The product is a service with stock, which may be deactivated (a stocked
// product's refusal is driven in test_user_slips, Alt+P from the box). The
// rows a copy carries beside the product: test_productdm_lookups.
TEST_F(ProductEditor, CopyMakesANewProductWithoutCodesAndOpensItAndAServiceWithStockIsDeactivated)
{
    sql("UPDATE product SET kasaplu = 3, type = 'u' WHERE productid = 10");
    sql("INSERT INTO productwarehouse (productid, warehouseid, amount) VALUES (10, 1, 3)");
    openProduct(10);
    {
        // Without the product service the copy is made, and the module is said missing.
        TProductDetailForm form;
        form.show();
        form.ProductCopy->trigger();
        EXPECT_ROWS(script.messages(), (QStringList{PRODUCT_COPIED, CMN_NO_MODULE.arg(CMN_MOD_PRODUCT_NAME)}));
        EXPECT_TRUE(form.isVisible());
        form.CancelButton()->click();
    }
    sql("DELETE FROM product WHERE productid <> 10");
    script.clear();
    altertest::TestConsole console;
    openProduct(10);
    TProductDetailForm form;
    form.show();
    EXPECT_TRUE(form.ProductCopy->isEnabled());
    type(form.ExciseDBE, "2");
    EXPECT_FALSE(form.ProductCopy->isEnabled()); // only a saved product is copied
    form.ActiveDBCB->click();
    form.ActiveDBCB->commit();
    form.ApplyButton()->click();
    EXPECT_EQ(script.messages(), QStringList());
    EXPECT_EQ(column("active"), "n");
    ASSERT_TRUE(form.ProductCopy->isEnabled());

    form.ProductCopy->trigger();
    EXPECT_ROWS(script.messages(), QStringList{PRODUCT_COPIED});
    EXPECT_EQ(script.shown().value(0).kind, MessageKind::Information);
    const qint32 copy = text("SELECT productid FROM product WHERE name = 'Kopija Mleko'").toInt();
    ASSERT_GT(copy, 10);
    EXPECT_ROWS(rowsOf(db(), QString("SELECT code, barcode, kasaplu, excise FROM product WHERE productid = %1").arg(copy)),
                QStringList{"-|-|-|2"});
    EXPECT_FALSE(form.isVisible());
    EXPECT_ROWS(console.products().opened, (QList<QPair<qint32, qint32>>{{copy, 1}}));
}

TEST_F(ProductEditor, OptionsHideAndLockThePricesAndTheRatePriceFollowsTheDefaultExchangeList)
{
    openProduct(10);
    products::TProductOptions& o = dm().Options;
    o.ProductHideInPrices = o.LockRecommendedPriceRebate = true;
    {
        TProductDetailForm form;
        form.show();
        for (QWidget* hidden : std::initializer_list<QWidget*>{form.InPriceDBE, form.SupplyPriceDBE, form.RebateL,
                                                               form.RatePriceE, form.PriceFormulaDBE})
            EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
        EXPECT_TRUE(form.PriceDBE->isVisible());
        EXPECT_FALSE(form.PriceDBE->isReadOnly());
        EXPECT_TRUE(form.RecommendedRebateDBE->isReadOnly());
    }
    o.ProductHideInPrices = o.LockRecommendedPriceRebate = false;
    o.OnlyDocumentChangePrices = o.ShowRatePrice = true;
    {
        TProductDetailForm form;
        form.show();
        EXPECT_TRUE(form.InPriceDBE->isVisible());
        for (QLineEdit* edit : {form.InPriceDBE, form.SupplyPriceDBE, form.RebateDBE, form.PriceDBE, form.PriceVATDBE,
                                form.RecommendedPriceWithVATDBE, form.RecommendedRebateDBE})
            EXPECT_TRUE(edit->isReadOnly()) << edit->objectName().toStdString();
        EXPECT_FALSE(form.ExciseDBE->isReadOnly());
        // No matching exchange row: the rate price is the price itself.
        EXPECT_TRUE(form.RatePriceE->isVisible());
        EXPECT_EQ(form.RatePriceE->text(), "100,00");
    }
    o.OnlyDocumentChangePrices = false;
    sql("INSERT INTO exchangelist (exchangelistid, listtype) VALUES (1, 'Podraz. lista'), (2, 'Druga')");
    sql("INSERT INTO currencyexchange (exchangelistid, code1, code2, code1amount, code2amount) VALUES "
        "(2, 'RSD', 'EUR', 1, 5), (1, 'EUR', 'RSD', 1, 117.2)");
    TProductDetailForm form;
    form.show();
    // code1 is the other currency: code1amount / code2amount.
    EXPECT_EQ(form.RatePriceE->text(), "0,85");
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::mouseClick(form.PriceDBE, Qt::LeftButton);
    type(form.PriceDBE, "234.4");
    QTest::keyClick(form.PriceDBE, Qt::Key_Tab);
    EXPECT_EQ(form.RatePriceE->text(), "2,00");
}

TEST_F(ProductEditor, DeletingFromTheListRefusesWithTheReasonOrAsksAndTakesTheProduct)
{
    sql("INSERT INTO product (productid, name, unitname, taxid, pricecurrency) VALUES (11, 'Sok', 'l', 1, 'RSD')");
    sql("INSERT INTO productwarehouse (productid, warehouseid, amount) VALUES (11, 1, 4)");
    sql("INSERT INTO document (documentid, documentdate, documenttype, number, status) VALUES (1, '2026-02-01', 'R', '8', 'p')");
    sql("INSERT INTO documentitem (documentid, productid, quantity) VALUES (1, 10, 2)");
    const auto viewer = productListWindow("p.productid IN (10, 11)");
    DBGrid* grid = viewer->DBG();
    QWidget* deleteButton = viewer->toolBar()->widgetForAction(viewer->ProductDelete);
    ASSERT_TRUE(deleteButton);
    // Rows by name: Mleko (named by a posted receipt), Sok.
    clickCell(grid, "name", 0);
    QTest::mouseClick(deleteButton, Qt::LeftButton);
    EXPECT_ROWS(script.messages(), QStringList{tarvex::Format(PROD_DELETE_DOCUMENTS_ERR, {"Mleko", "R 8"})});

    clickCell(grid, "name", 1);
    ASSERT_EQ(productZQ().fieldByName("productid").asInteger(), 11);
    script.clear();
    script.answer(ButtonNo);
    QTest::mouseClick(deleteButton, Qt::LeftButton);
    EXPECT_ROWS(script.messages(), QStringList{tarvex::Format(PROD_DELETE_STOCK_CNF, {"Sok"})});
    EXPECT_EQ(script.shown().last().buttons, ButtonYes | ButtonNo | DefaultNo);
    EXPECT_EQ(rows("product"), 2);
    // Yes takes the product from the list and the database: test_deletes.
}

class EditorLists : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        sql("INSERT INTO product (productid, name, unitname, taxid, pricecurrency, type) VALUES "
            "(20, 'Sto', 'kom', 1, 'RSD', 'p'), (21, 'Stolica', 'kom', 1, 'RSD', 'p')");
        // Operations of another product give the machine lists their values.
        sql("INSERT INTO productworkingoperation (productid, machinetype, machinenumber, sort) VALUES "
            "(20, 'Strug', 'S-1', 1), (20, 'Brusilica', 'B-7', 2), (21, 'Strug', 'S-2', 1)");
    }
    static QStringList operationsInOrder(TProductDetailForm& form)
    {
        return columnTexts(form.WorkOperationsTS->WorkingOperationDBG(), "machinetype");
    }
    static QStringList operationsStored()
    {
        return rowsOf(db(), "SELECT machinetype FROM productworkingoperation WHERE productid = 20 ORDER BY sort");
    }
};

TEST_F(EditorLists, TheOperationsAndFixedAssetPagesFollowTheSavedType)
{
    openProduct(10);
    TProductDetailForm form;
    const auto setType = [](const char* type) {
        dm().ProductZQ->edit();
        dm().ProductZQ->fieldByName("type").setValue(QString::fromUtf8(type));
    };
    EXPECT_TRUE(ProductDM->FixedAssetZQ->isActive());
    EXPECT_TRUE(ProductDM->FixedAssetZQ->isEmpty());
    // Each page is hidden until an apply saves a type that has it.
    const std::pair<QWidget*, const char*> pages[] = {{form.WorkOperationsTS, "l"}, {form.FixedAssetTS, "o"}};
    for (const auto& [page, type] : pages) {
        EXPECT_FALSE(pageShown(form.PageControl(), page));
        setType(type);
        EXPECT_FALSE(pageShown(form.PageControl(), page));
        form.CustomApply()->trigger();
        EXPECT_TRUE(pageShown(form.PageControl(), page));
        setType("r");
        form.CustomApply()->trigger();
        EXPECT_FALSE(pageShown(form.PageControl(), page));
    }
}

// Reopened, the operations come in the stored order and the list buttons
// open their windows.
TEST_F(EditorLists, CancelDropsCachedRowsMovingAnOperationSwapsPositionsUntilApplyAndTheListButtonsOpenTheirWindows)
{
    openProduct(20);
    {
        TProductDetailForm form;
        TProductWorkOperationsPage& page = *form.WorkOperationsTS;
        QueryDataSet& ops = *ProductDM->ProductWorkingOperationZQ;
        addRebate(5, 1, "T");
        ops.first();
        ops.deleteRecord();
        EXPECT_TRUE(form.CustomApply()->isEnabled());
        form.CustomCancel()->trigger();
        EXPECT_EQ(script.messages(), QStringList());
        EXPECT_EQ(rows("productrebate"), 0);
        EXPECT_EQ(rows("productworkingoperation", "productid = 20"), 2);

        ops.first();
        ASSERT_ROWS(operationsInOrder(form), QStringList({"Strug", "Brusilica"}));
        // On the first row nothing moves up.
        EXPECT_FALSE(page.WOItemMoveUp()->isEnabled());
        EXPECT_FALSE(ops.updatesPending());

        ops.next();
        EXPECT_TRUE(page.WOItemMoveUp()->isEnabled());
        page.WOItemMoveUp()->trigger();
        EXPECT_ROWS(operationsInOrder(form), QStringList({"Brusilica", "Strug"}));
        EXPECT_EQ(ops.fieldByName("machinetype").asString(), "Brusilica");
        EXPECT_EQ(ops.fieldByName("sort").asInteger(), 1);
        EXPECT_ROWS(operationsStored(), QStringList({"Strug", "Brusilica"}));

        // Nor down from the last row.
        ops.last();
        EXPECT_FALSE(page.WOItemMoveDown()->isEnabled());

        // While a row is edited, or the list is in another order, nothing moves.
        ops.first();
        ops.edit();
        EXPECT_FALSE(page.WOItemMoveDown()->isEnabled());
        ops.cancel();
        EXPECT_TRUE(page.WOItemMoveDown()->isEnabled());
        ops.setSortedFields(QStringLiteral("machinetype"));
        EXPECT_FALSE(page.WOItemMoveDown()->isEnabled());
        ops.setSortedFields(QStringLiteral("sort"));

        form.CustomApply()->trigger();
        EXPECT_ROWS(operationsStored(), QStringList({"Brusilica", "Strug"}));
    }
    openProduct(20);
    TProductDetailForm form;
    EXPECT_ROWS(operationsInOrder(form), QStringList({"Brusilica", "Strug"}));
    EXPECT_ROWS(form.WorkOperationsTS->machineTypes(), QStringList({"Brusilica", "Strug"}));
    EXPECT_ROWS(form.WorkOperationsTS->machineNumbers(), QStringList({"B-7", "S-1", "S-2"}));
    form.show();
    // Without a console there is no production module: said, and the editor stays.
    form.ProductRaws->trigger();
    form.ProductProducts->trigger();
    EXPECT_ROWS(script.messages(), QStringList(2, "Modul \"Proizvodnja\" nije dostupan."));
    EXPECT_TRUE(form.isVisible());

    QStringList opened;
    ScopedModalHandler windows([&](QDialog& dialog) {
        opened << dialog.windowTitle();
        dialog.reject();
        return int(QDialog::Rejected);
    });
    form.ProductPackaging->trigger(); // ends with the editor closed
    EXPECT_FALSE(form.isVisible());
    form.show();
    form.AlternativesAction->trigger();
    EXPECT_FALSE(form.isVisible());
    EXPECT_ROWS(opened, (QStringList{"Ambalaža", "Zamene"}));
}
