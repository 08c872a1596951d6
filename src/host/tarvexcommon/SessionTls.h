#pragma once
// Encryption of the link to a shared server: what the settings ask for
// (Ssl, SslCa, SslCert, SslKey) and how a session is held to it.
//
// Qt's MySQL driver can encrypt and check the server's certificate against a
// CA, but it has no switch for the host-name check. For `verify` the client
// library itself opens a first link with MYSQL_OPT_SSL_VERIFY_SERVER_CERT;
// only when that handshake accepts the certificate for the host name does
// the driver open the session, with the same CA.

#include "Error.h"

#include <QSqlDatabase>
#include <QString>

namespace tarvex {

struct ServerAddress;

enum class TlsMode {
    Off,       // no encryption asked for (a Unix socket never needs it)
    Required,  // refuse a link that is not encrypted
    Verify,    // and check the certificate against SslCa and the host name
};

struct TlsSettings {
    TlsMode mode = TlsMode::Off;
    QString ca;    // the CA's certificate (PEM)
    QString cert;  // the client's own certificate, when the server asks for one
    QString key;   // its private key
    bool on() const { return mode != TlsMode::Off; }
};

// "off", "required", "verify" (any letter case; empty is off); false for
// anything else.
bool parseTlsMode(const QString& text, TlsMode& mode);
QString tlsModeText(TlsMode mode);

// Refused set-up or a link that does not meet the settings; the text says
// which key to change.
class TlsError : public TarvexError {
public:
    explicit TlsError(const QString& userText, const QString& detail = QString())
        : TarvexError(ErrorKind::Configuration, userText, detail)
    {
    }
};

inline const QString TLS_MODE_ERR =
    QStringLiteral("Vrednost Ssl=%1 nije ispravna; upišite off, required ili verify.");
inline const QString TLS_CA_REQUIRED_ERR =
    QStringLiteral("Ssl=verify traži i ključ SslCa: putanju do sertifikata ustanove (CA) koja je potpisala sertifikat servera.");
inline const QString TLS_FILE_ERR =
    QStringLiteral("Datoteka %1 (ključ %2) ne može da se pročita: proverite putanju i prava čitanja.");
inline const QString TLS_NOT_ENCRYPTED_ERR =
    QStringLiteral("Veza sa serverom %1 nije šifrovana, a podešavanje Ssl=%2 to zahteva. "
                   "Uključite TLS na serveru (ssl_cert i ssl_key) ili se obratite administratoru.");
inline const QString TLS_HOST_NAME_ERR =
    QStringLiteral("Sertifikat servera %1 nije izdat za to ime servera ili ga nije potpisala ustanova iz SslCa (%2). "
                   "Veza je odbijena: proverite ime u ključu Host i sertifikat servera.");
inline const QString TLS_HANDSHAKE_ERR =
    QStringLiteral("Šifrovana veza sa serverom %1 nije uspostavljena: server ne prima TLS ili mu sertifikat nije ispravan.");

// The driver's connect options for the settings ("SSL_CA=...;..."), empty
// when off. Checks that the named files can be read; throws TlsError.
QString tlsConnectOptions(const TlsSettings& tls);

// For `verify`: opens a first link with the client library's own host-name
// check and closes it again. Throws TlsError when the certificate does not
// hold for this host, DatabaseError when the server refuses otherwise.
void verifyServerCertificate(const TlsSettings& tls, const ServerAddress& server, const QString& user,
                             const QString& password);

// The session's cipher, empty on a plain link.
QString sessionCipher(const QSqlDatabase& db);

// After opening: throws TlsError when the settings ask for encryption and
// the link has none.
void requireEncryptedLink(const QSqlDatabase& db, const TlsSettings& tls, const QString& serverText);

} // namespace tarvex
