// The attribute catalogue in the data module: positions typed into a row
// renumber the others, values follow the current attribute, and a value may
// appear only once in its attribute.

#include "test_productdm_support.h"

#include "Productresourcestring.h"

using namespace tarvex;
using namespace tarvex::test;

class AttributeOrder : public ProductDMCase {
protected:
    void SetUp() override
    {
        ProductDMCase::SetUp();
        sql("INSERT INTO attributepr (attributeprid, attribute, sort, required) VALUES (1, 'A', 1, 1), (2, 'B', 2, 0), "
            "(3, 'C', 3, 0), (4, 'D', 4, 0), (5, 'E', 5, 0)");
        sql("INSERT INTO attributeprvalue (attributeprvalueid, attributeprid, attributevalue, sort) VALUES "
            "(1, 1, 'crvena', 1), (2, 1, 'plava', 2), (3, 1, 'zelena', 3), (4, 1, 'bela', 4), (5, 1, 'crna', 5), "
            "(6, 2, 'S', 1), (7, 2, 'M', 2)");
        attributes().open();
    }
    static QueryDataSet& attributes() { return *dm().AttributePrZQ; }
    static QueryDataSet& values() { return *dm().AttributePrValueZQ; }

    static bool isAttributes(QueryDataSet& ds) { return &ds == &attributes(); }
    static QString nameOf(QueryDataSet& ds) { return isAttributes(ds) ? "attribute" : "attributevalue"; }

    // Types a position into the row of that name, from positions in
    // identifier order when fresh; gives the rows as stored (values of attribute 1).
    static QStringList afterTyping(QueryDataSet& ds, const QString& name, int position, bool fresh = true)
    {
        const QString table = isAttributes(ds) ? "attributepr" : "attributeprvalue";
        const QString rows = isAttributes(ds) ? "" : " WHERE attributeprid = 1";
        if (fresh) {
            sql(QStringLiteral("UPDATE %1 SET sort = %1id%2").arg(table, rows));
            attributes().close();
            attributes().open();
        }
        EXPECT_TRUE(ds.locate(nameOf(ds), name));
        ds.edit();
        ds.fieldByName("sort").setValue(position);
        EXPECT_EQ(ds.state(), DataSetState::Browse);
        EXPECT_EQ(ds.fieldByName(nameOf(ds)).asString(), name);
        return rowsOf(db(), QStringLiteral("SELECT CONCAT(%1, sort) FROM %2%3 ORDER BY sort, %2id")
                                .arg(nameOf(ds), table, rows));
    }
    static QStringList shown(QueryDataSet& ds) { return rowTexts(ds, nameOf(ds)); }
};

TEST_F(AttributeOrder, TypingAPositionMovesTheAttributeAndShiftsTheOthers)
{
    // From A1 .. E5 again or on from the move before, the row, the position typed, the rows after.
    const std::tuple<bool, const char*, int, const char*> moves[] = {
        {true, "D", 2, "A1 D2 B3 C4 E5"}, {true, "B", 4, "A1 C2 D3 B4 E5"},
        // Positions below 1 mean the first; beyond the list, the last.
        {true, "C", 0, "C1 A2 B3 D4 E5"}, {true, "C", -3, "C1 A2 B3 D4 E5"}, {true, "B", 9, "A1 C2 D3 E4 B5"},
        // The last position closes the gap the row leaves instead of doubling the last.
        {true, "B", 5, "A1 C2 D3 E4 B5"},
        // Moves follow one another without reloading.
        {true, "D", 2, "A1 D2 B3 C4 E5"}, {false, "E", 1, "E1 A2 D3 B4 C5"}, {false, "A", 5, "E1 D2 B3 C4 A5"},
        {false, "B", 2, "E1 B2 D3 C4 A5"}, {false, "D", 4, "E1 B2 C3 D4 A5"}};
    for (const auto& [fresh, name, position, after] : moves) {
        SCOPED_TRACE(std::string(name) + " to " + std::to_string(position));
        EXPECT_ROWS(afterTyping(attributes(), name, position, fresh), words(after));
    }
    EXPECT_ROWS(shown(attributes()), words("E1 B2 C3 D4 A5"));
}

TEST_F(AttributeOrder, ValuesFollowTheCurrentAttributeAndMoveTheSameWayRequiredShowsAsYesOrNo)
{
    Field& required = attributes().fieldByName("required");
    EXPECT_EQ(required.displayText(), "Da");
    EXPECT_ROWS(shown(values()), words("crvena1 plava2 zelena3 bela4 crna5"));
    ASSERT_TRUE(attributes().locate("attribute", "B"));
    EXPECT_EQ(required.displayText(), "Ne");
    attributes().edit();
    required.setText("Da");
    attributes().post();
    EXPECT_EQ(number("SELECT required FROM attributepr WHERE attributeprid = 2"), 1);
    EXPECT_ROWS(shown(values()), words("S1 M2"));
    values().append();
    EXPECT_EQ(values().fieldByName("attributeprid").asInteger(), 2);
    EXPECT_EQ(values().fieldByName("sort").asInteger(), 3);
    values().cancel();
    attributes().append();
    EXPECT_EQ(attributes().fieldByName("sort").asInteger(), 6);
    EXPECT_TRUE(values().isEmpty());
    attributes().cancel();

    // The same renumbering as the attributes' (its cases above), within the attribute's values.
    EXPECT_ROWS(afterTyping(values(), "bela", 2), words("crvena1 bela2 plava3 zelena4 crna5"));
    EXPECT_ROWS(rowsOf(db(), "SELECT CONCAT(attributevalue, sort) FROM attributeprvalue WHERE attributeprid = 2 "
                             "ORDER BY sort"),
                words("S1 M2"));
}

TEST_F(AttributeOrder, AValueMayAppearOnlyOnceInItsAttribute)
{
    sql("INSERT INTO attributeprvalue (attributeprid, attributevalue, sort) VALUES (1, 'O''Neil', 6)");
    attributes().close();
    attributes().open();
    QueryDataSet& v = values();
    const auto save = [&] { v.post(); };
    v.append();
    v.fieldByName("attributevalue").setValue("O'Neil");
    EXPECT_EQ(thrownText<DataSetError>(save), products::PROD_ATTRIBUTE_VALUE_ERR);
    // The database compares texts without regard to letter case.
    v.fieldByName("attributevalue").setValue("o'neil");
    EXPECT_EQ(thrownText<DataSetError>(save), products::PROD_ATTRIBUTE_VALUE_ERR);
    v.fieldByName("attributevalue").setValue("O'Neill");
    v.post();

    // A value saved again is no duplicate of itself; turned into another one, it is.
    ASSERT_TRUE(v.locate("attributevalue", "O'Neil"));
    v.edit();
    v.fieldByName("attributevalue").setValue("O'Neil");
    v.post();
    ASSERT_TRUE(v.locate("attributevalue", "crvena"));
    v.edit();
    v.fieldByName("attributevalue").setValue("plava");
    EXPECT_EQ(thrownText<DataSetError>(save), products::PROD_ATTRIBUTE_VALUE_ERR);
    v.cancel();

    // Another attribute may have the same value.
    ASSERT_TRUE(attributes().locate("attribute", "B"));
    values().append();
    values().fieldByName("attributevalue").setValue("O'Neil");
    values().post();
    EXPECT_EQ(number("SELECT COUNT(*) FROM attributeprvalue WHERE attributevalue = 'O''Neil'"), 2);
    EXPECT_EQ(number("SELECT COUNT(*) FROM attributeprvalue WHERE attributevalue = 'O''Neill'"), 1);
}
