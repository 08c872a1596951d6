#pragma once
// Stock-card sums and the average price from them in exact decimals. The
// document tables keep amounts as DOUBLE, so each is read as the decimal a
// person typed (its shortest text, rounded to six places) and held as a
// whole count of millionths: 19 900,89 / 54 is then exactly 368,535 and its
// price 368,54, as a calculator shows it, not 368,53 from 368.53499999999997.

#include <QVariant>

namespace products {

class TExactSum {
public:
    // The decimal the value stands for (a double, or a DECIMAL's digits).
    void add(const QVariant& value) { m_micros += microsOf(value); }
    void subtract(const QVariant& value) { m_micros -= microsOf(value); }
    static TExactSum of(const QVariant& value);

    // The nearest double, for showing and adding up.
    double toDouble() const;
    // 0 at six decimals.
    bool isZero() const { return m_micros == 0; }

private:
    static __int128 microsOf(const QVariant& value);

    __int128 m_micros = 0;

    friend double AveragePrice(const TExactSum& value, const TExactSum& quantity);
};

// value / quantity rounded to two decimals, halves away from zero; 0 when
// the quantity is 0 at six decimals.
double AveragePrice(const TExactSum& value, const TExactSum& quantity);

} // namespace products
