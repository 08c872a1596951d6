#include "Productidentifiers.h"

#include "Barcode.h"
#include "Connection.h"
#include "DatabaseError.h"
#include "Format.h"
#include "RandomSource.h"
#include "SqlText.h"

#include <QSqlError>
#include <QSqlQuery>
#include <functional>

namespace products {

namespace {

constexpr qint64 kVariantModulus = 99999;

QString variantCandidate(const QDate& date, qint64 value)
{
    const QString twelve = QStringLiteral("2") + date.toString(QStringLiteral("yy")) + variantNumberText(value) +
                           date.toString(QStringLiteral("MM")) + date.toString(QStringLiteral("dd"));
    return tarvex::Barcode12ToEan13(twelve);
}

qint64 variantValue(const QDate& date, qint64 offset)
{
    const qint64 r = tarvex::randomSource().below(int(kVariantModulus));
    const qint64 v = ((r * date.year()) / date.month() + date.day()) % kVariantModulus;
    return (v + offset) % kVariantModulus;
}

bool variantBarcodeTaken(QSqlDatabase db, const QString& barcode)
{
    QSqlQuery query = tarvex::selectSql(
        db, QStringLiteral("SELECT prodattbarcode FROM productattribute WHERE prodattbarcode = ?"), {barcode});
    return query.next();
}

QString productBarcodeFor(qint64 n)
{
    return tarvex::Barcode12ToEan13(QStringLiteral("2") + QStringLiteral("%1").arg(n, 11, 10, QLatin1Char('0')));
}

// From the running number upward, the first value no other product has.
QString nextFree(tarvex::Connection& connection, const QString& column, qint64 productId,
                 const std::function<QString(qint64)>& valueFor)
{
    for (qint64 n = runningProductNumber(connection.database());; ++n) {
        const QString value = valueFor(n);
        if (!productValueTaken(connection, column, value, productId))
            return value;
    }
}

} // namespace

qint64 runningProductNumber(QSqlDatabase db)
{
    QSqlQuery query = tarvex::selectSql(db, QStringLiteral("SELECT COUNT(productid) AS productcount FROM product"));
    return query.next() ? query.value(0).toLongLong() + 1 : 1;
}

QString formatProductCode(const QString& codeTemplate, qint64 number)
{
    // Slashes and points are hidden from the number pattern, the positions
    // become zeros, and the pattern is filled from the right.
    QString pattern = codeTemplate;
    pattern.replace(QStringLiteral("/"), QStringLiteral("{x}"));
    pattern.replace(QStringLiteral("."), QStringLiteral("{z}"));
    pattern.replace(QStringLiteral("{c}"), QStringLiteral("0"));

    const int positions = int(pattern.count(QLatin1Char('0')));
    QString digits = QString::number(number);
    if (digits.size() < positions)
        digits = QString(positions - digits.size(), QLatin1Char('0')) + digits;

    QString result;
    int next = int(digits.size()) - 1;
    int seen = 0;
    for (int i = int(pattern.size()) - 1; i >= 0; --i) {
        const QChar c = pattern[i];
        if (c != QLatin1Char('0')) {
            result.prepend(c);
            continue;
        }
        ++seen;
        if (seen == positions) {
            // The leftmost position takes every digit that is left.
            result.prepend(digits.left(next + 1));
            next = -1;
        } else {
            result.prepend(digits[next--]);
        }
    }
    result.replace(QStringLiteral("{x}"), QStringLiteral("/"));
    result.replace(QStringLiteral("{z}"), QStringLiteral("."));
    return result;
}

QString GetNewProductCode(QSqlDatabase db, const QString& codeTemplate)
{
    if (!codeTemplate.contains(QStringLiteral("{c}")))
        return QString();
    return formatProductCode(codeTemplate, runningProductNumber(db));
}

QString GetNewProductBarcode(QSqlDatabase db, const QString& codeTemplate)
{
    if (!codeTemplate.contains(QStringLiteral("{c}")))
        return QString();
    return productBarcodeFor(runningProductNumber(db));
}

void lockIdentifiers(tarvex::Connection& connection, const char* name)
{
    // A write, not only a locking read: Galera certifies writes, so two
    // nodes giving out the same kind at once cannot both commit.
    QSqlQuery query = connection.prepare(
        QStringLiteral("INSERT INTO identifierlock (name, value) VALUES (?, 1) ON DUPLICATE KEY UPDATE value = value + 1"));
    query.addBindValue(QString::fromLatin1(name));
    connection.exec(query);
}

bool productValueTaken(tarvex::Connection& connection, const QString& column, const QVariant& value, qint64 productId)
{
    QSqlQuery query = connection.prepare(QStringLiteral("SELECT productid FROM product WHERE %1 = ? AND productid <> ? LIMIT 1")
                                             .arg(tarvex::quoteIdentifier(column)));
    query.addBindValue(value);
    query.addBindValue(productId);
    connection.exec(query);
    return query.next();
}

bool variantBarcodeTaken(tarvex::Connection& connection, const QString& barcode)
{
    return variantBarcodeTaken(connection.database(), barcode);
}

QString nextFreeProductCode(tarvex::Connection& connection, const QString& codeTemplate, qint64 productId)
{
    if (!codeTemplate.contains(QStringLiteral("{c}")))
        return QString();
    return nextFree(connection, QStringLiteral("code"), productId,
                    [&](qint64 n) { return formatProductCode(codeTemplate, n); });
}

QString nextFreeProductBarcode(tarvex::Connection& connection, const QString& codeTemplate, qint64 productId)
{
    if (!codeTemplate.contains(QStringLiteral("{c}")))
        return QString();
    return nextFree(connection, QStringLiteral("barcode"), productId, productBarcodeFor);
}

QString variantNumberText(qint64 value)
{
    QString text = QString::number(value);
    while (text.size() < 5)
        text += QLatin1Char('0');
    return text;
}

QString GenerateAttributeBarcode(QSqlDatabase db, const QDate& date, qint32 n)
{
    QString candidate = variantCandidate(date, variantValue(date, n));
    for (qint64 k = 1; variantBarcodeTaken(db, candidate); ++k)
        candidate = variantCandidate(date, variantValue(date, qint64(n) + k));
    return candidate;
}

} // namespace products
