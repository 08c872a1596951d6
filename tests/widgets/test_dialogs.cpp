#include "DatabaseError.h"
#include "DatabaseErrorText.h"
#include "ScriptedDialogs.h"

#include <gtest/gtest.h>

using namespace tarvex;

TEST(ScriptedDialogs, RecordsMessagesAndAnswersFromTheQueue)
{
    ScriptedDialogs script;
    script.answer(ButtonNo).answer(QStringLiteral("Pića")).answer(QDate(2024, 3, 5)).answer(ChangeOptionsRemove);

    dialogs().information(QStringLiteral("Novi proizvod je kreiran."));   // needs no answer
    EXPECT_FALSE(dialogs().confirm(QStringLiteral("Da li želite da dodate još atributa?")));
    QString name = QStringLiteral("Nova kategorija");
    EXPECT_TRUE(dialogs().inputQuery(QStringLiteral("Nova kategorija"), QStringLiteral("Ime nove kategorije:"), name));
    EXPECT_EQ(name, QStringLiteral("Pića"));
    QDate date(2024, 1, 1);
    EXPECT_TRUE(dialogs().getDate(date));
    EXPECT_EQ(date, QDate(2024, 3, 5));
    EXPECT_EQ(dialogs().changeOptions(), ChangeOptionsRemove);

    ASSERT_EQ(script.shown().size(), 5);
    EXPECT_EQ(script.shown()[0].kind, MessageKind::Information);
    EXPECT_EQ(script.shown()[1].kind, MessageKind::Confirmation);
    EXPECT_EQ(script.shown()[1].buttons, ButtonYes | ButtonNo);
    EXPECT_EQ(script.messages(), (QStringList{QStringLiteral("Novi proizvod je kreiran."),
                                              QStringLiteral("Da li želite da dodate još atributa?")}));
    EXPECT_FALSE(script.pending());
}

TEST(ScriptedDialogs, UnansweredOrImpossibleAnswersFailLoudly)
{
    ScriptedDialogs script;
    EXPECT_THROW(dialogs().confirm(QStringLiteral("Obrisati?")), std::logic_error);
    script.answer(ButtonOk);
    EXPECT_THROW(dialogs().confirm(QStringLiteral("Obrisati?")), std::logic_error); // OK is not Yes/No

    // A cancelled input leaves the value alone.
    script.clear();
    script.answer(QVariant());
    QString value = QStringLiteral("staro");
    EXPECT_FALSE(dialogs().inputQuery(QString(), QString(), value));
    EXPECT_EQ(value, QStringLiteral("staro"));
}

TEST(ScriptedDialogs, PutsThePreviousServiceBack)
{
    ScriptedDialogs outer;
    {
        ScriptedDialogs inner;
        dialogs().information(QStringLiteral("unutra"));
        EXPECT_EQ(inner.messages().size(), 1);
    }
    dialogs().information(QStringLiteral("spolja"));
    EXPECT_EQ(outer.messages(), QStringList{QStringLiteral("spolja")});
}

TEST(DefaultErrorHandling, DatabaseErrorsShowASerbianMessageAndTheServersText)
{
    ScriptedDialogs script;
    dialogs().showException(DatabaseError(1062, QStringLiteral("Duplicate entry '5' for key 'PRIMARY'"),
                                          QStringLiteral("INSERT INTO tax ...")));
    dialogs().showException(std::runtime_error("Disk je pun"));
    ASSERT_EQ(script.shown().size(), 2);
    EXPECT_EQ(script.shown()[0].kind, MessageKind::Error);
    EXPECT_TRUE(script.shown()[0].text.contains(QStringLiteral("Duplicate entry '5' for key 'PRIMARY'")));
    EXPECT_TRUE(script.shown()[0].text.startsWith(DB_DUPLICATE_ANY_ERR));
    EXPECT_TRUE(script.shown()[0].text.contains(QStringLiteral("Poruka servera (1062)")));
    EXPECT_EQ(script.shown()[1].text, QStringLiteral("Disk je pun"));
}
