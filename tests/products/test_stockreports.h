#pragma once
// What the stock report window tests share: a fixture with the host clock
// set and the recording console in place, a table's column read without
// moving the cursor, a click on a title, a date picked and a count stopped.

#include "Clock.h"
#include "DBGrid.h"
#include "DataSet.h"
#include "ProductDMFixture.h"
#include "ScriptedDialogs.h"
#include "test_alter_console.h"
#include "test_refwindows.h"
#include "test_workerstop.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QLineEdit>

namespace stocktest {

using namespace tarvex;

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

// A report test at a fixed moment, with the recording console and scripted
// dialogs in place.
class ReportTest : public test::ProductDMTest {
protected:
    explicit ReportTest(const QDateTime& now, qint32 defaultWarehouse = 0)
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
    // paints and keeps "&Prikaži" and the other busy button off meanwhile, and
    // nothing is said.
    static void expectPrekiniStops(QWidget& window, QPushButton* find, QPushButton* busy, const char* table,
                                   const QString& step, const ScriptedDialogs& script)
    {
        const workerstop::Stop stop = workerstop::stopWhileLocked(
            db(), table, *window.findChild<products::TWorkerBar*>(), step,
            [find] { QTest::mouseClick(find, Qt::LeftButton); }, [&] {
                EXPECT_FALSE(find->isEnabled());
                EXPECT_FALSE(busy->isEnabled());
                EXPECT_FALSE(window.grab().isNull());
            });
        EXPECT_TRUE(stop.clicked);
        EXPECT_TRUE(find->isEnabled() && busy->isEnabled());
        EXPECT_TRUE(script.messages().isEmpty()) << script.messages().join("\n").toStdString();
    }

    altertest::TestConsole console{true, true};
    ScriptedDialogs script;

private:
    QDateTime m_now;
    qint32 m_defaultWarehouse;
};

} // namespace stocktest
