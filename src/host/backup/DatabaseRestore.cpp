#include "DatabaseRestore.h"

#include "ClientProcess.h"
#include "ClientTools.h"
#include "LogCategories.h"
#include "Migration.h"
#include "Schema.h"

#include <QSqlQuery>

namespace tarvex {

namespace {

QStringList tablesOf(JobConnection& connection, const QString& database)
{
    QStringList tables;
    QSqlQuery query = selectSql(connection.db(), QStringLiteral("SELECT table_name FROM information_schema.tables "
                                                                "WHERE table_schema = ? ORDER BY table_name"),
                                {database});
    while (query.next())
        tables << query.value(0).toString();
    return tables;
}

QString qualified(const QString& database, const QString& table)
{
    return quoteIdentifier(database) + QLatin1Char('.') + quoteIdentifier(table);
}

} // namespace

DatabaseRestore::DatabaseRestore(const ConnectionSettings& settings, JobControl control)
    : m_settings(settings), m_control(std::move(control))
{
}

BackupManifest DatabaseRestore::restore(const QString& file)
{
    m_control.report(0);
    BackupFileReader reader(file);
    const BackupManifest manifest = reader.check();
    if (manifest.schemaVersion > programSchemaVersion())
        throw BackupError(RESTORE_NEWER_ERR.arg(file).arg(manifest.schemaVersion).arg(programSchemaVersion()));
    m_control.checkCancelled();

    ConnectionSettings server = m_settings;
    server.database.clear();
    JobConnection admin(server);
    // A restore killed earlier may have left its half.
    dropDatabase(admin.db(), scratchDatabase());
    createDatabase(admin.db(), scratchDatabase());
    try {
        load(reader, file);
        ConnectionSettings scratch = m_settings;
        scratch.database = scratchDatabase();
        const QMap<QString, QByteArray> restored = DatabaseBackup(scratch).tableChecksums();
        for (auto it = manifest.tables.begin(); it != manifest.tables.end(); ++it)
            if (restored.value(it.key()) != it.value())
                throw BackupError(RESTORE_MISMATCH_ERR.arg(file, it.key()));
        for (auto it = restored.begin(); it != restored.end(); ++it)
            if (!manifest.tables.contains(it.key()))
                throw BackupError(RESTORE_MISMATCH_ERR.arg(file, it.key()));
        m_control.checkCancelled();
    } catch (...) {
        dropDatabase(admin.db(), scratchDatabase());
        throw;
    }
    m_control.report(97);
    switchOver();
    m_control.report(100);
    qCInfo(lcBackup).noquote() << QStringLiteral("Database %1 restored from %2").arg(m_settings.database, file);
    return manifest;
}

void DatabaseRestore::load(BackupFileReader& reader, const QString& file)
{
    ClientOptions options(m_settings);
    ClientProcess client;
    client.setProcessChannelMode(QProcess::MergedChannels);
    const QStringList arguments =
        options.arguments() << QStringLiteral("--batch") << QStringLiteral("--database=") + scratchDatabase();
    if (!client.launch(QStringLiteral("mariadb"), arguments))
        throw BackupError(RESTORE_LOAD_FAILED_ERR.arg(file, client.errorString()));
    QByteArray output;
    qint64 fed = 0;
    int shown = 0;
    const qint64 total = qMax<qint64>(1, reader.manifest().dumpBytes);
    reader.readDump([&](const char* data, qint64 size) {
        m_control.checkCancelled();
        client.write(data, size);
        // Only a few megabytes wait in memory for the client.
        while (client.bytesToWrite() > (4 << 20) && client.state() == QProcess::Running)
            client.waitForBytesWritten(200);
        output += client.readAll();
        if (client.state() != QProcess::Running)
            return false;
        fed += size;
        // Loading is most of the work; checking and switching the rest.
        const int percent = int(fed * 85 / total);
        if (percent != shown)
            m_control.report(shown = percent);
        return true;
    });
    client.closeWriteChannel();
    while (client.state() == QProcess::Running) {
        m_control.checkCancelled();
        client.waitForFinished(200);
    }
    output += client.readAll();
    if (client.exitStatus() != QProcess::NormalExit || client.exitCode() != 0 || fed < reader.manifest().dumpBytes)
        throw BackupError(RESTORE_LOAD_FAILED_ERR.arg(file, clientCause(output)));
}

void DatabaseRestore::switchOver()
{
    ConnectionSettings server = m_settings;
    server.database.clear();
    JobConnection admin(server);
    const QString target = m_settings.database;
    createDatabase(admin.db(), target);
    dropDatabase(admin.db(), asideDatabase());
    createDatabase(admin.db(), asideDatabase());
    QStringList moves;
    for (const QString& table : tablesOf(admin, target))
        moves << qualified(target, table) + QStringLiteral(" TO ") + qualified(asideDatabase(), table);
    for (const QString& table : tablesOf(admin, scratchDatabase()))
        moves << qualified(scratchDatabase(), table) + QStringLiteral(" TO ") + qualified(target, table);
    // One statement: the current tables go aside and the restored ones come in together.
    execSql(admin.db(), QStringLiteral("RENAME TABLE ") + moves.join(QStringLiteral(", ")));
    dropDatabase(admin.db(), scratchDatabase());
}

} // namespace tarvex
