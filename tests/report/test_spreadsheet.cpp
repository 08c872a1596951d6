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

TEST(Spreadsheet, DisplayFormatsBecomeSpreadsheetFormatsAndNumbersAreWrittenAsNumbersTextsAsTexts)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("pregled.xlsx"));
    SheetTable table;
    table.sheetName = QStringLiteral("Pregled: zalihe");
    table.columns = {{"Šifra", SheetColumn::Kind::Text, {}}, {"Količina", SheetColumn::Kind::Number, "0.###"},
                     {"Datum", SheetColumn::Kind::Date, {}}};
    table.rows = {{"00123", 1234.5, QDate(2024, 3, 5)}, {"Đak ćčšž", QVariant(), QVariant()}, {"x", 21.0, QVariant()},
                  {"y", 20.9999999, QVariant()}};
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
    // 21 and 20.9999999 (21 at three decimals) take the whole-number style
    // "0", 1234.5 keeps "0.###".
    const QString styles = unzipEntry(file, QStringLiteral("xl/styles.xml"));
    EXPECT_TRUE(styles.contains(QStringLiteral("formatCode=\"0.###\""))) << styles.toStdString();
    EXPECT_TRUE(styles.contains(QStringLiteral("formatCode=\"0\""))) << styles.toStdString();
    auto styleOf = [&](const QString& cell) {
        const int at = sheet.indexOf(QStringLiteral("r=\"") + cell + QLatin1Char('"'));
        const int s = sheet.indexOf(QStringLiteral("s=\""), at);
        return sheet.mid(s, sheet.indexOf(QLatin1Char('"'), s + 3) - s);
    };
    EXPECT_EQ(styleOf("B4"), styleOf("B5"));
    EXPECT_NE(styleOf("B4"), styleOf("B2"));

    EXPECT_FALSE(writeSpreadsheet(table, QStringLiteral("/nonexistent/dir/x.xlsx"), &error));

    for (const auto& [display, sheet] : {std::pair{"#,##0.00", "#,##0.00"}, {"0.00 %", "0.00\" %\""}, {"0.###", "0.###"}})
        EXPECT_EQ(spreadsheetNumberFormat(display), sheet);
    // Whole numbers of optional-decimal formats lose the trailing point.
    for (const auto& [display, whole] : {std::pair{"#,##0.######", "#,##0"}, {"0.## kg", "0\" kg\""}, {"#,##0.00", ""},
                                         {"0.0#", ""}, {"0", ""}})
        EXPECT_EQ(wholeNumberFormat(display), whole) << display;
}
