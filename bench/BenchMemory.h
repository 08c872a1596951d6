#pragma once
// The process's peak resident memory so far, in MB, as the benchmarks report it.

#include <QByteArray>
#include <QFile>

namespace tarvex::bench {

inline double peakMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

} // namespace tarvex::bench
