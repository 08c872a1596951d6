#include "DataSetErrors.h"
#include "DateText.h"
#include "DisplayFormat.h"
#include "MemoryTable.h"
#include "NumberText.h"
#include "ScratchHelpers.h"

#include <QRegularExpression>

#include <gtest/gtest.h>
#include <cmath>

using namespace tarvex;

TEST(DisplayFormat, ModuleFormatsShowWhatTheWindowsExpectAndNumbersForSqlAndFilesUsePointAndNoExponent)
{
    const std::tuple<const char*, double, const char*> cases[] = {
        {"0.00 %", 20, "20,00 %"},  // literal sign, nothing multiplied
        {"#,##0.00", 1234.5, "1.234,50"}, {"#,##0.00", 1234567.891, "1.234.567,89"}, {"#,##0.00", 0.5, "0,50"},
        {"0.###", 0.5, "0,5"}, {"0.###", 2, "2"}, {"0.###", 1.23456, "1,235"}, {"0.00##", 10.12345, "10,1235"},
        {"0.00##", 10.1, "10,10"}, {"0.######", 0.0004, "0,0004"}, {"#,##0.######", 1234.5, "1.234,5"},
        {"0.00####", 1.1234567, "1,123457"}, {"#.##", 0.5, ",5"},
        // Negative numbers and sections; a value that rounds to zero has no sign.
        {"#,##0.00", -1234.5, "-1.234,50"}, {"0.###", -0.25, "-0,25"}, {"0.00", -0.001, "0,00"},
        {"0.00;(0.00)", -3, "(3,00)"}, {"0.00;(0.00);\"nula\"", 0, "nula"},
        // Halves round away from zero on the decimal text: the doubles nearest
        // to these lie just below the half.
        {"0.00", 1.005, "1,01"}, {"0.00", 2.675, "2,68"}, {"0.00", -2.675, "-2,68"}, {"0.00", 9.995, "10,00"},
        {"#,##0", 999.5, "1.000"}, {"0.00", 1.004999, "1,00"},
        // One format per kind: what is shown reads back as the same number.
        {"#,##0.00", 10770.13, "10.770,13"}, {"#,##0.00##", 12924.1625, "12.924,1625"}, {"0.###", 96, "96"},
        {"0.###", 1234.5, "1234,5"},
    };
    for (const auto& [format, value, shown] : cases) {
        EXPECT_EQ(FormatFloat(format, value), shown) << format << " " << value;
        // Typed back, the number shown is the number rounded.
        const NumberRead back = ReadNumberText(shown);
        const int decimals = int(QString(format).section('.', 1).count(QRegularExpression("[0#]")));
        if (back.ok) {
            EXPECT_EQ(back.value, FloatToText(value, decimals).toDouble()) << shown;
        }
    }

    // Numbers for SQL and files use a point and no exponent.
    // Value, decimals (-1: as many as it needs), text.
    const std::tuple<double, int, const char*> texts[] = {
        {10.12345, -1, "10.12345"}, {1e20, -1, "100000000000000000000"}, {1e-7, -1, "0.0000001"}, {-0.5, -1, "-0.5"},
        {0.1 + 0.2, -1, "0.30000000000000004"},  // reads back as the same double
        {1.5, 13, "1.5000000000000"}, {2.675, 2, "2.68"}, {-0.0001, 2, "0.00"}, {std::nan(""), -1, "NULL"}};
    for (const auto& [value, decimals, text] : texts)
        EXPECT_EQ(FloatToText(value, decimals), text) << value;

    // Edit texts: the shortest text at 15 significant digits unless told otherwise.
    const std::tuple<double, int, const char*> edits[] = {
        {18506.987999999998, 15, "18506.988"}, {-0.1 - 0.2, 15, "-0.3"}, {1e20, 15, "100000000000000000000"},
        {1.23456789e-9, 15, "0.00000000123456789"}, {9.9999999999999982, 15, "10"}, {0.0, 15, "0"}, {2.5, 1, "3"}};
    for (const auto& [value, precision, text] : edits)
        EXPECT_EQ(FloatToEditText(value, precision), text) << value;
}

TEST(DisplayFormat, FieldsShowTheirFormatUnlessAGetTextHandlerSpeaksAndDateTextsReadOnlyTheTypedForms)
{
    MemoryTable table;
    Field& price = table.addField("price", FieldType::Float);
    Field& day = table.addField("day", FieldType::Date);
    Field& flag = table.addField("flag", FieldType::Boolean);
    price.setDisplayFormat("#,##0.00");
    table.createDataSet();
    table.append();
    price.setValue(1234.5);
    day.setValue(QDate(2024, 3, 5));
    flag.setValue(true);
    table.post();

    EXPECT_EQ(price.displayText(), "1.234,50");  // edited without thousands: NumberEditsTest
    EXPECT_EQ(day.displayText(), "05.03.2024");
    EXPECT_EQ(day.text(), "05.03.2024");
    EXPECT_EQ(day.asString(), "2024-03-05");  // for statements and files
    price.setOnGetText([](const Field& f, bool display) { return display ? QStringLiteral("%1 RSD").arg(f.asFloat()) : f.asString(); });
    EXPECT_EQ(price.displayText(), "1234.5 RSD");
    EXPECT_EQ(price.text(), "1234.5");

    table.edit();
    price.setText("12,5");  // a typed comma reads as the decimal point
    day.setText("2024-2-9");
    flag.setText("ne");
    EXPECT_DOUBLE_EQ(price.asFloat(), 12.5);
    EXPECT_EQ(day.asDate(), QDate(2024, 2, 9));  // the other typed forms: MyDateStrToDate below
    day.setText("1.2.2024");
    EXPECT_EQ(day.text(), "01.02.2024");
    // Refused texts name the field and the form expected; the value stays (the
    // two-way message: test_numbertext).
    const std::pair<Field*, const char*> refused[] = {
        {&day, "Polje \"day\": \"31.02.2024\" nije datum. Upišite ga kao 31.12.2024."},
        {&price, "Polje \"price\": \"12,5 kg\" nije broj. Upišite ga kao 1.234,56 ili 1234,56."}};
    for (const auto& [field, message] : refused) {
        const QString typed = QString(message).section('"', 3, 3);
        EXPECT_EQ(test::thrownText<FieldError>([&, f = field] { f->setText(typed); }).toStdString(), message);
    }
    EXPECT_EQ(day.asDate(), QDate(2024, 2, 1));
    // What a field shows reads back as the same value: the first test's read-back.
    EXPECT_FALSE(flag.asBoolean());
    price.setText("");
    EXPECT_TRUE(price.isNull());

    // Date texts: the typed forms read and write, anything else is an invalid date.
    for (const auto& [text, date] : {std::pair{"2024-03-05", QDate(2024, 3, 5)}, {" 2024-3-5 ", QDate(2024, 3, 5)},
                                     {"2024-02-29", QDate(2024, 2, 29)}, {"31.12.2024", QDate(2024, 12, 31)},
                                     {"31.12.24", QDate(2024, 12, 31)}, {" 5.3.2024. ", QDate(2024, 3, 5)},
                                     {"01.01.69", QDate(2069, 1, 1)}, {"01.01.70", QDate(1970, 1, 1)}})
        EXPECT_EQ(MyDateStrToDate(text), date) << text;
    EXPECT_EQ(MyDateToDateStr(QDate(999, 1, 2)), "02.01.0999");
    EXPECT_EQ(DateToSqlText(QDate(999, 1, 2)), "0999-01-02");
    EXPECT_TRUE(MyDateToDateStr(QDate()).isEmpty());
    for (QDate d(2023, 12, 25); d < QDate(2024, 3, 5); d = d.addDays(1))
        ASSERT_EQ(MyDateStrToDate(MyDateToDateStr(d)), d);
    for (const char* text : {"", "2023-02-29", "2024-13-01", "2024-00-10", "2024-04-31", "29.02.2023", "31.04.24", "5.3.024", "2024.03.05", "2024/03/05",
                             "24-03-05", "+2024-03-05", "2024-03-05x", "2024-03-05 10:00", "2024-003-05"})
        EXPECT_FALSE(MyDateStrToDate(text).isValid()) << text;
}
