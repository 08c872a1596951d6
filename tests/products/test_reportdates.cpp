#include "DBGrid.h"
#include "Inventoryquantityunit.h"
#include "Inventorystockpriceunit.h"
#include "MemoryTable.h"
#include "Reportdates.h"
#include "Stockhistoryunit.h"
#include "Stocksoverviewunit.h"
#include "Turnoverallwarehousesunit.h"
#include "Warehistoryunit.h"
#include "QtWarnings.h"
#include "test_stockreports.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <memory>

using namespace products;
using namespace tarvex;
using tarvex::test::QtWarnings;

namespace {

// A report window as the user meets it: its date fields with their labels,
// its "&Prikaži" and the rows it shows.
struct ReportWindow {
    std::unique_ptr<QWidget> window;
    QList<std::pair<QString, QLineEdit*>> dates;
    QPushButton* find = nullptr;
    QStringList shown() const
    {
        DataSet& table = *window->findChild<DBGrid*>()->dataSet();
        QStringList fields;
        for (const Field* field : table.fields())
            fields << field->fieldName();
        return stocktest::rows(table, fields);
    }
};

void typeInto(QLineEdit* field, const QString& text)
{
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

} // namespace

class ReportDatesTest : public stocktest::ReportTest {
protected:
    QTemporaryDir layoutDir;

    // The windows with date fields, as each report's window opens.
    std::vector<std::pair<QString, std::function<ReportWindow()>>> windows()
    {
        const THistorySubject alfa{1, "Alfa", "A1", 1, "Centralni"};
        // A window with both date fields; a stock-card list, with "Do datuma"
        // alone, opened as the program opens it.
        const auto range = [](auto* form) {
            return ReportWindow{std::unique_ptr<QWidget>(form),
                                {{"Od datuma", form->FromDateEdit()}, {"Do datuma", form->ToDateEdit()}},
                                form->FindButton()};
        };
        const auto list = [](auto* form) {
            form->OpenList();
            return ReportWindow{std::unique_ptr<QWidget>(form), {{"Do datuma", form->ToDateEdit()}}, form->FindButton()};
        };
        return {
            {"Magacinska kartica", [=] { return range(new TWareHistoryForm(alfa)); }},
            {"Robna kartica", [=] { return range(new TStockHistoryForm(alfa)); }},
            {"Lager (cene sa robnih kart.)", [=] { return list(new TInventoryStockPriceForm(1, "Centralni")); }},
            {"Zalihe (količine sa robnih kart.)", [=] { return list(new TInventoryQuantityForm(1, "Centralni")); }},
            {"Promet", [=] { return range(new TTurnoverAllWarehousesForm); }},
            {"Stanje zaliha", [this, range] { return range(new TStocksOverviewForm(layoutDir.path())); }},
        };
    }
};

// Every date field of every report window takes the four ways a date is
// written here, shows it "31.12.2024" and reports on it as on the same day
// picked with "..."; any other text is refused at the field and no report
// runs on it.
TEST_F(ReportDatesTest, EveryReportWindowTakesTheFourDateFormsAndRunsNoReportOnAnotherText)
{
    QtWarnings warnings;
    // Typed, the day it means.
    const std::pair<const char*, QDate> forms[] = {{"31.12.2024", QDate(2024, 12, 31)},
                                                   {"31.12.24", QDate(2024, 12, 31)},
                                                   {"1.2.2024", QDate(2024, 2, 1)},
                                                   {"2024-12-31", QDate(2024, 12, 31)}};
    for (auto& [name, open] : windows()) {
        ReportWindow report = open();
        report.window->show();
        for (auto [label, field] : report.dates) {
            const std::string where = name.toStdString() + ", " + label.toStdString();
            for (const auto& [typed, day] : forms) {
                // The day picked with "..." (other fields as they are) gives the rows to meet.
                script.answer(day);
                ChangeDate(field);
                QTest::mouseClick(report.find, Qt::LeftButton);
                const QStringList picked = report.shown();

                typeInto(field, QString::fromLatin1(typed));
                QTest::keyClick(field, Qt::Key_Tab);
                QCoreApplication::processEvents();
                EXPECT_EQ(field->text(), day.toString("dd.MM.yyyy")) << where << ", typed " << typed;
                QTest::mouseClick(report.find, Qt::LeftButton);
                EXPECT_ROWS(report.shown(), picked) << where << ", typed " << typed;
                EXPECT_ROWS(script.messages(), QStringList()) << where << ", typed " << typed;
                script.clear();
            }

            // A text that is no date: said when leaving the field, again
            // when the report is asked for; the rows stay, the focus returns.
            const QStringList before = report.shown();
            for (const char* typed : {"31.13.2024", "2024-02-30", "31.12", "x"}) {
                const QString refusal =
                    QStringLiteral("Polje \"%1\": \"%2\" nije datum. Upišite ga kao 31.12.2024.").arg(label, typed);
                typeInto(field, QString::fromLatin1(typed));
                QTest::keyClick(field, Qt::Key_Tab);
                QCoreApplication::processEvents();
                EXPECT_ROWS(script.messages(), QStringList({refusal})) << where << ", typed " << typed;
                QTest::mouseClick(report.find, Qt::LeftButton);
                QCoreApplication::processEvents();
                EXPECT_ROWS(script.messages(), QStringList({refusal, refusal})) << where << ", typed " << typed;
                EXPECT_ROWS(report.shown(), before) << where << ", typed " << typed;
                EXPECT_EQ(field->text(), typed) << where;
                EXPECT_TRUE(field->hasFocus()) << where;
                script.clear();

                // Straight from the field to "&Prikaži": said once.
                typeInto(field, QString::fromLatin1(typed) + "0");
                QTest::mouseClick(report.find, Qt::LeftButton);
                QCoreApplication::processEvents();
                EXPECT_EQ(script.messages().size(), 1) << where << ", typed " << typed;
                EXPECT_ROWS(report.shown(), before) << where << ", typed " << typed;
                script.clear();
            }
            script.answer(QDate(2024, 12, 31));
            ChangeDate(field);
        }
    }
    EXPECT_TRUE(warnings.seen().isEmpty()) << warnings.text().toStdString();
}

// The list window shows the exact tie rounded up (test_exactprice holds the
// prices against the plain rule everywhere) with the thousands written here:
// 19 900,89 / 54 = 368,535 and 4,05 / 6 = 0,675.
TEST_F(ReportDatesTest, TheStockPriceListShowsExactTiesRoundedUpWithThousands)
{
    QtWarnings warnings;
    sql("INSERT INTO product (productid, name, code, unitname, taxid, pricecurrency, type) VALUES "
        "(60, 'Tačna cena', 'T1', 'kom', 1, 'RSD', 'r'), (61, 'Trećina', 'T2', 'kg', 1, 'RSD', 'r')");
    sql("INSERT INTO productwarehouse (productid, warehouseid, amount, price) VALUES (60, 3, 54, 0), (61, 3, 6, 0)");
    sql("INSERT INTO document (documentid, documentdate, documenttype, number, direction, warehouseid, status, "
        "partnerid) VALUES (120, '2024-01-10', 'K', '20', 1, 3, 'p', 2), (121, '2024-01-20', 'R', '21', -1, 3, 'p', 1)");
    sql("INSERT INTO docfinitem (documentid, productid, warehouseid, inquantity, outquantity, debit, credit, price) "
        "VALUES (120, 60, 3, 60, 0, 21000.89, 0, 350.01), (121, 60, 3, 0, 6, 0, 1100, 183.33),"
        "(120, 61, 3, 6, 0, 4.05, 0, 0.675)");

    TInventoryStockPriceForm list(3, "Apoteka");
    list.OpenList();
    list.show();
    QTest::mouseClick(list.FindButton(), Qt::LeftButton);
    stocktest::expectRows(*list.InventoryStockPriceCDS(), {"name", "amount", "price", "productvalue"},
                          {"Tačna cena|54|368,54|19.900,89", "Trećina|6|0,68|4,05"});
    EXPECT_EQ(list.TotalLabel()->text(), "Ukupna vrednost: 19.904,94");
    EXPECT_TRUE(script.messages().isEmpty());
    EXPECT_TRUE(warnings.seen().isEmpty()) << warnings.text().toStdString();
}
