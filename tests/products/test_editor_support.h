#pragma once
// Shared ground of the product editor tests: every test starts from the same
// shop (every table emptied, then two currencies, two tax rates, two
// warehouses and one product), with helpers to put the data module's product
// list on a product and to type into bound controls. Messages go to the
// fixture's script unless a test puts the real dialogs up.

#include "Attributeunit.h"
#include "Clock.h"
#include "DBControls.h"
#include "Productattributesunit.h"
#include "Productdetailunit.h"
#include "ProductDMFixture.h"
#include "RandomSource.h"
#include "ScriptedDialogs.h"
#include "SqlText.h"
#include "test_refwindows.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <optional>

namespace tarvex::test {

class EditorTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        sql("INSERT INTO currency (code, name, status) VALUES ('RSD', 'Dinar', 'primary'), ('EUR', 'Evro', "
            "'standard')");
        sql("INSERT INTO tax (taxid, name, value, status) VALUES (1, 'PDV 20', 20, 'primary'), (2, 'PDV 10', 10, "
            "'standard')");
        sql("INSERT INTO warehouse (warehouseid, name, code, status) VALUES (1, 'Glavni', 'GL', 'primary'), (2, "
            "'Drugi', 'DR', 'standard')");
        sql("INSERT INTO product (productid, name, code, barcode, type, unitname, taxid, price, pricecurrency, "
            "inputprice, inputpricecurrency, supplyprice, planprice, active) VALUES (10, 'Mleko', 'ML1', "
            "'8600001', 'r', 'kom', 1, 100, 'RSD', 80, 'RSD', 80, 90, 'y')");
        dm().Options = products::TProductOptions();
        dm().Options.DefaultExchangeList = QStringLiteral("Podraz. lista");
    }
    void TearDown() override
    {
        dm().ProductAttributeZQ->cancelUpdates();
        hostClock().reset();
        randomSource().reseedFromSystem();
        dm().ProductZQ->close();
        WindowTest::TearDown();
    }

    // ProductZQ with a new row appended, as the list's Add leaves it.
    static void newProduct()
    {
        openProduct(-1);
        dm().ProductZQ->append();
    }
    // Types into a bound edit as the user does; the text goes into the
    // field only when the edit is left or the window saves.
    static void type(DBEdit* edit, const QString& text)
    {
        edit->selectAll();
        // One key event carrying the whole text (QTest's keys are ASCII only).
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
        QCoreApplication::sendEvent(edit, &press);
    }
    // A column of the product as stored.
    static QString column(const char* name, qint64 id = 10)
    {
        return text(QStringLiteral("SELECT %1 FROM product WHERE productid = %2").arg(QLatin1String(name)).arg(id));
    }
    static int rows(const QString& table, const QString& where = QStringLiteral("1"))
    {
        return scalar(db(), QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2").arg(table, where)).toInt();
    }
    // A rebate row typed into the rebate page's list.
    static void addRebate(double quantity, double rebate, const char* type)
    {
        products::QueryDataSet& rows = *dm().ProductRebateZQ;
        rows.append();
        rows.fieldByName("quantity").setValue(quantity);
        rows.fieldByName("rebate").setValue(rebate);
        rows.fieldByName("rebatetype").setValue(QString::fromUtf8(type));
        rows.post();
    }
    struct Pick {
        qint64 attributeId;
        qint64 valueId;
    };
    // Presses "Dodaj" of the variants; the attribute picker is answered from
    // the list: a pick confirms that attribute and value, nothing cancels.
    static void addVariant(products::TProductDetailForm& form, QList<std::optional<Pick>> picks)
    {
        const auto add = [&form] { form.AttributesTS->AddAttribute()->trigger(); };
        inModal<products::TAttributeForm>(add, [&picks](products::TAttributeForm& window) {
            EXPECT_FALSE(picks.isEmpty()) << "an unexpected pick";
            const std::optional<Pick> pick = picks.isEmpty() ? std::nullopt : picks.takeFirst();
            if (pick) {
                EXPECT_TRUE(dm().AttributePrZQ->locate("attributeprid", pick->attributeId));
                EXPECT_TRUE(dm().AttributePrValueZQ->locate("attributeprvalueid", pick->valueId));
            }
            QTest::mouseClick(pick ? window.OKButton() : window.CloseButton(), Qt::LeftButton);
        });
        EXPECT_TRUE(picks.isEmpty());
    }
    static bool pageShown(QTabWidget* pages, QWidget* page) { return pages->isTabVisible(pages->indexOf(page)); }

    ScriptedDialogs script;
};

} // namespace tarvex::test
