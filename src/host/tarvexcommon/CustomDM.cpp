#include "CustomDM.h"

#include "Connection.h"
#include "DataSetErrors.h"
#include "DisplayFormat.h"
#include "PluPool.h"
#include "QueryDataSet.h"

#include <QRegularExpression>

namespace tarvex {

namespace {

// A replacement's value: NULL, a number, a quoted literal's text, or else
// the text as written.
QVariant replacementValue(const QString& value)
{
    static const QRegularExpression number(QStringLiteral("^[-+]?[0-9]+(\\.[0-9]+)?$"));
    static const QRegularExpression quoted(QStringLiteral("^'(([^']|'')*)'$"));
    const QString text = value.trimmed();
    if (text.compare(QLatin1String("NULL"), Qt::CaseInsensitive) == 0)
        return QVariant();
    if (number.match(text).hasMatch())
        return text.contains(QLatin1Char('.')) ? QVariant(text.toDouble()) : QVariant(text.toLongLong());
    const QRegularExpressionMatch literal = quoted.match(text);
    if (literal.hasMatch())
        return literal.captured(1).replace(QStringLiteral("''"), QStringLiteral("'"));
    return value;
}

} // namespace

TCustomDM::TCustomDM(QObject* parent) : QObject(parent)
{
}

TCustomDM::~TCustomDM() = default;

void TCustomDM::SetZConnection(Connection* connection)
{
    m_connection = connection;
    for (QueryDataSet* query : findChildren<QueryDataSet*>())
        query->setConnection(connection);
}

bool TCustomDM::IsConnected() const
{
    return m_connection && m_connection->isConnected();
}

Connection& TCustomDM::connection() const
{
    if (!m_connection)
        throw DataSetError(ErrorKind::Configuration, DS_NO_CONNECTION_ERR,
                           QStringLiteral("%1 has no connection").arg(objectName()));
    return *m_connection;
}

void TCustomDM::DataModuleCreate()
{
    FieldValidations.clear();
    CreateFieldValidations();
    m_validator = std::make_unique<TValidator>(FieldValidations);
}

void TCustomDM::CreateFieldValidations()
{
}

void TCustomDM::CommonBeforePost(DataSet& dataSet)
{
    if (m_validator)
        m_validator->Validate(dataSet);
}

void TCustomDM::CommonBeforeDelete(DataSet& dataSet)
{
    if (!dataSet.isActive() || dataSet.isEmpty())
        Abort();
}

void TCustomDM::GetFieldValues(const QString& column, const QString& table, QStringList& list, bool distinct,
                               const QString& condition, const QString& order, const QVariantList& values)
{
    list.clear();
    QString sql = QStringLiteral("SELECT %1%2 FROM %3")
                      .arg(distinct ? QStringLiteral("DISTINCT ") : QString(), quoteIdentifier(column), quoteIdentifier(table));
    const QString where = condition.trimmed();
    if (!where.isEmpty())
        sql += where.startsWith(QLatin1String("WHERE "), Qt::CaseInsensitive) ? QLatin1Char(' ') + where : QStringLiteral(" WHERE ") + where;
    sql += QStringLiteral(" ORDER BY ") + (order.trimmed().isEmpty() ? quoteIdentifier(column) : order.trimmed());

    QSqlQuery query = connection().select(sql, values);
    while (query.next()) {
        const QVariant v = query.value(0);
        if (v.isNull())
            continue;
        const QString text = v.metaType().id() == QMetaType::Double ? FloatToText(v.toDouble()) : v.toString();
        if (!text.isEmpty())
            list.append(text);
    }
}

void TCustomDM::CopyDataSet(const QString& table, const QString& condition, const QStringList& replacements,
                            const QString& keyColumn, const QVariantList& conditionValues)
{
    Q_UNUSED(keyColumn)  // the auto-increment key is found from the table itself
    Connection& db = connection();
    const TableInfo& info = db.tableInfo(table);
    if (!info.exists())
        throw DataSetError(ErrorKind::Internal, DS_NO_TABLE_ERR.arg(table), QStringLiteral("Table \"%1\" not found").arg(table));

    QHash<QString, QVariant> replaced;  // lower-case column -> its value
    for (const QString& replacement : replacements) {
        const int eq = replacement.indexOf(QLatin1Char('='));
        const QString column = replacement.left(eq).trimmed();
        if (eq <= 0 || !info.column(column))
            throw DataSetError(ErrorKind::Internal, ERR_INTERNAL_ERR,
                               QStringLiteral("Cannot apply \"%1\" to a row of %2").arg(replacement, table));
        replaced.insert(column.toLower(), replacementValue(replacement.mid(eq + 1)));
    }
    QStringList columns;
    QStringList selected;
    QVariantList values;
    for (const ColumnInfo& c : info.columns) {
        const auto it = replaced.constFind(c.name.toLower());
        if (it != replaced.constEnd()) {
            columns.append(quoteIdentifier(c.name));
            selected.append(QStringLiteral("?"));
            values.append(*it);
        } else if (!c.autoIncrement) {
            columns.append(quoteIdentifier(c.name));
            selected.append(quoteIdentifier(c.name));
        }
    }
    QString sql = QStringLiteral("INSERT INTO %1 (%2) SELECT %3 FROM %1")
                      .arg(quoteIdentifier(table), columns.join(QLatin1Char(',')), selected.join(QLatin1Char(',')));
    if (!condition.trimmed().isEmpty())
        sql += QStringLiteral(" WHERE ") + condition;
    db.execute(sql, values + conditionValues);
}

qint64 TCustomDM::GetLastInsertID()
{
    return connection().lastInsertId();
}

void TCustomDM::GetPLUs(QStringList& list, int count, bool vireo)
{
    if (const IPluHolders* holders = PluHolders())
        tarvex::GetPLUs(*holders, connection().database(), list, count, vireo);
    else
        list.clear();
}

const IPluHolders* TCustomDM::PluHolders() const
{
    return nullptr;
}

} // namespace tarvex
