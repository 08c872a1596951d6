#pragma once
// The host's clock. Reports' default dates, the variant barcode's date and
// "days since" read it, so a test can fix the time and get repeatable
// results.

#include <QDate>
#include <QDateTime>

namespace tarvex {

class HostClock {
public:
    // The fixed time when one is set, else the system's local time.
    QDateTime now() const;
    QDate today() const;

    // Fixes the clock at the given moment until reset.
    void setNow(const QDateTime& moment);
    // Back to the system clock.
    void reset();
    bool isFixed() const { return m_fixed.isValid(); }

private:
    QDateTime m_fixed;
};

// The one clock of the process.
HostClock& hostClock();

} // namespace tarvex
