#include "Connection.h"
#include "DatabaseError.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <atomic>

namespace tarvex {

QSqlDatabase openConnection(const ConnectionSettings& settings, const QString& connectionName)
{
    if (QSqlDatabase::contains(connectionName))
        QSqlDatabase::removeDatabase(connectionName);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), connectionName);
    if (!db.isValid())
        throw DatabaseError(-1, QStringLiteral("The Qt MySQL driver (QMYSQL) is not available; "
                                               "install the Debian package libqt6sql6-mysql."));
    // The driver's own reconnect stays off: see Connection.
    QString options = QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=5;MYSQL_OPT_RECONNECT=0");
    if (!settings.socket.isEmpty()) {
        options += QStringLiteral(";UNIX_SOCKET=") + settings.socket;
    } else {
        db.setHostName(settings.host);
        db.setPort(settings.port);
    }
    db.setConnectOptions(options);
    db.setUserName(settings.user);
    db.setPassword(settings.password);
    if (!settings.database.isEmpty())
        db.setDatabaseName(settings.database);
    if (!db.open())
        throw DatabaseError::fromSqlError(db.lastError());
    prepareSession(db);
    return db;
}

void prepareSession(QSqlDatabase& db)
{
    execSql(db, QStringLiteral("SET SESSION sql_mode = '%1'").arg(QLatin1String(kSessionSqlMode)));
    execSql(db, QStringLiteral("SET NAMES utf8mb4 COLLATE utf8mb4_unicode_ci"));
    // The workstation's own offset: dates typed and shown are local dates.
    const int offset = QDateTime::currentDateTime().offsetFromUtc() / 60;
    const QString zone = QStringLiteral("%1%2:%3")
                             .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                             .arg(qAbs(offset) / 60, 2, 10, QLatin1Char('0'))
                             .arg(qAbs(offset) % 60, 2, 10, QLatin1Char('0'));
    execSql(db, QStringLiteral("SET time_zone = '%1'").arg(zone));
}

void execSql(const QSqlDatabase& db, const QString& sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql))
        throw DatabaseError::fromSqlError(query.lastError(), sql);
}

QSqlQuery selectSql(const QSqlDatabase& db, const QString& sql)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(sql))
        throw DatabaseError::fromSqlError(query.lastError(), sql);
    return query;
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
}

Connection::Connection(const QSqlDatabase& db) : m_db(db)
{
}

Connection::~Connection()
{
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
        return true;
    }
    bool ok = false;
    if (DatabaseError::isConnectionLostCode(query.lastError().nativeErrorCode().toInt(&ok)))
        m_lost = true;
    return false;
}

void Connection::reconnect()
{
    m_db.close();
    if (!m_db.open())
        throw DatabaseError::fromSqlError(m_db.lastError());
    prepareSession(m_db);
    m_lost = false;
}

void Connection::fail(const QSqlError& error, const QString& sql)
{
    DatabaseError e = DatabaseError::fromSqlError(error, sql);
    if (e.isConnectionLost())
        m_lost = true;
    throw e;
}

void Connection::execute(const QString& sql)
{
    QSqlQuery query(m_db);
    if (!query.exec(sql))
        fail(query.lastError(), sql);
}

QSqlQuery Connection::select(const QString& sql)
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.exec(sql))
        fail(query.lastError(), sql);
    return query;
}

QSqlQuery Connection::prepare(const QString& sql)
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        fail(query.lastError(), sql);
    return query;
}

void Connection::exec(QSqlQuery& prepared)
{
    if (!prepared.exec())
        fail(prepared.lastError(), prepared.lastQuery());
}

qint64 Connection::lastInsertId()
{
    QSqlQuery query = select(QStringLiteral("SELECT LAST_INSERT_ID()"));
    return query.next() ? query.value(0).toLongLong() : 0;
}

const TableInfo& Connection::tableInfo(const QString& table)
{
    const QString key = table.toLower();
    auto it = m_tables.find(key);
    if (it == m_tables.end()) {
        TableInfo info;
        try {
            info = readTableInfo(m_db, table);
        } catch (const DatabaseError& e) {
            if (e.isConnectionLost())
                m_lost = true;
            throw;
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
            m_lost = true;
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
    // A lost session has rolled back on the server by itself.
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("ROLLBACK"))) {
        bool ok = false;
        if (DatabaseError::isConnectionLostCode(query.lastError().nativeErrorCode().toInt(&ok)))
            m_lost = true;
    }
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
    if (!isConnected() && !ping())
        reconnect();
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
            work();
            transaction.commit();
            return;
        } catch (const DatabaseError& e) {
            const bool conflict = e.code() == 1213 || e.code() == 1205;
            if (!conflict || attempt >= attempts || connection.inTransaction())
                throw;
            QThread::msleep(unsigned(10 * attempt));
        }
    }
}

} // namespace tarvex
