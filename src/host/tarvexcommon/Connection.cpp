#include "Connection.h"
#include "DatabaseError.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>

namespace tarvex {

static int nativeCode(const QSqlError& error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? code : -1;
}

QSqlDatabase openConnection(const ConnectionSettings& settings, const QString& connectionName)
{
    if (QSqlDatabase::contains(connectionName))
        QSqlDatabase::removeDatabase(connectionName);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), connectionName);
    if (!db.isValid())
        throw DatabaseError(-1, QStringLiteral("The Qt MySQL driver (QMYSQL) is not available; "
                                               "install the Debian package libqt6sql6-mysql."));
    QString options = QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=5");
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
    if (!db.open()) {
        const QSqlError error = db.lastError();
        throw DatabaseError(nativeCode(error), error.databaseText().isEmpty() ? error.text() : error.databaseText());
    }
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

void execSql(QSqlDatabase& db, const QString& sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql)) {
        const QSqlError error = query.lastError();
        throw DatabaseError(nativeCode(error), error.databaseText(), sql);
    }
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

} // namespace tarvex
