#include "Roles.h"

#include "Connection.h"
#include "DatabaseError.h"

#include <QSet>
#include <QSqlQuery>

namespace tarvex {

QStringList roleWrittenTables(StaffRole role)
{
    switch (role) {
    case StaffRole::Kasir:
        return {};
    case StaffRole::Magacioner:
        return {QStringLiteral("warehouse"), QStringLiteral("productwarehouse"),
                QStringLiteral("productattributewarehouse"), QStringLiteral("productpackaging"),
                QStringLiteral("component"), QStringLiteral("identifierlock"),
                // every write leaves its commit mark, so a lost commit answer can be settled
                QStringLiteral("commitmark")};
    case StaffRole::Komercijalista:
        return {QStringLiteral("product"),          QStringLiteral("productdetail"),
                QStringLiteral("productalter"),     QStringLiteral("categorypr"),
                QStringLiteral("productcategorypr"), QStringLiteral("attributepr"),
                QStringLiteral("attributeprvalue"), QStringLiteral("categoryprattribute"),
                QStringLiteral("productattribute"), QStringLiteral("productrebate"),
                QStringLiteral("productworkingoperation"), QStringLiteral("fixedasset"),
                QStringLiteral("tax"),              QStringLiteral("kasagroup"),
                QStringLiteral("kasatableitem")};
    case StaffRole::Administrator:
        break;
    }
    return {};
}

namespace {

bool lacksRight(const DatabaseError& e)
{
    // 1044/1142/1227: access to a database, a table or a privilege refused.
    return e.code() == 1044 || e.code() == 1142 || e.code() == 1227 || e.code() == 1045;
}

} // namespace

bool installRoles(QSqlDatabase& db)
{
    QSqlQuery current = selectSql(db, QStringLiteral("SELECT DATABASE()"));
    if (!current.next() || current.value(0).isNull())
        return false;
    const QString database = quoteIdentifier(current.value(0).toString());
    current.finish();
    try {
        for (StaffRole role : allRoles())
            execSql(db, QStringLiteral("CREATE ROLE IF NOT EXISTS %1").arg(roleAccount(role)));
        execSql(db, QStringLiteral("GRANT SELECT ON %1.* TO tarvex_kasir").arg(database));
        // A database brought up only part of the way has some tables still to come.
        QSet<QString> present;
        QSqlQuery tables = selectSql(db, QStringLiteral("SELECT table_name FROM information_schema.tables "
                                                        "WHERE table_schema = DATABASE()"));
        while (tables.next())
            present.insert(tables.value(0).toString().toLower());
        tables.finish();
        for (StaffRole role : {StaffRole::Magacioner, StaffRole::Komercijalista}) {
            for (const QString& table : roleWrittenTables(role))
                if (present.contains(table))
                    execSql(db, QStringLiteral("GRANT INSERT, UPDATE, DELETE ON %1.%2 TO %3")
                                .arg(database, quoteIdentifier(table), roleAccount(role)));
        }
        // The catalogue import stages a file's rows in a temporary table of its session.
        execSql(db, QStringLiteral("GRANT CREATE TEMPORARY TABLES ON %1.* TO tarvex_komercijalista").arg(database));
        execSql(db, QStringLiteral("GRANT tarvex_kasir TO tarvex_magacioner"));
        execSql(db, QStringLiteral("GRANT tarvex_magacioner TO tarvex_komercijalista"));
        execSql(db, QStringLiteral("GRANT tarvex_komercijalista TO tarvex_administrator"));
        execSql(db, QStringLiteral("GRANT ALL PRIVILEGES ON %1.* TO tarvex_administrator").arg(database));
        // Staff accounts: made, locked and removed by the server's own statements.
        execSql(db, QStringLiteral("GRANT CREATE USER ON *.* TO tarvex_administrator"));
        for (StaffRole role : {StaffRole::Kasir, StaffRole::Magacioner, StaffRole::Komercijalista})
            execSql(db, QStringLiteral("GRANT %1 TO tarvex_administrator WITH ADMIN OPTION").arg(roleAccount(role)));
        // Reading who holds which role, and setting an account's default role,
        // need the server's own tables; these two run with their creator's
        // rights and show or do no more than that. Staff accounts are the
        // ones for any host ('%'); the server's own (root@localhost, who
        // made the roles) stay out of the list. Accounts belong to the
        // server, not to one shop, so the two live in a schema of their own
        // and a shop's backup, restore and table list never see them.
        execSql(db, QStringLiteral("CREATE DATABASE IF NOT EXISTS tarvex_staff"));
        execSql(db, QStringLiteral(
                        "CREATE OR REPLACE SQL SECURITY DEFINER VIEW tarvex_staff.staffaccount AS "
                        "SELECT g.User AS account, r.Role AS role, "
                        "IF(JSON_VALUE(g.Priv, '$.account_locked') IN ('true', '1'), 'y', 'n') AS locked "
                        "FROM mysql.global_priv AS g JOIN mysql.roles_mapping AS r "
                        "ON r.User = g.User AND r.Host = g.Host "
                        "WHERE g.Host = '%' AND r.Role LIKE 'tarvex!_%' ESCAPE '!'"));
        execSql(db, QStringLiteral(
                        "CREATE OR REPLACE PROCEDURE tarvex_staff.setstaffrole(IN account VARCHAR(80), IN rolename VARCHAR(80)) SQL SECURITY DEFINER "
                        "BEGIN "
                        "  IF rolename NOT IN ('tarvex_kasir', 'tarvex_magacioner', 'tarvex_komercijalista', "
                        "'tarvex_administrator') THEN "
                        "    SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Unknown role'; "
                        "  END IF; "
                        "  IF NOT EXISTS (SELECT 1 FROM mysql.roles_mapping WHERE User = account AND Host = '%' "
                        "AND Role = rolename) THEN "
                        "    SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'The account does not hold the role'; "
                        "  END IF; "
                        "  SET @tarvex_role = CONCAT('SET DEFAULT ROLE ', rolename, ' FOR ', QUOTE(account), '@''%'''); "
                        "  PREPARE st FROM @tarvex_role; EXECUTE st; DEALLOCATE PREPARE st; "
                        "END"));
        execSql(db, QStringLiteral("GRANT SELECT ON tarvex_staff.staffaccount TO tarvex_administrator"));
        execSql(db, QStringLiteral("GRANT EXECUTE ON PROCEDURE tarvex_staff.setstaffrole TO tarvex_administrator"));
    } catch (const DatabaseError& e) {
        if (lacksRight(e))
            return false;
        throw;
    }
    return true;
}

} // namespace tarvex
