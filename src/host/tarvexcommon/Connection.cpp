#include "Connection.h"
#include "DatabaseError.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
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

} // namespace tarvex
