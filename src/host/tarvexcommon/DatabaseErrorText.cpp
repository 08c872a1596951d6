#include "DatabaseErrorText.h"

#include "DatabaseError.h"
#include "HostStrings.h"

#include <QHash>
#include <QRegularExpression>

namespace tarvex {

namespace {

QHash<QString, QString>& labels()
{
    static QHash<QString, QString> map;
    return map;
}

QString key(const QString& table, const QString& column)
{
    return table.toLower() + QLatin1Char('.') + column.toLower();
}

QString capture(const QString& text, const char* pattern, int group = 1)
{
    const QRegularExpressionMatch match = QRegularExpression(QString::fromLatin1(pattern)).match(text);
    return match.hasMatch() ? match.captured(group) : QString();
}

// The table a failed INSERT, UPDATE or DELETE wrote to.
QString tableOfStatement(const QString& sql)
{
    return capture(sql, R"(^\s*(?:INSERT\s+(?:IGNORE\s+)?INTO|UPDATE|DELETE\s+FROM|REPLACE\s+INTO)\s+`?(\w+)`?)");
}

// The label of a column of the table; without the table, the one label all
// tables that know the column agree on.
QString labelOf(const QString& table, const QString& column)
{
    if (column.isEmpty())
        return QString();
    if (!table.isEmpty())
        return rememberedFieldLabel(table, column);
    const QString suffix = QLatin1Char('.') + column.toLower();
    QString found;
    for (auto it = labels().cbegin(); it != labels().cend(); ++it) {
        if (!it.key().endsWith(suffix))
            continue;
        if (!found.isEmpty() && found != it.value())
            return QString();
        found = it.value();
    }
    return found;
}

// A unique key is named after its column: alone, or ending in "_column"
// ("code", "currency_code", "warehouse_unique_code"; MySQL 8 puts the table
// in front: "currency.code"). The longest column name that fits wins.
QString labelOfKey(const QString& table, QString keyName)
{
    if (keyName.contains(QLatin1Char('.')))
        keyName = keyName.section(QLatin1Char('.'), -1);
    QString label = labelOf(table, keyName);
    if (!label.isEmpty() || table.isEmpty())
        return label;
    const QString prefix = table.toLower() + QLatin1Char('.');
    int best = 0;
    for (auto it = labels().cbegin(); it != labels().cend(); ++it) {
        if (!it.key().startsWith(prefix))
            continue;
        const QString column = it.key().mid(prefix.size());
        if (column.size() > best && keyName.endsWith(QLatin1Char('_') + column, Qt::CaseInsensitive)) {
            best = int(column.size());
            label = it.value();
        }
    }
    return label;
}

} // namespace

void rememberFieldLabel(const QString& table, const QString& column, const QString& label)
{
    if (!table.isEmpty() && !column.isEmpty() && !label.isEmpty())
        labels().insert(key(table, column), label);
}

QString rememberedFieldLabel(const QString& table, const QString& column)
{
    return labels().value(key(table, column));
}

QString databaseErrorText(const DatabaseError& error)
{
    const QString server = error.serverMessage();
    const QString table = tableOfStatement(error.sql());
    // Labelled when a label is known, else the column's own name.
    auto named = [&](const QString& column) {
        const QString label = labelOf(table, column);
        return label.isEmpty() ? column : label;
    };
    QString text;
    switch (error.code()) {
    case 1406: // Data too long for column 'x' at row n
        text = DB_TOO_LONG_ERR.arg(named(capture(server, R"(column '([^']+)')")));
        break;
    case 1062: // Duplicate entry 'v' for key 'k'
    case 1586: {
        const QString keyName = capture(server, R"(for key '([^']+)')");
        const QString label = labelOfKey(table, keyName);
        text = label.isEmpty() ? DB_DUPLICATE_ANY_ERR : DB_DUPLICATE_ERR.arg(label);
        break;
    }
    case 1451: // Cannot delete or update a parent row
    case 1217:
        text = DB_PARENT_ROW_ERR;
        break;
    case 1452: // Cannot add or update a child row: ... (`db`.`child`, CONSTRAINT `c` FOREIGN KEY (`col`) ...
    case 1216: {
        const QString child = capture(server, R"(\(`[^`]*`\.`([^`]+)`)");
        const QString column = capture(server, R"(FOREIGN KEY \(`([^`]+)`)");
        const QString label = labelOf(child.isEmpty() ? table : child, column);
        text = column.isEmpty() ? DB_CHILD_ROW_ANY_ERR : DB_CHILD_ROW_ERR.arg(label.isEmpty() ? column : label);
        break;
    }
    case 1048: // Column 'x' cannot be null
        text = CMN_FIELD_REQUIRED_ERR.arg(named(capture(server, R"(Column '([^']+)')")));
        break;
    case 1265: // Data truncated for column 'x'
    case 1264: // Out of range value for column 'x'
    case 1366: // Incorrect integer value: 'v' for column `db`.`t`.`x`
    case 1292: { // Incorrect date value: 'v' for column `db`.`t`.`x`
        QString column = capture(server, R"(column '([^']+)')");
        if (column.isEmpty())
            column = capture(server, R"(column `(?:[^`]*`\.`)*([^`]+)`)");
        text = CMN_FIELD_INVALIDE_ERR.arg(named(column));
        break;
    }
    case 1142: // UPDATE command denied to user 'u'@'h' for table `db`.`t`
    case 1143: { // ... for column 'c' in table 't'
        const QString command = capture(server, R"(^(\w+) command denied)").toUpper();
        QString denied = capture(server, R"(for table `(?:[^`]*`\.`)*([^`]+)`)");
        if (denied.isEmpty())
            denied = capture(server, R"(table '([^']+)')");
        const QString action = command == QLatin1String("INSERT")   ? DB_RIGHT_INSERT_CAP
                               : command == QLatin1String("DELETE") ? DB_RIGHT_DELETE_CAP
                               : command == QLatin1String("SELECT") ? DB_RIGHT_SELECT_CAP
                                                                    : DB_RIGHT_UPDATE_CAP;
        text = DB_NO_RIGHT_TABLE_ERR.arg(action, denied);
        break;
    }
    case 1227: // Access denied; you need (at least one of) the X privilege(s) for this operation
    case 1044: // Access denied for user 'u'@'h' to database 'd'
        text = DB_NO_RIGHT_ERR;
        break;
    default:
        if (error.isConnectionLost())
            text = DB_CONNECTION_LOST_ERR;
        else if (error.isServerAway())
            text = DB_SERVER_AWAY_ERR;
        else
            text = DB_GENERIC_ERR.arg(error.code());
        break;
    }
    if (!server.isEmpty())
        text += QStringLiteral("\n\n") + DB_DETAIL_FMT.arg(error.code()).arg(server);
    return text;
}

} // namespace tarvex
