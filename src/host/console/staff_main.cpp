// tarvex-staff: the shop's staff accounts from the command line, for the
// server's administrator (the first administrator of a shop) and for checks.
//
//   tarvex-staff CONNECTION roles              create the roles for the database
//   tarvex-staff CONNECTION list               account, role, locked
//   tarvex-staff CONNECTION add NAME ROLE      new password on standard input
//   tarvex-staff CONNECTION password NAME      new password on standard input
//   tarvex-staff CONNECTION lock|unlock|remove NAME
//
// CONNECTION: --database NAME and either --socket PATH (the operating-system
// user's own account) or --host H [--port P] --user U [--ssl MODE]
// [--ssl-ca FILE]; the account's password is then the first line of
// standard input. Passwords are never taken from the command line, where
// every user of the machine could read them.

#include "Connection.h"
#include "Roles.h"
#include "StaffAccounts.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <pwd.h>
#include <unistd.h>
#include <iostream>
#include <string>

using namespace tarvex;

namespace {

int usage()
{
    std::fprintf(stderr, "usage: tarvex-staff --database NAME (--socket PATH | --host H [--port P] --user U "
                         "[--ssl off|required|verify] [--ssl-ca FILE]) "
                         "roles | list | add NAME ROLE | password NAME | lock NAME | unlock NAME | remove NAME\n");
    return 2;
}

// The private server lets the operating-system user in by its own name.
QString socketAccount()
{
    if (const passwd* pw = ::getpwuid(::geteuid()))
        return QString::fromLocal8Bit(pw->pw_name);
    return QStringLiteral("root");
}

QString readLine()
{
    std::string line;
    std::getline(std::cin, line);
    return QString::fromStdString(line);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    ConnectionSettings settings;
    auto take = [&args](const QString& option) {
        const int at = args.indexOf(option);
        if (at < 0 || at + 1 >= args.size())
            return QString();
        const QString value = args[at + 1];
        args.remove(at, 2);
        return value;
    };
    settings.database = take(QStringLiteral("--database"));
    settings.socket = take(QStringLiteral("--socket"));
    settings.host = take(QStringLiteral("--host"));
    const QString port = take(QStringLiteral("--port"));
    settings.user = take(QStringLiteral("--user"));
    const QString ssl = take(QStringLiteral("--ssl"));
    settings.tls.ca = take(QStringLiteral("--ssl-ca"));
    if (!port.isEmpty())
        settings.port = port.toInt();
    if (!parseTlsMode(ssl, settings.tls.mode) || settings.database.isEmpty() || args.isEmpty()
        || (settings.socket.isEmpty() && (settings.host.isEmpty() || settings.user.isEmpty())))
        return usage();
    if (settings.socket.isEmpty())
        settings.password = readLine();
    else
        settings.user = socketAccount();
    const QString command = args[0];
    try {
        Connection connection(settings);
        StaffAccounts staff(connection);
        QTextStream out(stdout);
        if (command == QLatin1String("roles") && args.size() == 1) {
            QSqlDatabase db = connection.database();
            return installRoles(db) ? 0 : 1;
        }
        if (command == QLatin1String("list") && args.size() == 1) {
            for (const StaffAccount& account : staff.list())
                out << account.name << '\t' << roleCaption(account.role) << '\t' << (account.locked ? "zaključan" : "")
                    << Qt::endl;
            return 0;
        }
        if (command == QLatin1String("add") && args.size() == 3) {
            StaffRole role;
            if (!roleFromName(args[2], role))
                return usage();
            staff.add(args[1], readLine(), role);
            return 0;
        }
        if (args.size() != 2)
            return usage();
        if (command == QLatin1String("password"))
            staff.setPassword(args[1], readLine());
        else if (command == QLatin1String("lock") || command == QLatin1String("unlock"))
            staff.setLocked(args[1], command == QLatin1String("lock"));
        else if (command == QLatin1String("remove"))
            staff.remove(args[1]);
        else
            return usage();
        return 0;
    } catch (const TarvexError& e) {
        std::fprintf(stderr, "tarvex-staff: %s\n", qPrintable(e.userText()));
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tarvex-staff: %s\n", e.what());
        return 1;
    }
}
