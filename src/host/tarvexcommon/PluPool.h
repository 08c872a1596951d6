#pragma once
// The pool of free cash-register PLU numbers: numbers of a register range
// that no product holds in product.kasaplu. Nothing is reserved: a number is
// free until a product carrying it is saved.
//
// Ranges: ordinary registers take PLUs 1..99999 (five digits); Vireo
// registers keep only four-digit PLUs, 1..9999. Both ranges draw on the same
// column, so a number given to any product is taken for every register.
// Free numbers are offered lowest first.

#include <QList>
#include <QSqlDatabase>
#include <QStringList>
#include <optional>

namespace tarvex {

class PluPool {
public:
    enum class Registers { Ordinary, Vireo };
    struct Range {
        qint64 first;
        qint64 last;
    };
    static Range range(Registers registers);

    explicit PluPool(const QSqlDatabase& db);

    // The lowest `count` free numbers of the range, ascending (fewer when the
    // range has fewer free); every free number when count is 0 or less.
    // One query; throws DatabaseError.
    QList<qint64> freePlus(Registers registers, int count) const;
    // The lowest free number, or nothing when the range is full.
    std::optional<qint64> lowestFree(Registers registers) const;

private:
    QSqlDatabase m_db;
};

// The data module's GetPLUs: clears the list and fills it with up to `count`
// free PLUs as decimal texts, lowest first; vireo picks the Vireo range.
void GetPLUs(const QSqlDatabase& db, QStringList& target, int count, bool vireo);

} // namespace tarvex
