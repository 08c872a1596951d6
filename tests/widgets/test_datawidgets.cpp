#include "Connection.h"
#include "DBControls.h"
#include "DBGrid.h"
#include "DatabaseErrorText.h"
#include "MemoryTable.h"
#include "QueryDataSet.h"
#include "ScriptedDialogs.h"
#include "TestServer.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace tarvex;
using namespace tarvex::test;

class DataWidgetsTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        for (const char* table : {"product", "warehouse", "tax"})
            execSql(db(), QStringLiteral("DELETE FROM ") + QLatin1String(table));
        execSql(db(), "INSERT INTO warehouse (warehouseid, name, code, active, status) VALUES "
                   "(1, 'Čačak', 'C1', 1, 'standard'), (2, 'Beograd', 'B1', 0, 'primary'), (3, 'Zrenjanin', 'Z1', 1, 'standard')");
        data.open();
    }
    Connection connection{db()};
    QueryDataSet data{&connection, "SELECT * FROM warehouse ORDER BY warehouseid"};
};

// Title clicks, painted rows and hidden columns are the windows' own tests
// (test_inventoryquantity, test_refwindows, test_stocksoverview); single rows
// in and out of a grid: test_gridrows.
TEST_F(DataWidgetsTest, GridAndCursorFollowEachOtherAndTheModelStaysConsistentThroughAnEditASortAndAClose)
{
    DBGrid grid;
    grid.setDataSet(&data);
    data.setRecNo(2);
    EXPECT_EQ(grid.currentIndex().row(), 1);
    grid.setCurrentIndex(grid.model()->index(2, 0));
    EXPECT_EQ(data.recNo(), 3);

    DataSetModel model(&data);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(model.rowCount(), 3);
    const int nameColumn = model.columnOf(data.findField("name"));
    ASSERT_GE(nameColumn, 0);
    EXPECT_EQ(model.headerData(nameColumn, Qt::Horizontal, Qt::DisplayRole).toString(), "name");

    EXPECT_TRUE(model.setData(model.index(2, nameColumn), "Aleksinac", Qt::EditRole));
    EXPECT_EQ(data.state(), DataSetState::Edit);
    data.post();
    EXPECT_EQ(scalar(db(), "SELECT name FROM warehouse WHERE warehouseid = 3").toString(), "Aleksinac");

    model.sort(nameColumn, Qt::AscendingOrder);
    for (const auto& [row, name] : {std::pair{0, "Aleksinac"}, {1, "Beograd"}, {2, "Čačak"}})
        EXPECT_EQ(model.data(model.index(row, nameColumn), Qt::DisplayRole).toString(), name) << row;
    data.close();
    EXPECT_EQ(std::pair(model.rowCount(), model.columnCount()), std::pair(0, 0));
}

TEST_F(DataWidgetsTest, TypingEditsLeavingTheControlWritesTheFieldTooLongAPasteIsRefusedTheNavigatorFollowsTheStateAndAFailedPostKeepsWhatWasTyped)
{
    QWidget window;
    auto* name = new DBEdit(&window);
    auto* active = new DBCheckBox("Aktivan", &window);
    auto* other = new QLineEdit(&window);
    data.fieldByName("name").setDisplayLabel("Ime");
    name->bind(&data, "name"); // warehouse.name holds 50 characters
    active->bind(&data, "active");
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(name->text(), "Čačak");
    EXPECT_TRUE(active->isChecked());

    name->setFocus();
    name->selectAll();
    QTest::keyClicks(name, "Kraljevo");
    EXPECT_EQ(data.state(), DataSetState::Edit);
    EXPECT_EQ(data.fieldByName("name").asString(), "Čačak"); // not yet written
    active->click();
    other->setFocus(); // leaving both writes them
    FieldLink::commitAll(&window);
    EXPECT_EQ(data.fieldByName("name").asString(), "Kraljevo");
    EXPECT_FALSE(data.fieldByName("active").asBoolean());
    data.post();
    EXPECT_ROWS(rowsOf(db(), "SELECT name, active FROM warehouse WHERE warehouseid = 1"), QStringList{"Kraljevo|0"});

    data.next();  // the controls follow the cursor: every window's test

    // A paste is not cut on the way in; leaving refuses it and keeps it for the user to shorten.
    ScriptedDialogs script;
    name->setFocus();
    name->selectAll();
    QApplication::clipboard()->setText(QString(5000, QLatin1Char('x')));
    QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(name->text().size(), 5000);
    other->setFocus();
    EXPECT_ROWS(script.messages(), QStringList{CMN_FIELD_TOO_LONG_ERR.arg("Ime").arg(50).arg(5000)});
    EXPECT_EQ(data.fieldByName("name").asString(), "Beograd");
    EXPECT_EQ(name->text().size(), 5000);

    // A failed post keeps what was typed; the navigator follows the state.
    execSql(db(), "INSERT INTO tax (taxid, name, value) VALUES (5, 'PDV20', 20)");
    script.clear();
    QueryDataSet taxes(&connection, "SELECT * FROM tax WHERE taxid = 5");
    taxes.open();
    QWidget taxWindow;
    auto* taxName = new DBEdit(&taxWindow);
    auto* value = new DBEdit(&taxWindow);
    taxName->bind(&taxes, "name");
    value->bind(&taxes, "value");
    auto* taxNavigator = new DBNavigator(&taxWindow);
    taxNavigator->setDataSet(&taxes);
    taxWindow.show();

    taxName->setFocus();
    taxName->selectAll();
    QTest::keyClick(taxName, Qt::Key_Delete); // the required name emptied
    value->setFocus();
    value->selectAll();
    QTest::keyClicks(value, "18");
    EXPECT_FALSE(taxNavigator->button(DBNavigator::Insert)->isEnabled());
    taxNavigator->button(DBNavigator::Post)->click();

    ASSERT_EQ(script.messages().size(), 1); // the required-field message
    EXPECT_EQ(taxes.state(), DataSetState::Edit);
    EXPECT_EQ(taxName->text(), "");
    EXPECT_EQ(value->text(), "18");
    EXPECT_DOUBLE_EQ(taxes.fieldByName("value").asFloat(), 18);
    EXPECT_ROWS(rowsOf(db(), "SELECT name, value FROM tax WHERE taxid = 5"), QStringList{"PDV20|20"});

    // Named again, the row goes in, and the navigator is back to browsing its one row. Its "–"
    // asks first and "Ne" deletes nothing: every window's (test_user_paths' WindowSweep).
    taxName->setFocus();
    QTest::keyClicks(taxName, "PDV18");
    taxNavigator->button(DBNavigator::Post)->click();
    EXPECT_ROWS(rowsOf(db(), "SELECT name, value FROM tax WHERE taxid = 5"), QStringList{"PDV18|18"});
    EXPECT_FALSE(taxNavigator->button(DBNavigator::Post)->isEnabled());
    EXPECT_TRUE(taxNavigator->button(DBNavigator::Insert)->isEnabled());
    EXPECT_FALSE(taxNavigator->button(DBNavigator::Next)->isEnabled());
}

// The display formats of the product windows, with the noise that price
// arithmetic leaves in a double: shown through the format, edited as the
// shortest clean text. Signs, halves and the other formats' texts:
// test_displayformat.
TEST(NumberEditsTest, NumbersShowTheirFormatAndEditAsCleanText)
{
    // Format, value, shown, edited.
    const std::tuple<const char*, double, const char*, const char*> cases[] = {
        {"0.00", 18506.987999999998, "18506,99", "18506,988"},
        {"#,##0.00", 18506.987999999998, "18.506,99", "18506,988"},
        {"0.00##", 216.98600000000002, "216,986", "216,986"},
        {"0.00####", 83.33333333333334, "83,333333", "83,3333333333333"},
        {"0.###", 0.1 + 0.2, "0,3", "0,3"},
        {"0.######", 0.1234565, "0,123457", "0,1234565"},
        {"0.00 %", 19.999999999999996, "20,00 %", "20"},
        {"0", 99.5, "100", "99,5"},
    };
    MemoryTable table;
    QList<Field*> fields;
    for (const auto& [format, value, shown, edited] : cases) {
        fields << &table.addField(QStringLiteral("n%1").arg(fields.size()), FieldType::Float);
        fields.last()->setDisplayFormat(QString::fromLatin1(format));
    }
    table.createDataSet();
    table.append();
    for (int i = 0; i < fields.size(); ++i)
        fields[i]->setValue(std::get<1>(cases[i]));
    table.post();

    QWidget window;
    QList<DBEdit*> edits;
    for (int i = 0; i < fields.size(); ++i) {
        edits << new DBEdit(&window);
        edits.last()->bind(&table, fields[i]->fieldName());
    }
    auto* other = new QLineEdit(&window);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    other->setFocus(); // the window gave the focus to the first edit
    for (int i = 0; i < fields.size(); ++i) {
        const auto& [format, value, shown, edited] = cases[i];
        SCOPED_TRACE(format);
        EXPECT_EQ(edits[i]->text(), shown);
        edits[i]->setFocus();
        EXPECT_EQ(edits[i]->text(), edited);
        other->setFocus(); // left unchanged: the stored value stays exact
        EXPECT_EQ(edits[i]->text(), shown);
        EXPECT_EQ(fields[i]->asFloat(), value);
    }

    // Typed text is stored as typed and shown through the format again: the
    // product editor's price (test_user_paths).

    // A value changed by a handler while the control is not being edited.
    table.edit();
    fields[1]->setValue(0.1 * 3);
    EXPECT_EQ(edits[1]->text(), "0,30");
    edits[1]->setFocus();
    EXPECT_EQ(edits[1]->text(), "0,3");
}
