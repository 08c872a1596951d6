#include "ResultStore.h"

#include "Error.h"

#include <QHashFunctions>
#include <algorithm>
#include <cstring>
#include <new>

namespace tarvex {

int ResultStore::addColumn(const QString& name, Kind kind, bool keepOnce)
{
    if (m_rows > 0)
        throw InternalError(QStringLiteral("The columns of a result store are added before its rows (%1)").arg(name));
    m_columns.push_back(Column{name, kind, keepOnce, {}, {}, {}, {}});
    return int(m_columns.size()) - 1;
}

int ResultStore::columnOf(const QString& name) const
{
    for (size_t c = 0; c < m_columns.size(); ++c)
        if (m_columns[c].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(c);
    return -1;
}

void ResultStore::reserve(int rows)
{
    for (Column& column : m_columns) {
        switch (column.kind) {
        case Kind::Integer: column.integers.reserve(size_t(rows)); column.nulls.reserve(size_t(rows)); break;
        case Kind::Number: column.numbers.reserve(size_t(rows)); column.nulls.reserve(size_t(rows)); break;
        default: column.ids.reserve(size_t(rows)); break;
        }
    }
}

int ResultStore::appendRow()
{
    for (Column& column : m_columns) {
        switch (column.kind) {
        case Kind::Integer: column.integers.push_back(0); column.nulls.push_back(true); break;
        case Kind::Number: column.numbers.push_back(0); column.nulls.push_back(true); break;
        case Kind::Date: column.ids.push_back(kNoDay); break;
        default: column.ids.push_back(-1); break;
        }
    }
    return m_rows++;
}

void ResultStore::setNull(int row, int column)
{
    Column& c = m_columns[size_t(column)];
    switch (c.kind) {
    case Kind::Integer:
    case Kind::Number: c.nulls[size_t(row)] = true; break;
    case Kind::Date: c.ids[size_t(row)] = kNoDay; break;
    default: c.ids[size_t(row)] = -1; break;
    }
}

void ResultStore::setInteger(int row, int column, qint64 value)
{
    Column& c = m_columns[size_t(column)];
    c.integers[size_t(row)] = value;
    c.nulls[size_t(row)] = false;
}

void ResultStore::setNumber(int row, int column, double value)
{
    Column& c = m_columns[size_t(column)];
    c.numbers[size_t(row)] = value;
    c.nulls[size_t(row)] = false;
}

void ResultStore::addNumber(int row, int column, double value)
{
    Column& c = m_columns[size_t(column)];
    c.numbers[size_t(row)] = c.nulls[size_t(row)] ? value : c.numbers[size_t(row)] + value;
    c.nulls[size_t(row)] = false;
}

void ResultStore::setText(int row, int column, const QString& text)
{
    if (text.isNull()) {
        setNull(row, column);
        return;
    }
    const QByteArray utf8 = text.toUtf8();
    setBytes(row, column, utf8.constData(), size_t(utf8.size()));
}

void ResultStore::setBytes(int row, int column, const char* data, size_t size)
{
    Column& c = m_columns[size_t(column)];
    c.ids[size_t(row)] = keep(data, size, c.kind == Kind::Text && c.keepOnce);
}

void ResultStore::setDate(int row, int column, const QDate& date)
{
    m_columns[size_t(column)].ids[size_t(row)] = date.isValid() ? qint32(date.toJulianDay()) : kNoDay;
}

void ResultStore::copyValue(int row, int column, const ResultStore& from, int fromRow, int fromColumn)
{
    const Column& source = from.m_columns[size_t(fromColumn)];
    Column& target = m_columns[size_t(column)];
    if (source.kind != target.kind)
        throw InternalError(QStringLiteral("Copying a value between columns of different kinds (%1, %2)")
                                .arg(source.name, target.name));
    const size_t r = size_t(row);
    const size_t f = size_t(fromRow);
    switch (target.kind) {
    case Kind::Integer:
        target.integers[r] = source.integers[f];
        target.nulls[r] = source.nulls[f];
        break;
    case Kind::Number:
        target.numbers[r] = source.numbers[f];
        target.nulls[r] = source.nulls[f];
        break;
    case Kind::Date: target.ids[r] = source.ids[f]; break;
    default:
        if (&from == this || source.ids[f] < 0)
            target.ids[r] = source.ids[f];
        else
            target.ids[r] = keep(from.textData(source.ids[f]), from.textSize(source.ids[f]),
                                 target.kind == Kind::Text && target.keepOnce);
        break;
    }
}

bool ResultStore::isNull(int row, int column) const
{
    const Column& c = m_columns[size_t(column)];
    switch (c.kind) {
    case Kind::Integer:
    case Kind::Number: return c.nulls[size_t(row)];
    case Kind::Date: return c.ids[size_t(row)] == kNoDay;
    default: return c.ids[size_t(row)] < 0;
    }
}

qint64 ResultStore::integer(int row, int column) const
{
    return m_columns[size_t(column)].integers[size_t(row)];
}

double ResultStore::number(int row, int column) const
{
    return m_columns[size_t(column)].numbers[size_t(row)];
}

QString ResultStore::text(int row, int column) const
{
    const qint32 id = textId(row, column);
    return id < 0 ? QString() : QString::fromUtf8(textData(id), qsizetype(textSize(id)));
}

QDate ResultStore::date(int row, int column) const
{
    const qint32 day = m_columns[size_t(column)].ids[size_t(row)];
    return day == kNoDay ? QDate() : QDate::fromJulianDay(day);
}

QVariant ResultStore::value(int row, int column) const
{
    if (isNull(row, column))
        return QVariant();
    switch (m_columns[size_t(column)].kind) {
    case Kind::Integer: return QVariant(qlonglong(integer(row, column)));
    case Kind::Number: return QVariant(number(row, column));
    case Kind::Text: return QVariant(text(row, column));
    case Kind::Date: return QVariant(date(row, column));
    case Kind::Bytes: {
        const qint32 id = textId(row, column);
        return QVariant(QByteArray(textData(id), qsizetype(textSize(id))));
    }
    }
    return QVariant();
}

void ResultStore::finish()
{
    Slots().swap(m_slots);
    m_shared = 0;
    resizePool(m_poolSize);
    m_offsets.shrink_to_fit();
}

qint32 ResultStore::keep(const char* data, size_t size, bool shared)
{
    const auto append = [&] {
        if (!m_pool || m_poolSize + size > m_poolCapacity)
            resizePool(std::max(m_poolSize + size, m_poolCapacity + m_poolCapacity / 2 + 4096));
        if (size > 0)
            std::memcpy(m_pool.get() + m_poolSize, data, size);
        m_poolSize += size;
        m_offsets.push_back(qint64(m_poolSize));
        return qint32(m_offsets.size() - 2);
    };
    if (!shared)
        return append();
    // Open addressing over the kept texts' numbers, half full at most.
    if ((m_shared + 1) * 2 > m_slots.size())
        grow();
    const size_t mask = m_slots.size() - 1;
    for (size_t at = qHashBits(data, size) & mask;; at = (at + 1) & mask) {
        const qint32 id = m_slots[at];
        if (id < 0) {
            const qint32 kept = append();
            m_slots[at] = kept;
            ++m_shared;
            return kept;
        }
        if (textSize(id) == size && std::memcmp(textData(id), data, size) == 0)
            return id;
    }
}

void ResultStore::resizePool(size_t capacity)
{
    if (capacity == m_poolCapacity || capacity == 0)
        return;
    char* moved = static_cast<char*>(std::realloc(m_pool.get(), capacity));
    if (!moved)
        throw std::bad_alloc();
    (void)m_pool.release();
    m_pool.reset(moved);
    if (capacity > m_poolCapacity)
        adviseHugePages(moved, capacity);
    m_poolCapacity = capacity;
}

void ResultStore::grow()
{
    Slots old;
    old.swap(m_slots);
    m_slots.assign(old.empty() ? 1024 : old.size() * 2, -1);
    const size_t mask = m_slots.size() - 1;
    for (const qint32 id : old) {
        if (id < 0)
            continue;
        size_t at = qHashBits(textData(id), textSize(id)) & mask;
        while (m_slots[at] >= 0)
            at = (at + 1) & mask;
        m_slots[at] = id;
    }
}

} // namespace tarvex
