// The dataset behaviour every window relies on, shown on the in-memory table
// (the query dataset shares it): cursor, events and what an aborting event
// leaves behind, named sort orders, locate and filter. The signals a grid
// follows are checked through the grid's model.
#include "DataSetErrors.h"
#include "HostStrings.h"
#include "ListCompare.h"
#include "MemoryTable.h"
#include "ResultStore.h"

#include <gtest/gtest.h>

using namespace tarvex;

namespace {

class Table : public ::testing::Test {
protected:
    void SetUp() override
    {
        table.setObjectName("StocksCDS");
        table.addField("ProductID", FieldType::Integer);
        table.addField("name", FieldType::String, 100);
        table.addField("mp1amount", FieldType::Float);
        table.addField("active", FieldType::Boolean);
        table.addIndex("nameA", "name");
        table.addIndex("mp1amountA", "mp1amount");
        table.addIndex("mp1amountD", "mp1amount", true);
        table.createDataSet();
    }

    void add(int id, const QString& name, QVariant amount, bool active = true)
    {
        table.append();
        table.fieldByName("ProductID").setValue(id);
        table.fieldByName("name").setValue(name);
        table.fieldByName("mp1amount").setValue(amount);
        table.fieldByName("active").setValue(active);
        table.post();
    }

    QStringList names()
    {
        QStringList result;
        for (int row = 0; row < table.recordCount(); ++row)
            result << table.valueAt(row, 1).toString();
        return result;
    }

    MemoryTable table;
};

} // namespace

TEST_F(Table, CursorAndEventsRunInOrderAnAbortingEventLeavesTheDataSetAsItWasAndUnreadableValuesRefuseThePost)
{
    EXPECT_TRUE(table.isEmpty());
    EXPECT_TRUE(table.bof());
    EXPECT_TRUE(table.eof());
    EXPECT_EQ(table.recNo(), 0);
    for (const int id : {1, 2, 3})
        add(id, QString(QChar('a' + id - 1)), id);

    table.first();
    EXPECT_TRUE(table.bof());
    EXPECT_FALSE(table.eof());
    QStringList walked;
    while (!table.eof()) {
        walked << table.fieldByName("name").asString();
        table.next();
    }
    EXPECT_ROWS(walked, QStringList({"a", "b", "c"}));
    EXPECT_EQ(table.recNo(), 3);  // eof stays on the last row
    table.prior();
    EXPECT_EQ(table.fieldByName("name").asString(), "b");
    const DataSet::Bookmark mark = table.bookmark();
    table.last();
    table.gotoBookmark(mark);
    EXPECT_EQ(table.fieldByName("ProductID").asInteger(), 2);
    table.setRecNo(1);
    EXPECT_EQ(table.fieldByName("name").asString(), "a");
    table.deleteRecord();
    EXPECT_FALSE(table.bookmarkValid(table.bookmark() + 1000));
    EXPECT_EQ(table.recordCount(), 2);
    EXPECT_EQ(table.fieldByName("name").asString(), "b");  // the next row becomes current

    // A get-text handler reading another field sees the row being shown.
    table.fieldByName("name").setOnGetText([this](const Field& f, bool) {
        return f.asString() + "#" + table.fieldByName("ProductID").asString();
    });
    EXPECT_EQ(table.displayTextAt(1, 1), "c#3");
    EXPECT_EQ(table.valueAt(1, 2).toDouble(), 3.0);
    EXPECT_EQ(table.recNo(), 1);
    EXPECT_EQ(table.fieldByName("name").displayText(), "b#2");

    // Events run in order on insert, post and delete.
    QStringList log;
    using E = DataSet::Events;
    for (const auto& [event, name] : {std::pair{&E::beforeInsert, "beforeInsert"}, {&E::afterInsert, "afterInsert"},
                                      {&E::beforePost, "beforePost"}, {&E::afterPost, "afterPost"},
                                      {&E::beforeDelete, "beforeDelete"}, {&E::afterDelete, "afterDelete"},
                                      {&E::afterScroll, "afterScroll"}, {&E::afterCancel, "afterCancel"}})
        table.events().*event = [&log, name = name](DataSet&) { log << name; };
    table.events().onNewRecord = [&log](DataSet& ds) {
        log << "newRecord";
        ds.fieldByName("active").setValue(true);  // a default, not a change
    };

    table.append();
    EXPECT_EQ(table.state(), DataSetState::Insert);
    EXPECT_FALSE(table.isModified());
    table.fieldByName("name").setValue("x");
    table.post();
    table.deleteRecord();
    EXPECT_ROWS(log, QStringList({"beforeInsert", "newRecord", "afterInsert", "afterScroll", "beforePost", "afterPost",
                                "beforeDelete", "afterDelete", "afterScroll"}));

    // A new row with nothing typed into it is dropped when the cursor moves on.
    log.clear();
    table.append();
    table.first();
    EXPECT_EQ(table.recordCount(), 2);
    EXPECT_TRUE(log.contains("afterCancel"));

    // An aborting event leaves the dataset as it was.
    table.emptyDataSet();
    for (const int id : {1, 2})
        add(id, QString(QChar('a' + id - 1)), id);
    table.first();

    table.events().onNewRecord = [](DataSet&) { Abort(); };
    EXPECT_THROW(table.append(), SilentAbort);
    EXPECT_EQ(table.state(), DataSetState::Browse);
    EXPECT_EQ(table.recordCount(), 2);
    EXPECT_EQ(table.fieldByName("name").asString(), "a");
    table.events().onNewRecord = nullptr;

    table.events().beforePost = [](DataSet& ds) {
        if (ds.fieldByName("mp1amount").asFloat() < 0)
            throw FieldError("negative", &ds.fieldByName("mp1amount"));
    };
    table.edit();
    table.fieldByName("mp1amount").setValue(-5);
    EXPECT_THROW(table.post(), FieldError);
    EXPECT_EQ(table.state(), DataSetState::Edit);  // still editing, the typed value kept
    EXPECT_DOUBLE_EQ(table.fieldByName("mp1amount").asFloat(), -5);
    table.cancel();
    EXPECT_DOUBLE_EQ(table.fieldByName("mp1amount").asFloat(), 1);

    table.events().beforeDelete = [](DataSet&) { Abort(); };
    EXPECT_THROW(table.deleteRecord(), SilentAbort);
    EXPECT_EQ(table.recordCount(), 2);

    // Required fields and values that do not read refuse the post; change handlers run at once.
    Field& name = table.fieldByName("name");
    name.setRequired(true);
    name.setDisplayLabel("Proizvod");
    table.append();
    try {
        table.post();
        FAIL() << "an empty required field was posted";
    } catch (const FieldError& e) {
        EXPECT_EQ(e.userText(), CMN_FIELD_REQUIRED_ERR.arg("Proizvod"));
        EXPECT_EQ(e.field(), &name);
    }
    EXPECT_EQ(table.state(), DataSetState::Insert);
    EXPECT_THROW(table.fieldByName("ProductID").setValue("x"), FieldError);
    table.cancel();
    EXPECT_THROW(name.setValue("browse"), DataSetError);  // not editing

    // A change handler runs at once and may cascade.
    Field& amount = table.fieldByName("mp1amount");
    int calls = 0;
    amount.setOnChange([&](Field& f) {
        ++calls;
        name.setValue(QStringLiteral("amount %1").arg(f.asFloat()));
    });
    table.append();
    amount.setValue(7);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(name.asString(), "amount 7");
}

TEST_F(Table, NamedOrdersSwitchAndKeepPostedRowsInPlaceFiltersShowMatchingRowsWhileOnAndTextsSortBySerbianLatinRules)
{
    add(1, "b", 5);
    add(2, "c", QVariant());
    add(3, "a", 20);
    table.setIndexName("mp1amountA");
    EXPECT_ROWS(names(), QStringList({"c", "b", "a"}));  // nulls first
    table.setIndexName("mp1amountD");
    EXPECT_ROWS(names(), QStringList({"a", "b", "c"}));

    add(4, "d", 10);  // appended, then placed by the order in force
    EXPECT_ROWS(names(), QStringList({"a", "d", "b", "c"}));
    EXPECT_EQ(table.fieldByName("name").asString(), "d");  // and stays current

    table.setIndexName("");
    EXPECT_ROWS(names(), QStringList({"b", "c", "a", "d"}));  // order of entry
    EXPECT_THROW(table.setIndexName("nosuchA"), DataSetError);
    table.emptyDataSet();  // open and empty: the rows added next are all there is

    // Records loaded at once replace the rows and take the order in force;
    // a record of the wrong width changes nothing.
    add(9, "x", 1);
    table.setIndexName("mp1amountD");
    std::vector<QVector<QVariant>> records{{1, "b", 5.0, true}, {2, "c", QVariant(), false}, {3, "a", 20.0, true}};
    table.loadRecords(records);
    EXPECT_ROWS(names(), QStringList({"a", "b", "c"}));
    EXPECT_EQ(table.fieldByName("name").asString(), "a");
    table.setIndexName("");
    EXPECT_ROWS(names(), QStringList({"b", "c", "a"}));
    EXPECT_THROW(table.loadRecords({{4, "d", 1.0}}), DataSetError);
    EXPECT_ROWS(names(), QStringList({"b", "c", "a"}));

    // A filter shows the matching rows while it is on.
    table.setFilter("active=True");
    EXPECT_EQ(table.recordCount(), 3);  // filtering still off
    table.setFiltered(true);
    EXPECT_ROWS(names(), QStringList({"b", "a"}));
    table.setFilter("active = False OR (mp1amount >= 10 AND name <> 'x')");
    EXPECT_ROWS(names(), QStringList({"c", "a"}));

    table.setFilter("active=True");
    table.first();
    table.edit();
    table.fieldByName("active").setValue(false);
    table.post();  // no longer matches: leaves the view
    EXPECT_ROWS(names(), QStringList({"a"}));
    EXPECT_THROW(table.setFilter("nosuch = 1"), DataSetError);
    EXPECT_THROW(table.setFilter("active = "), DataSetError);
    EXPECT_EQ(table.filter(), "active=True");  // a filter that does not read changes nothing
    table.setFiltered(false);
    EXPECT_EQ(table.recordCount(), 3);

    // Texts sort by Serbian Latin rules and locate ignores their letter case.
    table.emptyDataSet();
    int id = 0;
    for (const char* name : {"Zebra", "ČAJ ŠUMSKI", "Ćup", "cigla", "Đevrek", "dan", "šal", "sto", "žuto", "abc", "Čas"}) {
        ++id;
        add(id, QString::fromUtf8(name), id * 10.0);
    }
    table.setSortedFields("name");
    EXPECT_ROWS(names(), QStringList({"abc", "cigla", "ČAJ ŠUMSKI", "Čas", "Ćup", "dan", "Đevrek", "sto", "šal", "Zebra",
                                    "žuto"}));
    table.setSortedFields("name DESC");
    EXPECT_EQ(names().first(), "žuto");

    table.first();
    EXPECT_FALSE(table.locate("name", "čaj šumski"));
    EXPECT_EQ(table.recNo(), 1);
    EXPECT_TRUE(table.locate("name", "đEVREK", LocateCaseInsensitive));
    EXPECT_EQ(table.fieldByName("ProductID").asInteger(), 5);
    EXPECT_TRUE(table.locate("name", "ŽU", LocateCaseInsensitive | LocatePartialKey));
    EXPECT_EQ(table.fieldByName("ProductID").asInteger(), 9);
    EXPECT_FALSE(table.locate("ProductID;mp1amount", QVariantList{2, 10.0}));  // both fields must match
    EXPECT_TRUE(table.locate("ProductID;mp1amount", QVariantList{2, 20.0}));
    EXPECT_EQ(table.fieldByName("name").asString(), "ČAJ ŠUMSKI");
    EXPECT_FALSE(table.locate("ProductID", "not a number"));
    EXPECT_FALSE(table.locate("name", "cevrek", LocateCaseInsensitive));  // letters stay letters
}

TEST_F(Table, RowsOfAStoreReadSortLocateAndFilterInPlaceAndAChangedRowTakesItsOwnValues)
{
    // The same columns as the table's fields, texts kept once each.
    auto store = std::make_shared<ResultStore>();
    store->addColumn("ProductID", ResultStore::Kind::Integer);
    store->addColumn("name", ResultStore::Kind::Text);
    store->addColumn("mp1amount", ResultStore::Kind::Number);
    store->addColumn("active", ResultStore::Kind::Integer);
    const std::pair<const char*, QVariant> rows[] = {
        {"Šal", 5.0}, {"Čas", QVariant()}, {"cigla", 20.0}, {"Šal", 7.5}, {"Ćup", 10.0}};
    for (const auto& [name, amount] : rows) {
        const int r = store->appendRow();
        store->setInteger(r, 0, r + 1);
        store->setText(r, 1, QString::fromUtf8(name));
        if (!amount.isNull())
            store->setNumber(r, 2, amount.toDouble());
        store->setInteger(r, 3, r % 2);
    }
    EXPECT_EQ(store->textId(0, 1), store->textId(3, 1));  // "Šal" kept once
    EXPECT_NE(store->textId(0, 1), store->textId(1, 1));
    store->addNumber(4, 2, 0.5);
    store->addNumber(1, 2, 2.0);  // a null takes the number
    store->finish();

    table.setIndexName("mp1amountD");
    table.loadStore(store, {0, 1, 2, 4});  // row 3 not listed
    EXPECT_ROWS(names(), QStringList({"cigla", "Ćup", "Šal", "Čas"}));
    EXPECT_EQ(table.valueAt(1, 2), QVariant(10.5));
    table.setSortedFields("name");
    EXPECT_ROWS(names(), QStringList({"cigla", "Čas", "Ćup", "Šal"}));
    EXPECT_TRUE(table.locate("name", "ćup", LocateCaseInsensitive));
    EXPECT_EQ(table.fieldByName("ProductID").asInteger(), 5);
    table.setFilter("mp1amount >= 10");
    table.setFiltered(true);
    EXPECT_ROWS(names(), QStringList({"cigla", "Ćup"}));
    table.setFiltered(false);

    // An edit works on the row's own copy; the store stays as it was.
    table.first();
    table.edit();
    table.fieldByName("name").setValue("Zec");
    table.post();
    EXPECT_ROWS(names(), QStringList({"Čas", "Ćup", "Šal", "Zec"}));
    EXPECT_EQ(store->text(2, 1), "cigla");
    EXPECT_EQ(table.fieldByName("mp1amount").asFloat(), 20.0);
    EXPECT_THROW(table.loadStore(std::make_shared<ResultStore>(), {}), DataSetError);  // not the table's columns
    EXPECT_EQ(table.recordCount(), 4);
}
