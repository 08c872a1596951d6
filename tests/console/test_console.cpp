#include "Connection.h"
#include "Console.h"
#include "Error.h"
#include "LogCategories.h"
#include "LogFile.h"
#include "MainWindow.h"
#include "Modal.h"
#include "ScratchHelpers.h"
#include "ScriptedDialogs.h"
#include "Siblingintf.h"
#include "StandIns.h"
#include "TestServer.h"

#include <QDialog>
#include <QDockWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tarvex;
using namespace tarvex::test;

namespace {

class ConsoleTest : public DatabaseTest {};

} // namespace

TEST(ConsoleLog, PomocDnevnikOpensTheLogFileOrSaysThereIsNoneYet)
{
    QTemporaryDir dir;
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", dir.path().toUtf8());
    ScriptedDialogs script;
    Console console;
    MainWindow window(console);
    QStringList opened;
    const MainWindow::FileOpener before = MainWindow::setFileOpener([&](const QString& path) { opened << path; });
    QAction* entry = nullptr;
    for (QAction* menu : window.menuBar()->actions())
        if (menu->text() == QStringLiteral("&Pomoć") && menu->menu())
            for (QAction* action : menu->menu()->actions())
                if (action->text() == QStringLiteral("&Dnevnik"))
                    entry = action;
    ASSERT_NE(entry, nullptr);

    entry->trigger();
    EXPECT_EQ(opened, QStringList());
    EXPECT_ROWS(script.messages(), QStringList({"Dnevnik još ne postoji: " + dir.path() + "/tarvex/tarvex.log"}));

    installLogFile();
    qCInfo(lcSecurity) << "Prijava";
    entry->trigger();
    removeLogFile();
    EXPECT_ROWS(opened, QStringList({dir.path() + "/tarvex/tarvex.log"}));
    EXPECT_EQ(script.messages().size(), 1);

    MainWindow::setFileOpener(before);
    qputenv("XDG_DATA_HOME", dataHome);
}

TEST_F(ConsoleTest, LoadsAModuleShowsItRunsWizardsAndOptionsOnItUnloadsInOrderAndSiblingServicesWorkOnTheDatabase)
{
    QTemporaryDir dir;  // an empty log of the fake module's calls
    qputenv("TARVEX_FAKE_MODULE_LOG", dir.filePath("calls.log").toUtf8());
    {
        ScriptedDialogs script;
        Console console;
        // A library without the module's entries is refused.
        EXPECT_THROW(console.loadModule(QStringLiteral("/nonexistent/libnothing.so")), TarvexError);
        EXPECT_TRUE(console.snapins().isEmpty());
        console.loadModule(QStringLiteral(TARVEX_FAKE_MODULE));
        ASSERT_EQ(console.snapins().size(), 1);
        EXPECT_EQ(console.snapins().first()->GetSnapinType(), 4242);

        // A service is whatever a module's snap-in answers for.
        IInterface* found = nullptr;
        ASSERT_TRUE(console.FindService(IID_IOptionsTab, &found));
        found->Release();
        EXPECT_FALSE(console.FindService(IID_IObjectService, &found));

        MainWindow window(console);
        window.showSnapin();
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Tarvex - Proba"));
        EXPECT_NE(console.GetActiveGrid(), nullptr); // the viewer's Show passed its grid
        EXPECT_NE(window.navigatorDock()->widget(), nullptr);
        // One tool bar for the list's actions: the list's own.
        EXPECT_TRUE(window.findChildren<QToolBar*>(QString(), Qt::FindDirectChildrenOnly).isEmpty());
        EXPECT_EQ(window.findChildren<QToolBar*>().size(), window.centralWidget()->findChildren<QToolBar*>().size());

        // Wizards run on the active grid; an unknown one is told.
        QString ran, with;
        bool onGrid = false;
        console.setWizardRunner([&](const QString& name, const QString& parameters, QTableView* grid) {
            ran = name;
            with = parameters;
            onGrid = grid && grid == console.GetActiveGrid();
            return name == QStringLiteral("Štampa");
        });
        console.RunWizard(QStringLiteral("Štampa"), QStringLiteral("title:Proizvodi;header:"));
        EXPECT_EQ(ran, QStringLiteral("Štampa"));
        EXPECT_EQ(with, QStringLiteral("title:Proizvodi;header:"));
        EXPECT_TRUE(onGrid);
        EXPECT_TRUE(script.messages().isEmpty());
        console.RunWizard(QStringLiteral("Nepoznat"), QString());
        EXPECT_EQ(script.messages().size(), 1);

        // The options dialog checks, then stores every page.
        ScopedModalHandler press([](QDialog& dialog) {
            auto* tabs = dialog.findChild<QTabWidget*>();
            EXPECT_EQ(tabs->count(), 1);
            EXPECT_EQ(tabs->tabText(0), QStringLiteral("Proba"));
            for (QPushButton* button : dialog.findChildren<QPushButton*>())
                if (button->text() == QStringLiteral("&U redu"))
                    button->click();
            return dialog.result();
        });
        window.optionsAction()->trigger();
    }
    EXPECT_EQ(fileBytes(dir.filePath("calls.log")).toStdString(),
              "initialize;load;show;navigator;createframe;check;update;destroyframe;hide;factory freed;snapin freed;"
              "finalize;");

    // Stand-ins of the sibling modules' services work on the database.
    Connection connection(db());
    execSql(db(), "INSERT INTO currency (code, name, status) VALUES ('EUR', 'Evro', 'standard'), ('RSD', 'Dinar', 'primary')");
    execSql(db(), "INSERT INTO depreciationgroup (depreciationgroupid, percent, description) VALUES (3, 10, 'Druga'), (4, 2.5, 'Prva')");

    Console console;
    console.addService(ComPtr<IInterface>(new SecurityStandIn(connection)));
    console.addService(ComPtr<IInterface>(new CurrencyStandIn(connection)));
    console.addService(ComPtr<IInterface>(new TaxDepreciationGroupStandIn(connection, "depreciationgroup", "Grupe")));

    IInterface* raw = nullptr;
    ASSERT_TRUE(console.FindService(IID_ISecurityService, &raw));
    auto security = ComPtr<ISecurityService>::adopt(static_cast<ISecurityService*>(raw));
    EXPECT_EQ(security->GetConnection(), &connection);
    security->RefreshSession();
    EXPECT_TRUE(connection.isConnected());
    EXPECT_FALSE(console.FindService(IID_IDocumentService, &raw));

    ASSERT_TRUE(console.FindService(IID_ICurrencyService, &raw));
    auto currency = ComPtr<ICurrencyService>::adopt(static_cast<ICurrencyService*>(raw));
    {
        // The list is sorted by code: pick the second row.
        ScopedModalHandler pick([](QDialog& dialog) {
            auto* table = dialog.findChild<QTableWidget*>();
            EXPECT_EQ(table->rowCount(), 2);
            table->selectRow(1);
            dialog.accept();
            return int(QDialog::Accepted);
        });
        QString code;
        EXPECT_TRUE(currency->GetCurrency(code));
        EXPECT_EQ(code, QStringLiteral("RSD"));
    }
    ASSERT_TRUE(console.FindService(IID_IDepreciationGroupService, &raw));
    auto groups = ComPtr<IDepreciationGroupService>::adopt(static_cast<IDepreciationGroupService*>(raw));
    ScopedModalHandler first([](QDialog& dialog) {
        dialog.accept();
        return int(QDialog::Accepted);
    });
    qint64 id = 0;
    double percent = 0;
    EXPECT_TRUE(groups->GetGroup(id, percent));
    EXPECT_EQ(id, 4); // lowest rate first
    EXPECT_DOUBLE_EQ(percent, 2.5);
}
