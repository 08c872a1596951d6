// Single rows added to or taken from a dataset reach its grid as single rows:
// the user's place in a long list stays where it was.
#include "DBGrid.h"
#include "MemoryTable.h"

#include <QAbstractItemModelTester>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace tarvex;

namespace {

struct ModelSignals {
    explicit ModelSignals(QAbstractItemModel* model)
        : resets(model, &QAbstractItemModel::modelReset), inserts(model, &QAbstractItemModel::rowsInserted),
          removes(model, &QAbstractItemModel::rowsRemoved), moves(model, &QAbstractItemModel::rowsMoved),
          changes(model, &QAbstractItemModel::dataChanged)
    {
    }
    QSignalSpy resets, inserts, removes, moves, changes;
};

void openTable(MemoryTable& table, int rows)
{
    table.addField(QStringLiteral("id"), FieldType::Integer);
    table.addField(QStringLiteral("name"), FieldType::String, 40);
    table.createDataSet();
    std::vector<QVector<QVariant>> records;
    for (int i = 1; i <= rows; ++i)
        records.push_back({i, QStringLiteral("Artikal %1").arg(i, 5, 10, QLatin1Char('0'))});
    table.loadRecords(std::move(records));
}

} // namespace

TEST(GridRowsTest, AnInsertAndADeleteKeepTheSelectedRowAndTheScrollPosition)
{
    MemoryTable table;
    openTable(table, 10000);
    DBGrid grid;
    grid.setDataSet(&table);
    grid.resize(400, 300);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    ModelSignals model(grid.model());

    // The user drags the scroll bar to the middle and clicks a row there.
    QScrollBar* scroll = grid.verticalScrollBar();
    scroll->setValue(scroll->maximum() / 2);
    const int row = grid.rowAt(grid.viewport()->height() / 2);
    ASSERT_GT(row, 4000);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(grid.model()->index(row, 1)).center());
    ASSERT_EQ(table.currentRow(), row);
    const int position = scroll->value();
    const auto selected = [&] {
        const QModelIndexList rows = grid.selectionModel()->selectedRows(1);
        return rows.size() == 1 && rows[0] == grid.currentIndex().siblingAtColumn(1) ? rows[0].data().toString()
                                                                                     : QString();
    };
    const QString picked = selected();
    ASSERT_EQ(picked, table.fieldByName("name").asString());
    const auto placeKept = [&](const QString& current) {
        QCoreApplication::processEvents();
        EXPECT_EQ(scroll->value(), position);
        EXPECT_EQ(selected(), current);
        EXPECT_EQ(grid.currentIndex().row(), row);
    };

    // A new row goes in at the cursor and is the selected one; cancelled,
    // the row the user picked is selected again.
    table.insert();
    placeKept(QString());
    EXPECT_EQ(grid.model()->index(row + 1, 1).data().toString(), picked);
    table.cancel();
    placeKept(picked);

    table.insert();
    table.fieldByName("id").setValue(20000);
    table.fieldByName("name").setValue(QStringLiteral("Novi"));
    table.post();
    placeKept(QStringLiteral("Novi"));
    table.deleteRecord();
    placeKept(picked);

    EXPECT_EQ(model.resets.count(), 0);
    EXPECT_EQ(model.inserts.count(), 2);
    EXPECT_EQ(model.removes.count(), 2);
    EXPECT_EQ(grid.model()->rowCount(), 10000);
}

// A posted row that moves to its place in the order, one that leaves the
// filter, a new row whose defaults refuse it, and changes made while the
// controls were disabled, through a model under Qt's own consistency checks.
TEST(GridRowsTest, MovedFilteredAndRefusedRowsKeepTheModelConsistent)
{
    MemoryTable table;
    openTable(table, 5);
    table.setSortedFields(QStringLiteral("name"));
    table.setFilter(QStringLiteral("id < 100"));
    table.setFiltered(true);
    DBGrid grid;
    grid.setDataSet(&table);
    QAbstractItemModelTester tester(grid.model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    ModelSignals model(grid.model());

    table.setRecNo(2);
    table.insert();
    table.fieldByName("id").setValue(6);
    table.fieldByName("name").setValue(QStringLiteral("Artikal 99999"));
    table.post();
    EXPECT_EQ(table.currentRow(), 5);
    EXPECT_EQ(grid.currentIndex().row(), 5);
    EXPECT_EQ(model.moves.count(), 1);
    EXPECT_GT(model.changes.count(), 0);

    table.append();
    table.fieldByName("id").setValue(100);
    table.post();
    EXPECT_EQ(grid.model()->rowCount(), 6);
    EXPECT_EQ(model.removes.count(), 1);

    table.events().onNewRecord = [](DataSet&) { throw std::runtime_error("refused"); };
    EXPECT_THROW(table.append(), std::runtime_error);
    table.events().onNewRecord = nullptr;
    EXPECT_EQ(model.removes.count(), 2);
    EXPECT_EQ(model.resets.count(), 0);

    // Disabled twice: the grid hears nothing until the second enable, then one
    // reset; the dataset's own events still run.
    int scrolls = 0;
    table.events().afterScroll = [&scrolls](DataSet&) { ++scrolls; };
    const int inserts = model.inserts.count();
    table.disableControls();
    table.disableControls();
    table.append();
    table.fieldByName("id").setValue(7);
    table.post();
    table.first();
    table.next();
    table.enableControls();
    EXPECT_EQ(model.resets.count(), 0);
    table.enableControls();
    EXPECT_GT(scrolls, 0);
    EXPECT_EQ(model.inserts.count(), inserts);
    EXPECT_EQ(model.resets.count(), 1);
    EXPECT_EQ(grid.model()->rowCount(), 7);
    EXPECT_EQ(grid.currentIndex().row(), 1);
}
