// A session given several servers (the nodes of a cluster): it opens on the
// first that answers and, when that one is killed, goes on with the next; a
// product edit pending at that moment is saved there. Two private servers,
// each holding the same shop, stand in for the nodes: which server holds the
// session is read from its socket.

#include "Connection.h"
#include "DatabaseError.h"
#include "Dialogs.h"
#include "PrivateServer.h"
#include "Productdmunit.h"
#include "Productsave.h"
#include "Schema.h"
#include "TestServer.h"
#include "test_shopserver.h"
#include "SqlText.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>

using namespace tarvex;

namespace {

class Failover : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = std::make_unique<QTemporaryDir>();
        // Durable: a server killed with the shop's rows a moment old must
        // still have them when it comes back for the next test.
        for (const char* name : {"a", "b"})
            s_servers.push_back(startShopServer(s_dir->filePath(QString::fromLatin1(name))));
    }
    static void TearDownTestSuite()
    {
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
    static inline std::unique_ptr<QTemporaryDir> s_dir;
    static inline std::vector<std::unique_ptr<PrivateServer>> s_servers;
};

} // namespace

TEST_F(Failover, TheSessionOpensOnTheFirstServerThatAnswersAndMovesOnWhenItDies)
{
    const QString a = server(0).socketPath();
    const QString b = server(1).socketPath();
    Connection connection(settings({QStringLiteral("/nema/ovde.sock"), a, b}));
    EXPECT_EQ(socketOf(connection), a);
    EXPECT_EQ(connection.serverText(), a);

    test::killServer(server(0));
    // A read meeting the dead session runs again on the next server.
    EXPECT_EQ(socketOf(connection), b);
    QSqlQuery mode = connection.select(QStringLiteral("SELECT @@SESSION.sql_mode"));
    ASSERT_TRUE(mode.next());
    EXPECT_TRUE(mode.value(0).toString().contains(QStringLiteral("NO_BACKSLASH_ESCAPES")));
    // The first server back does not pull a working session away from the other.
    server(0).start();
    EXPECT_EQ(socketOf(connection), b);

    // With every server away, opening says that no server answers.
    try {
        Connection none(settings({QStringLiteral("/nema/a.sock"), QStringLiteral("/nema/b.sock")}));
        FAIL() << "opened without a server";
    } catch (const DatabaseError& e) {
        EXPECT_TRUE(e.isServerAway()) << e.code();
    }
}

TEST_F(Failover, AnEditPendingWhenItsServerIsKilledIsSavedOnTheNext)
{
    Connection connection(settings({server(0).socketPath(), server(1).socketPath()}));
    QTemporaryDir local;
    products::TProductDM dm;
    dm.setLocalSettings(local.filePath(QStringLiteral("tarvex.ini")), local.path());
    dm.SetZConnection(&connection);
    dm.DataModuleCreate();
    dm.SetDefaultTaxID(1);
    products::ProductDM = &dm;
    QueryDataSet& product = *dm.ProductZQ;
    product.setSql(ChangeSQLCondition(products::TProductDM::productDesignSql(), QStringLiteral("p.productid = 1")));
    product.open();
    product.edit();
    product.fieldByName(QStringLiteral("name")).setValue(QStringLiteral("Hleb sa druge strane"));

    test::killServer(server(0));
    // The user takes a moment before "U redu": the idle session is checked
    // before the write, and the save goes to the next server without a word.
    QThread::msleep(1100);
    EXPECT_EQ(toldHeadline([&] { products::Productsave(dm).write({}); }), QString());
    EXPECT_EQ(product.state(), DataSetState::Browse);
    EXPECT_EQ(socketOf(connection), server(1).socketPath());
    Connection other(settings({server(1).socketPath()}));
    EXPECT_EQ(other.value(QStringLiteral("SELECT name FROM product WHERE productid = 1")).toString(),
              QStringLiteral("Hleb sa druge strane"));
    products::ProductDM = nullptr;
}
