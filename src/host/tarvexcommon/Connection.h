#pragma once
// Opening a MariaDB/MySQL session the way every part of the system needs it:
// over a Unix socket (the private server) or TCP (a shared server), with the
// session's sql_mode and time zone set explicitly right after connecting.

#include "TableInfo.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QList>
#include <QStringList>
#include <QString>
#include <QVariant>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class QSqlError;

namespace tarvex {

class DatabaseError;
class NativeRows;

// One server of several: a Unix socket path, or a host and port.
struct ServerAddress {
    QString socket;
    QString host;
    int port = 3306;
    // "host", "host:port" or a socket path (starting with "/").
    static ServerAddress parse(const QString& text, int defaultPort, bool* ok = nullptr);
    QString text() const;
};

struct ConnectionSettings {
    QString socket;     // Unix socket path; when set, host and port are ignored
    QString host;
    int port = 3306;
    QString user;
    QString password;
    QString database;   // may be empty: connect without choosing a database
    // The nodes of a cluster, in the order they are tried; when set, socket,
    // host and port are ignored. A session goes to the first that answers
    // and is in step with the cluster, and on its loss to the first again.
    QList<ServerAddress> servers;
};

// Parses a comma-separated list of addresses (ServerAddress::parse); false
// when an entry is empty or its port is not a number.
bool parseServerList(const QString& text, int defaultPort, QList<ServerAddress>& servers);

// The mode every session runs in. NO_BACKSLASH_ESCAPES makes doubling single
// quotes the whole of text quoting; ONLY_FULL_GROUP_BY stays off on purpose.
inline constexpr const char* kSessionSqlMode =
    "STRICT_TRANS_TABLES,ERROR_FOR_DIVISION_BY_ZERO,NO_ENGINE_SUBSTITUTION,NO_BACKSLASH_ESCAPES";

// Opens a QMYSQL connection under the given Qt connection name (replacing one
// of the same name) and prepares the session. Throws DatabaseError.
QSqlDatabase openConnection(const ConnectionSettings& settings, const QString& connectionName);

// Sets sql_mode, character set and time zone on an open connection.
void prepareSession(QSqlDatabase& db);

// False when the server is a Galera node not in step with its cluster
// (wsrep_local_state_comment other than "Synced"): it may refuse work or
// serve old data. A server outside a cluster is always ready.
bool clusterNodeReady(const QSqlDatabase& db);

// Makes the session's reads wait until the node has applied every commit the
// cluster made before them (wsrep_sync_wait), for reads that must see another
// node's latest work. Nothing on a server outside a cluster.
void readClusterLatest(QSqlDatabase& db);

// Runs one statement, with "?" placeholders bound to the values in order;
// throws DatabaseError carrying the statement on failure. On a Qt connection
// a Connection works on, the statement goes through it (Connection::working).
void execSql(const QSqlDatabase& db, const QString& sql, const QVariantList& values = {});

// Runs a statement that returns rows, read forward only, as execSql.
QSqlQuery selectSql(const QSqlDatabase& db, const QString& sql, const QVariantList& values = {});

// Quotes a text as an SQL literal under NO_BACKSLASH_ESCAPES.
QString quoteSqlText(const QString& text);

// Quotes an identifier with backticks.
QString quoteIdentifier(const QString& name);

// The session that datasets and data modules share. Every failure raises
// DatabaseError; a failure with a lost-connection code also marks the session
// lost. The driver never reconnects on its own (a silent reconnect would lose
// the session's settings and could replay work that had already committed);
// this class does, explicitly:
// - the first statement after a loss opens the session again, with its
//   settings, and fails at once with the server's answer when it is still away;
// - a read that meets a dead session outside a transaction is run once more
//   on a fresh one; a write never is (it may have been done);
// - before a write outside a transaction on a session idle for a while, the
//   session is checked, so a server restarted meanwhile costs nothing;
// - inside a transaction nothing reopens: the transaction died with the session;
// - after a deadlock inside a transaction (which the server rolled back) the
//   rest of it is refused, its commit too, even when a caller went on.
class Connection {
public:
    // Opens a session of its own. Throws DatabaseError.
    explicit Connection(const ConnectionSettings& settings);
    // Works on a Qt connection opened elsewhere (openConnection), which stays
    // its opener's. One Qt connection has one Connection: a second throws
    // InternalError (use working() to find the one there is).
    explicit Connection(const QSqlDatabase& db);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    QSqlDatabase database() const { return m_db; }
    // The Connection working on a Qt connection, or null: statements given
    // the Qt connection go through it, so the session's loss is handled the
    // same whichever way they came.
    static Connection* working(const QSqlDatabase& db);
    // The names of the Qt connections a Connection works on, sorted.
    static QStringList enlisted();
    // Before work on a connection of its own (a worker's): opens a lost
    // session again here, so the loss is told and a dead private server
    // started again, or throws as a statement would.
    void check();

    // Open and not known to be lost; asks nothing of the server.
    bool isConnected() const { return m_db.isOpen() && !m_lost; }
    // Asks the server; false, and the session counts as lost, when it is gone.
    bool ping();
    // Opens the session again with the same settings and sets it up as at the
    // first opening; with several servers, on the first of them ready.
    // Throws DatabaseError.
    void reconnect();
    // The server the session is open on ("host:port" or the socket).
    QString serverText() const;
    // The server is a node of a Galera cluster (asked once).
    bool onCluster();
    // Asked when opening the session again fails: true when it brought the
    // server back (the console restarts its private server), and opening is
    // tried once more.
    void setServerReviver(std::function<bool()> reviver) { m_reviver = std::move(reviver); }

    // Runs one statement (outside a transaction, a read meeting a dead
    // session runs once more on a fresh one).
    void execute(const QString& sql);
    // Runs a statement that returns rows; the result is read forward only.
    QSqlQuery select(const QString& sql);
    // The same with "?" placeholders and their values bound in order: the
    // way every value reaches a statement.
    void execute(const QString& sql, const QVariantList& values);
    QSqlQuery select(const QString& sql, const QVariantList& values);
    // The first column of the first row; null without rows.
    QVariant value(const QString& sql, const QVariantList& values = {});
    // The account the session runs as.
    QString userName() const { return m_db.userName(); }
    // Prepares a statement with "?" placeholders; run it with exec().
    QSqlQuery prepare(const QString& sql);
    void exec(QSqlQuery& prepared);
    // The many rows of a report, read with the client library without a
    // QVariant per value (NativeRows.h); "?" marks take the values.
    NativeRows readNative(const QString& sql, const QVariantList& values = {});
    // The key the server gave the last row this session inserted.
    qint64 lastInsertId();

    // The table's columns, key and defaults, read once per table.
    const TableInfo& tableInfo(const QString& table);

    // --- transactions. Nested begins join the outer transaction; only the
    // outermost commit writes. A rollback at any depth dooms the whole
    // transaction: the outermost commit then rolls back and throws.
    void beginTransaction();
    void commitTransaction();
    void rollbackTransaction();
    int transactionDepth() const { return m_depth; }
    bool inTransaction() const { return m_depth > 0; }

    // Runs once when the current outermost transaction ends: with true after
    // its commit, with false after its rollback. A commit whose answer was
    // lost with the connection leaves its hooks in doubt (see below).
    using TransactionEnd = std::function<void(bool committed)>;
    void onTransactionEnd(TransactionEnd hook);

    // A commit interrupted by a lost connection may or may not have been
    // written. Its hooks wait until the caller finds out (for instance by a
    // token the transaction wrote) and settles them; a resolver given for
    // it answers whether it committed, and the next transaction asks it
    // first (reconnecting when the session is lost).
    bool transactionInDoubt() const { return !m_inDoubt.empty(); }
    void settleInDoubt(bool committed);
    void setDoubtResolver(std::function<bool()> resolver) { m_resolver = std::move(resolver); }
    // Settles a commit in doubt through its resolver; nothing when none is.
    void resolveDoubt();

    // Inside a transaction on a cluster node: the node has rolled it back
    // (another node's commit conflicted), whether or not a statement told so.
    bool transactionEndedByServer();

    // Statements that only read (or set up the session) may be run again
    // on a fresh session; anything else may already have been done.
    static bool isRepeatable(const QString& sql);

private:
    [[noreturn]] void fail(const QSqlError& error, const QString& sql);
    // A failure not reported by Qt's driver (NativeRows).
    [[noreturn]] void failWith(const DatabaseError& error);
    friend class NativeRows;
    static DatabaseError undoneByServer();
    void endTransaction(bool committed);
    // Opens a lost session again before a statement, and checks one idle for
    // a while before a write. Throws DatabaseError when the server is away.
    void beforeStatement(bool write);
    void reopen();
    // After `error` met a dead session: true when the statement may run
    // again on the session just opened; throws `error` when it cannot.
    bool reopenForRetry(const DatabaseError& error, bool repeatable);
    QSqlQuery run(const QString& sql, bool repeatable);
    void used();
    void markLost(const DatabaseError& error);
    void enlist();

    QSqlDatabase m_db;
    QList<ServerAddress> m_servers;  // the cluster's nodes; empty for one server
    QString m_ownName;  // the Qt connection this object opened and removes again
    bool m_lost = false;
    std::map<QString, std::unique_ptr<TableInfo>> m_tables;
    int m_depth = 0;
    bool m_doomed = false;
    bool m_undoneByServer = false;  // a deadlock rolled the open transaction back
    std::vector<TransactionEnd> m_endHooks;
    std::vector<TransactionEnd> m_inDoubt;
    std::function<bool()> m_resolver;
    std::function<bool()> m_reviver;
    std::unique_ptr<DatabaseError> m_untoldLoss;  // a loss found but not yet reported
    qint64 m_lastUse = 0;  // ms since the epoch of the last statement that worked
    int m_onCluster = -1;  // not asked yet
};

// Begins a transaction on construction; commit() ends it. When the guard is
// left without commit() (an exception, an early return) it rolls back.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Connection& m_connection;
    bool m_open = true;
};

// Runs `work` in a transaction and runs it again, up to `attempts` times in
// all, while the server answers with a deadlock (1213) or a lock wait
// timeout (1205): on a Galera node a conflicting commit fails that way. On a
// node, a duplicate key (1062) is run again too: another node's commit of
// the same new value, applied here after this transaction read, meets it so.
void withDeadlockRetry(Connection& connection, const std::function<void()>& work, int attempts = 5);

} // namespace tarvex
