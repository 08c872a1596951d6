// The console: opens the database (the configured server or the embedded
// private one), offers the sibling-module stand-ins, loads the product
// module and shows its catalogue.

#include "Console.h"
#include "DemoData.h"
#include "IniFile.h"
#include "MainWindow.h"
#include "QtDialogs.h"
#include "SerbianTexts.h"
#include "StandIns.h"
#include "Wizards.h"
#include "Startup.h"
#include "StopSignals.h"
#include "Workstation.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

using namespace tarvex;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvex"));
    installSerbianTexts();
    QtDialogs qtDialogs;
    setDialogs(&qtDialogs);
    StopSignals stopSignals;

    const Workstation workstation = Workstation::current();
    // Options and layouts the module writes need the user's folders when installed.
    QDir().mkpath(QFileInfo(workstation.settingsFile()).absolutePath());
    QDir().mkpath(workstation.dataDir());

    std::unique_ptr<PrivateServer> server;
    std::unique_ptr<Connection> connection;
    try {
        const StartupSettings settings = readStartupSettings(workstation.settingsFile());
        // A new embedded database starts as the small demo shop.
        const DemoFiller demo = [](QSqlDatabase& db) { generateDemoData(db, DemoScale::small(), 20261206); };
        connection = openStartupDatabase(settings, demo, server);
    } catch (const std::exception& e) {
        dialogs().showException(e);
        return 1;
    }

    int result = 0;
    {
        Console console;
        console.setWizardRunner([&connection](const QString& name, const QString& parameters, QTableView* grid) {
            return runWizard(name, parameters, grid, connection->database());
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
            window.showSnapin();
            window.show();
            result = app.exec();
        }
        console.unloadModules();
    }
    connection.reset();
    if (server)
        server->stop();
    return result;
}
