#include "DatabaseBackup.h"

#include "ClientProcess.h"
#include "ClientTools.h"
#include "LogCategories.h"
#include "Migration.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QUuid>

namespace tarvex {

namespace {

// What the user cancelled: no message, nothing changed.
class Cancelled : public TarvexError {
public:
    Cancelled() : TarvexError(ErrorKind::Abort, QString(), BACKUP_CANCELLED_INF) {}
};

} // namespace

JobConnection::JobConnection(const ConnectionSettings& settings)
    : m_name(QStringLiteral("tarvex-backup-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
{
    m_db = openConnection(settings, m_name);
}

JobConnection::~JobConnection()
{
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

QVariant JobConnection::value(const QString& sql, const QVariantList& values)
{
    QSqlQuery query = selectSql(m_db, sql, values);
    return query.next() ? query.value(0) : QVariant();
}

void JobControl::checkCancelled() const
{
    if (cancelled && cancelled())
        throw Cancelled();
}

QString clientCause(const QByteArray& output)
{
    QStringList lines = QString::fromLocal8Bit(output).trimmed().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return lines.mid(qMax(0, int(lines.size()) - 3)).join(QLatin1Char('\n'));
}

DatabaseBackup::DatabaseBackup(const ConnectionSettings& settings, JobControl control)
    : m_settings(settings), m_control(std::move(control))
{
}

void DatabaseBackup::dump(const std::function<void(const char*, qint64)>& sink)
{
    ClientOptions options(m_settings);
    QStringList args = options.arguments();
    // One transaction's snapshot; rows in key order and no dates, so the same
    // data always dumps to the same text.
    args << QStringLiteral("--single-transaction") << QStringLiteral("--quick") << QStringLiteral("--routines")
         << QStringLiteral("--triggers") << QStringLiteral("--order-by-primary") << QStringLiteral("--skip-dump-date")
         << QStringLiteral("--hex-blob") << QStringLiteral("--no-tablespaces")
         << QStringLiteral("--net-buffer-length=1048576") << m_settings.database;
    ClientProcess process;
    if (!process.launch(QStringLiteral("mariadb-dump"), args))
        throw BackupError(BACKUP_DUMP_FAILED_ERR.arg(m_settings.database, process.errorString()));
    for (;;) {
        m_control.checkCancelled();
        const QByteArray chunk = process.read(1 << 20);
        if (!chunk.isEmpty()) {
            sink(chunk.constData(), chunk.size());
            continue;
        }
        if (process.state() == QProcess::NotRunning)
            break;
        process.waitForReadyRead(200);
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        throw BackupError(BACKUP_DUMP_FAILED_ERR.arg(m_settings.database,
                                                     clientCause(process.readAllStandardError())));
}

BackupManifest DatabaseBackup::backup(const QString& file)
{
    BackupManifest manifest;
    manifest.database = m_settings.database;
    manifest.created = QDateTime::currentDateTime();
    qint64 estimate = 1;
    {
        JobConnection connection(m_settings);
        manifest.schemaVersion = databaseSchemaVersion(connection.db());
        manifest.serverVersion = connection.value(QStringLiteral("SELECT VERSION()")).toString();
        // The dump's text is about as large as the tables' data.
        estimate = qMax<qint64>(1, connection.value(QStringLiteral("SELECT SUM(data_length) FROM information_schema.tables "
                                                                   "WHERE table_schema = DATABASE()"))
                                       .toLongLong());
    }
    m_control.report(0);
    BackupFileWriter writer(file);
    DumpDigest digest;
    int shown = 0;
    dump([&](const char* data, qint64 size) {
        digest.add(data, size);
        writer.add(data, size);
        manifest.dumpBytes += size;
        const int percent = int(qMin<qint64>(99, manifest.dumpBytes * 100 / estimate));
        if (percent != shown)
            m_control.report(shown = percent);
    });
    manifest.tables = digest.tables();
    m_control.checkCancelled();
    writer.finish(manifest);
    m_control.report(100);
    qCInfo(lcBackup).noquote() << QStringLiteral("Backup of %1 written to %2 (%3 tables, %4 bytes of dump)")
                                      .arg(manifest.database, file)
                                      .arg(manifest.tables.size())
                                      .arg(manifest.dumpBytes);
    return manifest;
}

QMap<QString, QByteArray> DatabaseBackup::tableChecksums()
{
    DumpDigest digest;
    dump([&](const char* data, qint64 size) { digest.add(data, size); });
    return digest.tables();
}

} // namespace tarvex
