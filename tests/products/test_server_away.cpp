// The product module on servers of its own that go away under it: stopped
// cleanly or killed, then started again while the module keeps running. The
// user's typed work stays, the loss is told once, and the next actions after
// the restart go through without restarting anything. A session given
// several servers (the nodes of a cluster) opens on the first that answers
// and, when that one is killed, goes on with the next: two private servers,
// each holding the same shop, stand in for the nodes.

#include "Bulkread.h"
#include "DatabaseError.h"
#include "DatabaseErrorText.h"
#include "Dialogs.h"
#include "PrivateServer.h"
#include "ProductDMFixture.h"
#include "Productsave.h"
#include "QueryDataSet.h"
#include "Reportworker.h"
#include "Schema.h"

#include <QThread>

using namespace tarvex;
using namespace tarvex::test;

namespace {

// The headline the user reads for what the action threw; empty when it went through.
template <class Action>
QString toldHeadline(Action action)
{
    try {
        action();
    } catch (const std::exception& e) {
        return exceptionText(e).section(QStringLiteral("\n\n"), 0, 0);
    }
    return QString();
}

ConnectionSettings shopSettings(const PrivateServer& server)
{
    ConnectionSettings settings;
    settings.socket = server.socketPath();
    settings.user = server.userName();
    settings.database = QStringLiteral("shop");
    return settings;
}

// A durable private server holding a small shop (database "shop": tax 1,
// products 1 "Hleb" and 2 "Kifla"): a row committed before a kill -9 is
// still there after it.
std::unique_ptr<PrivateServer> startShopServer(const QString& dir)
{
    auto server = std::make_unique<PrivateServer>(dir);
    server->start();
    ConnectionSettings settings = shopSettings(*server);
    settings.database.clear();
    {
        QSqlDatabase admin = openConnection(settings, QStringLiteral("shop-admin"));
        createDatabase(admin, QStringLiteral("shop"));
        execSql(admin, QStringLiteral("USE shop"));
        installSchema(admin);
        execSql(admin, QStringLiteral("INSERT INTO tax (taxid, name, value, status) VALUES (1, 'PDV20', 20, 'primary')"));
        execSql(admin, QStringLiteral("INSERT INTO product (productid, name, unitname, taxid, price, pricecurrency, "
                                      "inputprice, inputpricecurrency, supplyprice, planprice) VALUES "
                                      "(1, 'Hleb', 'kom', 1, 1, 'RSD', 1, 'RSD', 1, 1), "
                                      "(2, 'Kifla', 'kom', 1, 1, 'RSD', 1, 'RSD', 1, 1)"));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("shop-admin"));
    return server;
}

// Two durable shop servers: a server killed with the shop's rows a moment
// old still has them when it comes back. The module works on the first;
// each test starts with both running.
class ServerAway : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = std::make_unique<QTemporaryDir>();
        for (const char* name : {"a", "b"})
            s_servers.push_back(startShopServer(s_dir->filePath(QString::fromLatin1(name))));
        s_connection = std::make_unique<Connection>(shopSettings(server(0)));
        s_dm = moduleOn(*s_connection, s_dir->path());
    }
    // A product data module working on the connection, the module's global
    // ProductDM, with its workstation settings in the folder.
    static std::unique_ptr<products::TProductDM> moduleOn(Connection& connection, const QString& folder)
    {
        auto dm = std::make_unique<products::TProductDM>();
        dm->setLocalSettings(folder + QStringLiteral("/tarvex.ini"), folder);
        dm->SetZConnection(&connection);
        dm->DataModuleCreate();
        dm->SetDefaultTaxID(1);
        products::ProductDM = dm.get();
        return dm;
    }
    static void TearDownTestSuite()
    {
        products::ProductDM = nullptr;
        s_dm.reset();
        s_connection.reset();
        for (auto& server : s_servers)
            server->stop();
        s_servers.clear();
        s_dir.reset();
    }
    void SetUp() override
    {
        for (auto& server : s_servers)
            server->start();
    }

    static PrivateServer& server(int i) { return *s_servers[size_t(i)]; }
    static products::TProductDM& dm() { return *products::ProductDM; }

    static void stopServer(bool crash)
    {
        if (crash)
            test::killServer(server(0));
        else
            ASSERT_TRUE(server(0).stop());
    }
    static void startServer() { ASSERT_TRUE(server(0).start()); }
    static void restart(bool crash) { stopServer(crash); startServer(); }

    static void save() { products::Productsave(dm()).write({}); }
    // Read on a session of its own, as another workstation sees it.
    static QString stored(const QString& sql) { return Connection(shopSettings(server(0))).value(sql).toString(); }
    // A session given the servers in this order, as to the nodes of a cluster.
    static ConnectionSettings settings(const QStringList& sockets)
    {
        ConnectionSettings s;
        s.user = server(0).userName();
        s.database = QStringLiteral("shop");
        for (const QString& socket : sockets)
            s.servers << ServerAddress::parse(socket, 3306);
        return s;
    }
    static QString socketOf(Connection& connection)
    {
        return connection.value(QStringLiteral("SELECT @@socket")).toString();
    }
    // A new session runs in the strict mode too.
    static bool strict(Connection& connection)
    {
        return connection.value(QStringLiteral("SELECT @@SESSION.sql_mode")).toString().contains("NO_BACKSLASH_ESCAPES");
    }

    static inline std::unique_ptr<QTemporaryDir> s_dir;
    static inline std::vector<std::unique_ptr<PrivateServer>> s_servers;
    static inline std::unique_ptr<Connection> s_connection;
    static inline std::unique_ptr<products::TProductDM> s_dm;
};

TEST_F(ServerAway, ATypedEditOutlivesTheServerAndAnIdleSessionReadsAndWritesAfterARestart)
{
    for (const bool crash : {false, true}) {
        SCOPED_TRACE(crash ? "kill -9" : "SIGTERM");
        const QString typed = crash ? QStringLiteral("Hleb posle pada") : QStringLiteral("Hleb posle gašenja");
        openProduct(1);
        productZQ().edit();
        P("name").setValue(typed);
        P("price").setValue(crash ? 7.5 : 5.5);

        stopServer(crash);
        // The loss is told once; while the server is away, each try says so.
        EXPECT_EQ(toldHeadline(save), DB_CONNECTION_LOST_ERR);
        EXPECT_EQ(toldHeadline(save), DB_SERVER_AWAY_ERR);
        EXPECT_EQ(productZQ().state(), DataSetState::Edit);
        EXPECT_EQ(P("name").asString(), typed);

        startServer();
        EXPECT_EQ(toldHeadline(save), QString());
        EXPECT_EQ(productZQ().state(), DataSetState::Browse);
        EXPECT_EQ(stored("SELECT name FROM product WHERE productid = 1"), typed);
        EXPECT_EQ(stored("SELECT price FROM product WHERE productid = 1"), crash ? "7.5" : "5.5");
        EXPECT_EQ(stored("SELECT COUNT(*) FROM product"), "2");

        // A session left idle across a restart: opening the list meets the
        // dead session, opens a new one and reads again, without a word.
        restart(crash);
        EXPECT_EQ(toldHeadline([] { openProduct(2); }), QString());
        EXPECT_EQ(P("name").asString(), QStringLiteral("Kifla"));
        EXPECT_TRUE(strict(*s_connection));

        // A post outside any transaction on a session idle across a restart:
        // the session is checked first, so the one write goes through once.
        QueryDataSet& taxes = *dm().TaxZQ;
        taxes.close();
        taxes.open();
        const int before = taxes.recordCount();
        QThread::msleep(1100);  // idle long enough to be checked
        restart(crash);
        taxes.append();
        taxes.fieldByName(QStringLiteral("name")).setValue(crash ? QStringLiteral("PDV10") : QStringLiteral("PDV8"));
        taxes.fieldByName(QStringLiteral("value")).setValue(crash ? 10 : 8);
        EXPECT_EQ(toldHeadline([&] { taxes.post(); }), QString());
        EXPECT_EQ(stored("SELECT COUNT(*) FROM tax"), QString::number(before + 1));

        // A search or a report (a worker's read, which checks the session
        // first) that meets the lost server had no input to lose, and its
        // message says none.
        stopServer(crash);
        const auto search = [] {
            products::TReportWorker worker;
            worker.run(s_connection->database(), [](QSqlDatabase own, const products::TProgress&) {
                selectSql(own, QStringLiteral("SELECT name FROM product"));
            });
        };
        EXPECT_EQ(toldHeadline(search), DB_CONNECTION_LOST_READ_ERR);
        EXPECT_EQ(toldHeadline(search), DB_SERVER_AWAY_ERR);
        startServer();
    }
}

// Statements handed the Qt connection, a report's bulk reads and the reads a
// report runs beside them on a connection of its own go through the
// Connection working on it.
TEST_F(ServerAway, EveryWayToTheSessionMeetsTheRestartTheSameWay)
{
    const QSqlDatabase qt = s_connection->database();
    ASSERT_EQ(Connection::working(qt), s_connection.get());
    const QString kifla = QStringLiteral("SELECT name FROM product WHERE productid = ?");
    const auto first = [](QSqlQuery query) { return query.next() ? query.value(0).toString() : QString(); };
    restart(true);
    EXPECT_EQ(first(selectSql(qt, kifla, {2})), QStringLiteral("Kifla"));
    restart(true);
    EXPECT_EQ(first(products::selectRows(qt, kifla, {2})), QStringLiteral("Kifla"));
    restart(true);
    const QueryRows read = QueryDataSet::readRows(qt, kifla, {2});
    ASSERT_EQ(read.values.size(), 1u);
    bool routed = false;
    QString sideName;
    products::TSideWork side(qt, [&](QSqlDatabase own) {
        routed = Connection::working(own) != nullptr;
        sideName = first(products::selectRows(own, kifla, {2}));
    });
    side.wait();
    EXPECT_TRUE(routed);
    EXPECT_EQ(sideName, QStringLiteral("Kifla"));

    // A transaction dies with its session: its later statements are refused,
    // not run on their own, and nothing is sent twice. The next statement
    // after it opens a new session.
    Connection& connection = *s_connection;
    connection.execute(QStringLiteral("DELETE FROM productrebate"));
    auto insert = [&](int quantity) {
        connection.execute(QStringLiteral("INSERT INTO productrebate (productid, quantity) VALUES (1, %1)").arg(quantity));
    };
    {
        Transaction transaction(connection);
        insert(2);
        restart(true);
        EXPECT_EQ(toldHeadline([&] { insert(3); }), DB_CONNECTION_LOST_ERR);
        EXPECT_EQ(toldHeadline([&] { insert(4); }), DB_CONNECTION_LOST_ERR);
        EXPECT_FALSE(connection.isConnected());
    }
    EXPECT_EQ(stored("SELECT COUNT(*) FROM productrebate"), "0");
    insert(5);
    EXPECT_TRUE(connection.isConnected());
    EXPECT_EQ(stored("SELECT COUNT(*) FROM productrebate"), "1");
    EXPECT_EQ(stored("SELECT quantity FROM productrebate"), "5");
}

// The session opens on the first server that answers and moves on when it
// dies: a read meeting the dead session runs again on the next, and an edit
// pending when its server is killed is saved on the next without a word.
TEST_F(ServerAway, TheSessionOpensOnTheFirstServerThatAnswersAndMovesOnWhenItDies)
{
    const QString a = server(0).socketPath();
    const QString b = server(1).socketPath();
    Connection connection(settings({QStringLiteral("/nema/ovde.sock"), a, b}));
    EXPECT_EQ(socketOf(connection), a);
    EXPECT_EQ(connection.serverText(), a);

    test::killServer(server(0));
    EXPECT_EQ(socketOf(connection), b);
    EXPECT_TRUE(strict(connection));
    // The first server back does not pull a working session away from the other.
    server(0).start();
    EXPECT_EQ(socketOf(connection), b);

    QTemporaryDir local;
    const auto module = moduleOn(connection, local.path());
    openProduct(1);
    productZQ().edit();
    P("name").setValue(QStringLiteral("Hleb sa druge strane"));
    test::killServer(server(1));
    // The user takes a moment before "U redu": the idle session is checked
    // before the write, and the save goes to the server still up.
    QThread::msleep(1100);
    EXPECT_EQ(toldHeadline(save), QString());
    EXPECT_EQ(productZQ().state(), DataSetState::Browse);
    EXPECT_EQ(socketOf(connection), a);
    EXPECT_EQ(stored("SELECT name FROM product WHERE productid = 1"), QStringLiteral("Hleb sa druge strane"));
    products::ProductDM = s_dm.get();

    // With every server away, opening says that no server answers.
    try {
        Connection none(settings({QStringLiteral("/nema/a.sock"), QStringLiteral("/nema/b.sock")}));
        FAIL() << "opened without a server";
    } catch (const DatabaseError& e) {
        EXPECT_TRUE(e.isServerAway()) << e.code();
    }
}

} // namespace
