#include "Connection.h"
#include "SqlScan.h"
#include "DatabaseError.h"
#include "Error.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QHash>
#include <QMutex>
#include <QRegularExpression>
#include <QThread>
#include <atomic>

namespace tarvex {

ServerAddress ServerAddress::parse(const QString& text, int defaultPort, bool* ok)
{
    ServerAddress address;
    const QString entry = text.trimmed();
    bool valid = !entry.isEmpty();
    if (entry.startsWith(QLatin1Char('/'))) {
        address.socket = entry;
    } else {
        const int colon = entry.lastIndexOf(QLatin1Char(':'));
        address.host = colon < 0 ? entry : entry.left(colon).trimmed();
        address.port = defaultPort;
        if (colon >= 0) {
            bool number = false;
            address.port = entry.mid(colon + 1).trimmed().toInt(&number);
            valid = valid && number && address.port > 0 && address.port < 65536;
        }
        valid = valid && !address.host.isEmpty();
    }
    if (ok)
        *ok = valid;
    return address;
}

QString ServerAddress::text() const
{
    return socket.isEmpty() ? QStringLiteral("%1:%2").arg(host).arg(port) : socket;
}

bool parseServerList(const QString& text, int defaultPort, QList<ServerAddress>& servers)
{
    servers.clear();
    for (const QString& entry : text.split(QLatin1Char(','))) {
        bool ok = false;
        servers << ServerAddress::parse(entry, defaultPort, &ok);
        if (!ok)
            return false;
    }
    return true;
}

namespace {

QSqlQuery runOnDriver(const QSqlDatabase& db, const QString& sql, const QVariantList& values);

// The driver's own reconnect stays off: see Connection.
// A server that is away answers within a few seconds, not the driver's minute.
const char* const kConnectOptions = "MYSQL_OPT_CONNECT_TIMEOUT=3;MYSQL_OPT_RECONNECT=0";

void aimAt(QSqlDatabase& db, const ServerAddress& server)
{
    QString options = QLatin1String(kConnectOptions);
    if (!server.socket.isEmpty()) {
        options += QStringLiteral(";UNIX_SOCKET=") + server.socket;
        db.setHostName(QString());  // a host name would make the driver use TCP
    } else {
        db.setHostName(server.host);
        db.setPort(server.port);
    }
    db.setConnectOptions(options);
}

// A node applies other nodes' commits a moment after they return there: a
// session that arrives on it (at start, or after its node was lost) first
// waits until the node has applied every commit made before it came, so it
// never reads older rows than the workstation saw on the node it left.
void catchUpWithCluster(QSqlDatabase& db)
{
    QSqlQuery on = runOnDriver(db, QStringLiteral("SHOW VARIABLES LIKE 'wsrep_on'"), {});
    if (!(on.next() && on.value(1).toString() == QLatin1String("ON")))
        return;
    on.finish();
    runOnDriver(db, QStringLiteral("SET SESSION wsrep_sync_wait = 1"), {});
    runOnDriver(db, QStringLiteral("SELECT 1"), {});
    runOnDriver(db, QStringLiteral("SET SESSION wsrep_sync_wait = 0"), {});
}

// Opens `db` on the first server that answers and is ready, or throws the
// last failure.
void openFirstReady(QSqlDatabase& db, const QList<ServerAddress>& servers)
{
    std::unique_ptr<DatabaseError> failure;
    for (const ServerAddress& server : servers) {
        aimAt(db, server);
        if (!db.open()) {
            failure = std::make_unique<DatabaseError>(DatabaseError::fromSqlError(db.lastError()));
            continue;
        }
        try {
            prepareSession(db);
            if (clusterNodeReady(db)) {
                catchUpWithCluster(db);
                return;
            }
            // The code a node out of step answers statements with.
            failure = std::make_unique<DatabaseError>(
                1047, QStringLiteral("The node %1 is not in step with its cluster").arg(server.text()));
        } catch (const DatabaseError& e) {
            failure = std::make_unique<DatabaseError>(e);
        }
        db.close();
    }
    if (!failure)
        throw DatabaseError(-1, QStringLiteral("No server to connect to"));
    throw *failure;
}

} // namespace

QSqlDatabase openConnection(const ConnectionSettings& settings, const QString& connectionName)
{
    if (QSqlDatabase::contains(connectionName))
        QSqlDatabase::removeDatabase(connectionName);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), connectionName);
    if (!db.isValid())
        throw DatabaseError(-1, QStringLiteral("The Qt MySQL driver (QMYSQL) is not available; "
                                               "install the Debian package libqt6sql6-mysql."));
    db.setUserName(settings.user);
    db.setPassword(settings.password);
    if (!settings.database.isEmpty())
        db.setDatabaseName(settings.database);
    if (!settings.servers.isEmpty()) {
        openFirstReady(db, settings.servers);
        return db;
    }
    ServerAddress server;
    server.socket = settings.socket;
    server.host = settings.host;
    server.port = settings.port;
    aimAt(db, server);
    if (!db.open())
        throw DatabaseError::fromSqlError(db.lastError());
    prepareSession(db);
    return db;
}

namespace {

// The one place statements reach the driver outside a Connection: the
// session's own set-up, and connections no Connection works on (a new
// database's installation before anything else runs on it).
QSqlQuery runOnDriver(const QSqlDatabase& db, const QString& sql, const QVariantList& values)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    const bool ok = query.exec(values.isEmpty() ? sql : substituteMarks(sql, values));
    if (!ok)
        throw DatabaseError::fromSqlError(query.lastError(), sql);
    return query;
}

// The Connection working on each Qt connection, by the Qt connection's name.
struct Registry {
    QMutex mutex;
    QHash<QString, Connection*> byName;
};

Registry& registry()
{
    static Registry r;
    return r;
}

} // namespace

Connection* Connection::working(const QSqlDatabase& db)
{
    Registry& r = registry();
    QMutexLocker lock(&r.mutex);
    return r.byName.value(db.connectionName());
}

void prepareSession(QSqlDatabase& db)
{
    const QVariantList none;
    runOnDriver(db, QStringLiteral("SET SESSION sql_mode = '%1'").arg(QLatin1String(kSessionSqlMode)), none);
    runOnDriver(db, QStringLiteral("SET NAMES utf8mb4 COLLATE utf8mb4_unicode_ci"), none);
    // The workstation's own offset: dates typed and shown are local dates.
    const int offset = QDateTime::currentDateTime().offsetFromUtc() / 60;
    const QString zone = QStringLiteral("%1%2:%3")
                             .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                             .arg(qAbs(offset) / 60, 2, 10, QLatin1Char('0'))
                             .arg(qAbs(offset) % 60, 2, 10, QLatin1Char('0'));
    runOnDriver(db, QStringLiteral("SET time_zone = '%1'").arg(zone), none);
}

void execSql(const QSqlDatabase& db, const QString& sql, const QVariantList& values)
{
    selectSql(db, sql, values);
}

bool clusterNodeReady(const QSqlDatabase& db)
{
    QSqlQuery state = runOnDriver(db, QStringLiteral("SHOW STATUS LIKE 'wsrep_local_state_comment'"), {});
    if (!state.next())
        return true;
    const QString comment = state.value(1).toString();
    state.finish();
    QSqlQuery on = runOnDriver(db, QStringLiteral("SHOW VARIABLES LIKE 'wsrep_on'"), {});
    return !(on.next() && on.value(1).toString() == QLatin1String("ON")) || comment == QLatin1String("Synced");
}

void readClusterLatest(QSqlDatabase& db)
{
    QSqlQuery on = runOnDriver(db, QStringLiteral("SHOW VARIABLES LIKE 'wsrep_on'"), {});
    if (on.next() && on.value(1).toString() == QLatin1String("ON")) {
        on.finish();
        runOnDriver(db, QStringLiteral("SET SESSION wsrep_sync_wait = 1"), {});
    }
}

QSqlQuery selectSql(const QSqlDatabase& db, const QString& sql, const QVariantList& values)
{
    if (Connection* connection = Connection::working(db))
        return connection->select(sql, values);
    return runOnDriver(db, sql, values);
}

QString quoteSqlText(const QString& text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString quoteIdentifier(const QString& name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('`'), QStringLiteral("``"));
    return QLatin1Char('`') + quoted + QLatin1Char('`');
}

// ---------------------------------------------------------------- Connection

Connection::Connection(const ConnectionSettings& settings)
{
    static std::atomic<int> counter{0};
    m_ownName = QStringLiteral("tarvex-connection-%1").arg(++counter);
    m_db = openConnection(settings, m_ownName);
    m_servers = settings.servers;
    enlist();
}

Connection::Connection(const QSqlDatabase& db) : m_db(db)
{
    enlist();
}

void Connection::enlist()
{
    Registry& r = registry();
    QMutexLocker lock(&r.mutex);
    // A second Connection would take the first one's place: its loss, its
    // reconnect and its transaction depth would go unseen, and a START
    // TRANSACTION inside an open one would commit the first.
    if (r.byName.contains(m_db.connectionName()))
        throw InternalError(QStringLiteral("A Connection already works on the Qt connection \"%1\"")
                                .arg(m_db.connectionName()));
    r.byName.insert(m_db.connectionName(), this);
}

QStringList Connection::enlisted()
{
    Registry& r = registry();
    QMutexLocker lock(&r.mutex);
    QStringList names = r.byName.keys();
    names.sort();
    return names;
}

Connection::~Connection()
{
    {
        Registry& r = registry();
        QMutexLocker lock(&r.mutex);
        const QString name = m_db.connectionName();
        if (r.byName.value(name) == this)
            r.byName.remove(name);
    }
    if (!m_ownName.isEmpty()) {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_ownName);
    }
}

bool Connection::ping()
{
    if (!m_db.isOpen())
        return false;
    QSqlQuery query(m_db);
    if (query.exec(QStringLiteral("SELECT 1"))) {
        m_lost = false;  // the driver never reconnects by itself: this is the same session
        used();
        return true;
    }
    markLost(DatabaseError::fromSqlError(query.lastError(), QStringLiteral("SELECT 1")));
    return false;
}

void Connection::markLost(const DatabaseError& error)
{
    if (!error.isConnectionLost() || m_lost)
        return;
    m_lost = true;
    m_untoldLoss = std::make_unique<DatabaseError>(error);
}

void Connection::reconnect()
{
    m_db.close();
    if (!m_servers.isEmpty()) {
        openFirstReady(m_db, m_servers);
    } else {
        if (!m_db.open())
            throw DatabaseError::fromSqlError(m_db.lastError());
        prepareSession(m_db);
    }
    m_lost = false;
    used();
}

bool Connection::onCluster()
{
    if (m_onCluster < 0) {
        QSqlQuery on = select(QStringLiteral("SHOW VARIABLES LIKE 'wsrep_on'"));
        m_onCluster = on.next() && on.value(1).toString() == QLatin1String("ON") ? 1 : 0;
    }
    return m_onCluster == 1;
}

QString Connection::serverText() const
{
    const QString socket = m_db.connectOptions().section(QStringLiteral("UNIX_SOCKET="), 1).section(QLatin1Char(';'), 0, 0);
    return socket.isEmpty() ? QStringLiteral("%1:%2").arg(m_db.hostName()).arg(m_db.port()) : socket;
}

void Connection::used()
{
    m_lastUse = QDateTime::currentMSecsSinceEpoch();
}

bool Connection::isRepeatable(const QString& sql)
{
    static const QRegularExpression reading(
        QStringLiteral(R"(^\s*\(?\s*(SELECT|SHOW|DESCRIBE|DESC|EXPLAIN|WITH|DO|SET|START\s+TRANSACTION)\b)"),
        QRegularExpression::CaseInsensitiveOption);
    // Session state does not survive the session: the last insert's key
    // read on a fresh one would be another's.
    return reading.match(sql).hasMatch() && !sql.contains(QLatin1String("LAST_INSERT_ID"), Qt::CaseInsensitive);
}

void Connection::reopen()
{
    try {
        reconnect();
    } catch (const DatabaseError&) {
        m_lost = true;
        if (!m_reviver || !m_reviver()) {
            // The loss is told first; afterwards, that the server is still away.
            if (m_untoldLoss) {
                const DatabaseError loss = *m_untoldLoss;
                m_untoldLoss.reset();
                throw loss;
            }
            throw;
        }
        reconnect();
    }
    m_untoldLoss.reset();
}

void Connection::beforeStatement(bool write)
{
    if (m_depth > 0) {
        // The transaction died with its session; what follows must not commit on its own.
        if (m_lost)
            throw DatabaseError(2006, QStringLiteral("The connection was lost during the transaction"));
        if (m_undoneByServer || (write && transactionEndedByServer()))
            throw undoneByServer();
        return;
    }
    if (m_lost || !m_db.isOpen()) {
        reopen();
        return;
    }
    // Idle sessions may have died with a restarted server: find out before
    // a write rather than by it.
    constexpr qint64 kIdleMs = 1000;
    if (write && QDateTime::currentMSecsSinceEpoch() - m_lastUse > kIdleMs && !ping() && m_lost)
        reopen();
}

void Connection::check()
{
    beforeStatement(false);
    if (!ping() && m_lost)
        reopen();
}

bool Connection::reopenForRetry(const DatabaseError& error, bool repeatable)
{
    if (!error.isConnectionLost())
        return false;
    markLost(error);
    if (!repeatable || m_depth > 0)
        return false;
    reopen();
    return true;
}

bool Connection::transactionEndedByServer()
{
    // A Galera node rolls a transaction back when another node's commit
    // conflicts with it, and tells so at the next command; the driver drops
    // that answer when the command is one of its own (resetting a prepared
    // statement), and what follows would commit statement by statement.
    // Asked only on a cluster: elsewhere a rollback is always told.
    if (m_depth == 0)
        return false;
    if (m_undoneByServer)
        return true;
    if (!onCluster())
        return false;
    QSqlQuery query(m_db);
    const QString sql = QStringLiteral("SELECT @@in_transaction");
    if (!query.exec(sql)) {
        const DatabaseError e = DatabaseError::fromSqlError(query.lastError(), sql);
        if (e.isConnectionLost())
            fail(query.lastError(), sql);
    } else if (query.next() && query.value(0).toInt() == 1) {
        return false;
    }
    m_undoneByServer = true;
    return true;
}

DatabaseError Connection::undoneByServer()
{
    return DatabaseError(1213, QStringLiteral("The server rolled the transaction back (deadlock)"));
}

void Connection::fail(const QSqlError& error, const QString& sql)
{
    DatabaseError e = DatabaseError::fromSqlError(error, sql);
    // A deadlock (or a Galera node's conflict) rolls the whole transaction
    // back on the server; the session then commits each statement on its own.
    // Whoever goes on after this failure must not write outside the transaction.
    if (e.code() == 1213 && m_depth > 0)
        m_undoneByServer = true;
    if (e.isConnectionLost()) {
        markLost(e);
        m_untoldLoss.reset();  // told right now
    }
    throw e;
}

QSqlQuery Connection::run(const QString& sql, bool repeatable)
{
    beforeStatement(!repeatable);
    for (int attempt = 0;; ++attempt) {
        QSqlQuery query(m_db);
        query.setForwardOnly(true);
        if (query.exec(sql)) {
            used();
            return query;
        }
        const DatabaseError e = DatabaseError::fromSqlError(query.lastError(), sql);
        if (attempt > 0 || !reopenForRetry(e, repeatable))
            fail(query.lastError(), sql);
    }
}

void Connection::execute(const QString& sql)
{
    run(sql, isRepeatable(sql));
}

QSqlQuery Connection::select(const QString& sql)
{
    return run(sql, isRepeatable(sql));
}

void Connection::execute(const QString& sql, const QVariantList& values)
{
    select(sql, values);
}

QSqlQuery Connection::select(const QString& sql, const QVariantList& values)
{
    if (values.isEmpty())
        return select(sql);
    // The values are written in by the connection itself, not sent as a
    // prepared statement: with the client library of some Debian 12 point
    // releases the driver's binary protocol loses DATE values both ways
    // (a date bound matches nothing, a date read comes back empty).
    return select(substituteMarks(sql, values));
}

QVariant Connection::value(const QString& sql, const QVariantList& values)
{
    QSqlQuery query = select(sql, values);
    return query.next() ? query.value(0) : QVariant();
}

QSqlQuery Connection::prepare(const QString& sql)
{
    beforeStatement(!isRepeatable(sql));
    for (int attempt = 0;; ++attempt) {
        QSqlQuery query(m_db);
        query.setForwardOnly(true);
        if (query.prepare(sql))
            return query;
        // Preparing does nothing on the server's data: it may always be tried again.
        const DatabaseError e = DatabaseError::fromSqlError(query.lastError(), sql);
        if (attempt > 0 || !reopenForRetry(e, true))
            fail(query.lastError(), sql);
    }
}

void Connection::exec(QSqlQuery& prepared)
{
    if (prepared.exec()) {
        used();
        return;
    }
    const QString sql = prepared.lastQuery();
    const DatabaseError e = DatabaseError::fromSqlError(prepared.lastError(), sql);
    if (!reopenForRetry(e, isRepeatable(sql)))
        fail(prepared.lastError(), sql);
    // The statement belonged to the dead session: prepare it again with its values.
    QSqlQuery again(m_db);
    again.setForwardOnly(true);
    again.setNumericalPrecisionPolicy(prepared.numericalPrecisionPolicy());
    if (!again.prepare(sql))
        fail(again.lastError(), sql);
    const QVariantList values = prepared.boundValues();
    for (int i = 0; i < values.size(); ++i)
        again.bindValue(i, values[i]);
    if (!again.exec())
        fail(again.lastError(), sql);
    used();
    prepared = std::move(again);
}

qint64 Connection::lastInsertId()
{
    QSqlQuery query = select(QStringLiteral("SELECT LAST_INSERT_ID()"));  // never repeated: see isRepeatable
    return query.next() ? query.value(0).toLongLong() : 0;
}

const TableInfo& Connection::tableInfo(const QString& table)
{
    const QString key = table.toLower();
    auto it = m_tables.find(key);
    if (it == m_tables.end()) {
        TableInfo info;
        beforeStatement(false);
        for (int attempt = 0;; ++attempt) {
            try {
                info = readTableInfo(m_db, table);
                used();
                break;
            } catch (const DatabaseError& e) {
                if (attempt > 0 || !reopenForRetry(e, true)) {
                    markLost(e);
                    m_untoldLoss.reset();
                    throw;
                }
            }
        }
        it = m_tables.emplace(key, std::make_unique<TableInfo>(std::move(info))).first;
    }
    return *it->second;
}

// ------------------------------------------------------------ transactions

void Connection::beginTransaction()
{
    if (m_depth == 0) {
        resolveDoubt();
        if (!m_inDoubt.empty())
            throw DatabaseError(-1, QStringLiteral("The outcome of the last save is not known yet; settle it first"));
        execute(QStringLiteral("START TRANSACTION"));
        m_doomed = false;
        m_undoneByServer = false;
    }
    ++m_depth;
}

void Connection::commitTransaction()
{
    if (m_depth == 0)
        throw DatabaseError(-1, QStringLiteral("No transaction to commit"));
    if (m_depth > 1) {
        --m_depth;
        return;
    }
    if (m_undoneByServer || transactionEndedByServer()) {
        rollbackTransaction();
        throw undoneByServer();
    }
    if (m_doomed) {
        rollbackTransaction();
        throw DatabaseError(-1, QStringLiteral("The transaction was rolled back by an inner failure"));
    }
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("COMMIT"))) {
        DatabaseError e = DatabaseError::fromSqlError(query.lastError(), QStringLiteral("COMMIT"));
        m_depth = 0;
        if (e.isConnectionLost()) {
            // Written or not: nobody can tell from here.
            markLost(e);
            m_untoldLoss.reset();
            m_inDoubt = std::move(m_endHooks);
            m_endHooks.clear();
        } else {
            // The server refused the commit (a Galera certification failure
            // reads as a deadlock): nothing of it was written.
            QSqlQuery(m_db).exec(QStringLiteral("ROLLBACK"));
            endTransaction(false);
        }
        throw e;
    }
    m_depth = 0;
    endTransaction(true);
}

void Connection::rollbackTransaction()
{
    if (m_depth == 0)
        return;
    if (m_depth > 1) {
        --m_depth;
        m_doomed = true;
        return;
    }
    m_depth = 0;
    m_doomed = false;
    m_undoneByServer = false;
    // A lost session has rolled back on the server by itself.
    QSqlQuery query(m_db);
    if (!m_lost && !query.exec(QStringLiteral("ROLLBACK")))
        markLost(DatabaseError::fromSqlError(query.lastError(), QStringLiteral("ROLLBACK")));
    endTransaction(false);
}

void Connection::onTransactionEnd(TransactionEnd hook)
{
    if (m_depth == 0) {
        hook(true);  // nothing to wait for: what was written is written
        return;
    }
    m_endHooks.push_back(std::move(hook));
}

void Connection::endTransaction(bool committed)
{
    std::vector<TransactionEnd> hooks = std::move(m_endHooks);
    m_endHooks.clear();
    // Later work is undone first, so each hook sees the state it left.
    if (committed) {
        for (auto& hook : hooks)
            hook(true);
    } else {
        for (auto it = hooks.rbegin(); it != hooks.rend(); ++it)
            (*it)(false);
    }
}

void Connection::resolveDoubt()
{
    if (m_inDoubt.empty() || !m_resolver)
        return;
    if (m_lost || !m_db.isOpen())
        reopen();
    settleInDoubt(m_resolver());
}

void Connection::settleInDoubt(bool committed)
{
    m_resolver = nullptr;
    std::vector<TransactionEnd> hooks = std::move(m_inDoubt);
    m_inDoubt.clear();
    m_endHooks = std::move(hooks);
    endTransaction(committed);
}

Transaction::Transaction(Connection& connection) : m_connection(connection)
{
    m_connection.beginTransaction();
}

Transaction::~Transaction()
{
    if (m_open)
        m_connection.rollbackTransaction();
}

void Transaction::commit()
{
    m_open = false;
    m_connection.commitTransaction();
}

void withDeadlockRetry(Connection& connection, const std::function<void()>& work, int attempts)
{
    for (int attempt = 1;; ++attempt) {
        try {
            Transaction transaction(connection);
            try {
                work();
            } catch (const DatabaseError&) {
                throw;
            } catch (...) {
                // A check that refused what it read after the node had
                // rolled the transaction back read the others' new rows
                // outside it: the work runs again, reading them inside.
                if (connection.transactionEndedByServer())
                    throw DatabaseError(1213, QStringLiteral("The server rolled the transaction back (deadlock)"));
                throw;
            }
            transaction.commit();
            return;
        } catch (const DatabaseError& e) {
            const bool conflict = e.code() == 1213 || e.code() == 1205 || (e.code() == 1062 && connection.onCluster());
            if (!conflict || attempt >= attempts || connection.inTransaction())
                throw;
            QThread::msleep(unsigned(10 * attempt));
        }
    }
}

} // namespace tarvex
