#include "BusyCursor.h"
#include "CalcExpress.h"
#include "DataSetErrors.h"
#include "DatabaseError.h"
#include "DatabaseErrorText.h"
#include "DialogWindow.h"
#include "Guarded.h"
#include "HostStrings.h"
#include "ListCompare.h"
#include "MemoryTable.h"
#include "Modal.h"
#include "ScriptedDialogs.h"
#include "SerbianTexts.h"
#include "UserDriving.h"
#include "WheelToArrowFilter.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <gtest/gtest.h>

using namespace tarvex;
using namespace tarvex::test;

// The scripted service answers every window test's messages; here only
// that it fails loudly when a question finds no answer or the wrong one.
TEST(ScriptedDialogs, UnansweredQuestionsFailLoudlyErrorsShowTheUsersTextWithTheDetailAndGuardedCodeStaysSilentOnAnAbort)
{
    ScriptedDialogs script;
    EXPECT_THROW(dialogs().confirm(QStringLiteral("Obrisati?")), InternalError);
    script.answer(ButtonOk);
    EXPECT_THROW(dialogs().confirm(QStringLiteral("Obrisati?")), InternalError); // OK is not Yes/No

    // The default error handling shows the user's text with the detail to unfold (a database
    // error's: ErrorBox); kinds tell what happened. The dataset layer's own refusal: Serbian to
    // read, English to report.
    script.clear();
    MemoryTable table;
    table.setObjectName(QStringLiteral("stavke"));
    table.addField(QStringLiteral("kolicina"), FieldType::Float);
    table.createDataSet();
    try {
        table.fieldByName(QStringLiteral("cena"));
        ADD_FAILURE() << "an unknown field was found";
    } catch (const DataSetError& e) {
        EXPECT_EQ(e.kind(), ErrorKind::Internal);
        EXPECT_EQ(QString::fromUtf8(e.what()), e.detail());
        dialogs().showException(e);
    }
    dialogs().showException(SilentAbort());
    dialogs().showException(std::runtime_error("Disk je pun"));

    ASSERT_EQ(script.shown().size(), 2);
    EXPECT_EQ(script.shown()[0].text, DS_NO_FIELD_ERR.arg(QStringLiteral("cena")));
    EXPECT_EQ(script.shown()[0].details, QStringLiteral("Field \"cena\" not found in stavke"));
    EXPECT_EQ(script.shown()[1].text, ERR_UNEXPECTED_FMT.arg(QStringLiteral("Disk je pun")));

    const std::pair<TarvexError, ErrorKind> cases[] = {
        {DatabaseError(1213, QStringLiteral("Deadlock found")), ErrorKind::Database},
        {DatabaseError(2013, QStringLiteral("Lost connection")), ErrorKind::ConnectionLost},
        {DatabaseError(2002, QStringLiteral("Can't connect")), ErrorKind::ConnectionLost},
        {FieldError(QStringLiteral("Polje \"Ime\" mora biti popunjeno."), nullptr), ErrorKind::Validation},
        {DataSetError(QStringLiteral("Proizvod je u upotrebi.")), ErrorKind::Validation},
        {CalcExpressError(QStringLiteral("Formula je prazna.")), ErrorKind::Validation},
        {SilentAbort(), ErrorKind::Abort},
        {InternalError(QStringLiteral("no pipe")), ErrorKind::Internal},
    };
    for (const auto& [error, kind] : cases)
        EXPECT_EQ(error.kind(), kind) << error.what();
    EXPECT_EQ(InternalError(QStringLiteral("no pipe")).userText(), ERR_INTERNAL_ERR);

    // Guarded code shows the user's text and stays silent on an abort.
    script.clear();
    EXPECT_TRUE(guarded([] {}));
    EXPECT_FALSE(guarded([] { Abort(); }));
    EXPECT_TRUE(script.shown().isEmpty());

    // As an action's slot: the error ends there, its text shown.
    QAction action;
    int runs = 0;
    QObject::connect(&action, &QAction::triggered, &action, guardedSlot([&runs] {
        ++runs;
        throw FieldError(CMN_FIELD_REQUIRED_ERR.arg(QStringLiteral("Ime")), nullptr);
    }));
    action.trigger();
    EXPECT_EQ(runs, 1);
    EXPECT_ROWS(script.messages(), QStringList{CMN_FIELD_REQUIRED_ERR.arg(QStringLiteral("Ime"))});
}

// Every database error's box says in Serbian what happened and what to do;
// the server's own words (English) wait behind its "Detalji" button.
TEST(ErrorBox, EachDatabaseErrorSaysWhatToDoInSerbianAndKeepsTheServersWordsBehindDetalji)
{
    const std::pair<DatabaseError, QString> cases[] = {
        {DatabaseError(1021, QStringLiteral("Disk full (/tmp/#sql_1.MAI); waiting for someone to free some space...")),
         DB_DISK_FULL_ERR},
        {DatabaseError(1114, QStringLiteral("The table 'documentitem' is full")), DB_DISK_FULL_ERR},
        {DatabaseError(3, QStringLiteral("Error writing file './shop/x.ibd' (Errcode: 28 \"No space left on device\")")),
         DB_DISK_FULL_ERR},
        {DatabaseError(1030, QStringLiteral("Got error 28 \"No space left on device\" from storage engine InnoDB")),
         DB_DISK_FULL_ERR},
        {DatabaseError(2006, QStringLiteral("Server has gone away"), QStringLiteral("UPDATE product SET name = 'x'")),
         DB_CONNECTION_LOST_ERR},
        // A session lost during a read and a server not there: test_server_away's real losses; a
        // deadlock: test_deletes'.
        {DatabaseError(1205, QStringLiteral("Lock wait timeout exceeded")), DB_CONFLICT_ERR},
        // A refused right is named: what was tried, on what, and whether the input stayed (an update of
        // the products, as the server refuses it: test_security).
        {DatabaseError(1142, QStringLiteral("DELETE command denied to user 'zak'@'localhost' for table "
                                            "`shop`.`tax`")),
         DB_NO_RIGHT_ON_ERR.arg(QStringLiteral("briše podatke"), QStringLiteral("poreske stope"), QString())},
        {DatabaseError(1143, QStringLiteral("UPDATE command denied to user 'kasa'@'localhost' for column 'price' in "
                                            "table 'newtable'")),
         DB_NO_RIGHT_ON_ERR.arg(QStringLiteral("menja podatke"), QStringLiteral("newtable"), DB_INPUT_KEPT_NOTE)},
        {DatabaseError(1227, QStringLiteral("Access denied; you need (at least one of) the CREATE USER privilege(s) "
                                            "for this operation")),
         DB_NO_PRIVILEGE_ERR.arg(QStringLiteral("upravlja nalozima osoblja"))},
        {DatabaseError(1044, QStringLiteral("Access denied for user 'kasa'@'%' to database 'other'")), DB_NO_RIGHT_ERR},
        {DatabaseError(1146, QStringLiteral("Table 'shop.nowhere' doesn't exist")), DB_GENERIC_ERR.arg(1146)},
        {DatabaseError(1062, QStringLiteral("Duplicate entry '5' for key 'PRIMARY'")), DB_DUPLICATE_ANY_ERR},
    };
    ScriptedDialogs script;
    for (const auto& [error, text] : cases) {
        SCOPED_TRACE(error.code());
        script.clear();
        dialogs().showException(error);
        ASSERT_EQ(script.shown().size(), 1);
        EXPECT_EQ(script.shown()[0].kind, MessageKind::Error);
        // The main text is the Serbian sentence alone; the server's words are the detail, for support.
        EXPECT_EQ(script.shown()[0].text, text);
        EXPECT_TRUE(script.shown()[0].details.startsWith(
            DB_DETAIL_FMT.arg(error.code()).arg(error.serverMessage())))
            << script.shown()[0].details.toStdString();
    }

    // On Qt's own box: the sentence as its text, the server's words as its detailed text behind "Detalji...".
    ASSERT_TRUE(installSerbianTexts());
    QtDialogs qt;
    Dialogs* previous = setDialogs(&qt);
    QString text;
    QString detailed;
    QStringList buttons;
    onModalOf<QMessageBox>([&](QMessageBox& box) {
        text = box.text();
        detailed = box.detailedText();
        for (const QAbstractButton* button : box.findChildren<QAbstractButton*>())
            buttons << button->text();
        click(box.button(QMessageBox::Ok));
    });
    dialogs().showException(DatabaseError(1114, QStringLiteral("The table 'documentitem' is full"),
                                          QStringLiteral("INSERT INTO documentitem ...")));
    setDialogs(previous);
    EXPECT_EQ(text, DB_DISK_FULL_ERR);
    EXPECT_EQ(detailed, QStringLiteral("Poruka servera (1114): The table 'documentitem' is full\n"
                                       "Naredba: INSERT INTO documentitem ..."));
    buttons.sort();
    EXPECT_ROWS(buttons, QStringList({"Detalji...", "U redu"}));
}

TEST(WindowSeams, DialogWindowsFreeThemselvesTheBusyCursorComesBackAndEachWheelTurnMovesOneRow)
{
    QPointer<DialogWindow> window = new DialogWindow;
    ScopedModalHandler reject([](QDialog& shown) {
        shown.reject();
        return int(QDialog::Rejected);
    });
    EXPECT_EQ(execModal(*window), QDialog::Rejected);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());

    // The busy cursor gives the previous one back, even on a failure.
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    try {
        BusyCursor busy;
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        throw std::runtime_error("query failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // Each wheel turn moves the grid by one row.
    QWidget gridWindow;
    auto* list = new QListWidget(&gridWindow);
    for (int i = 0; i < 10; ++i)
        list->addItem(QStringLiteral("Red %1").arg(i));
    auto* layout = new QVBoxLayout(&gridWindow);
    layout->addWidget(list);
    gridWindow.show();
    list->setFocus();
    list->setCurrentRow(5);

    auto turn = [&](int delta) {
        const QPointF at(10, 10);
        QWheelEvent wheel(at, list->viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(list->viewport(), &wheel);
    };
    {
        // One notch each way: the windows' own (test_alter, test_inventory).
        WheelToArrowFilter filter;
        turn(-360); // a big turn away is still one row
        EXPECT_EQ(list->currentRow(), 6);
    }
    // Without the filter the wheel scrolls and leaves the current row alone.
    turn(-120);
    EXPECT_EQ(list->currentRow(), 6);
}
