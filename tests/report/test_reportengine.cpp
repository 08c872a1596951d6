#include "MemoryTable.h"
#include "Modal.h"
#include "ReportEngine.h"

#include <QDate>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QRegularExpression>
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
    const std::tuple<QDate, const char*, double> rows[] = {
        {QDate(2024, 1, 1), "Prethodno stanje", 10}, {QDate(2024, 2, 3), "K-17", 1234.5}, {QDate(2024, 2, 9), "R-4", 0.25}};
    for (const auto& [date, document, amount] : rows) {
        card.append();
        card.fieldByName("date").setValue(date);
        card.fieldByName("document").setValue(QString::fromUtf8(document));
        card.fieldByName("amountin").setValue(amount);
        card.post();
    }
}

QString sheetXml(const QString& file)
{
    QProcess unzip;
    unzip.start("unzip", {"-p", file, "xl/worksheets/sheet1.xml"});
    unzip.waitForFinished();
    return QString::fromUtf8(unzip.readAllStandardOutput());
}

} // namespace

TEST(ReportEngine, TheStockCardPrintsTheProductAboveItsVisibleRows)
{
    MemoryTable card;
    fillCard(card);
    MemoryTable product;
    product.addField("name", FieldType::String, 100);
    product.addField("code", FieldType::String, 20);
    product.createDataSet();
    product.append();
    product.fieldByName("name").setValue("Mleko 2.8%");
    product.fieldByName("code").setValue("001");
    product.post();

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
}

TEST(ReportEngine, ExportKeepsTheSortOrderAndNumbersAsNumbers)
{
    MemoryTable card;
    fillCard(card);
    card.setIndexName("amountinD");
    QTemporaryDir dir;
    const QString file = dir.filePath("kartica.xlsx");
    ExportDataSet(card, file);
    const QString sheet = sheetXml(file);
    // Descending by the amount: 1234.5 in the first data row, as a number.
    EXPECT_TRUE(sheet.contains(QRegularExpression("<c r=\"C2\"[^>]*><v>1234.5</v>"))) << sheet.toStdString();
    EXPECT_FALSE(sheet.contains("D1")); // the hidden column is not exported
    EXPECT_THROW(ExportDataSet(card, "/nonexistent/dir/x.xlsx"), std::runtime_error);
}
