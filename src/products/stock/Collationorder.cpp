#include "Collationorder.h"

#include "Connection.h"
#include "Error.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <algorithm>
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

int TCollationOrder::byteAt(const Item& item, size_t depth) const
{
    if (depth < size_t(item.size))
        return static_cast<unsigned char>(item.data[depth]);
    if (m_space.isEmpty())
        return -1;
    return static_cast<unsigned char>(m_space[int((depth - size_t(item.size)) % size_t(m_space.size()))]);
}

// Three-way radix quicksort on the bytes from `depth` on, all items equal
// before it.
void TCollationOrder::sortFrom(Item* items, size_t count, size_t depth) const
{
    while (count > 1) {
        if (count < 16) {
            std::sort(items, items + count, [this](const Item& a, const Item& b) {
                return compare(a.data, size_t(a.size), b.data, size_t(b.size)) < 0;
            });
            return;
        }
        const int pivot = byteAt(items[count / 2], depth);
        size_t less = 0, at = 0, greater = count;
        while (at < greater) {
            const int b = byteAt(items[at], depth);
            if (b < pivot)
                std::swap(items[less++], items[at++]);
            else if (b > pivot)
                std::swap(items[at], items[--greater]);
            else
                ++at;
        }
        sortFrom(items, less, depth);
        sortFrom(items + greater, count - greater, depth);
        // The equal ones go on with the next byte, unless every one has
        // ended: then they are equal altogether.
        items += less;
        count = greater - less;
        if (std::all_of(items, items + count, [depth](const Item& i) { return depth >= size_t(i.size); }))
            return;
        ++depth;
    }
}

void TCollationOrder::sort(std::vector<qint32>& rows, const std::function<Weight(qint32)>& weightOf,
                           const std::function<bool(qint32, qint32)>& tie) const
{
    std::vector<Item> items;
    items.reserve(rows.size());
    std::vector<qint32> nulls;
    for (const qint32 row : rows) {
        const Weight w = weightOf(row);
        if (w.data)
            items.push_back(Item{w.data, qint32(w.size), row});
        else
            nulls.push_back(row);
    }
    sortFrom(items.data(), items.size(), 0);
    const auto equal = [this](const Item& a, const Item& b) {
        return compare(a.data, size_t(a.size), b.data, size_t(b.size)) == 0;
    };
    std::sort(nulls.begin(), nulls.end(), tie);
    rows = std::move(nulls);
    rows.reserve(rows.size() + items.size());
    for (size_t from = 0; from < items.size();) {
        size_t to = from + 1;
        while (to < items.size() && equal(items[from], items[to]))
            ++to;
        const size_t first = rows.size();
        for (size_t i = from; i < to; ++i)
            rows.push_back(items[i].row);
        if (to - from > 1)
            std::sort(rows.begin() + std::ptrdiff_t(first), rows.end(), tie);
        from = to;
    }
}

} // namespace products
