#include "GridPrint.h"

#include <QFile>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tarvex;

namespace {

PrintJob stockJob(int rows)
{
    PrintJob job;
    job.title = QStringLiteral("Inventar - Glavni magacin");
    job.headerLines = {QStringLiteral("Datum 2024-03-05")};
    job.columns = {{QStringLiteral("Šifra"), Qt::AlignLeft},
                   {QStringLiteral("Naziv"), Qt::AlignLeft},
                   {QStringLiteral("Količina"), Qt::AlignRight}};
    for (int i = 0; i < rows; ++i)
        job.rows << QStringList{QString::number(1000 + i), QStringLiteral("Čokolada mlečna %1").arg(i),
                                QString::number(i * 1.5, 'f', 2)};
    return job;
}

int pdfPageCount(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
    int pages = 0;
    for (auto it = page.globalMatch(QString::fromLatin1(file.readAll())); it.hasNext(); it.next())
        ++pages;
    return pages;
}

} // namespace

TEST(GridPrint, ParsesTheWizardParameterString)
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
}

TEST(GridPrint, TakesVisibleColumnsInOrderWithTheirDisplayTexts)
{
    QStandardItemModel model(2, 3);
    model.setHorizontalHeaderLabels({QStringLiteral("Kod"), QStringLiteral("Ime"), QStringLiteral("Cena")});
    model.setItem(0, 0, new QStandardItem(QStringLiteral("A1")));
    model.setItem(0, 1, new QStandardItem(QStringLiteral("Hleb")));
    auto* price = new QStandardItem(QStringLiteral("1,234.50"));
    price->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    model.setItem(0, 2, price);
    model.setItem(1, 1, new QStandardItem(QStringLiteral("Mleko")));

    const PrintJob job = printJobFromModel(model, {2, 1}, QStringLiteral("Proizvodi"), {});
    ASSERT_EQ(job.columns.size(), 2);
    EXPECT_EQ(job.columns[0].title, QStringLiteral("Cena"));
    EXPECT_EQ(job.columns[0].alignment, Qt::AlignRight);
    EXPECT_EQ(job.columns[1].title, QStringLiteral("Ime"));
    ASSERT_EQ(job.rows.size(), 2);
    EXPECT_EQ(job.rows[0], (QStringList{QStringLiteral("1,234.50"), QStringLiteral("Hleb")}));
    EXPECT_EQ(job.rows[1], (QStringList{QString(), QStringLiteral("Mleko")}));
}

TEST(GridPrint, PaginatesEveryRowOnceWithHeadersOnEachPage)
{
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
}

TEST(GridPrint, WideColumnsAreFittedToThePageWidth)
{
    QTemporaryDir dir;
    PrintJob job = stockJob(5);
    job.rows[2][1] = QString(400, QLatin1Char('W'));
    QPdfWriter writer(dir.filePath(QStringLiteral("wide.pdf")));
    writer.setResolution(300);
    GridPrintLayout layout(job, writer);
    int total = 0;
    for (int w : layout.columnWidths())
        total += w;
    EXPECT_LE(total, writer.pageLayout().paintRectPixels(writer.resolution()).width());
    EXPECT_EQ(preferredOrientation(job), QPageLayout::Landscape);
    EXPECT_EQ(preferredOrientation(stockJob(5)), QPageLayout::Portrait);
}

TEST(GridPrint, SavesAPdfWithOnePagePerLayoutPage)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("inventar.pdf"));
    const PrintJob job = stockJob(120);
    QString error;
    ASSERT_TRUE(savePdf(job, file, &error)) << error.toStdString();

    QFile pdf(file);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5).startsWith("%PDF"));
    pdf.close();

    QPdfWriter probe(dir.filePath(QStringLiteral("probe.pdf")));
    probe.setResolution(300);
    probe.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), preferredOrientation(job), QMarginsF(12, 12, 12, 12),
                                    QPageLayout::Millimeter));
    EXPECT_EQ(pdfPageCount(file), GridPrintLayout(job, probe).pageCount());

    EXPECT_FALSE(savePdf(job, QStringLiteral("/nonexistent/dir/x.pdf"), &error));
    EXPECT_FALSE(error.isEmpty());
}
