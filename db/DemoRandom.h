#pragma once
// The demo data's source of chance. Same seed and stream, same numbers on
// every compiler and machine: the standard library's distributions do not
// promise that, so the arithmetic here is all integer (splitmix64).

#include <QtGlobal>
#include <vector>

namespace tarvex::demo {

class DemoRandom {
public:
    // Each part of the generator draws from its own stream, so a change in one
    // part leaves the data of the others as it was.
    DemoRandom(quint32 seed, quint32 stream)
        : m_state((quint64(seed) << 32 | stream) * 0x9E3779B97F4A7C15ULL + 0x632BE59BD9B4E019ULL)
    {
    }

    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // A whole number from low to high, both included.
    qint64 between(qint64 low, qint64 high)
    {
        if (high <= low)
            return low;
        return low + qint64(next() % quint64(high - low + 1));
    }

    // An index below size (size > 0).
    int index(size_t size) { return int(next() % quint64(size)); }

    // True with the given chance in thousandths.
    bool permille(int chance) { return int(next() % 1000) < chance; }

    template <class T>
    const T& pick(const std::vector<T>& items)
    {
        return items[index(items.size())];
    }

    // An index chosen with the given weights (at least one above zero).
    int weighted(const std::vector<int>& weights)
    {
        qint64 total = 0;
        for (int w : weights)
            total += w;
        qint64 r = between(0, total - 1);
        for (size_t i = 0; i < weights.size(); ++i) {
            if (r < weights[i])
                return int(i);
            r -= weights[i];
        }
        return int(weights.size()) - 1;
    }

private:
    quint64 m_state;
};

} // namespace tarvex::demo
