#include "StaffAccounts.h"

#include "Connection.h"

#include <QCryptographicHash>
#include <algorithm>
#include <QRegularExpression>
#include <QSqlQuery>

namespace tarvex {

StaffAccounts::StaffAccounts(Connection& connection) : m_connection(connection) {}

QList<StaffAccount> StaffAccounts::list()
{
    QList<StaffAccount> accounts;
    QSqlQuery query = m_connection.select(QStringLiteral("SELECT account, role, locked FROM tarvex_staff.staffaccount ORDER BY account"));
    while (query.next()) {
        StaffRole role;
        if (!roleFromName(query.value(1).toString(), role))
            continue;
        const QString name = query.value(0).toString();
        if (!accounts.isEmpty() && accounts.last().name == name) {
            accounts.last().role = std::max(accounts.last().role, role);
            continue;
        }
        accounts.append({name, role, query.value(2).toString() == QLatin1String("y")});
    }
    return accounts;
}

void StaffAccounts::add(const QString& name, const QString& password, StaffRole role)
{
    checkName(name);
    checkPassword(password);
    const QVariant exists = m_connection.value(QStringLiteral("SELECT COUNT(*) FROM tarvex_staff.staffaccount WHERE account = ?"), {name});
    if (exists.toInt() > 0)
        throw StaffError(STAFF_EXISTS_ERR.arg(name));
    m_connection.execute(QStringLiteral("CREATE USER %1 IDENTIFIED BY PASSWORD %2")
                             .arg(account(name), quoteSqlText(passwordHash(password))));
    try {
        // An administrator may hand every role on, his own included.
        m_connection.execute(QStringLiteral("GRANT %1 TO %2%3")
                                 .arg(roleAccount(role), account(name),
                                      role == StaffRole::Administrator ? QStringLiteral(" WITH ADMIN OPTION") : QString()));
        m_connection.execute(QStringLiteral("CALL tarvex_staff.setstaffrole(?, ?)"), {name, roleAccount(role)});
    } catch (...) {
        // Statements about accounts are not transactional: no half-made account stays.
        m_connection.execute(QStringLiteral("DROP USER IF EXISTS %1").arg(account(name)));
        throw;
    }
}

void StaffAccounts::setPassword(const QString& name, const QString& password)
{
    checkKnown(name);
    checkPassword(password);
    m_connection.execute(QStringLiteral("ALTER USER %1 IDENTIFIED BY PASSWORD %2")
                             .arg(account(name), quoteSqlText(passwordHash(password))));
}

void StaffAccounts::setLocked(const QString& name, bool locked)
{
    checkKnown(name);
    if (locked)
        checkNotSelf(name);
    m_connection.execute(QStringLiteral("ALTER USER %1 ACCOUNT %2")
                             .arg(account(name), locked ? QStringLiteral("LOCK") : QStringLiteral("UNLOCK")));
}

void StaffAccounts::remove(const QString& name)
{
    checkKnown(name);
    checkNotSelf(name);
    m_connection.execute(QStringLiteral("DROP USER %1").arg(account(name)));
}

QString StaffAccounts::passwordHash(const QString& password)
{
    const QByteArray once = QCryptographicHash::hash(password.toUtf8(), QCryptographicHash::Sha1);
    return QLatin1Char('*') + QString::fromLatin1(QCryptographicHash::hash(once, QCryptographicHash::Sha1).toHex().toUpper());
}

void StaffAccounts::checkName(const QString& name)
{
    static const QRegularExpression valid(QStringLiteral("^[A-Za-z0-9._-]{1,80}$"));
    if (!valid.match(name).hasMatch())
        throw StaffError(STAFF_NAME_ERR.arg(name));
}

void StaffAccounts::checkPassword(const QString& password)
{
    if (password.size() < 8)
        throw StaffError(STAFF_PASSWORD_ERR);
}

void StaffAccounts::checkKnown(const QString& name)
{
    checkName(name);
    if (m_connection.value(QStringLiteral("SELECT COUNT(*) FROM tarvex_staff.staffaccount WHERE account = ?"), {name}).toInt() == 0)
        throw StaffError(STAFF_UNKNOWN_ERR.arg(name));
}

void StaffAccounts::checkNotSelf(const QString& name)
{
    const QString self = m_connection.value(QStringLiteral("SELECT SUBSTRING_INDEX(CURRENT_USER(), '@', 1)")).toString();
    if (self == name)
        throw StaffError(STAFF_SELF_ERR);
}

QString StaffAccounts::account(const QString& name)
{
    return quoteSqlText(name) + QStringLiteral("@'%'");
}

} // namespace tarvex
