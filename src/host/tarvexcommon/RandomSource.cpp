#include "RandomSource.h"

#include "Error.h"

namespace tarvex {

RandomSource::RandomSource()
{
    reseedFromSystem();
}

int RandomSource::below(int bound)
{
    if (bound <= 0)
        throw InternalError(QStringLiteral("RandomSource::below: the bound must be above 0"));
    return m_generator.bounded(bound);
}

void RandomSource::seed(quint32 value)
{
    m_generator.seed(value);
}

void RandomSource::reseedFromSystem()
{
    m_generator.seed(QRandomGenerator::system()->generate());
}

RandomSource& randomSource()
{
    static RandomSource source;
    return source;
}

} // namespace tarvex
