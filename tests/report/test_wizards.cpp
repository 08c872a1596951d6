#include "Console.h"
#include "HostStrings.h"
#include "ListCompare.h"
#include "Modal.h"
#include "PdfPages.h"
#include "PriceLabels.h"
#include "PrintPreview.h"
#include "ScriptedDialogs.h"
#include "Wizards.h"

#include <QAction>
#include <QHeaderView>
#include <QPrintPreviewDialog>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tarvex;
using tarvex::test::pdfPageCount;

namespace {

// Answers the preview's save-as-PDF question and presses the action.
void savePreviewAsPdf(QDialog& preview, ScriptedDialogs& dialogs, const QString& answer)
{
    auto* action = preview.findChild<QAction*>(kSavePdfActionName);
    ASSERT_NE(action, nullptr);
    dialogs.answer(answer);
    action->trigger();
}

// The product module's side of the labels: three products as it reads them
// for a warehouse (the reading itself is the module's own test).
class ShelfLabels : public ComObject<IPriceLabelService, IID_IPriceLabelService> {
public:
    QList<TPriceLabelDesc> GetPriceLabels(const QList<qint64>& ids, qint64 warehouseId) override
    {
        asked << warehouseId;
        QList<TPriceLabelDesc> rows;
        for (const TPriceLabelDesc& row : {TPriceLabelDesc{3, "Hleb", QString(), QString(), 50, "EUR"},
                                           {1, "Čokolada mlečna 100g", "C100", "5901234123457", 144, "RSD"},
                                           {2, "Kafa mlevena 500g", "K500", "4006381333931", 1234.5, "RSD"}})
            if (ids.contains(row.productId))
                rows << row;
        return rows;
    }
    QList<qint64> asked;
};

} // namespace

TEST(PriceLabelWizard, ParametersGiveLabelsInTheirOrderPrintTakesTheVisibleColumnsBothPreviewModallyAndSaveAPdfOrSayThereIsNothing)
{
    auto* labels = new ShelfLabels;
    Console console;
    console.addService(ComPtr<IInterface>(labels));
    PriceLabelRequest r = parsePriceLabelParameters(
        QStringLiteral("productids:1,2, 5;productquantities:1,3,2.5;documentnumber:MP-12;2024;warehouseid:3"));
    EXPECT_ROWS(r.productIds, (QList<qint64>{1, 2, 5}));
    EXPECT_ROWS(r.labelCounts, (QList<int>{1, 3, 3}));   // 2.5 kg still needs a third label
    EXPECT_EQ(r.documentNumber, QStringLiteral("MP-12;2024"));
    EXPECT_EQ(r.warehouseId, 3);

    // Keys in another order; quantities missing, zero or not numbers; an id that is not one.
    r = parsePriceLabelParameters(QStringLiteral("warehouseid:7;productquantities:0,9,abc,-2;productids:4,x,6,8,42"));
    EXPECT_ROWS(r.productIds, (QList<qint64>{4, 6, 8, 42}));
    EXPECT_ROWS(r.labelCounts, (QList<int>{0, 1, 0, 1}));
    EXPECT_EQ(r.warehouseId, 7);

    const QList<PriceLabel> result = loadPriceLabels(
        *labels, parsePriceLabelParameters(QStringLiteral("productids:1,2,999,3;productquantities:2,1,5,1;warehouseid:3")));
    QStringList shown;   // product 999 does not exist
    for (const PriceLabel& label : result)
        shown << QString::number(label.productId) + QLatin1Char(' ') + label.priceText();
    EXPECT_ROWS(shown, (QStringList{"1 144,00 RSD", "1 144,00 RSD", "2 1.234,50 RSD", "3 50,00 EUR"}));
    EXPECT_EQ(result[0].name, QStringLiteral("Čokolada mlečna 100g"));
    EXPECT_EQ(result[0].code, QStringLiteral("C100"));
    EXPECT_EQ(result[2].barcode, QStringLiteral("4006381333931"));
    EXPECT_ROWS(labels->asked, QList<qint64>{3});

    // The print wizard takes the visible columns in the order shown.
    QStandardItemModel listed(2, 4);
    listed.setHorizontalHeaderLabels({"Šifra", "Naziv", "Cena", "Stanje"});
    for (int c = 0; c < 4; ++c)
        listed.setItem(1, c, new QStandardItem(QStringLiteral("r1c%1").arg(c)));
    // A column takes the alignment of its first row; an empty cell prints empty.
    listed.setItem(0, 3, new QStandardItem(QStringLiteral("1,234.50")));
    listed.item(0, 3)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QTableView view;
    view.setModel(&listed);
    view.setColumnHidden(2, true);
    view.horizontalHeader()->moveSection(3, 0);

    const PrintJob job = printJobFromGrid(view, QStringLiteral("title:Inventar - Magacin 1;header:Datum 2024-03-05"));
    QStringList titles;
    for (const PrintColumn& column : job.columns)
        titles << column.title;
    EXPECT_ROWS(titles, (QStringList{"Stanje", "Šifra", "Naziv"}));
    EXPECT_EQ(job.columns[0].alignment, Qt::AlignRight);
    EXPECT_EQ(job.columns[1].alignment, Qt::AlignLeft);
    ASSERT_EQ(job.rows.size(), 2);
    EXPECT_ROWS(job.rows[0], (QStringList{"1,234.50", "", ""}));
    EXPECT_ROWS(job.rows[1], (QStringList{"r1c3", "r1c0", "r1c1"}));

    // The print and label wizards preview modally and save a PDF.
    QStandardItemModel model(30, 2);
    model.setHorizontalHeaderLabels({"Šifra", "Naziv"});
    QTableView grid;
    grid.setModel(&model);
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    QStringList previewTitles;
    ScopedModalHandler handler([&](QDialog& shown) {
        EXPECT_NE(qobject_cast<QPrintPreviewDialog*>(&shown), nullptr);
        previewTitles << shown.windowTitle();
        if (previewTitles.size() == 1) {
            savePreviewAsPdf(shown, dialogs, dir.filePath(QStringLiteral("inventar")));   // ".pdf" is added
            savePreviewAsPdf(shown, dialogs, QString());                                 // cancelled
            savePreviewAsPdf(shown, dialogs, QStringLiteral("/nonexistent/dir/x.pdf"));
        } else {
            savePreviewAsPdf(shown, dialogs, dir.filePath(QStringLiteral("nalepnice.pdf")));
        }
        return int(QDialog::Rejected);
    });
    EXPECT_TRUE(runWizard(CMN_PRINT_WIZ_NAME, QStringLiteral("title:Inventar;header:"), &grid, nullptr));
    EXPECT_EQ(pdfPageCount(dir.filePath(QStringLiteral("inventar.pdf"))), 1);
    ASSERT_EQ(dialogs.messages().size(), 1);   // only the failed save speaks
    EXPECT_TRUE(dialogs.messages()[0].contains(QStringLiteral("/nonexistent/dir/x.pdf")));

    EXPECT_TRUE(runWizard(CMN_PROD_INVENTORY_WIZ_NAME,
                          QStringLiteral("productids:1,2;productquantities:20,10;documentnumber:Proizvod;warehouseid:3"),
                          nullptr, &console));
    ASSERT_EQ(previewTitles.size(), 2);
    EXPECT_TRUE(previewTitles[0].contains(QStringLiteral("Inventar")));
    EXPECT_TRUE(previewTitles[1].contains(QStringLiteral("Proizvod")));
    EXPECT_EQ(pdfPageCount(dir.filePath(QStringLiteral("nalepnice.pdf"))), 2);   // 30 labels
    EXPECT_EQ(dialogs.messages().size(), 1);

    // With nothing to show they say so instead of a preview.
    dialogs.clear();
    runWizard(CMN_PROD_INVENTORY_WIZ_NAME, QStringLiteral("productids:998,999;warehouseid:3"), nullptr, &console);
    runWizard(CMN_PROD_INVENTORY_WIZ_NAME, QStringLiteral("productids:1;warehouseid:3"), nullptr, nullptr);
    runWizard(CMN_PRINT_WIZ_NAME, QStringLiteral("title:X"), nullptr, nullptr);
    grid.setColumnHidden(0, true);
    grid.setColumnHidden(1, true);
    runWizard(CMN_PRINT_WIZ_NAME, QStringLiteral("title:X"), &grid, nullptr);
    ASSERT_EQ(dialogs.messages().size(), 4);
    EXPECT_EQ(dialogs.messages()[1], CMN_NO_MODULE.arg(CMN_MOD_PRODUCT_NAME));   // no product module loaded

    // The retail book names the warehouse it was asked for; unknown wizards are refused.
    dialogs.clear();
    EXPECT_TRUE(runWizard(CMN_KEPU_WIZ_NAME, QStringLiteral("warehouse:Maloprodaja; Centar"), nullptr, nullptr));
    EXPECT_FALSE(runWizard(QStringLiteral("Nepoznat"), QString(), nullptr, nullptr));
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_TRUE(dialogs.messages()[0].contains(QStringLiteral("\"Maloprodaja; Centar\"")));
    EXPECT_EQ(previewTitles.size(), 2);   // no preview since
}
