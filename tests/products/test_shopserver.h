#pragma once
// A durable private server of a test's own holding a small shop (database
// "shop": tax 1, products 1 "Hleb" and 2 "Kifla"): a row committed before a
// kill -9 is still there after it.

#include "Connection.h"
#include "Dialogs.h"
#include "PrivateServer.h"
#include "Schema.h"

#include <memory>

// The headline the user reads for what the action threw; empty when it went through.
template <class Action>
QString toldHeadline(Action action)
{
    try {
        action();
    } catch (const std::exception& e) {
        return tarvex::exceptionText(e).section(QStringLiteral("\n\n"), 0, 0);
    }
    return QString();
}

inline tarvex::ConnectionSettings shopSettings(const tarvex::PrivateServer& server)
{
    tarvex::ConnectionSettings settings;
    settings.socket = server.socketPath();
    settings.user = server.userName();
    settings.database = QStringLiteral("shop");
    return settings;
}

inline std::unique_ptr<tarvex::PrivateServer> startShopServer(const QString& dir)
{
    auto server = std::make_unique<tarvex::PrivateServer>(dir);
    server->start();
    tarvex::ConnectionSettings settings = shopSettings(*server);
    settings.database.clear();
    {
        QSqlDatabase admin = tarvex::openConnection(settings, QStringLiteral("shop-admin"));
        tarvex::createDatabase(admin, QStringLiteral("shop"));
        tarvex::execSql(admin, QStringLiteral("USE shop"));
        tarvex::installSchema(admin);
        tarvex::execSql(admin, QStringLiteral("INSERT INTO tax (taxid, name, value, status) VALUES (1, 'PDV20', 20, 'primary')"));
        tarvex::execSql(admin, QStringLiteral("INSERT INTO product (productid, name, unitname, taxid, price, pricecurrency, "
                                              "inputprice, inputpricecurrency, supplyprice, planprice) VALUES "
                                              "(1, 'Hleb', 'kom', 1, 1, 'RSD', 1, 'RSD', 1, 1), "
                                              "(2, 'Kifla', 'kom', 1, 1, 'RSD', 1, 'RSD', 1, 1)"));
        admin.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("shop-admin"));
    return server;
}
