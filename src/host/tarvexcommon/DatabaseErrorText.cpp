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

// What a refused statement tried, as the shop would say it: 1142 "UPDATE
// command denied to user 'x'@'h' for table `db`.`product`", 1143 the same
// for a column, 1227 "you need (at least one of) the CREATE USER privilege(s)".
QString refusedRightText(int code, const QString& server)
{
    static const QHash<QString, QString> verbs{
        {QStringLiteral("SELECT"), QStringLiteral("čita podatke")},
        {QStringLiteral("INSERT"), QStringLiteral("dodaje podatke")},
        {QStringLiteral("UPDATE"), QStringLiteral("menja podatke")},
        {QStringLiteral("DELETE"), QStringLiteral("briše podatke")},
        {QStringLiteral("ALTER"), QStringLiteral("menja izgled baze podataka")},
        {QStringLiteral("CREATE"), QStringLiteral("pravi tabele")},
        {QStringLiteral("DROP"), QStringLiteral("briše tabele")},
        {QStringLiteral("EXECUTE"), QStringLiteral("pokreće procedure baze")},
    };
    static const QHash<QString, QString> tables{
        {QStringLiteral("product"), QStringLiteral("proizvodi")},
        {QStringLiteral("productdetail"), QStringLiteral("detalji proizvoda")},
        {QStringLiteral("productalter"), QStringLiteral("zamene proizvoda")},
        {QStringLiteral("categorypr"), QStringLiteral("kategorije")},
        {QStringLiteral("productcategorypr"), QStringLiteral("kategorije proizvoda")},
        {QStringLiteral("attributepr"), QStringLiteral("atributi")},
        {QStringLiteral("attributeprvalue"), QStringLiteral("vrednosti atributa")},
        {QStringLiteral("categoryprattribute"), QStringLiteral("atributi kategorija")},
        {QStringLiteral("productattribute"), QStringLiteral("atributi proizvoda")},
        {QStringLiteral("productrebate"), QStringLiteral("rabati")},
        {QStringLiteral("productworkingoperation"), QStringLiteral("radne operacije")},
        {QStringLiteral("fixedasset"), QStringLiteral("osnovna sredstva")},
        {QStringLiteral("tax"), QStringLiteral("poreske stope")},
        {QStringLiteral("kasagroup"), QStringLiteral("grupe kase")},
        {QStringLiteral("kasatableitem"), QStringLiteral("PLU kase")},
        {QStringLiteral("warehouse"), QStringLiteral("magacini")},
        {QStringLiteral("productwarehouse"), QStringLiteral("zalihe po magacinima")},
        {QStringLiteral("productattributewarehouse"), QStringLiteral("zalihe varijanti")},
        {QStringLiteral("productpackaging"), QStringLiteral("pakovanja")},
        {QStringLiteral("component"), QStringLiteral("sastavnice")},
        {QStringLiteral("dbinifile"), QStringLiteral("opcije programa")},
    };
    static const QHash<QString, QString> privileges{
        {QStringLiteral("CREATE USER"), QStringLiteral("upravlja nalozima osoblja")},
        {QStringLiteral("SUPER"), QStringLiteral("upravlja serverom baze podataka")},
        {QStringLiteral("RELOAD"), QStringLiteral("upravlja serverom baze podataka")},
    };
    if (code == 1227) {
        const QString privilege = capture(server, R"(the ([A-Z ,]+?) privilege)");
        const QString first = privilege.section(QLatin1Char(','), 0, 0).trimmed();
        const QString said = privileges.value(first);
        if (privilege.isEmpty())
            return DB_NO_RIGHT_ERR;
        return DB_NO_PRIVILEGE_ERR.arg(said.isEmpty() ? QStringLiteral("izvrši radnju koja traži pravo %1").arg(privilege)
                                                       : said);
    }
    const QString command = capture(server, R"(^(\w+) command denied)");
    // Newer servers quote `db`.`table`, older ones 'table'.
    QString table = capture(server, R"(for table `(?:[^`]*`\.`)?([^`]+)`)");
    if (table.isEmpty())
        table = capture(server, R"(for table '([^']+)')");
    if (table.isEmpty())  // 1143: "... for column 'c' in table 't'"
        table = capture(server, R"(in table '([^']+)')");
    if (command.isEmpty() || table.isEmpty())
        return DB_NO_RIGHT_ERR;
    const QString verb = verbs.value(command.toUpper());
    const QString what = tables.value(table.toLower());
    const bool typed = command.compare(QLatin1String("INSERT"), Qt::CaseInsensitive) == 0 ||
                       command.compare(QLatin1String("UPDATE"), Qt::CaseInsensitive) == 0;
    return DB_NO_RIGHT_ON_ERR.arg(verb.isEmpty() ? QStringLiteral("izvrši naredbu %1").arg(command) : verb,
                                  what.isEmpty() ? table : what, typed ? DB_INPUT_KEPT_NOTE : QString());
}

// The server ran out of room: 1021 "Disk full", 1114 "The table is full"
// (InnoDB cannot grow its file), or a write failing with errno 28 (3 "Error
// writing file", 1030 "Got error 28 from storage engine" and the like).
bool isDiskFull(int code, const QString& server)
{
    static const QRegularExpression noSpace(QStringLiteral(R"(No space left|\b(errno|error|Errcode):? 28\b|\berror 28\b)"),
                                            QRegularExpression::CaseInsensitiveOption);
    return code == 1021 || code == 1114 || noSpace.match(server).hasMatch();
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
    case 1213: // deadlock: another user's change met this one (after the retries)
    case 1205: // lock wait timeout
        text = DB_CONFLICT_ERR;
        break;
    case 1142: // command denied for the table
    case 1143: // ... for the column
    case 1227: // a privilege is needed
        text = refusedRightText(error.code(), server);
        break;
    case 1044: // access denied to the database
        text = DB_NO_RIGHT_ERR;
        break;
    default:
        if (isDiskFull(error.code(), server))
            text = DB_DISK_FULL_ERR;
        else if (error.isConnectionLost())
            text = error.duringRead() ? DB_CONNECTION_LOST_READ_ERR : DB_CONNECTION_LOST_ERR;
        else if (error.isServerAway())
            text = DB_SERVER_AWAY_ERR;
        else
            text = DB_GENERIC_ERR.arg(error.code());
        break;
    }
    return text;
}

QString databaseErrorDetail(int code, const QString& serverMessage, const QString& sql)
{
    QString text = DB_DETAIL_FMT.arg(code).arg(serverMessage);
    if (!sql.isEmpty())
        text += QLatin1Char('\n') + DB_DETAIL_SQL_FMT.arg(sql);
    return text;
}

} // namespace tarvex
