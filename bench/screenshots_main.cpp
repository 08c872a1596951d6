// tarvex-screenshots: the demo shop's windows as a user sees them, saved as
// PNG files (scripts/screenshots runs it).
//
//   tarvex-screenshots --socket PATH [--user NAME] OUTPUT-DIR
//
// Fills a database "screenshots" with the small demo shop (dropped first),
// opens the product list in the console with a category search and saves it,
// then the editor's pages, the reference windows and the stock reports. The
// README's pictures are readme-list, readme-editor and readme-inventory.

#include "Connection.h"
#include "Console.h"
#include "DBGrid.h"
#include "DemoData.h"
#include "DemoTarget.h"
#include "Inventoryallwarehousesunit.h"
#include "Inventoryquantityunit.h"
#include "Inventorystockpriceunit.h"
#include "Inventoryunit.h"
#include "MainWindow.h"
#include "Modal.h"
#include "PrivateServer.h"
#include "Productdmunit.h"
#include "Productnavigatorunit.h"
#include "Productviewerunit.h"
#include "Schema.h"
#include "ScriptedDialogs.h"
#include "SearchValueList.h"
#include "StandIns.h"
#include "Stocksoverviewunit.h"
#include "Turnoverallwarehousesunit.h"

#include <QAction>
#include <QApplication>
#include <QCommandLineParser>
#include <QDialog>
#include <QDir>
#include <QDockWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <functional>

using namespace tarvex;

namespace {

class Shots {
public:
    explicit Shots(const QString& dir) : m_dir(dir) {}

    void save(QWidget& window, const QString& name)
    {
        window.show();
        QApplication::processEvents();
        if (window.grab().save(m_dir.filePath(name + QStringLiteral(".png"))))
            QTextStream(stdout) << name << ".png" << Qt::endl;
        else
            fail(name + QStringLiteral(": not saved"));
    }

    // Runs `open`, which shows one modal window; `prepare` fills it (by
    // default "&Prikaži" is pressed when the window has it), then it is saved.
    void modal(const QString& name, const std::function<void()>& open,
               const std::function<void(QDialog&)>& prepare = {}, QSize least = QSize(1100, 600))
    {
        int shown = 0;
        ScopedModalHandler handler([&](QDialog& dialog) {
            if (shown++ > 0)
                return int(QDialog::Rejected);
            dialog.resize(dialog.size().expandedTo(least));
            dialog.show();
            if (prepare)
                prepare(dialog);
            else
                for (QPushButton* button : dialog.findChildren<QPushButton*>())
                    if (button->text() == QStringLiteral("&Prikaži"))
                        button->click();
            save(dialog, name);
            return int(QDialog::Rejected);
        });
        open();
        if (shown == 0)
            fail(name + QStringLiteral(": no window opened"));
    }

    void fail(const QString& text)
    {
        QTextStream(stderr) << "tarvex-screenshots: " << text << Qt::endl;
        m_failed = true;
    }
    bool failed() const { return m_failed; }

private:
    QDir m_dir;
    bool m_failed = false;
};

QString dairyPath(QSqlDatabase db)
{
    QSqlQuery path = selectSql(db, QStringLiteral(
        "SELECT CONCAT(top.name, '>', mid.name, '>', leaf.name) FROM categorypr leaf "
        "JOIN categorypr mid ON mid.categoryprid = leaf.parentid "
        "JOIN categorypr top ON top.categoryprid = mid.parentid WHERE leaf.name = 'Mleko i jogurt'"));
    return path.next() ? path.value(0).toString() : QString();
}

void shootShop(Shots& shots, Connection& connection, const QString& settingsDir)
{
    Console console;
    console.addService(ComPtr<IInterface>(new SecurityStandIn(connection)));
    console.loadModule(QStringLiteral(TARVEX_PRODUCTS_MODULE));
    products::ProductDM->setLocalSettings(QDir(settingsDir).filePath(QStringLiteral("tarvex.ini")), settingsDir);
    {
        MainWindow window(console);
        window.resize(1600, 800);
        window.showSnapin();
        auto* list = qobject_cast<products::TProductViewerForm*>(window.centralWidget());
        auto* panel = qobject_cast<products::TProductNavigatorForm*>(window.navigatorDock()->widget());
        if (!list || !panel) {
            shots.fail(QStringLiteral("the product list did not open"));
            return;
        }
        panel->SearchVLE()->setValue(QStringLiteral("category"), dairyPath(connection.database()));
        panel->FindButtonClick();
        // The columns a shop looks at first, so the picture cuts none.
        const QStringList columns = {"name", "code", "barcode", "unitname", "wh_pricewithvat", "primaryamount",
                                     "price", "taxvalue", "pricewithvat"};
        for (const QString& column : list->DBG()->visibleColumns())
            list->DBG()->setColumnVisible(column, columns.contains(column));
        shots.save(window, QStringLiteral("readme-list"));

        shots.modal(QStringLiteral("readme-editor"), [&] { list->ProductEdit->trigger(); }, [&](QDialog& dialog) {
            QTabWidget* pages = dialog.findChild<QTabWidget*>();
            for (int page = 1; pages && page < pages->count(); ++page) {
                if (!pages->isTabVisible(page))
                    continue;
                pages->setCurrentIndex(page);
                shots.save(dialog, QStringLiteral("product-editor-") + pages->widget(page)->objectName().toLower());
            }
            if (pages)
                pages->setCurrentIndex(0);
            // The histories of the product's first warehouse, from the editor's buttons.
            for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
                if (button->text() == QStringLiteral("&Magacinska kartica"))
                    shots.modal(QStringLiteral("warehistory"), [button] { button->click(); });
                else if (button->text() == QStringLiteral("&Robna kartica"))
                    shots.modal(QStringLiteral("stockhistory"), [button] { button->click(); });
            }
        }, QSize());
        const std::pair<const char*, QAction*> references[] = {
            {"categories", list->CategoryAction}, {"taxes", list->TaxAction},
            {"warehouses", list->WarehouseAction}, {"attributes", list->AttributeAction},
            {"options", list->ProductOptions}};
        for (const auto& [name, action] : references)
            shots.modal(QString::fromLatin1(name), [action = action] { action->trigger(); }, [](QDialog&) {},
                        QSize());

        const QString central = QStringLiteral("Centralni magacin");
        shots.modal(QStringLiteral("readme-inventory"), [&] { products::OpenWarehouseInventory(1, central); },
                    [](QDialog&) {});
        shots.modal(QStringLiteral("inventoryquantity"), [&] { products::OpenInventoryQuantity(1, central); });
        shots.modal(QStringLiteral("inventorystockprice"), [&] { products::OpenInventoryStockPrice(1, central); });
        shots.modal(QStringLiteral("inventoryallwarehouses"), [] { products::OpenInventoryAllWarehouses(); });
        shots.modal(QStringLiteral("turnoverallwarehouses"), [] { products::OpenTurnoverAllWarehouses(); });
        shots.modal(QStringLiteral("stocksoverview"), [] { products::OpenStocksOverview(); });
    }
    console.unloadModules();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Saves the demo shop's windows as PNG files."));
    parser.addHelpOption();
    const QCommandLineOption socketOption(QStringLiteral("socket"), QStringLiteral("Server socket."),
                                          QStringLiteral("path"));
    const QCommandLineOption userOption(QStringLiteral("user"), QStringLiteral("User (default: you)."),
                                        QStringLiteral("name"));
    parser.addOptions({socketOption, userOption});
    parser.addPositionalArgument(QStringLiteral("dir"), QStringLiteral("Where the PNG files go."));
    parser.process(app);
    if (!parser.isSet(socketOption) || parser.positionalArguments().size() != 1) {
        QTextStream(stderr) << parser.helpText();
        return 2;
    }
    const QString out = parser.positionalArguments().first();
    QDir().mkpath(out);
    Shots shots(out);
    try {
        ConnectionSettings settings;
        settings.socket = parser.value(socketOption);
        settings.user = parser.isSet(userOption) ? parser.value(userOption) : PrivateServer(QString()).userName();
        QSqlDatabase db = openConnection(settings, QStringLiteral("screenshots"));
        const QString database = QStringLiteral("screenshots");
        dropDatabase(db, database);
        prepareDemoTarget(db, database, false);
        generateDemoData(db, DemoScale::small(), 20261206, QDate(2026, 12, 6));
        settings.database = database;
        Connection connection(settings);
        ScriptedDialogs dialogs;
        QTemporaryDir settingsDir;
        shootShop(shots, connection, settingsDir.path());
        for (const QString& message : dialogs.messages())
            shots.fail(QStringLiteral("message shown: ") + message);
    } catch (const std::exception& e) {
        shots.fail(QString::fromUtf8(e.what()));
    }
    return shots.failed() ? 1 : 0;
}
