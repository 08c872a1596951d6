#include "Error.h"
#include "GridPrint.h"
#include "ListCompare.h"
#include "MemoryTable.h"
#include "PdfPages.h"
#include "ReportEngine.h"
#include "SpreadsheetExport.h"

#include <QDate>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tarvex;
using tarvex::test::pdfPageCount;

namespace {

// Read back with Debian's own tools, not with our writer's knowledge.
QString runTool(const QString& program, const QStringList& arguments)
{
    QProcess tool;
    tool.start(program, arguments);
    if (!tool.waitForFinished(30000) || tool.exitCode() != 0)
        return QString();
    return QString::fromUtf8(tool.readAllStandardOutput());
}


PrintJob stockJob(int rows)
{
    PrintJob job;
    job.title = QStringLiteral("Inventar - Glavni magacin");
    job.headerLines = {QStringLiteral("Datum 2024-03-05")};
    job.columns = {{"Šifra", Qt::AlignLeft}, {"Naziv", Qt::AlignLeft}, {"Količina", Qt::AlignRight}};
    for (int i = 0; i < rows; ++i)
        job.rows << QStringList{QString::number(1000 + i), QStringLiteral("Čokolada mlečna %1").arg(i),
                                QString::number(i * 1.5, 'f', 2)};
    return job;
}

} // namespace

// Its preview is the stock-history window's print button (test_stockhistory).
TEST(ReportEngine, TheStockCardPrintsTheProductAboveItsVisibleRowsItsPdfAndSpreadsheetReadBackAndSheetsKeepNumberFormats)
{
    // A stock card as the stock-history window fills it.
    MemoryTable card;
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
    EXPECT_ROWS(job.rows[1], (QStringList{"03.02.2024", "K-17", "1234,5"}));

    // The PDF and the spreadsheet read back with the titles and rows.
    QTemporaryDir dir;
    const QString pdf = dir.filePath("kartica.pdf");
    ASSERT_TRUE(savePdf(printJobFromDataSet(card, "Kartica artikla Čokolada", {"Datum 2024-03-05"}), pdf));
    const QString text = runTool("pdftotext", {"-layout", pdf, "-"});
    ASSERT_FALSE(text.isEmpty()) << "pdftotext could not read the file";
    for (const char* expected : {"Kartica artikla Čokolada", "Datum 2024-03-05", "Dokument", "Ulaz", "Prethodno stanje",
                                 "K-17", "1234,5", "09.02.2024", "0,25", "Strana 1 / 1"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();

    // The export keeps the sort order in force and leaves the hidden column out.
    card.setIndexName("amountinD");
    const QString exported = dir.filePath("kartica.xlsx");
    ExportDataSet(card, exported);
    const QString csv = runTool("xlsx2csv", {"-d", ";", "-f", "%Y-%m-%d", exported});
    ASSERT_FALSE(csv.isEmpty()) << "xlsx2csv could not read the file";
    EXPECT_EQ(csv.simplified(), "Datum;Dokument;Ulaz 2024-02-03;K-17;1234.5 2024-01-01;Prethodno stanje;10 "
                                "2024-02-09;R-4;0.25");
    EXPECT_THROW(ExportDataSet(card, "/nonexistent/dir/x.xlsx"), TarvexError);

    // Display formats become spreadsheet formats; numbers are written as numbers, texts as texts.
    const QString file = dir.filePath(QStringLiteral("pregled.xlsx"));
    SheetTable table;
    table.sheetName = QStringLiteral("Pregled: zalihe");
    table.columns = {{"Šifra", SheetColumn::Kind::Text, {}}, {"Količina", SheetColumn::Kind::Number, "0.###"},
                     {"Datum", SheetColumn::Kind::Date, {}}};
    table.rows = {{"00123", 1234.5, QDate(2024, 3, 5)}, {"Đak ćčšž", QVariant(), QVariant()}, {"x", 21.0, QVariant()},
                  {"y", 20.9999999, QVariant()}};
    QString error;
    ASSERT_TRUE(writeSpreadsheet(table, file, &error)) << error.toStdString();

    const QString sheet = runTool("unzip", {"-p", file, "xl/worksheets/sheet1.xml"});
    const QString strings = runTool("unzip", {"-p", file, "xl/sharedStrings.xml"});
    const QString workbook = runTool("unzip", {"-p", file, "xl/workbook.xml"});
    const QString styles = runTool("unzip", {"-p", file, "xl/styles.xml"});
    ASSERT_FALSE(sheet.isEmpty()) << "unzip could not read the file";
    // 1234.5 is a number cell, the code keeps its leading zeros as text; 2024-03-05 is a spreadsheet date
    // serial; 21 and 20.9999999 (21 at three decimals) take the whole-number style "0", 1234.5 keeps "0.###".
    for (const auto& [part, wanted] : {std::pair{&sheet, "<v>1234.5</v>"}, {&strings, "00123"}, {&strings, "Đak ćčšž"},
                                     {&sheet, "<v>45356</v>"}, {&workbook, "Pregled_ zalihe"},
                                     {&styles, "formatCode=\"0.###\""}, {&styles, "formatCode=\"0\""}})
        EXPECT_TRUE(part->contains(QString::fromUtf8(wanted))) << wanted << "\n" << part->toStdString();
    // The empty cells of the second row are left out, not written as zero.
    EXPECT_FALSE(sheet.contains(QStringLiteral("B3")));
    auto styleOf = [&](const QString& cell) {
        const int at = sheet.indexOf(QStringLiteral("r=\"") + cell + QLatin1Char('"'));
        const int s = sheet.indexOf(QStringLiteral("s=\""), at);
        return sheet.mid(s, sheet.indexOf(QLatin1Char('"'), s + 3) - s);
    };
    EXPECT_EQ(styleOf("B4"), styleOf("B5"));
    EXPECT_NE(styleOf("B4"), styleOf("B2"));
    // A file that cannot be written: ExportDataSet's refusal above.

    for (const auto& [display, sheet] : {std::pair{"#,##0.00", "#,##0.00"}, {"0.00 %", "0.00\" %\""}, {"0.###", "0.###"}})
        EXPECT_EQ(spreadsheetNumberFormat(display), sheet);
    // Whole numbers of optional-decimal formats lose the trailing point.
    for (const auto& [display, whole] : {std::pair{"#,##0.######", "#,##0"}, {"0.## kg", "0\" kg\""}, {"#,##0.00", ""},
                                         {"0.0#", ""}, {"0", ""}})
        EXPECT_EQ(wholeNumberFormat(display), whole) << display;
}

TEST(GridPrint, ParsesTheWizardsParametersPaginatesEveryRowOnceFitsWideColumnsAndSavesAPdfOfThosePages)
{
    QString title;
    QStringList lines;
    parsePrintParameters(QStringLiteral("title:Promet - Magacin 1;header:Od datuma 2024-01-01\r\nDo datuma 2024-03-05"),
                         &title, &lines);
    EXPECT_EQ(title, QStringLiteral("Promet - Magacin 1"));
    EXPECT_ROWS(lines, (QStringList{QStringLiteral("Od datuma 2024-01-01"), QStringLiteral("Do datuma 2024-03-05")}));

    // A title holding ';' and an empty header.
    parsePrintParameters(QStringLiteral("title:A;B;header:"), &title, &lines);
    EXPECT_EQ(title, QStringLiteral("A;B"));
    EXPECT_TRUE(lines.isEmpty());

    // Every row once over the pages, the headers on each.
    QTemporaryDir dir;
    const PrintJob job = stockJob(250);
    QPdfWriter writer(dir.filePath(QStringLiteral("layout.pdf")));
    writer.setResolution(300);
    GridPrintLayout layout(job, writer);

    ASSERT_GE(layout.pageCount(), 3);
    int covered = 0;
    for (int page = 0; page < layout.pageCount(); ++page) {
        EXPECT_EQ(layout.firstRow(page), covered);
        EXPECT_GT(layout.rowCount(page), 0);
        covered += layout.rowCount(page);
    }
    EXPECT_EQ(covered, 250);
    // The title and header lines take room on the first page only.
    EXPECT_LT(layout.rowCount(0), layout.rowCount(1));
    EXPECT_EQ(layout.pageNumberText(1), QStringLiteral("Strana 2 / %1").arg(layout.pageCount()));

    // An empty list still prints one page with its column headers.
    const PrintJob empty = stockJob(0);
    GridPrintLayout emptyLayout(empty, writer);
    EXPECT_EQ(emptyLayout.pageCount(), 1);
    EXPECT_EQ(emptyLayout.rowCount(0), 0);

    // Wide columns are fitted to the page width, and turn the page.
    PrintJob wide = stockJob(5);
    wide.rows[2][1] = QString(400, QLatin1Char('W'));
    const GridPrintLayout wideLayout(wide, writer);
    int total = 0;
    for (int w : wideLayout.columnWidths())
        total += w;
    EXPECT_LE(total, writer.pageLayout().paintRectPixels(writer.resolution()).width());
    EXPECT_EQ(preferredOrientation(wide), QPageLayout::Landscape);
    EXPECT_EQ(preferredOrientation(stockJob(5)), QPageLayout::Portrait);

    // The saved PDF has one page per layout page.
    const QString file = dir.filePath(QStringLiteral("inventar.pdf"));
    QString error;
    ASSERT_TRUE(savePdf(job, file, &error)) << error.toStdString();

    QPdfWriter probe(dir.filePath(QStringLiteral("probe.pdf")));
    probe.setResolution(300);
    probe.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), preferredOrientation(job), QMarginsF(12, 12, 12, 12),
                                    QPageLayout::Millimeter));
    EXPECT_EQ(pdfPageCount(file), GridPrintLayout(job, probe).pageCount());  // -1 for no PDF

    EXPECT_FALSE(savePdf(job, QStringLiteral("/nonexistent/dir/x.pdf"), &error));
    EXPECT_FALSE(error.isEmpty());
}
