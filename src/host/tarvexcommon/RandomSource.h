#pragma once
// The host's source of chance (the variant barcode's random part). Seeded
// from the system at start; a test seeds it to get a repeatable sequence.

#include <QRandomGenerator>

namespace tarvex {

class RandomSource {
public:
    RandomSource();

    // A number r with 0 <= r < bound. Throws InternalError when
    // bound is not above 0.
    int below(int bound);

    // Same seed, same sequence of numbers.
    void seed(quint32 value);
    // Back to an unpredictable sequence.
    void reseedFromSystem();

private:
    QRandomGenerator m_generator;
};

// The one random source of the process.
RandomSource& randomSource();

} // namespace tarvex
