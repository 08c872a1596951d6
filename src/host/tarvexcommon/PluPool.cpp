#include "PluPool.h"

namespace tarvex {

PluPool::Range PluPool::range(Registers registers)
{
    return registers == Registers::Vireo ? Range{1, 9999} : Range{1, 99999};
}

PluPool::PluPool(const IPluHolders& holders, const QSqlDatabase& db) : m_holders(holders), m_db(db) {}

QList<qint64> PluPool::freePlus(Registers registers, int count) const
{
    const Range r = range(registers);
    // The taken numbers of the range in ascending order, read once; the free
    // ones are the gaps between them.
    const QList<qint64> taken = m_holders.TakenPLUs(m_db, r.first, r.last);

    QList<qint64> free;
    const auto enough = [&] { return count > 0 && free.size() >= count; };
    qint64 next = r.first; // lowest number not yet known to be taken
    for (auto it = taken.cbegin(); !enough() && it != taken.cend(); ++it) {
        for (; next < *it && !enough(); ++next)
            free << next;
        next = qMax(next, *it + 1);
    }
    for (; next <= r.last && !enough(); ++next)
        free << next;
    return free;
}

std::optional<qint64> PluPool::lowestFree(Registers registers) const
{
    const QList<qint64> free = freePlus(registers, 1);
    if (free.isEmpty())
        return std::nullopt;
    return free.first();
}

void GetPLUs(const IPluHolders& holders, const QSqlDatabase& db, QStringList& target, int count, bool vireo)
{
    target.clear();
    const QList<qint64> free =
        PluPool(holders, db).freePlus(vireo ? PluPool::Registers::Vireo : PluPool::Registers::Ordinary, count);
    for (qint64 plu : free)
        target << QString::number(plu);
}

} // namespace tarvex
