#include "ServerCertificates.h"

#include "PrivateServer.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QProcess>
#include <QStandardPaths>

namespace tarvex {

namespace {

const QString CERT_TOOL_ERR = QStringLiteral("Sertifikat servera ne može da se napravi (openssl).");

} // namespace

ServerCertificates::ServerCertificates(const QString& dir) : m_dir(QDir(dir).absolutePath()) {}

void ServerCertificates::run(const QStringList& arguments) const
{
    const QString openssl = QStandardPaths::findExecutable(QStringLiteral("openssl"));
    if (openssl.isEmpty())
        throw ServerError(CERT_TOOL_ERR, QStringLiteral("openssl is not installed (apt-get install openssl)"));
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(openssl, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        throw ServerError(CERT_TOOL_ERR, QString::fromLocal8Bit(process.readAll()));
}

void ServerCertificates::issue(const QString& name, const QStringList& hostNames, const QString& certPath,
                               const QString& keyPath)
{
    static const QRegularExpression address(QStringLiteral("^[0-9.]+$|:"));
    QStringList alternatives;
    for (const QString& host : hostNames)
        alternatives << (address.match(host).hasMatch() ? QStringLiteral("IP:") : QStringLiteral("DNS:")) + host;
    const QString request = certPath + QStringLiteral(".csr");
    const QString extensions = certPath + QStringLiteral(".ext");
    QFile ext(extensions);
    if (!ext.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw ServerError(CERT_TOOL_ERR, ext.errorString());
    ext.write("subjectAltName=" + alternatives.join(QLatin1Char(',')).toUtf8() + "\n");
    ext.close();
    run({QStringLiteral("req"), QStringLiteral("-newkey"), QStringLiteral("rsa:2048"), QStringLiteral("-nodes"),
         QStringLiteral("-subj"), QStringLiteral("/CN=") + name, QStringLiteral("-keyout"), keyPath,
         QStringLiteral("-out"), request});
    run({QStringLiteral("x509"), QStringLiteral("-req"), QStringLiteral("-in"), request, QStringLiteral("-CA"), caFile(),
         QStringLiteral("-CAkey"), m_dir + QStringLiteral("/ca.key"), QStringLiteral("-CAcreateserial"),
         QStringLiteral("-days"), QStringLiteral("3650"), QStringLiteral("-out"), certPath, QStringLiteral("-extfile"),
         extensions});
    QFile::remove(request);
    QFile::remove(extensions);
    QFile::setPermissions(keyPath, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void ServerCertificates::ensure(const QStringList& hostNames)
{
    if (!QDir().mkpath(m_dir))
        throw ServerError(SRV_FOLDER_ERR.arg(m_dir));
    if (!QFile::exists(caFile())) {
        run({QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"), QStringLiteral("rsa:2048"),
             QStringLiteral("-nodes"), QStringLiteral("-days"), QStringLiteral("3650"), QStringLiteral("-subj"),
             QStringLiteral("/CN=Tarvex CA"), QStringLiteral("-keyout"), m_dir + QStringLiteral("/ca.key"),
             QStringLiteral("-out"), caFile()});
        QFile::setPermissions(m_dir + QStringLiteral("/ca.key"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    if (!QFile::exists(certFile()))
        issue(QStringLiteral("Tarvex server"), hostNames, certFile(), keyFile());
}

} // namespace tarvex
