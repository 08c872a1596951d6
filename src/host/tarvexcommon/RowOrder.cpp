#include "RowOrder.h"

#include "DataSetErrors.h"
#include "ResultStore.h"

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

QVariant RowOrder::valueOf(const DataRow& row, int column) const
{
    if (row.stored >= 0 && row.values.isEmpty() && m_store)
        return m_store->value(row.stored, column);
    return row.values.at(column);
}

int RowOrder::compare(const DataRow& a, const DataRow& b) const
{
    for (const Key& key : m_keys) {
        const int c = compareValues(key, valueOf(a, key.column), valueOf(b, key.column));
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
    // Each row's key is taken once: texts as collation keys (computed once
    // per distinct text of a store), the rest as numbers read straight from
    // a store without a QVariant; comparing those is far cheaper than
    // collating or converting again at every comparison.
    struct Keys {
        std::vector<qint32> text;      // index into `collated`, -1 null
        std::vector<QCollatorSortKey> collated;
        std::vector<double> numbers;
        std::vector<qint64> integers;
        std::vector<bool> nulls;
    };
    const auto stored = [this](const DataRow* row) { return m_store && row->stored >= 0 && row->values.isEmpty(); };
    std::vector<Keys> keys(m_keys.size());
    for (size_t k = 0; k < m_keys.size(); ++k) {
        const Key& key = m_keys[k];
        Keys& into = keys[k];
        if (isText(key.type)) {
            std::vector<qint32> byTextId;
            into.text.reserve(rows.size());
            for (const DataRow* row : rows) {
                if (stored(row)) {
                    const qint32 id = m_store->textId(row->stored, key.column);
                    if (id < 0) {
                        into.text.push_back(-1);
                        continue;
                    }
                    if (size_t(id) >= byTextId.size())
                        byTextId.resize(size_t(id) + 1, -1);
                    if (byTextId[size_t(id)] < 0) {
                        byTextId[size_t(id)] = qint32(into.collated.size());
                        into.collated.push_back(m_collator.sortKey(
                            QString::fromUtf8(m_store->textData(id), qsizetype(m_store->textSize(id)))));
                    }
                    into.text.push_back(byTextId[size_t(id)]);
                    continue;
                }
                const QVariant& v = row->values.at(key.column);
                if (v.isNull()) {
                    into.text.push_back(-1);
                } else {
                    into.text.push_back(qint32(into.collated.size()));
                    into.collated.push_back(m_collator.sortKey(v.toString()));
                }
            }
            continue;
        }
        const bool integral = key.type == FieldType::Integer || key.type == FieldType::LargeInt;
        into.nulls.reserve(rows.size());
        into.integers.reserve(integral ? rows.size() : 0);
        into.numbers.reserve(integral ? 0 : rows.size());
        for (const DataRow* row : rows) {
            if (stored(row) && m_store->kind(key.column) != ResultStore::Kind::Text &&
                m_store->kind(key.column) != ResultStore::Kind::Bytes) {
                const bool null = m_store->isNull(row->stored, key.column);
                into.nulls.push_back(null);
                const ResultStore::Kind kind = m_store->kind(key.column);
                double number = 0;
                if (null)
                    number = 0;
                else if (kind == ResultStore::Kind::Integer)
                    number = double(m_store->integer(row->stored, key.column));
                else if (kind == ResultStore::Kind::Number)
                    number = m_store->number(row->stored, key.column);
                else
                    number = double(m_store->date(row->stored, key.column).toJulianDay());
                if (!integral)
                    into.numbers.push_back(number);
                else
                    into.integers.push_back(!null && kind == ResultStore::Kind::Integer
                                                ? m_store->integer(row->stored, key.column)
                                                : qint64(number));
                continue;
            }
            const QVariant v = valueOf(*row, key.column);
            into.nulls.push_back(v.isNull());
            if (integral)
                into.integers.push_back(v.toLongLong());
            else
                into.numbers.push_back(numericKey(key.type, v));
        }
    }
    std::vector<size_t> order(rows.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t i, size_t j) {
        for (size_t k = 0; k < m_keys.size(); ++k) {
            const Key& key = m_keys[k];
            const Keys& of = keys[k];
            int c = 0;
            if (isText(key.type)) {
                const qint32 a = of.text[i];
                const qint32 b = of.text[j];
                if (a < 0 || b < 0)
                    c = (a < 0 && b < 0) ? 0 : (a < 0 ? -1 : 1);
                else if (a != b)
                    c = of.collated[size_t(a)].compare(of.collated[size_t(b)]);
            } else if (of.nulls[i] || of.nulls[j]) {
                c = (of.nulls[i] && of.nulls[j]) ? 0 : (of.nulls[i] ? -1 : 1);
            } else if (key.type == FieldType::Integer || key.type == FieldType::LargeInt) {
                c = of.integers[i] < of.integers[j] ? -1 : (of.integers[i] > of.integers[j] ? 1 : 0);
            } else {
                c = threeWay(of.numbers[i], of.numbers[j]);
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
