#include "StaffRole.h"

#include "Connection.h"

#include <QSqlQuery>

namespace tarvex {

QString roleAccount(StaffRole role)
{
    switch (role) {
    case StaffRole::Kasir:
        return QStringLiteral("tarvex_kasir");
    case StaffRole::Magacioner:
        return QStringLiteral("tarvex_magacioner");
    case StaffRole::Komercijalista:
        return QStringLiteral("tarvex_komercijalista");
    case StaffRole::Administrator:
        break;
    }
    return QStringLiteral("tarvex_administrator");
}

QString roleCaption(StaffRole role)
{
    switch (role) {
    case StaffRole::Kasir:
        return QStringLiteral("Kasir");
    case StaffRole::Magacioner:
        return QStringLiteral("Magacioner");
    case StaffRole::Komercijalista:
        return QStringLiteral("Komercijalista");
    case StaffRole::Administrator:
        break;
    }
    return QStringLiteral("Administrator");
}

QList<StaffRole> allRoles()
{
    return {StaffRole::Kasir, StaffRole::Magacioner, StaffRole::Komercijalista, StaffRole::Administrator};
}

bool roleFromName(const QString& name, StaffRole& role)
{
    for (StaffRole r : allRoles()) {
        if (name.compare(roleAccount(r), Qt::CaseInsensitive) == 0 || name.compare(roleCaption(r), Qt::CaseInsensitive) == 0) {
            role = r;
            return true;
        }
    }
    return false;
}

StaffRole sessionRole(const QSqlDatabase& db)
{
    StaffRole role = StaffRole::Kasir;
    QSqlQuery current = selectSql(db, QStringLiteral("SELECT CURRENT_ROLE()"));
    if (current.next() && roleFromName(current.value(0).toString(), role))
        return role;
    current.finish();
    // No role of ours: what the account itself may do decides.
    QSqlQuery writes = selectSql(
        db, QStringLiteral("SELECT (SELECT COUNT(*) FROM information_schema.USER_PRIVILEGES WHERE PRIVILEGE_TYPE = 'INSERT') + "
                           "(SELECT COUNT(*) FROM information_schema.SCHEMA_PRIVILEGES WHERE PRIVILEGE_TYPE = 'INSERT' "
                           "AND TABLE_SCHEMA = DATABASE())"));
    return writes.next() && writes.value(0).toInt() > 0 ? StaffRole::Administrator : StaffRole::Kasir;
}

} // namespace tarvex
