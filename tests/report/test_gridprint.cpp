#include "GridPrint.h"
#include "PdfPages.h"

#include <QPdfWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tarvex;
using tarvex::test::pdfPageCount;

namespace {

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

TEST(GridPrint, ParsesTheWizardsParametersPaginatesEveryRowOnceFitsWideColumnsAndSavesAPdfOfThosePages)
{
    QString title;
    QStringList lines;
    parsePrintParameters(QStringLiteral("title:Promet - Magacin 1;header:Od datuma 2024-01-01\r\nDo datuma 2024-03-05"),
                         &title, &lines);
    EXPECT_EQ(title, QStringLiteral("Promet - Magacin 1"));
    EXPECT_EQ(lines, (QStringList{QStringLiteral("Od datuma 2024-01-01"), QStringLiteral("Do datuma 2024-03-05")}));

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

