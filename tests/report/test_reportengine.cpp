#include "Error.h"
#include "MemoryTable.h"
#include "Modal.h"
#include "ReportEngine.h"

#include <QDate>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tarvex;

namespace {

// A stock card as the stock-history window fills it.
void fillCard(MemoryTable& card)
{
    card.addField("date", FieldType::Date).setDisplayLabel("Datum");
    card.addField("document", FieldType::String, 40).setDisplayLabel("Dokument");
    Field& in = card.addField("amountin", FieldType::Float);
    in.setDisplayLabel("Ulaz");
    in.setDisplayFormat("0.###");
    card.addField("documentid", FieldType::LargeInt).setVisible(false);
    card.addIndex("amountinD", "amountin", true);
    card.createDataSet();
    card.loadRecords({{QDate(2024, 1, 1), "Prethodno stanje", 10.0, QVariant()}, {QDate(2024, 2, 3), "K-17", 1234.5, 17},
                      {QDate(2024, 2, 9), "R-4", 0.25, 4}});
}

// Read back with Debian's own tools, not with our writer's knowledge.
QString runTool(const QString& program, const QStringList& arguments)
{
    QProcess tool;
    tool.start(program, arguments);
    if (!tool.waitForFinished(30000) || tool.exitCode() != 0)
        return QString();
    return QString::fromUtf8(tool.readAllStandardOutput());
}

} // namespace

TEST(ReportEngine, TheStockCardPrintsTheProductAboveItsVisibleRowsAndItsPdfAndSpreadsheetReadBack)
{
    MemoryTable card;
    fillCard(card);
    MemoryTable product;
    product.addField("name", FieldType::String, 100);
    product.addField("code", FieldType::String, 20);
    product.createDataSet();
    product.loadRecords({{"Mleko 2.8%", "001"}});

    const PrintJob job =
        TReportEngine::stockCardJob(card, product, "Kartica: Mleko", {"Od datuma 2024-01-01", "Do datuma 2024-03-05"});
    EXPECT_EQ(job.headerLines.last(), "Proizvod: Mleko 2.8%   Kod: 001");
    ASSERT_EQ(job.columns.size(), 3); // the hidden document id is not printed
    EXPECT_EQ(job.columns[2].alignment, Qt::AlignRight);
    EXPECT_EQ(job.rows[1], (QStringList{"2024-02-03", "K-17", "1234.5"}));

    bool previewed = false;
    ScopedModalHandler handler([&](QDialog& dialog) {
        previewed = qobject_cast<QPrintPreviewDialog*>(&dialog) != nullptr;
        return int(QDialog::Rejected);
    });
    TReportEngine().ExecuteStockCardReport(card, product, "Kartica", {});
    EXPECT_TRUE(previewed);

    // The PDF and the spreadsheet read back with the titles and rows.
    QTemporaryDir dir;
    const QString file = dir.filePath("kartica.pdf");
    ASSERT_TRUE(savePdf(printJobFromDataSet(card, "Kartica artikla Čokolada", {"Datum 2024-03-05"}), file));
    const QString text = runTool("pdftotext", {"-layout", file, "-"});
    ASSERT_FALSE(text.isEmpty()) << "pdftotext could not read the file";
    for (const char* expected : {"Kartica artikla Čokolada", "Datum 2024-03-05", "Dokument", "Ulaz", "Prethodno stanje",
                                 "K-17", "1234.5", "2024-02-09", "0.25", "Strana 1 / 1"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();

    // The export keeps the sort order in force and leaves the hidden column out.
    card.setIndexName("amountinD");
    const QString sheet = dir.filePath("kartica.xlsx");
    ExportDataSet(card, sheet);
    const QString csv = runTool("xlsx2csv", {"-d", ";", "-f", "%Y-%m-%d", sheet});
    ASSERT_FALSE(csv.isEmpty()) << "xlsx2csv could not read the file";
    EXPECT_EQ(csv.simplified(), "Datum;Dokument;Ulaz 2024-02-03;K-17;1234.5 2024-01-01;Prethodno stanje;10 "
                                "2024-02-09;R-4;0.25");
    EXPECT_THROW(ExportDataSet(card, "/nonexistent/dir/x.xlsx"), TarvexError);
}

