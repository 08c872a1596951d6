// The console: opens the database (the configured server or the embedded
// private one), offers the sibling-module stand-ins, loads the product
// module and shows its catalogue.

#include "AutoBackup.h"
#include "BackupMenu.h"
#include "Clock.h"
#include "Console.h"
#include "CustomNavigatorForm.h"
#include "DemoFill.h"
#include "IniFile.h"
#include "LogFile.h"
#include "MainWindow.h"
#include "QtDialogs.h"
#include "SerbianTexts.h"
#include "StandIns.h"
#include "Wizards.h"
#include "SignIn.h"
#include "Startup.h"
#include "StartupWindow.h"
#include "StopSignals.h"
#include "Workstation.h"

#include <QApplication>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QPushButton>
#include <QStatusBar>
#include <QTextStream>
#include <QTimer>
#include <QDir>
#include <QFileInfo>

using namespace tarvex;

int main(int argc, char** argv)
{
    QElapsedTimer started;
    started.start();
    QApplication app(argc, argv);
    installLogFile();
    // --startup-time: lists the whole catalogue as soon as the window is up,
    // prints the milliseconds from the start to that usable list and ends.
    const bool startupTime = app.arguments().contains(QStringLiteral("--startup-time"));
    QApplication::setApplicationName(QStringLiteral("Tarvex"));
    installSerbianTexts();
    QtDialogs qtDialogs;
    setDialogs(&qtDialogs);
    StopSignals stopSignals;

    const Workstation workstation = Workstation::current();
    // Options the module writes need the user's folders when installed.
    QDir().mkpath(QFileInfo(workstation.settingsFile()).absolutePath());
    QDir().mkpath(workstation.dataDir());

    std::unique_ptr<PrivateServer> server;
    std::unique_ptr<Connection> connection;
    ConnectionSettings data;  // the console's database, for its backups
    // Says what start-up does until the console's window comes.
    auto startupWindow = std::make_unique<StartupWindow>();
    StartupSettings settings;
    try {
        settings = readStartupSettings(workstation.settingsFile());
        // A new embedded database starts as the small demo shop.
        const StartupProgress progress = [&](const QString& step, int percent) { startupWindow->step(step, percent); };
        if (settings.signIn) {
            connection = signIn(settings, [&server, &progress](const StartupSettings& attempt) {
                return openStartupDatabase(attempt, fillDemoShop, server, progress);
            });
            if (!connection)
                return 0;  // the user gave up signing in
        } else {
            connection = openStartupDatabase(settings, fillDemoShop, server, progress);
        }
        data = settings.connection;
        if (server) {
            data.socket = server->socketPath();
            data.user = server->userName();
            data.database = settings.database;
            // Told once the action that found the server dead is done.
            connection->setServerReviver(privateServerReviver(*server, [](const QString& text) {
                QTimer::singleShot(0, [text] { dialogs().information(text); });
            }));
        }
    } catch (const std::exception& e) {
        startupWindow.reset();
        dialogs().showException(e);
        return 1;
    }

    // A stop asked for while starting up came before the event loop could
    // end: the console ends here, as its close button would have.
    const auto stopAskedFor = [&] { return stopSignals.received() != 0; };
    if (stopAskedFor()) {
        startupWindow.reset();
        connection.reset();
        if (server && server->startedHere())
            server->stop();
        return 0;
    }

    int result = 0;
    {
        Console console;
        console.setWizardRunner([&console](const QString& name, const QString& parameters, QTableView* grid) {
            return runWizard(name, parameters, grid, &console);
        });
        console.addService(ComPtr<IInterface>(new SecurityStandIn(*connection)));
        console.addService(ComPtr<IInterface>(new CurrencyStandIn(*connection)));
        console.addService(ComPtr<IInterface>(new DocumentStandIn(*connection)));
        console.addService(ComPtr<IInterface>(new ProductionStandIn(*connection)));
        console.addService(ComPtr<IInterface>(new TaxDepreciationGroupStandIn(
            *connection, QStringLiteral("depreciationgroup"), QStringLiteral("Poreske amortizacione grupe"))));
        console.addService(ComPtr<IInterface>(new AccountingDepreciationGroupStandIn(
            *connection, QStringLiteral("depreciationaccountinggroup"),
            QStringLiteral("Računovodstvene amortizacione grupe"))));
        console.addService(ComPtr<IInterface>(new ObjectStandIn));

        const QString products = workstation.modulePath(QStringLiteral("products"));
        if (QFileInfo::exists(products)) {
            try {
                console.loadModule(products);
            } catch (const std::exception& e) {
                dialogs().showException(e);
            }
        }
        {
            MainWindow window(console);
            const StaffRole role = sessionRole(connection->database());
            window.setSession(*connection, sessionStatusText(*connection, settings, role), role, !settings.embedded);
            window.showSnapin();
            window.show();
            startupWindow.reset();
            auto* backupMenu = new BackupMenu(window, *window.fileMenu(), data, BackupFolder::defaultDir());
            QObject::connect(backupMenu, &BackupMenu::restored, &window, &QWidget::close);
            // The embedded default backs itself up at the first start of each day.
            std::unique_ptr<AutoBackup> autoBackup;
            if (server && !startupTime) {
                autoBackup = std::make_unique<AutoBackup>(data, BackupFolder::defaultDir());
                QObject::connect(autoBackup.get(), &AutoBackup::report, &window,
                                 [&window](const QString& text) { window.statusBar()->showMessage(text); });
                autoBackup->startIfDue(hostClock().today());
            }
            if (startupTime)
                QTimer::singleShot(0, &window, [&] {
                    if (auto* panel = qobject_cast<TCustomNavigatorForm*>(window.navigatorDock()->widget()))
                        panel->FindButton()->click();
                    QTextStream(stdout) << "tarvex: usable list after " << started.elapsed() << " ms" << Qt::endl;
                    app.quit();
                });
            if (!stopAskedFor())
                result = app.exec();
        }
        console.unloadModules();
    }
    connection.reset();
    if (server && server->startedHere())
        server->stop();
    return result;
}
