#pragma once
// Counts in Serbian words. The noun's form follows the number's last
// digits: one (1, 21, 101: "1 dokument"), few (2-4, 22-24, not 12-14:
// "3 dokumenta"), many (the rest: "5 dokumenata", "11 dokumenata").

#include <QString>
#include <QStringList>

namespace products {

enum class CountForm { One, Few, Many };

inline CountForm countForm(qint64 n)
{
    const qint64 lastTwo = n % 100;
    const qint64 last = n % 10;
    if (last == 1 && lastTwo != 11)
        return CountForm::One;
    if (last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14))
        return CountForm::Few;
    return CountForm::Many;
}

// "3 proizvoda": the number and the noun's form for it.
inline QString CountText(qint64 n, const QString& one, const QString& few, const QString& many)
{
    const CountForm form = countForm(n);
    return QString::number(n) + QLatin1Char(' ') +
           (form == CountForm::One ? one : form == CountForm::Few ? few : many);
}

// "a", "a i b", "a, b i c".
inline QString JoinedWithAnd(const QStringList& items)
{
    if (items.size() < 2)
        return items.join(QString());
    return items.mid(0, items.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" i ") + items.last();
}

} // namespace products
