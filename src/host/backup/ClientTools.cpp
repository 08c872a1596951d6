#include "ClientTools.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tarvex {

namespace {

// Option-file values are read up to the line's end; quotes keep spaces and
// the comment sign, a backslash escapes inside them.
QString optionValue(const QString& value)
{
    QString escaped = value;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

} // namespace

ClientOptions::ClientOptions(const ConnectionSettings& settings)
    : m_dir(QDir::tempPath() + QStringLiteral("/tarvex-client-XXXXXX"))
{
    ServerAddress server{settings.socket, settings.host, settings.port};
    if (!settings.servers.isEmpty())
        server = settings.servers.first();
    QString text = QStringLiteral("[client]\n");
    if (!server.socket.isEmpty())
        text += QStringLiteral("socket=%1\nprotocol=SOCKET\n").arg(optionValue(server.socket));
    else
        text += QStringLiteral("host=%1\nport=%2\nprotocol=TCP\n").arg(optionValue(server.host)).arg(server.port);
    if (!settings.user.isEmpty())
        text += QStringLiteral("user=%1\n").arg(optionValue(settings.user));
    if (!settings.password.isEmpty())
        text += QStringLiteral("password=%1\n").arg(optionValue(settings.password));
    text += QStringLiteral("default-character-set=utf8mb4\n");

    m_file = m_dir.filePath(QStringLiteral("client.cnf"));
    QFile file(m_file);
    // The folder is the owner's alone already; the file is made so as well.
    const QByteArray bytes = text.toUtf8();
    if (!m_dir.isValid() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) || file.write(bytes) != bytes.size() ||
        !file.flush())
        throw TarvexError(ErrorKind::File, QStringLiteral("Privremena datoteka %1 ne može da se upiše.").arg(m_file),
                          file.errorString());
}

QStringList ClientOptions::arguments() const { return {QStringLiteral("--defaults-file=") + m_file}; }

QString clientProgram(const QString& name)
{
    for (const char* dir : {"/usr/bin", "/usr/local/bin", "/usr/sbin"}) {
        const QFileInfo info(QLatin1String(dir) + QLatin1Char('/') + name);
        if (info.isFile() && info.isExecutable())
            return info.absoluteFilePath();
    }
    throw TarvexError(ErrorKind::Configuration, CLIENT_MISSING_ERR.arg(name));
}

} // namespace tarvex
