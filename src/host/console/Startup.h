#pragma once
// Where the console's data lives: a server named in the workstation's
// settings file ([Database] Host, Port, User, Password, Database, Socket;
// Hosts for the nodes of a cluster: "host:port,host:port,..."),
// or else the embedded default, a private MariaDB server in the user's data
// folder with a database made from the schema and filled with demo data.

#include "Connection.h"
#include "PrivateServer.h"

#include "Error.h"

#include <functional>
#include <memory>

namespace tarvex {

// A start-up failure told in words a shop can act on; the detail keeps the
// server's or the program's own words for support.
class StartupError : public TarvexError {
public:
    explicit StartupError(const QString& userText, const QString& detail = QString())
        : TarvexError(ErrorKind::Configuration, userText, detail)
    {
    }
};

// The server refused the account itself: the sign-in window asks again.
class SignInRefused : public StartupError {
public:
    using StartupError::StartupError;
};

struct StartupSettings {
    QString settingsFile;            // where a shop fixes them
    bool embedded = true;
    // A shared server or cluster (Host or Hosts) with no Password key: each
    // staff member signs in with an account of his own.
    bool signIn = false;
    ConnectionSettings connection;   // for a configured server
    QString serverDir;               // for the embedded default
    QString bufferPool;              // its InnoDB cache ("512M"); empty: the server's default
    QString database = QStringLiteral("tarvex");
    // The configured server or nodes, as a person names them.
    QString serverText() const;
};

// Reads the settings file; without a [Database] section with a Host or
// Socket, the embedded default applies, its cache sized by BufferPool. A
// file that exists but cannot be read is a StartupError naming it: it may
// name a shared server, and the demo shop must not stand in for that.
StartupSettings readStartupSettings(const QString& iniFile);

// The folder of the embedded server: the user's data folder + tarvex/server.
QString defaultServerDir();

// What start-up is doing, for the window that shows it: the step's text and
// how much of the whole is done (0-100).
using StartupProgress = std::function<void(const QString& step, int percent)>;

// Fills a new database (made with the schema, named in the settings) with
// demo data, telling how far it got (0-100 of the fill).
using DemoFiller = std::function<void(const ConnectionSettings&, const StartupProgress&)>;

// Opens the database: starts (or reuses) the private server and creates the
// database with the schema and demo data on first use, or connects to the
// configured server. An older database is backed up into the backups folder
// and then upgraded (Migration.h); a newer one is refused untouched. `server`
// keeps the embedded default's private server (startedHere() tells whether to
// stop it at exit). A start that fails stops the private server it started
// and leaves no half-made database.
std::unique_ptr<Connection> openStartupDatabase(const StartupSettings& settings, const DemoFiller& fillDemo,
                                                std::unique_ptr<PrivateServer>& server,
                                                const StartupProgress& progress = {});

// The steps the start-up window shows.
inline const QString STARTUP_SERVER_STEP = QStringLiteral("Pokretanje servera baze podataka…");
inline const QString STARTUP_PREPARE_STEP = QStringLiteral("Priprema baze podataka (prvo pokretanje)…");
inline const QString STARTUP_SCHEMA_STEP = QStringLiteral("Pravljenje tabela baze podataka…");
inline const QString STARTUP_DEMO_STEP = QStringLiteral("Punjenje demo prodavnice…");
inline const QString STARTUP_CONNECT_STEP = QStringLiteral("Povezivanje sa serverom baze podataka…");

// Start-up failures of a configured server, each naming the file and keys to fix.
inline const QString STARTUP_ACCESS_DENIED_ERR =
    QStringLiteral("Server baze podataka nije prihvatio korisnika \"%1\" s datom lozinkom. Ispravite ključeve User i "
                   "Password u odeljku [Database] datoteke %2.");
inline const QString STARTUP_UNKNOWN_HOST_ERR =
    QStringLiteral("Računar \"%1\" nije poznat (ime se ne može razrešiti). Ispravite ključ Host u odeljku [Database] "
                   "datoteke %2.");
inline const QString STARTUP_HOST_UNREACHABLE_ERR =
    QStringLiteral("Server baze podataka na %1, port %2, se ne javlja. Proverite da li server radi i da li je mreža "
                   "dostupna, ili ispravite ključeve Host i Port u odeljku [Database] datoteke %3.");
inline const QString STARTUP_SOCKET_UNREACHABLE_ERR =
    QStringLiteral("Na utičnici %1 ne radi server baze podataka. Proverite da li server radi ili ispravite ključ "
                   "Socket u odeljku [Database] datoteke %2.");
inline const QString STARTUP_HOSTS_LIST_ERR =
    QStringLiteral("Spisak servera \"%1\" nije ispravan: navedite ih odvojene zarezom, svaki kao računar:port. "
                   "Ispravite ključ Hosts u odeljku [Database] datoteke %2.");
inline const QString STARTUP_NO_NODE_READY_ERR =
    QStringLiteral("Nijedan od servera baze podataka (%1) se ne javlja usklađen sa klasterom. Proverite da li klaster "
                   "radi, ili ispravite ključ Hosts u odeljku [Database] datoteke %2.");
inline const QString STARTUP_NOT_A_SERVER_ERR =
    QStringLiteral("Na računaru \"%1\", port %2, javlja se program koji nije server baze podataka. Ispravite "
                   "ključeve Host i Port u odeljku [Database] datoteke %3 tako da imenuju server baze podataka.");
inline const QString STARTUP_SOCKET_NOT_A_SERVER_ERR =
    QStringLiteral("Na utičnici %1 javlja se program koji nije server baze podataka. Ispravite ključ Socket u "
                   "odeljku [Database] datoteke %2.");
inline const QString STARTUP_SETTINGS_UNREADABLE_ERR =
    QStringLiteral("Datoteka podešavanja %1 postoji, ali program ne može da je pročita (%2). Dajte korisniku pravo "
                   "čitanja te datoteke ili je uklonite, pa pokrenite program ponovo.");
inline const QString STARTUP_NO_READ_RIGHT = QStringLiteral("nema pravo čitanja");
inline const QString STARTUP_UNKNOWN_DATABASE_ERR =
    QStringLiteral("Baza podataka \"%1\" ne postoji na serveru. Ispravite ključ Database u odeljku [Database] datoteke %2.");

// Signing in, and the keys that guard it.
inline const QString SIGNIN_WRONG_PASSWORD_ERR =
    QStringLiteral("Korisnik \"%1\" ne postoji ili lozinka nije tačna. Pokušajte ponovo; ako ste lozinku zaboravili, "
                   "administrator može da je postavi ponovo (Alati > Korisnici).");
inline const QString SIGNIN_LOCKED_ERR =
    QStringLiteral("Nalog \"%1\" je zaključan. Administrator ga može otključati (Alati > Korisnici).");
inline const QString SIGNIN_EXPIRED_ERR =
    QStringLiteral("Lozinka naloga \"%1\" je istekla. Zamolite administratora da vam postavi novu (Alati > Korisnici).");
inline const QString SIGNIN_TLS_NEEDED_ERR =
    QStringLiteral("Server %1 prima samo šifrovane veze. Upišite Ssl=verify i SslCa (sertifikat ustanove koja je "
                   "potpisala sertifikat servera) u odeljak [Database] datoteke %2.");
inline const QString STARTUP_PASSWORD_FILE_OPEN_ERR =
    QStringLiteral("Datoteka %1 sadrži lozinku (ključ Password), a mogu da je čitaju i drugi korisnici ovog računara. "
                   "Lozinka nije upotrebljena. Ograničite prava na vlasnika (chmod 600 %1) ili uklonite ključ Password, "
                   "pa će program tražiti prijavu.");
inline const QString STARTUP_TLS_SETTING_FMT = QStringLiteral("%1\n\nPodešavanja su u odeljku [Database] datoteke %2.");

inline const QString EMBEDDED_SERVER_RESTARTED_INF =
    QStringLiteral("Server baze podataka na ovom računaru se zaustavio. Ponovo je pokrenut i veza je uspostavljena; "
                   "proverite da li je poslednja izmena sačuvana.");

// For the embedded default's connection (Connection::setServerReviver):
// when its private server has died, starts it again with the same checks as
// at start-up and tells the user through `tell`. At most three times in ten
// minutes: a server that keeps dying needs a person.
std::function<bool()> privateServerReviver(PrivateServer& server, std::function<void(const QString&)> tell);

} // namespace tarvex
