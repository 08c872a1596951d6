#include "RowOrder.h"

#include "DataSetErrors.h"

#include <QRegularExpression>
#include <algorithm>
#include <optional>

namespace tarvex {

namespace {

bool isText(FieldType type)
{
    return type == FieldType::String || type == FieldType::Unknown;
}

// A number standing for a non-text value, so keys compare as numbers.
double numericKey(FieldType type, const QVariant& v)
{
    switch (type) {
    case FieldType::Date:
        return double(v.toDate().toJulianDay());
    case FieldType::DateTime:
        return double(v.toDateTime().toMSecsSinceEpoch());
    case FieldType::Time:
        return double(v.toTime().msecsSinceStartOfDay());
    case FieldType::Boolean:
        return v.toBool() ? 1.0 : 0.0;
    default:
        return v.toDouble();
    }
}

int threeWay(double a, double b)
{
    return a < b ? -1 : (a > b ? 1 : 0);
}

} // namespace

RowOrder::RowOrder(const QString& order, const std::function<Field*(const QString&)>& fieldOf)
    : m_collator(QLocale(QLocale::Serbian, QLocale::LatinScript, QLocale::Serbia))
{
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    static const QRegularExpression separators(QStringLiteral("[,;]"));
    for (const QString& part : order.split(separators, Qt::SkipEmptyParts)) {
        QStringList words = part.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty())
            continue;
        bool descending = false;
        if (words.size() == 2 && words[1].compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0)
            descending = true;
        else if (words.size() != 1 && !(words.size() == 2 && words[1].compare(QLatin1String("ASC"), Qt::CaseInsensitive) == 0))
            throw DataSetError(ErrorKind::Internal, DS_ORDER_ERR.arg(order),
                               QStringLiteral("Cannot read the sort order \"%1\"").arg(order));
        Field* field = fieldOf(words[0]);
        if (!field || field->index() < 0)
            throw DataSetError(ErrorKind::Internal, DS_NO_FIELD_ERR.arg(words[0]),
                               QStringLiteral("Field \"%1\" not found").arg(words[0]));
        m_keys.push_back({field->index(), field->dataType(), descending});
    }
}

int RowOrder::compareValues(const Key& key, const QVariant& a, const QVariant& b) const
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull() ? 0 : (a.isNull() ? -1 : 1);
    if (isText(key.type))
        return m_collator.compare(a.toString(), b.toString());
    if (key.type == FieldType::Integer || key.type == FieldType::LargeInt) {
        const qint64 x = a.toLongLong();
        const qint64 y = b.toLongLong();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    return threeWay(numericKey(key.type, a), numericKey(key.type, b));
}

int RowOrder::compare(const DataRow& a, const DataRow& b) const
{
    for (const Key& key : m_keys) {
        const int c = compareValues(key, a.values.at(key.column), b.values.at(key.column));
        if (c != 0)
            return key.descending ? -c : c;
    }
    return 0;
}

size_t RowOrder::insertPosition(const std::vector<DataRow*>& sorted, const DataRow& row) const
{
    const auto at = std::upper_bound(sorted.begin(), sorted.end(), &row,
                                     [this](const DataRow* a, const DataRow* b) { return compare(*a, *b) < 0; });
    return size_t(at - sorted.begin());
}

void RowOrder::sort(std::vector<DataRow*>& rows) const
{
    // Collation keys are computed once per row: comparing them is far
    // cheaper than collating the texts again at every comparison.
    struct TextKeys {
        std::vector<std::optional<QCollatorSortKey>> keys;
    };
    std::vector<TextKeys> text(m_keys.size());
    for (size_t k = 0; k < m_keys.size(); ++k) {
        if (!isText(m_keys[k].type))
            continue;
        text[k].keys.reserve(rows.size());
        for (const DataRow* row : rows) {
            const QVariant& v = row->values.at(m_keys[k].column);
            if (v.isNull())
                text[k].keys.emplace_back(std::nullopt);
            else
                text[k].keys.emplace_back(m_collator.sortKey(v.toString()));
        }
    }
    std::vector<size_t> order(rows.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t i, size_t j) {
        for (size_t k = 0; k < m_keys.size(); ++k) {
            const Key& key = m_keys[k];
            int c = 0;
            if (isText(key.type)) {
                const auto& a = text[k].keys[i];
                const auto& b = text[k].keys[j];
                if (!a || !b)
                    c = (!a && !b) ? 0 : (!a ? -1 : 1);
                else
                    c = a->compare(*b);
            } else {
                c = compareValues(key, rows[i]->values.at(key.column), rows[j]->values.at(key.column));
            }
            if (c != 0)
                return key.descending ? c > 0 : c < 0;
        }
        return false;
    });
    std::vector<DataRow*> sorted;
    sorted.reserve(rows.size());
    for (size_t i : order)
        sorted.push_back(rows[i]);
    rows.swap(sorted);
}

} // namespace tarvex
