#include "Validator.h"

#include "Connection.h"
#include "DataSet.h"
#include "DataSetErrors.h"
#include "DateText.h"
#include "QueryDataSet.h"
#include "Rounding.h"

#include <cmath>

namespace tarvex {

namespace {

// The field's value as a number; ok false when it does not read as one.
double numberOf(const Field& field, bool* ok)
{
    const QVariant v = field.value();
    if (v.metaType().id() == QMetaType::QString) {
        QString text = v.toString().trimmed();
        text.replace(QLatin1Char(','), QLatin1Char('.'));
        const double n = text.toDouble(ok);
        *ok = *ok && std::isfinite(n);
        return n;
    }
    const double n = v.toDouble(ok);
    *ok = *ok && std::isfinite(n);
    return n;
}

} // namespace

FieldValidation::FieldValidation(Field* field, FieldTest test, bool required, QString requiredMessage,
                                 QString invalidMessage)
    : field(field), test(std::move(test)), required(required), requiredMessage(std::move(requiredMessage)),
      invalidMessage(std::move(invalidMessage))
{
}

TValidator::TValidator(QList<FieldValidation> validations) : m_validations(std::move(validations))
{
}

void TValidator::check(const FieldValidation& validation) const
{
    Field& field = *validation.field;
    if (validation.required && IsFieldEmpty(field))
        throw FieldError(validation.requiredMessage.arg(field.displayLabel()), &field);
    if (validation.test && !validation.test(field))
        throw FieldError(validation.invalidMessage.arg(field.displayLabel()), &field);
}

void TValidator::Validate(DataSet& dataSet) const
{
    for (const FieldValidation& validation : m_validations) {
        if (validation.field && validation.field->dataSet() == &dataSet)
            check(validation);
    }
}

void TValidator::ValidateField(Field& field) const
{
    for (const FieldValidation& validation : m_validations) {
        if (validation.field == &field)
            check(validation);
    }
}

bool IsFieldEmpty(const Field& field)
{
    const QVariant v = field.value();
    if (v.isNull())
        return true;
    return v.metaType().id() == QMetaType::QString && v.toString().trimmed().isEmpty();
}

bool TestZeroLength(Field& field)
{
    return !IsFieldEmpty(field);
}

bool TestMoney(Field& field)
{
    if (IsFieldEmpty(field))
        return true;
    bool ok = false;
    const double n = numberOf(field, &ok);
    return ok && (n >= 0 || IsZero6(n));
}

bool TestMoneyNoZero(Field& field)
{
    if (IsFieldEmpty(field))
        return true;
    bool ok = false;
    const double n = numberOf(field, &ok);
    return ok && n > 0 && !IsZero6(n);
}

bool TestDate(Field& field)
{
    if (IsFieldEmpty(field))
        return true;
    const QVariant v = field.value();
    switch (v.metaType().id()) {
    case QMetaType::QDate:
        return v.toDate().isValid();
    case QMetaType::QDateTime:
        return v.toDateTime().isValid();
    case QMetaType::QString:
        return MyDateStrToDate(v.toString()).isValid();
    default:
        return false;
    }
}

bool TestID(Field& field)
{
    if (IsFieldEmpty(field))
        return true;
    bool ok = false;
    const double n = numberOf(field, &ok);
    return ok && n >= 1 && n == std::floor(n);
}

bool TestTaxRate(Field& field)
{
    if (IsFieldEmpty(field))
        return true;
    bool ok = false;
    const double n = numberOf(field, &ok);
    return ok && n >= 0 && n <= 100;
}

bool TestUnique(Field& field, const QString& table, const QString& column, const QString& keyColumn,
                const QString& condition, int leadingChars)
{
    if (IsFieldEmpty(field))
        return true;
    auto* query = qobject_cast<QueryDataSet*>(field.dataSet());
    if (!query || !query->connection())
        throw DataSetError(ErrorKind::Internal, ERR_INTERNAL_ERR,
                           QStringLiteral("TestUnique needs a field of a query dataset with a connection"));

    QVariantList binds;
    QString sql = QStringLiteral("SELECT COUNT(*) FROM %1 WHERE ").arg(quoteIdentifier(table));
    if (leadingChars > 0) {
        sql += QStringLiteral("LEFT(%1, %2) = LEFT(?, %2)").arg(quoteIdentifier(column)).arg(leadingChars);
    } else {
        sql += QStringLiteral("%1 = ?").arg(quoteIdentifier(column));
    }
    binds.append(field.value());
    if (!keyColumn.isEmpty()) {
        const Field* key = field.dataSet()->findField(keyColumn);
        const QVariant keyValue = key ? key->value() : QVariant();
        if (!keyValue.isNull()) {
            sql += QStringLiteral(" AND NOT (%1 <=> ?)").arg(quoteIdentifier(keyColumn));
            binds.append(keyValue);
        }
    }
    if (!condition.trimmed().isEmpty())
        sql += QStringLiteral(" AND (%1)").arg(condition);

    Connection& connection = *query->connection();
    QSqlQuery count = connection.prepare(sql);
    for (const QVariant& v : binds)
        count.addBindValue(v);
    connection.exec(count);
    return count.next() && count.value(0).toLongLong() == 0;
}

} // namespace tarvex
