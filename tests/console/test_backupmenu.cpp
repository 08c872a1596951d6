// The console's backup entries as a user meets them: "Datoteka > Rezervna
// kopija" and "Vrati iz rezervne kopije…" ask first, show their strip with
// "Prekini" while they work, and say when they are done.

#include <QAbstractButton>

#include "BackupMenu.h"
#include "Schema.h"
#include "DatabaseRestore.h"
#include "QtWarnings.h"
#include "ScriptedDialogs.h"
#include "TestServer.h"
#include "UserDriving.h"

#include <QDir>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace tarvex;
using namespace tarvex::test;

TEST(BackupMenu, BothEntriesAskShowTheirStripStopOnPrekiniAndSayWhenDone)
{
    const QtWarnings warnings;  // each a fault of the window under test

    TestDatabase shop(QStringLiteral("bk_menu"));
    QSqlDatabase db = shop.connection();
    execSql(db, QStringLiteral("INSERT INTO tax (name, value) VALUES ('PDV20', 20), ('PDV10', 10)"));
    QTemporaryDir folder;
    ScriptedDialogs dialogs;

    QMainWindow window;
    QMenu* file = window.menuBar()->addMenu(QStringLiteral("&Datoteka"));
    file->addAction(QStringLiteral("&Izlaz"));
    auto* menu = new BackupMenu(window, *file, shop.settings(), folder.path());
    QSignalSpy restored(menu, &BackupMenu::restored);
    window.show();
    QStringList entries;
    for (const QAction* action : file->actions())
        entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_ROWS(entries, QStringList({BACKUP_MENU_CAP, RESTORE_MENU_CAP, "-", "&Izlaz"}));
    EXPECT_FALSE(menu->strip()->isVisible());
    const auto files = [&] { return QDir(folder.path()).entryList(QDir::Files); };
    const auto waitDone = [&] { QTRY_VERIFY_WITH_TIMEOUT(!menu->runner().running() && !menu->strip()->isVisible(), 120000); };

    // "No" leaves everything as it was.
    dialogs.answer(ButtonNo);
    menu->backupAction()->trigger();
    EXPECT_FALSE(menu->strip()->isVisible());
    EXPECT_ROWS(dialogs.messages(), QStringList{BACKUP_CONFIRM_FMT.arg(folder.path())});
    EXPECT_TRUE(files().isEmpty());

    // Yes: the strip while it works, the entries off, then the file and the word that it is done.
    dialogs.clear();
    dialogs.answer(ButtonYes);
    menu->backupAction()->trigger();
    EXPECT_TRUE(menu->strip()->isVisible());
    EXPECT_FALSE(menu->backupAction()->isEnabled());
    EXPECT_FALSE(menu->restoreAction()->isEnabled());
    waitDone();
    ASSERT_EQ(files().size(), 1);
    const QString backup = QDir(folder.path()).filePath(files().first());
    ASSERT_EQ(dialogs.messages().size(), 2);
    EXPECT_TRUE(dialogs.messages()[1].startsWith(BACKUP_DONE_FMT.section(QLatin1Char('%'), 0, 0) + backup))
        << dialogs.messages()[1].toStdString();
    EXPECT_EQ(menu->progressBar()->value(), 100);
    EXPECT_TRUE(menu->backupAction()->isEnabled());
    EXPECT_TRUE(menu->restoreAction()->isEnabled());

    // "Prekini" at once: stopped, said so, no new file and nothing half-written.
    dialogs.clear();
    dialogs.answer(ButtonYes);
    QTest::qWait(1100);  // a new second: the next backup's name differs
    menu->backupAction()->trigger();
    click(menu->cancelButton());
    waitDone();
    EXPECT_ROWS(dialogs.messages(), QStringList({BACKUP_CONFIRM_FMT.arg(folder.path()), BACKUP_STOPPED_INF}));
    EXPECT_ROWS(files(), QStringList{QFileInfo(backup).fileName()});

    // Restore: the file chosen, the question names what happens to today's data, then it is back.
    execSql(db, QStringLiteral("DELETE FROM tax WHERE name = 'PDV10'"));
    dialogs.clear();
    dialogs.answer(backup).answer(ButtonYes);
    menu->restoreAction()->trigger();
    waitDone();
    const QString aside = DatabaseRestore(shop.settings()).asideDatabase();
    ASSERT_EQ(dialogs.messages().size(), 2) << dialogs.messages().join('\n').toStdString();
    EXPECT_EQ(dialogs.messages()[0], RESTORE_CONFIRM_FMT.arg(shop.name(), backup, aside));
    EXPECT_TRUE(dialogs.messages()[1].startsWith(RESTORE_DONE_FMT.section(QLatin1Char('%'), 0, 0)))
        << dialogs.messages()[1].toStdString();
    EXPECT_EQ(restored.count(), 1);
    QSqlDatabase after = openConnection(shop.settings(), QStringLiteral("bk-menu-after"));
    EXPECT_ROWS(rowsOf(after, QStringLiteral("SELECT name FROM tax ORDER BY name")), (QStringList{"PDV10", "PDV20"}));
    dropDatabase(after, aside);

    EXPECT_TRUE(warnings.seen().isEmpty()) << warnings.text().toStdString();
}
