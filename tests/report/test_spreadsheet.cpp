#include "SpreadsheetExport.h"

#include <QDate>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tarvex;

namespace {

QString unzipEntry(const QString& file, const QString& entry)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), file, entry});
    unzip.waitForFinished();
    return QString::fromUtf8(unzip.readAllStandardOutput());
}

} // namespace

TEST(Spreadsheet, DisplayFormatsBecomeSpreadsheetFormats)
{
    EXPECT_EQ(spreadsheetNumberFormat("#,##0.00"), "#,##0.00");
    EXPECT_EQ(spreadsheetNumberFormat("0.00 %"), "0.00\" %\"");
    EXPECT_EQ(spreadsheetNumberFormat("0.###"), "0.###");
}

TEST(Spreadsheet, WritesNumbersAsNumbersAndTextsAsTexts)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("pregled.xlsx"));
    SheetTable table;
    table.sheetName = QStringLiteral("Pregled: zalihe");
    table.columns = {{QStringLiteral("Šifra"), SheetColumn::Kind::Text, {}},
                     {QStringLiteral("Količina"), SheetColumn::Kind::Number, QStringLiteral("0.###")},
                     {QStringLiteral("Datum"), SheetColumn::Kind::Date, {}}};
    table.rows = {{QStringLiteral("00123"), 1234.5, QDate(2024, 3, 5)},
                  {QStringLiteral("Đak ćčšž"), QVariant(), QVariant()}};
    QString error;
    ASSERT_TRUE(writeSpreadsheet(table, file, &error)) << error.toStdString();

    const QString sheet = unzipEntry(file, QStringLiteral("xl/worksheets/sheet1.xml"));
    const QString strings = unzipEntry(file, QStringLiteral("xl/sharedStrings.xml"));
    const QString workbook = unzipEntry(file, QStringLiteral("xl/workbook.xml"));
    ASSERT_FALSE(sheet.isEmpty()) << "unzip could not read the file";
    // 1234.5 is a number cell, the code keeps its leading zeros as text.
    EXPECT_TRUE(sheet.contains(QStringLiteral("<v>1234.5</v>"))) << sheet.toStdString();
    EXPECT_TRUE(strings.contains(QStringLiteral("00123")));
    EXPECT_TRUE(strings.contains(QStringLiteral("Đak ćčšž")));
    // 2024-03-05 as a spreadsheet date serial.
    EXPECT_TRUE(sheet.contains(QStringLiteral("<v>45356</v>"))) << sheet.toStdString();
    EXPECT_TRUE(workbook.contains(QStringLiteral("Pregled_ zalihe")));
    // The empty cells of the second row are left out, not written as zero.
    EXPECT_FALSE(sheet.contains(QStringLiteral("B3")));

    EXPECT_FALSE(writeSpreadsheet(table, QStringLiteral("/nonexistent/dir/x.xlsx"), &error));
}
