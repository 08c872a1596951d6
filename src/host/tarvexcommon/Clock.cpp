#include "Clock.h"

#include "Error.h"

namespace tarvex {

QDateTime HostClock::now() const
{
    return m_fixed.isValid() ? m_fixed : QDateTime::currentDateTime();
}

QDate HostClock::today() const
{
    return now().date();
}

void HostClock::setNow(const QDateTime& moment)
{
    if (!moment.isValid())
        throw InternalError(QStringLiteral("HostClock::setNow: the moment is not a valid date and time"));
    m_fixed = moment;
}

void HostClock::reset()
{
    m_fixed = QDateTime();
}

HostClock& hostClock()
{
    static HostClock clock;
    return clock;
}

} // namespace tarvex
