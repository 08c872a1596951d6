#include "SessionTls.h"

#include "Connection.h"
#include "DatabaseError.h"

#include <QFileInfo>
#include <QSqlQuery>

#include <mysql.h>

namespace tarvex {

bool parseTlsMode(const QString& text, TlsMode& mode)
{
    const QString t = text.trimmed().toLower();
    if (t.isEmpty() || t == QLatin1String("off"))
        mode = TlsMode::Off;
    else if (t == QLatin1String("required"))
        mode = TlsMode::Required;
    else if (t == QLatin1String("verify"))
        mode = TlsMode::Verify;
    else
        return false;
    return true;
}

QString tlsModeText(TlsMode mode)
{
    switch (mode) {
    case TlsMode::Required:
        return QStringLiteral("required");
    case TlsMode::Verify:
        return QStringLiteral("verify");
    case TlsMode::Off:
        break;
    }
    return QStringLiteral("off");
}

namespace {

void checkReadable(const QString& path, const char* key)
{
    if (!path.isEmpty() && !QFileInfo(path).isReadable())
        throw TlsError(TLS_FILE_ERR.arg(path, QLatin1String(key)));
}

} // namespace

QString tlsConnectOptions(const TlsSettings& tls)
{
    if (!tls.on())
        return QString();
    if (tls.mode == TlsMode::Verify && tls.ca.isEmpty())
        throw TlsError(TLS_CA_REQUIRED_ERR);
    checkReadable(tls.ca, "SslCa");
    checkReadable(tls.cert, "SslCert");
    checkReadable(tls.key, "SslKey");
    QStringList options;
    if (!tls.ca.isEmpty())
        options << QStringLiteral("SSL_CA=") + tls.ca;
    if (!tls.cert.isEmpty())
        options << QStringLiteral("SSL_CERT=") + tls.cert;
    if (!tls.key.isEmpty())
        options << QStringLiteral("SSL_KEY=") + tls.key;
    // The driver asks for TLS only when one SSL option is given: without a
    // CA, the cipher list is that option (the chain is then not checked).
    if (options.isEmpty())
        options << QStringLiteral("SSL_CIPHER=DEFAULT");
    return options.join(QLatin1Char(';'));
}

void verifyServerCertificate(const TlsSettings& tls, const ServerAddress& server, const QString& user,
                             const QString& password)
{
    if (tls.mode != TlsMode::Verify || !server.socket.isEmpty())
        return;
    MYSQL* mysql = mysql_init(nullptr);
    if (!mysql)
        throw TlsError(TLS_HANDSHAKE_ERR.arg(server.text()), QStringLiteral("mysql_init failed"));
    const my_bool on = 1;
    const unsigned int timeout = 3;
    mysql_options(mysql, MYSQL_OPT_SSL_VERIFY_SERVER_CERT, &on);
    mysql_options(mysql, MYSQL_OPT_CONNECT_TIMEOUT, &timeout);
    const QByteArray ca = tls.ca.toLocal8Bit();
    const QByteArray cert = tls.cert.toLocal8Bit();
    const QByteArray key = tls.key.toLocal8Bit();
    mysql_ssl_set(mysql, key.isEmpty() ? nullptr : key.constData(), cert.isEmpty() ? nullptr : cert.constData(),
                  ca.constData(), nullptr, nullptr);
    const QByteArray host = server.host.toUtf8();
    const QByteArray name = user.toUtf8();
    const QByteArray secret = password.toUtf8();
    const bool connected = mysql_real_connect(mysql, host.constData(), name.constData(), secret.constData(), nullptr,
                                              unsigned(server.port), nullptr, 0) != nullptr;
    const int code = int(mysql_errno(mysql));
    const QString message = QString::fromUtf8(mysql_error(mysql));
    mysql_close(mysql);
    if (connected)
        return;
    // 2026: the TLS handshake failed, the certificate check included.
    if (code == 2026)
        throw TlsError(TLS_HOST_NAME_ERR.arg(server.text(), tls.ca), message);
    throw DatabaseError(code, message);
}

QString sessionCipher(const QSqlDatabase& db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SHOW SESSION STATUS LIKE 'Ssl_cipher'")) || !query.next())
        return QString();
    return query.value(1).toString();
}

void requireEncryptedLink(const QSqlDatabase& db, const TlsSettings& tls, const QString& serverText)
{
    if (tls.on() && sessionCipher(db).isEmpty())
        throw TlsError(TLS_NOT_ENCRYPTED_ERR.arg(serverText, tlsModeText(tls.mode)));
}

} // namespace tarvex
