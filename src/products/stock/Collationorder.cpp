#include "Collationorder.h"

#include "Connection.h"
#include "Error.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <cstring>

namespace products {

TCollationOrder::TCollationOrder(QSqlDatabase db, const QString& table, const QString& column)
{
    QSqlQuery collation = tarvex::selectSql(
        db, QStringLiteral("SELECT collation_name FROM information_schema.columns WHERE table_schema = DATABASE() "
                           "AND table_name = ? AND column_name = ?"),
        {table, column});
    const QString name = collation.next() ? collation.value(0).toString() : QString();
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_]+$"));
    if (!plain.match(name).hasMatch())
        throw tarvex::InternalError(QStringLiteral("%1.%2 is not a text column").arg(table, column));
    // A NO PAD collation compares trailing spaces as characters: no padding.
    if (name.contains(QLatin1String("nopad"), Qt::CaseInsensitive) || name.contains(QLatin1String("_0900_")))
        return;
    QSqlQuery space = tarvex::selectSql(
        db, QStringLiteral("SELECT WEIGHT_STRING(CONVERT(' ' USING utf8mb4) COLLATE %1)").arg(name));
    if (space.next())
        m_space = space.value(0).toByteArray();
}

int TCollationOrder::compare(const QVariant& a, const QVariant& b) const
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull() ? 0 : (a.isNull() ? -1 : 1);
    const QByteArray x = a.toByteArray();
    const QByteArray y = b.toByteArray();
    return compare(x.constData(), size_t(x.size()), y.constData(), size_t(y.size()));
}

int TCollationOrder::compare(const char* x, size_t xSize, const char* y, size_t ySize) const
{
    const size_t common = qMin(xSize, ySize);
    if (const int c = std::memcmp(x, y, common))
        return c < 0 ? -1 : 1;
    if (xSize == ySize)
        return 0;
    // The longer text's rest against spaces, as the server pads the shorter.
    const char* longer = xSize > ySize ? x : y;
    const size_t longerSize = qMax(xSize, ySize);
    const int sign = xSize > ySize ? 1 : -1;
    const size_t unit = size_t(m_space.size());
    if (unit == 0)
        return sign;
    for (size_t at = common; at < longerSize; at += unit) {
        const size_t length = qMin(unit, longerSize - at);
        if (const int c = std::memcmp(longer + at, m_space.constData(), length))
            return c < 0 ? -sign : sign;
        if (length < unit)
            return sign;
    }
    return 0;
}

} // namespace products
