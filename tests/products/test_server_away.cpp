// The product module on a server of its own that goes away under it: stopped
// cleanly or killed, then started again while the module keeps running. The
// user's typed work stays, the loss is told once, and the next actions after
// the restart go through without restarting anything.

#include "Bulkread.h"
#include "Connection.h"
#include "DatabaseError.h"
#include "DatabaseErrorText.h"
#include "Dialogs.h"
#include "PrivateServer.h"
#include "Productdmunit.h"
#include "Productsave.h"
#include "Productsearch.h"
#include "QueryDataSet.h"
#include "Reportworker.h"
#include "Schema.h"
#include "TestServer.h"
#include "test_shopserver.h"
#include "SqlText.h"

#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>

using namespace tarvex;

namespace {

class ServerAway : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = std::make_unique<QTemporaryDir>();
        s_server = startShopServer(s_dir->filePath(QStringLiteral("srv")));
        s_connection = std::make_unique<Connection>(shopSettings(*s_server));
        s_dm = std::make_unique<products::TProductDM>();
        s_dm->setLocalSettings(s_dir->filePath(QStringLiteral("tarvex.ini")), s_dir->path());
        s_dm->SetZConnection(s_connection.get());
        s_dm->DataModuleCreate();
        s_dm->SetDefaultTaxID(1);
        products::ProductDM = s_dm.get();
    }
    static void TearDownTestSuite()
    {
        products::ProductDM = nullptr;
        s_dm.reset();
        s_connection.reset();
        s_server->stop();
        s_server.reset();
        s_dir.reset();
    }

    static products::TProductDM& dm() { return *s_dm; }
    static QueryDataSet& productZQ() { return *dm().ProductZQ; }
    static Field& P(const char* name) { return productZQ().fieldByName(QString::fromUtf8(name)); }

    static void stopServer(bool crash)
    {
        if (crash)
            test::killServer(*s_server);
        else
            ASSERT_TRUE(s_server->stop());
    }
    static void startServer() { ASSERT_TRUE(s_server->start()); }

    static void openProduct(qint64 id)
    {
        productZQ().setSql(ChangeSQLCondition(products::TProductDM::productDesignSql(),
                                             QStringLiteral("p.productid = %1").arg(id)));
        productZQ().open();
    }
    static void save() { products::Productsave(dm()).write({}); }
    // Read on a session of its own, as another workstation sees it.
    static QString stored(const QString& sql)
    {
        Connection other(shopSettings(*s_server));
        QSqlQuery query = other.select(sql);
        return query.next() ? query.value(0).toString() : QString();
    }
    static QList<qint64> search(const QString& name)
    {
        qint32 warehouse = 0;
        products::applySearch(productZQ(), products::ProductSearch(dm()).parse({{QStringLiteral("name"), name}}, warehouse));
        productZQ().open();
        QList<qint64> ids;
        for (productZQ().first(); !productZQ().eof(); productZQ().next())
            ids << P("productid").asLargeInt();
        std::sort(ids.begin(), ids.end());
        return ids;
    }

    static inline std::unique_ptr<QTemporaryDir> s_dir;
    static inline std::unique_ptr<PrivateServer> s_server;
    static inline std::unique_ptr<Connection> s_connection;
    static inline std::unique_ptr<products::TProductDM> s_dm;
};

TEST_F(ServerAway, ATypedEditOutlivesTheServerAndIsSavedOnceItIsBack)
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
        EXPECT_EQ(stored("SELECT CONCAT(name, '/', price) FROM product WHERE productid = 1"),
                  typed + (crash ? "/7.5" : "/5.5"));
        EXPECT_EQ(stored("SELECT COUNT(*) FROM product"), "2");
    }
}

TEST_F(ServerAway, ASessionLeftIdleAcrossARestartReadsAndWritesWithoutAWord)
{
    EXPECT_EQ(search(QStringLiteral("Kif")), QList<qint64>{2});
    for (const bool crash : {false, true}) {
        SCOPED_TRACE(crash ? "kill -9" : "SIGTERM");
        stopServer(crash);
        startServer();
        // The search meets the dead session, opens a new one and reads again.
        EXPECT_EQ(toldHeadline([] { EXPECT_EQ(search(QStringLiteral("K")), QList<qint64>{2}); }), QString());
        QSqlQuery mode = s_connection->select(QStringLiteral("SELECT @@SESSION.sql_mode"));
        ASSERT_TRUE(mode.next());
        EXPECT_TRUE(mode.value(0).toString().contains(QStringLiteral("NO_BACKSLASH_ESCAPES")));

        // A post outside any transaction on a session idle across a restart:
        // the session is checked first, so the one write goes through once.
        stopServer(crash);
        startServer();
        QueryDataSet& taxes = *dm().TaxZQ;
        taxes.close();
        taxes.open();
        const int before = taxes.recordCount();
        QThread::msleep(1100);  // idle long enough to be checked
        stopServer(crash);
        startServer();
        taxes.append();
        taxes.fieldByName(QStringLiteral("name")).setValue(crash ? QStringLiteral("PDV10") : QStringLiteral("PDV8"));
        taxes.fieldByName(QStringLiteral("value")).setValue(crash ? 10 : 8);
        EXPECT_EQ(toldHeadline([&] { taxes.post(); }), QString());
        EXPECT_EQ(stored("SELECT COUNT(*) FROM tax"), QString::number(before + 1));
    }
}

// Statements handed the Qt connection, and a worker about to open a
// connection of its own, go through the Connection working on it.
TEST_F(ServerAway, EveryWayToTheSessionMeetsTheRestartTheSameWay)
{
    const QSqlDatabase qt = s_connection->database();
    ASSERT_EQ(Connection::working(qt), s_connection.get());
    stopServer(true);
    startServer();
    QSqlQuery name = selectSql(qt, QStringLiteral("SELECT name FROM product WHERE productid = ?"), {2});
    ASSERT_TRUE(name.next());
    EXPECT_EQ(name.value(0).toString(), QStringLiteral("Kifla"));

    stopServer(false);
    EXPECT_EQ(toldHeadline([] { s_connection->check(); }), DB_CONNECTION_LOST_ERR);
    EXPECT_EQ(toldHeadline([] { s_connection->check(); }), DB_SERVER_AWAY_ERR);
    startServer();
    EXPECT_EQ(toldHeadline([] { s_connection->check(); }), QString());
    // Values reach the server bound, quotes and all.
    QueryDataSet named(s_connection.get(), QStringLiteral("SELECT productid FROM product WHERE name = :name OR name = :other"));
    named.setParam(QStringLiteral("name"), QStringLiteral("Kifla"));
    named.setParam(QStringLiteral("other"), QStringLiteral("O'Neil\\' OR 1=1 -- "));
    QVariantList values;
    const QString bound = named.boundSql(named.sql(), values);
    EXPECT_FALSE(bound.contains(QStringLiteral("Kifla")));
    EXPECT_EQ(QueryDataSet::readRows(qt, bound, values).values.size(), 1u);
}

// A report's bulk reads, and the reads it runs beside them on a connection
// of their own, go through a Connection as well.
TEST_F(ServerAway, AReportsOwnReadsMeetTheRestartToo)
{
    const QSqlDatabase qt = s_connection->database();
    stopServer(true);
    startServer();
    QSqlQuery rows = products::selectRows(qt, QStringLiteral("SELECT name FROM product WHERE productid = ?"), {2});
    ASSERT_TRUE(rows.next());
    EXPECT_EQ(rows.value(0).toString(), QStringLiteral("Kifla"));

    bool routed = false;
    QString name;
    products::TSideWork side(qt, [&](QSqlDatabase own) {
        routed = Connection::working(own) != nullptr;
        QSqlQuery row = products::selectRows(own, QStringLiteral("SELECT name FROM product WHERE productid = ?"), {2});
        if (row.next())
            name = row.value(0).toString();
    });
    side.wait();
    EXPECT_TRUE(routed);
    EXPECT_EQ(name, QStringLiteral("Kifla"));
}

// A transaction dies with its session: its later statements are refused,
// not run on their own, and nothing is sent twice. The next statement after
// it opens a new session.
TEST_F(ServerAway, ATransactionCutOffIsNotCarriedOnOrRepeated)
{
    Connection& connection = *s_connection;
    connection.execute(QStringLiteral("DELETE FROM productrebate"));
    auto insert = [&](int quantity) {
        connection.execute(QStringLiteral("INSERT INTO productrebate (productid, quantity) VALUES (1, %1)").arg(quantity));
    };
    {
        Transaction transaction(connection);
        insert(2);
        stopServer(true);
        startServer();
        EXPECT_EQ(toldHeadline([&] { insert(3); }), DB_CONNECTION_LOST_ERR);
        EXPECT_EQ(toldHeadline([&] { insert(4); }), DB_CONNECTION_LOST_ERR);
        EXPECT_FALSE(connection.isConnected());
    }
    EXPECT_EQ(stored("SELECT COUNT(*) FROM productrebate"), "0");
    insert(5);
    EXPECT_TRUE(connection.isConnected());
    EXPECT_EQ(stored("SELECT GROUP_CONCAT(quantity) FROM productrebate"), "5");
}

} // namespace
