// tarvex-stress: several workstations saving new products on one server at
// the same time, each an OS process of its own going through the data
// module's save path, copying every tenth product and joining every second
// one to the one before in a substitute group, as the editor does; then
// counts what must never happen. A workstation does what the console does:
// the program's own retries and no more; each press that ends in a message
// counts as a refusal, and the user presses again, five times at most.
//
//   tarvex-stress [--socket S] [--user U] [--database D] [--processes N]
//                 [--saves M] [--kind code|barcode|plu|group|copy|variant|mixed]
//                 [--think-ms T] [--kill9 K] [--kill-node N] [--cut-commits C]
//
// --socket may name the nodes of a cluster, comma-separated: the workstations
// are dealt out over them, one after the other, each also knowing the other
// nodes to go on with when its own is lost; the counts are read on the first
// once it has applied everything. --kill-node N (2 or more) kills node N with
// SIGKILL a moment after the saves began.
//
// Without --database it makes a database of its own and drops it at the end;
// without --socket it runs a private server of its own. With --kill9 K it
// always runs its own durable server and kills it with SIGKILL K times at
// random moments of an endless save stream, restarting it each time; the
// workstations wait for it as the console waits for its restarted server.
// --cut-commits C puts a proxy between the workstations and each server that
// drops the answer to every C-th COMMIT after the server has committed.
//
// Prints BENCH stress.<count> <n> count for each count (each must read 0:
// duplicates, refusals as a user would see them, half saves, lost and double
// saves, unsaved work, workers that did not end normally), stress.saves,
// stress.copies, stress.groups, stress.cut_commits, stress.seconds and
// stress.rate. Exits 1 when a count is not 0.

#include "stress.h"
#include "stress_proxy.h"

#include "Connection.h"
#include "PrivateServer.h"
#include "Schema.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QThread>
#include <csignal>
#include <cstdio>
#include <memory>
#include <unistd.h>

using namespace tarvex;

namespace {

struct Options {
    QString socket;
    QString user;
    QString database;
    int processes = 4;
    int saves = 250;
    QString kind = QStringLiteral("mixed");
    int thinkMs = 0;
    int kills = 0;
    int killNode = 0;
    int cutCommits = 0;
};

// The node list a workstation starts from: its own node first, then the others
// in order, as a shop would write each till's settings.
QString nodesFrom(const QStringList& nodes, int first)
{
    QStringList order;
    for (int i = 0; i < nodes.size(); ++i)
        order << nodes[(first + i) % nodes.size()];
    return order.join(QLatin1Char(','));
}

// The process id of the server behind a socket, from its pid file.
qint64 serverPidOf(ConnectionSettings settings)
{
    qint64 pid = 0;
    {
        QSqlDatabase db = openConnection(settings, QStringLiteral("stress-pid"));
        QSqlQuery query(db);
        if (query.exec(QStringLiteral("SELECT @@pid_file")) && query.next()) {
            QFile file(query.value(0).toString());
            if (file.open(QIODevice::ReadOnly))
                pid = file.readAll().trimmed().toLongLong();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("stress-pid"));
    return pid;
}

int usage()
{
    std::fprintf(stderr, "usage: tarvex-stress [--socket S] [--user U] [--database D] [--processes N] [--saves M]\n"
                         "                     [--kind code|barcode|plu|group|copy|variant|mixed] [--think-ms T]\n"
                         "                     [--kill9 K] [--kill-node N] [--cut-commits C]\n");
    return 2;
}

qint64 count(QSqlDatabase db, const QString& sql)
{
    QSqlQuery query = selectSql(db, sql);
    return query.next() ? query.value(0).toLongLong() : 0;
}

// Tables whose AUTO_INCREMENT counter, right after a restart, is at or below
// a key already stored (the server would hand out a taken number).
qint64 countersBehind(const ConnectionSettings& server, const QString& database)
{
    ConnectionSettings settings = server;
    settings.database = database;
    qint64 behind = 0;
    {
        QSqlDatabase db = openConnection(settings, QStringLiteral("stress-counters"));
        for (const auto& [table, key] : {std::pair{"product", "productid"}, std::pair{"productattribute", "productattributeid"}}) {
            const qint64 next = count(db, QStringLiteral("SELECT AUTO_INCREMENT FROM information_schema.TABLES WHERE "
                                                         "TABLE_SCHEMA = DATABASE() AND TABLE_NAME = '%1'").arg(table));
            const qint64 last = count(db, QStringLiteral("SELECT COALESCE(MAX(%1), 0) FROM %2").arg(key, table));
            if (next <= last)
                ++behind;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("stress-counters"));
    return behind;
}

void prepareDatabase(const ConnectionSettings& server, const QString& name)
{
    {
        QSqlDatabase admin = openConnection(server, QStringLiteral("stress-admin"));
        createDatabase(admin, name);
        admin.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("stress-admin"));
    ConnectionSettings settings = server;
    settings.database = name;
    {
        QSqlDatabase db = openConnection(settings, QStringLiteral("stress-setup"));
        if (!QSqlQuery(db).exec(QStringLiteral("SELECT 1 FROM identifierlock LIMIT 1")))
            installSchema(db);
        for (const char* statement :
             {"INSERT IGNORE INTO tax (taxid, name, value, status) VALUES (1, 'PDV 20', 20, 'primary')",
              "INSERT IGNORE INTO currency (code, name, status) VALUES ('RSD', 'Dinar', 'primary')",
              "INSERT IGNORE INTO warehouse (warehouseid, name, code, status) VALUES (1, 'Glavni', 'GL', 'primary')",
              "INSERT IGNORE INTO attributepr (attributeprid, attribute, sort) VALUES (1, 'Boja', 1)",
              "INSERT INTO categorypr (parentid, name) SELECT 0, 'Stres' FROM DUAL WHERE NOT EXISTS "
              "(SELECT 1 FROM categorypr WHERE parentid = 0 AND name = 'Stres')"})
            execSql(db, QString::fromUtf8(statement));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("stress-setup"));
}

// Products of this run that share a value of the column with an earlier product.
QString sharedValues(const QString& table, const QString& column, const QString& key, const QString& ours)
{
    return QStringLiteral("SELECT COUNT(*) FROM %1 AS a WHERE %3 AND a.%2 IS NOT NULL AND EXISTS "
                          "(SELECT 1 FROM %1 AS b WHERE b.%2 = a.%2 AND b.%4 < a.%4)")
        .arg(table, column, ours, key);
}

// What the workstations were told went through: products and copies by
// name, joins as pairs of products.
struct Journal {
    QStringList names;
    QList<std::pair<qint64, qint64>> joins;
};

Journal readJournals(const QStringList& files)
{
    Journal journal;
    for (const QString& path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        while (!file.atEnd()) {
            const QStringList line = QString::fromUtf8(file.readLine()).trimmed().split(QLatin1Char('\t'));
            if (line.size() < 3)
                continue;
            if (line[0] == u"g")
                journal.joins.append({line[1].toLongLong(), line[2].toLongLong()});
            else
                journal.names << line[1];
        }
    }
    return journal;
}

void print(const QString& name, double value, const char* unit)
{
    std::printf("BENCH stress.%s %g %s\n", qPrintable(name), value, unit);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    Options o;
    stress::WorkerConfig worker;
    bool isWorker = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&]() -> QString { return i + 1 < args.size() ? args[++i] : QString(); };
        if (a == u"--socket") o.socket = value();
        else if (a == u"--user") o.user = value();
        else if (a == u"--database") o.database = value();
        else if (a == u"--processes") o.processes = value().toInt();
        else if (a == u"--saves") o.saves = value().toInt();
        else if (a == u"--kind") o.kind = value();
        else if (a == u"--think-ms") o.thinkMs = value().toInt();
        else if (a == u"--kill9") o.kills = value().toInt();
        else if (a == u"--kill-node") o.killNode = value().toInt();
        else if (a == u"--cut-commits") o.cutCommits = value().toInt();
        else if (a == u"--revive") worker.reviveServer = true;
        else if (a == u"--worker") { isWorker = true; worker.worker = value().toInt(); }
        else if (a == u"--start-at") worker.startAt = value().toLongLong();
        else if (a == u"--journal") worker.journal = value();
        else if (a == u"--stop-file") worker.stopFile = value();
        else if (a == u"--tag") worker.tag = value();
        else return usage();
    }
    const QStringList kinds{"code", "barcode", "plu", "group", "copy", "variant", "mixed"};
    if (!kinds.contains(o.kind) || o.processes < 1 || o.cutCommits < 0 || (!isWorker && o.saves < 1 && o.kills == 0))
        return usage();
    if (o.user.isEmpty())
        o.user = PrivateServer(QStringLiteral("/tmp")).userName();

    const QStringList nodes = o.socket.split(QLatin1Char(','), Qt::SkipEmptyParts);
    if ((nodes.size() > 1 && o.kills > 0) || (o.killNode != 0 && (o.killNode < 2 || o.killNode > nodes.size())))
        return usage();
    if (!nodes.isEmpty())
        o.socket = nodes.first();
    if (isWorker) {
        worker.settings.socket = o.socket;
        if (nodes.size() > 1)
            parseServerList(nodes.join(QLatin1Char(',')), 3306, worker.settings.servers);
        worker.settings.user = o.user;
        worker.settings.database = o.database;
        worker.saves = o.saves;
        worker.kind = o.kind;
        worker.thinkMs = o.thinkMs;
        try {
            return stress::runWorker(worker);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "worker %d: %s\n", worker.worker, e.what());
            return 5;
        }
    }

    // The server: the one named, or a private one of our own (always our
    // own when it is to be killed).
    std::unique_ptr<PrivateServer> server;
    const QString runDir = QStringLiteral("/tmp/tarvex-stress-%1").arg(::getpid());
    QDir().mkpath(runDir);
    if (o.socket.isEmpty() || o.kills > 0) {
        PrivateServer::Options serverOptions;
        serverOptions.durable = o.kills > 0;
        server = std::make_unique<PrivateServer>(runDir + QStringLiteral("/server"), serverOptions);
        server->start();
        o.socket = server->socketPath();
        if (o.kills > 0)
            o.database.clear();
    }
    const bool ownDatabase = o.database.isEmpty();
    if (ownDatabase)
        o.database = QStringLiteral("tarvex_stress_%1").arg(::getpid());
    ConnectionSettings serverSettings;
    serverSettings.socket = o.socket;
    serverSettings.user = o.user;
    int exitCode = 0;
    try {
        prepareDatabase(serverSettings, o.database);

        // With --cut-commits the workstations reach each server through a proxy.
        QStringList servers = nodes.size() > 1 ? nodes : QStringList{o.socket};
        std::vector<std::unique_ptr<stress::CommitCutter>> cutters;
        for (int n = 0; o.cutCommits > 0 && n < servers.size(); ++n) {
            cutters.push_back(std::make_unique<stress::CommitCutter>(
                servers[n], runDir + QStringLiteral("/cut%1.sock").arg(n + 1), o.cutCommits));
            cutters.back()->start();
            servers[n] = cutters.back()->path();
        }

        const QString tag = QStringLiteral("S%1x").arg(::getpid());
        const QString stopFile = runDir + QStringLiteral("/stop");
        QStringList journals;
        std::vector<std::unique_ptr<QProcess>> workers;
        const qint64 startAt = QDateTime::currentMSecsSinceEpoch() + 1500;
        QElapsedTimer clock;
        for (int w = 0; w < o.processes; ++w) {
            journals << runDir + QStringLiteral("/journal-%1").arg(w);
            auto process = std::make_unique<QProcess>();
            process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            QStringList arguments{"--socket", nodesFrom(servers, w % servers.size()), "--user", o.user, "--database",
                                  o.database, "--saves", QString::number(o.kills > 0 ? 0 : o.saves), "--kind", o.kind,
                                  "--think-ms", QString::number(o.thinkMs), "--worker", QString::number(w),
                                  "--start-at", QString::number(startAt), "--journal", journals.last(),
                                  "--stop-file", stopFile, "--processes", "1", "--tag", tag};
            if (o.kills > 0)
                arguments << "--revive";
            process->start(QCoreApplication::applicationFilePath(), arguments);
            workers.push_back(std::move(process));
        }
        while (QDateTime::currentMSecsSinceEpoch() < startAt)
            QThread::msleep(10);
        clock.start();

        if (o.killNode > 0) {
            ConnectionSettings victim;
            victim.socket = nodes[o.killNode - 1];
            victim.user = o.user;
            const qint64 pid = serverPidOf(victim);
            QThread::msleep(300 + QRandomGenerator::global()->bounded(700));
            if (pid > 0)
                ::kill(pid_t(pid), SIGKILL);
            else
                exitCode = 1;
            print(QStringLiteral("killed_nodes"), pid > 0 ? 1 : 0, "count");
        }

        qint64 behind = 0;
        for (int k = 0; k < o.kills; ++k) {
            QThread::msleep(150 + QRandomGenerator::global()->bounded(600));
            const qint64 pid = server->serverPid();
            if (pid > 0) {
                ::kill(pid_t(pid), SIGKILL);
                for (int i = 0; i < 200 && ::kill(pid_t(pid), 0) == 0; ++i)
                    QThread::msleep(25);
            }
            server->start();
            behind += countersBehind(serverSettings, o.database);
        }
        if (o.kills > 0) {
            QThread::msleep(500);
            QFile stop(stopFile);
            stop.open(QIODevice::WriteOnly);
        }
        int refused = 0;
        int abandoned = 0;
        int reported = 0;
        int failedWorkers = 0;
        for (auto& process : workers) {
            process->waitForFinished(-1);
            const QStringList figures = QString::fromUtf8(process->readAllStandardOutput()).split(QLatin1Char(' '));
            if (process->exitStatus() != QProcess::NormalExit || process->exitCode() != 0 || figures.size() < 3) {
                std::fprintf(stderr, "tarvex-stress: a worker failed (exit %d)\n", process->exitCode());
                ++failedWorkers;
                continue;
            }
            reported += figures[0].toInt();
            refused += figures[1].toInt();
            abandoned += figures[2].toInt();
        }
        const double seconds = clock.elapsed() / 1000.0;
        int cut = 0;
        for (auto& cutter : cutters) {
            cutter->stop();
            cut += cutter->cut();
        }

        ConnectionSettings settings = serverSettings;
        settings.database = o.database;
        std::vector<std::pair<QString, qint64>> counts;
        qint64 saved = 0;
        qint64 copied = 0;
        qint64 joined = 0;
        {
        QSqlDatabase db = openConnection(settings, QStringLiteral("stress-count"));
        readClusterLatest(db);
        // Products of the run: saved ones ("W") and copies ("K").
        const QString ours = QStringLiteral("a.name LIKE '%1%'").arg(tag);
        const QString saves = QStringLiteral("a.name LIKE '%1W%'").arg(tag);
        const QString copies = QStringLiteral("a.name LIKE '%1K%'").arg(tag);
        const QString savedIds = QStringLiteral("SELECT productid FROM product AS a WHERE %1").arg(saves);
        const Journal journal = readJournals(journals);
        const bool variants = o.kind == u"variant" || o.kind == u"mixed";
        counts.emplace_back("duplicates.code", count(db, sharedValues("product", "code", "productid", ours)));
        counts.emplace_back("duplicates.barcode", count(db, sharedValues("product", "barcode", "productid", ours)));
        counts.emplace_back("duplicates.plu", count(db, sharedValues("product", "kasaplu", "productid", ours)));
        counts.emplace_back("duplicates.variant",
                            count(db, sharedValues("productattribute", "prodattbarcode", "productattributeid",
                                                   "a.productid IN (SELECT productid FROM product AS a WHERE " +
                                                       ours + ")")));
        // A group holds two saved products; a product is in one group at most.
        counts.emplace_back("duplicates.group",
                            count(db, QStringLiteral("SELECT COUNT(*) FROM (SELECT groupid FROM productalter WHERE "
                                                     "productid IN (%1) GROUP BY groupid HAVING COUNT(*) > 2) AS merged")
                                          .arg(savedIds)) +
                                count(db, QStringLiteral("SELECT COUNT(*) FROM (SELECT productid FROM productalter WHERE "
                                                         "productid IN (%1) GROUP BY productid HAVING COUNT(*) > 1) AS twice")
                                              .arg(savedIds)));
        counts.emplace_back("refusals", refused);
        const QString missing = QStringLiteral("NOT EXISTS (SELECT 1 FROM %1 x WHERE x.productid = a.productid)");
        QStringList savedParts{missing.arg("productdetail"), missing.arg("productrebate"), missing.arg("productcategorypr")};
        if (variants)
            savedParts << missing.arg("productattribute");
        // A copy takes the detail and the categories along.
        const QStringList copyParts{missing.arg("productdetail"), missing.arg("productcategorypr")};
        counts.emplace_back("halfsaved",
                            count(db, QStringLiteral("SELECT COUNT(*) FROM product AS a WHERE (%1 AND (%2)) OR (%3 AND (%4))")
                                          .arg(saves, savedParts.join(" OR "), copies, copyParts.join(" OR "))));
        qint64 lost = 0;
        for (const QString& name : journal.names) {
            QSqlQuery query(db);
            query.prepare(QStringLiteral("SELECT COUNT(*) FROM product WHERE name = ?"));
            query.addBindValue(name);
            if (query.exec() && query.next() && query.value(0).toInt() == 0)
                ++lost;
        }
        for (const auto& [product, other] : journal.joins) {
            if (count(db, QStringLiteral("SELECT COUNT(*) FROM productalter AS a INNER JOIN productalter AS b ON "
                                         "a.groupid = b.groupid WHERE a.productid = %1 AND b.productid = %2")
                              .arg(product)
                              .arg(other)) == 0)
                ++lost;
        }
        counts.emplace_back("lost", lost);
        counts.emplace_back("double",
                            count(db, QStringLiteral("SELECT COUNT(*) FROM (SELECT name FROM product AS a WHERE %1 "
                                                     "GROUP BY name HAVING COUNT(*) > 1) AS twice")
                                          .arg(ours)));
        counts.emplace_back("unsaved", abandoned);
        counts.emplace_back("workers_failed", failedWorkers);
        saved = count(db, QStringLiteral("SELECT COUNT(*) FROM product AS a WHERE %1").arg(saves));
        copied = count(db, QStringLiteral("SELECT COUNT(*) FROM product AS a WHERE %1").arg(copies));
        joined = count(db, QStringLiteral("SELECT COUNT(DISTINCT groupid) FROM productalter WHERE productid IN (%1)").arg(savedIds));
        db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("stress-count"));

        if (o.kills > 0) {
            print(QStringLiteral("kills"), o.kills, "count");
            // Not a fault of ours: the save sends such a row again.
            print(QStringLiteral("counters_behind"), double(behind), "count");
        }
        for (const auto& [name, value] : counts) {
            print(name, double(value), "count");
            if (value != 0)
                exitCode = 1;
        }
        if (reported != saved || (o.kills == 0 && saved != qint64(o.processes) * o.saves)) {
            std::fprintf(stderr, "tarvex-stress: %d saves reported, %lld products found\n", reported,
                         static_cast<long long>(saved));
            exitCode = 1;
        }
        print(QStringLiteral("saves"), double(saved), "count");
        print(QStringLiteral("copies"), double(copied), "count");
        print(QStringLiteral("groups"), double(joined), "count");
        if (o.cutCommits > 0)
            print(QStringLiteral("cut_commits"), cut, "count");
        print(QStringLiteral("seconds"), seconds, "s");
        print(QStringLiteral("rate"), seconds > 0 ? saved / seconds : 0, "saves/s");

        if (ownDatabase) {
            {
                QSqlDatabase admin = openConnection(serverSettings, QStringLiteral("stress-admin"));
                dropDatabase(admin, o.database);
                admin.close();
            }
            QSqlDatabase::removeDatabase(QStringLiteral("stress-admin"));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tarvex-stress: %s\n", e.what());
        exitCode = 3;
    }
    if (server)
        server->stop();
    QDir(runDir).removeRecursively();
    return exitCode;
}
