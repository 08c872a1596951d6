#pragma once
// What the stock report window tests share: a fixture with the host clock
// set and the recording console in place, a table's column read without
// moving the cursor, a click on a title, a date picked and a count stopped.

#include "Clock.h"
#include "DBGrid.h"
#include "DataSet.h"
#include "ProductDMFixture.h"
#include "ScriptedDialogs.h"
#include "stock_reference.h"
#include "test_alter_console.h"
#include "test_refwindows.h"
#include "test_workerstop.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QLineEdit>

namespace stocktest {

using namespace tarvex;
using stockfast::tableOf;

// The display texts of the fields, row by row and joined by "|", without
// moving the cursor.
inline QStringList rows(DataSet& table, const QStringList& fields)
{
    QStringList rows;
    for (int row = 0; row < table.recordCount(); ++row) {
        QStringList cells;
        for (const QString& field : fields)
            cells << table.displayTextAt(row, table.fieldByName(field).index());
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

inline QStringList column(DataSet& table, const char* field)
{
    return rows(table, {QString::fromLatin1(field)});
}

// The table's rows against the expected ones ("a|b|..." in the fields'
// order): a failure names the row, the field and both values.
inline void expectRows(DataSet& table, const QStringList& fields, const QStringList& expected)
{
    test::expectSameTable(rows(table, fields), expected, fields);
}

// A click on the field's title, aimed anew each time: the columns fit their
// content after every sort.
inline void clickTitle(DBGrid* grid, const char* field)
{
    const int column = grid->dataModel()->columnOf(grid->dataSet()->findField(field));
    grid->scrollTo(grid->model()->index(0, column));
    QHeaderView* header = grid->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, 5));
}

// Picks a date on the button's picker (an invalid date cancels it) and
// gives the field's text after.
inline QString pickDate(ScriptedDialogs& script, QPushButton* button, QLineEdit* field, const QDate& date)
{
    script.answer(date);
    QTest::mouseClick(button, Qt::LeftButton);
    return field->text();
}

// Opens a window as the program does (in its own modal loop), lets `step`
// drive it there and closes it with "&Zatvori".
template <class Form>
void drive(const std::function<void()>& open, const std::function<void(Form&)>& step)
{
    int shown = 0;
    test::inModal<Form>(open, [&](Form& form) {
        ++shown;
        step(form);
        QTest::mouseClick(form.CloseButton(), Qt::LeftButton);
    });
    EXPECT_EQ(shown, 1);
}

// Noon of the shop's day of the first documents of March.
inline const QDateTime kShopNow(QDate(2024, 3, 5), QTime(12, 0));

// A report test at a fixed moment, with the recording console and scripted
// dialogs in place.
class ReportTest : public test::ProductDMTest {
protected:
    explicit ReportTest(const QDateTime& now = kShopNow, qint32 defaultWarehouse = 0)
        : m_now(now), m_defaultWarehouse(defaultWarehouse)
    {
    }
    void SetUp() override
    {
        hostClock().setNow(m_now);
        dm().SetDefWarehouseID(m_defaultWarehouse);
    }
    void TearDown() override
    {
        hostClock().reset();
        dm().Options = products::TProductOptions();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // "&Prikaži" clicked while another session holds the table its count reads,
    // then "Prekini" (see workerstop): the count stops within 15 s, the window
    // paints, keeps "&Prikaži" and the other busy button off and stays open
    // on Escape meanwhile, and nothing is said.
    static void expectPrekiniStops(QWidget& window, QPushButton* find, QPushButton* busy, const char* table,
                                   const QString& step, const ScriptedDialogs& script)
    {
        const workerstop::Stop stop = workerstop::stopWhileLocked(
            db(), table, *window.findChild<products::TWorkerBar*>(), step,
            [find] { QTest::mouseClick(find, Qt::LeftButton); }, [&] {
                EXPECT_FALSE(find->isEnabled());
                EXPECT_FALSE(busy->isEnabled());
                EXPECT_FALSE(window.grab().isNull());
                QTest::keyClick(&window, Qt::Key_Escape);
                EXPECT_TRUE(window.isVisible());
            });
        EXPECT_TRUE(stop.clicked);
        EXPECT_TRUE(find->isEnabled());
        EXPECT_TRUE(busy->isEnabled());
        EXPECT_TRUE(script.messages().isEmpty()) << script.messages().join("\n").toStdString();
    }

    // The shop the stock lists, the product histories and the turnover share,
    // unless a test brings its own. Stock rows of Centralni: Alfa and Beta
    // make the totals 1234.5 and 1481.4; the service, the 0.0004 and the row
    // without a product are left out while excluding. Over both warehouses
    // Beta's -2 and 2 leave 0, Epsilon's 0.0004 is no stock. For the fund's
    // report: Beta, Delta and Epsilon are in category 1, the service in its
    // child 2, Alfa is linked to identifier 0.
    static void SetUpTestSuite()
    {
        ProductDMTest::SetUpTestSuite();
        sql("INSERT INTO tax (taxid, name, value, status) VALUES (1, 'Opšta', 20, 'primary'), (2, 'Nulta', 0, "
            "'standard')");
        sql("INSERT INTO warehouse (warehouseid, name, status, pricetype, organizationunit) VALUES "
            "(1, 'Centralni', 'primary', 'v', ''), (2, 'Prodavnica', 'standard', 'm', 'OJ-2'),"
            "(3, 'Apoteka', 'standard', 'm', NULL)");
        // The stocks overview's button shows only with this setting.
        sql("INSERT INTO dbinifile (section, name, value) VALUES ('Document', 'MaxCategoryRebateInReceipt', '1'), "
            "('CompanyInfo', 'Number', '123')");
        sql("INSERT INTO product (productid, name, code, unitname, taxid, pricecurrency, type) VALUES "
            "(1, 'Alfa', 'A1', 'kom', 1, 'RSD', 'r'), (2, 'Beta', 'B1', 'kg', 1, 'RSD', 'r'),"
            "(3, 'Čišćenje', 'U1', 'h', 1, 'RSD', 'u'), (4, 'Delta', 'D1', 'l', 2, 'RSD', 'r'),"
            "(5, 'Epsilon', 'E&1', 'kom', 2, 'RSD', 'r')");
        sql("INSERT INTO categorypr (categoryprid, parentid, name) VALUES (1, 0, 'Lekovi'), (2, 1, 'Analgetici')");
        sql("INSERT INTO productcategorypr (productid, categoryprid) VALUES (2, 1), (4, 1), (5, 1), (3, 2), (1, 0)");
        sql("INSERT INTO productwarehouse (productid, warehouseid, amount, price) VALUES "
            "(1, 1, 12.545, 100), (2, 1, -2, 10), (3, 1, 5, 10), (4, 1, 0.0004, 50), (5, 1, 0.001, 0),"
            "(999, 1, 3, 1), (1, 2, 7, 100), (2, 2, 2, 10), (5, 2, 0.0004, 0)");
        sql("INSERT INTO attributepr (attributeprid, attribute) VALUES (1, 'Boja'), (2, 'Veličina')");
        sql("INSERT INTO attributeprvalue (attributeprvalueid, attributeprid, attributevalue) VALUES "
            "(1, 1, 'Plava'), (2, 1, 'Crvena'), (3, 2, 'M')");
        sql("INSERT INTO productattribute (productattributeid, productid, attributeprid1, attributeprvalueid1, "
            "attributeprid2, attributeprvalueid2, prodattbarcode) VALUES (1, 1, 1, 1, 0, 0, '2000001'),"
            "(2, 1, 1, 2, 2, 3, '2000002'), (3, 3, 1, 1, 0, 0, NULL), (4, 2, 1, 2, 0, 0, NULL)");
        sql("INSERT INTO productattributewarehouse (productattributeid, warehouseid, amount) VALUES "
            "(1, 1, 4), (2, 1, 1.5), (3, 1, 2), (4, 1, 0.0004), (2, 2, 9)");
        sql("INSERT INTO partner (partnerid, name) VALUES (1, 'Kupac d.o.o.'), (2, 'Dobavljač a.d.')");
        // id, date, kind, number, direction, warehouse, in-warehouse, status, partner, name on the document
        sql("INSERT INTO document (documentid, documentdate, documenttype, number, direction, warehouseid, "
            "inwarehouseid, status, partnerid, partnername) VALUES "
            "(100, '2024-01-10', 'G', '1', 1, 1, NULL, 'p', NULL, NULL),"  // opening stock 10
            "(101, '2024-01-20', 'R', '2', -1, 1, NULL, 'p', 1, NULL),"    // sale 12 before the range
            "(102, '2024-03-05', 'R', '3', -1, 1, NULL, 'p', 1, NULL),"    // sale 3: partner's own name
            "(103, '2024-03-05', 'K', '4', 1, 1, NULL, 'p', 2, ''),"       // receipt 8, same day, empty name
            "(104, '2024-03-06', 'I', '5', -1, 1, 2, 'p', NULL, NULL),"    // transfer 5 to Prodavnica
            "(105, '2024-03-07', 'R', '6', -1, 1, NULL, 'n', 1, NULL),"    // draft sale 4
            "(106, '2024-03-08', 'K', '7', 1, 1, NULL, 'p', 2, 'Ručno upisan')," // on the end date
            "(107, '2024-03-09', 'K', '8', 1, 1, NULL, 'p', 2, NULL),"     // after the end date
            "(108, '2024-03-06', 'Z', '9', 1, 1, NULL, 'p', NULL, NULL),"  // no stock kind
            "(109, '2024-03-06', 'K', '10', 1, 99, NULL, 'p', 2, NULL)");  // no such warehouse
        sql("INSERT INTO documentitem (documentid, productid, quantity) VALUES (100, 1, 10), (101, 1, 12), "
            "(102, 1, 3), (103, 1, 8), (104, 1, 5), (105, 1, 4), (106, 1, 1), (107, 1, 100),"
            // the service received with Alfa; Epsilon in and out before March; Delta's count nowhere
            "(103, 3, 1), (100, 5, 2), (101, 5, 2), (108, 4, 100), (109, 4, 100)");
        sql("INSERT INTO docfinitem (documentid, productid, warehouseid, inquantity, outquantity, debit, credit, "
            "price) VALUES (100, 1, 1, 10, 0, 1000, 0, 100), (101, 1, 1, 0, 12, 0, 1200, 100),"
            "(103, 1, 1, 8, 0, 880, 0, 110), (102, 1, 1, 0, 3, 0, 330, 110), (104, 1, 1, 0, 5, 0, 550, 110),"
            "(104, 1, 2, 5, 0, 550, 0, 110), (105, 1, 1, 0, 4, 0, 440, 110), (106, 1, 1, 1, 0, 120, 0, 120),"
            "(107, 1, 1, 100, 0, 10000, 0, 100),"
            // Beta: bought 3, sold 3 minus a rounding crumb, value left over
            "(100, 2, 1, 3, 0, 30, 0, 10), (101, 2, 1, 0, 2.9999999, 0, 20, 10),"
            // Beta 2 in Prodavnica; Epsilon 0.0004 in Apoteka
            "(100, 2, 2, 2, 0, 20, 0, 10), (100, 5, 3, 0.0004, 0, 0, 0, 0),"
            // the service 6 in at 20; Delta 2 out at 30
            "(100, 3, 1, 6, 0, 20, 0, 3.33), (100, 4, 1, 0, 2, 0, 30, 15)");
    }

    altertest::TestConsole console{true, true};
    ScriptedDialogs script;

private:
    QDateTime m_now;
    qint32 m_defaultWarehouse;
};

} // namespace stocktest
