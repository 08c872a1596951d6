#pragma once
// The shop's staff accounts: the server's own accounts, each holding one of
// the staff roles. Everything goes through the server's statements (CREATE
// USER, GRANT, ALTER USER, DROP USER); nothing is kept in a table of ours.
// A password never appears in a statement's text: the server is given its
// hash, so no log or error detail can show it.

#include "StaffRole.h"
#include "Error.h"

#include <QList>
#include <QString>

namespace tarvex {

class Connection;

struct StaffAccount {
    QString name;
    StaffRole role = StaffRole::Kasir;
    bool locked = false;
};

// A refused account action, said so the administrator knows what to change.
class StaffError : public TarvexError {
public:
    explicit StaffError(const QString& userText) : TarvexError(ErrorKind::Validation, userText) {}
};

inline const QString STAFF_NAME_ERR =
    QStringLiteral("Ime naloga \"%1\" nije ispravno: do 80 slova bez kvačica, cifara i znakova . _ -");
inline const QString STAFF_PASSWORD_ERR = QStringLiteral("Lozinka mora imati bar 8 znakova.");
inline const QString STAFF_EXISTS_ERR = QStringLiteral("Nalog \"%1\" već postoji.");
inline const QString STAFF_UNKNOWN_ERR = QStringLiteral("Nalog \"%1\" ne postoji ili nije nalog ovog programa.");
inline const QString STAFF_SELF_ERR = QStringLiteral("Nalog sa kojim ste prijavljeni ne možete zaključati ni ukloniti.");

class StaffAccounts {
public:
    explicit StaffAccounts(Connection& connection);

    // Every account holding a staff role, by name; with several roles, the highest.
    QList<StaffAccount> list();
    void add(const QString& name, const QString& password, StaffRole role);
    void setPassword(const QString& name, const QString& password);
    void setLocked(const QString& name, bool locked);
    void remove(const QString& name);

    // The server's hash of a password (mysql_native_password).
    static QString passwordHash(const QString& password);

private:
    static void checkName(const QString& name);
    static void checkPassword(const QString& password);
    void checkKnown(const QString& name);
    void checkNotSelf(const QString& name);
    static QString account(const QString& name);

    Connection& m_connection;
};

} // namespace tarvex
