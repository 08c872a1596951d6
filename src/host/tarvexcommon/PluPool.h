#pragma once
// The pool of free cash-register PLU numbers: numbers of a register range
// that no row holds. Nothing is reserved: a number is free until a row
// carrying it is saved. Which rows hold PLUs is the business of the module
// that keeps them (IPluHolders); the host knows no such table.
//
// Ranges: ordinary registers take PLUs 1..99999 (five digits); Vireo
// registers keep only four-digit PLUs, 1..9999. Both ranges draw on the same
// numbers, so a number given to any row is taken for every register.
// Free numbers are offered lowest first.

#include <QList>
#include <QSqlDatabase>
#include <QStringList>
#include <optional>

namespace tarvex {

// The rows that hold PLUs, as the module that keeps them reads them.
class IPluHolders {
public:
    // The numbers from first to last that rows of the database hold,
    // ascending, each once. Throws DatabaseError.
    virtual QList<qint64> TakenPLUs(const QSqlDatabase& db, qint64 first, qint64 last) const = 0;

protected:
    ~IPluHolders() = default;
};

class PluPool {
public:
    enum class Registers { Ordinary, Vireo };
    struct Range {
        qint64 first;
        qint64 last;
    };
    static Range range(Registers registers);

    PluPool(const IPluHolders& holders, const QSqlDatabase& db);

    // The lowest `count` free numbers of the range, ascending (fewer when the
    // range has fewer free); every free number when count is 0 or less.
    // One read of the holders; throws DatabaseError.
    QList<qint64> freePlus(Registers registers, int count) const;
    // The lowest free number, or nothing when the range is full.
    std::optional<qint64> lowestFree(Registers registers) const;

private:
    const IPluHolders& m_holders;
    QSqlDatabase m_db;
};

// The data module's GetPLUs: clears the list and fills it with up to `count`
// free PLUs as decimal texts, lowest first; vireo picks the Vireo range.
void GetPLUs(const IPluHolders& holders, const QSqlDatabase& db, QStringList& target, int count, bool vireo);

} // namespace tarvex
