#include "Format.h"

#include "Error.h"

#include <cmath>

namespace tarvex {

namespace {

[[noreturn]] void fail(const QString& format, const char* why)
{
    throw InternalError(QStringLiteral("Format(\"%1\"): %2").arg(format, QLatin1String(why)));
}

QString integerText(const QVariant& value, const QString& format)
{
    bool ok = false;
    const int type = value.metaType().id();
    if (type != QMetaType::Double && type != QMetaType::Float) {
        const qlonglong n = value.toLongLong(&ok);
        if (ok)
            return QString::number(n);
    }
    const double d = value.toDouble(&ok);
    if (!ok || !std::isfinite(d) || d != std::trunc(d))
        fail(format, "%d takes an integer");
    return QString::number(static_cast<qlonglong>(d));
}

QString fixedText(const QVariant& value, int decimals, const QString& format)
{
    bool ok = false;
    const double d = value.toDouble(&ok);
    if (!ok || !std::isfinite(d))
        fail(format, "%f takes a finite number");
    QString text = QString::number(d, 'f', decimals);
    // "-0.00" reads as a negative amount; show it as zero.
    if (text.startsWith(QLatin1Char('-')) && text.mid(1).remove(QLatin1Char('0')).remove(QLatin1Char('.')).isEmpty())
        text.remove(0, 1);
    return text;
}

} // namespace

QString Format(const QString& format, const QVariantList& args)
{
    QString out;
    out.reserve(format.size() + 16 * args.size());
    int next = 0;
    const int n = format.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = format[i];
        if (c != QLatin1Char('%')) {
            out += c;
            continue;
        }
        if (i + 1 >= n)
            fail(format, "a lone % at the end");
        QChar kind = format[++i];
        if (kind == QLatin1Char('%')) {
            out += kind;
            continue;
        }
        int decimals = 6;
        if (kind == QLatin1Char('.')) {
            int start = ++i;
            while (i < n && format[i].isDigit())
                ++i;
            if (i == start || i >= n)
                fail(format, "a precision without a slot");
            decimals = format.mid(start, i - start).toInt();
            kind = format[i];
            if (kind != QLatin1Char('f'))
                fail(format, "a precision is only allowed with %f");
        }
        if (next >= args.size())
            fail(format, "more slots than arguments");
        const QVariant& value = args[next++];
        if (kind == QLatin1Char('s'))
            out += value.toString();
        else if (kind == QLatin1Char('d'))
            out += integerText(value, format);
        else if (kind == QLatin1Char('f'))
            out += fixedText(value, decimals, format);
        else
            fail(format, "an unknown slot");
    }
    if (next != args.size())
        fail(format, "more arguments than slots");
    return out;
}

} // namespace tarvex
