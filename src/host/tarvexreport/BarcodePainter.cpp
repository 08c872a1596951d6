#include "BarcodePainter.h"

#include "Barcode.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <cmath>

namespace tarvex {

namespace {

// Seven modules per digit. The right-hand set is the left-hand odd set with
// bars and spaces swapped; the even set is the right-hand set read backwards.
const char* const kOddDigits[10] = {"0001101", "0011001", "0010011", "0111101", "0100011",
                                    "0110001", "0101111", "0111011", "0110111", "0001011"};
const char* const kEvenDigits[10] = {"0100111", "0110011", "0011011", "0100001", "0011101",
                                     "0111001", "0000101", "0010001", "0001001", "0010111"};
const char* const kRightDigits[10] = {"1110010", "1100110", "1101100", "1000010", "1011100",
                                      "1001110", "1010000", "1000100", "1001000", "1110100"};
// The first digit is not drawn as bars: it is carried by which of the six
// left digits use the odd ('O') or even ('E') set.
const char* const kParity[10] = {"OOOOOO", "OOEOEE", "OOEEOE", "OOEEEO", "OEOOEE",
                                 "OEEOOE", "OEEEOO", "OEOEOE", "OEOEEO", "OEEOEO"};

constexpr int kDigitModules = 7;
constexpr int kCentreGuardAt = 45;
constexpr int kRightDigitsAt = 50;
constexpr int kEndGuardAt = 92;

bool isGuardModule(int module)
{
    return module < 3 || (module >= kCentreGuardAt && module < kRightDigitsAt) || module >= kEndGuardAt;
}

// A font of the given pixel height on the painter's device, whatever its resolution.
QFont fontOfPixelHeight(QFont font, double pixels, const QPaintDevice* device)
{
    const int dpi = device ? device->logicalDpiY() : 96;
    font.setPointSizeF(qMax(1.0, pixels * 72.0 / dpi));
    return font;
}

} // namespace

QString BarcodePainter::ean13Modules(const QString& code)
{
    if (!IsValidEan13(code))
        return QString();
    auto digit = [&](int i) { return code.at(i).unicode() - '0'; };
    QString modules = QStringLiteral("101");
    const char* parity = kParity[digit(0)];
    for (int i = 1; i <= 6; ++i)
        modules += QLatin1String(parity[i - 1] == 'O' ? kOddDigits[digit(i)] : kEvenDigits[digit(i)]);
    modules += QStringLiteral("01010");
    for (int i = 7; i <= 12; ++i)
        modules += QLatin1String(kRightDigits[digit(i)]);
    modules += QStringLiteral("101");
    return modules;
}

BarcodePainter::BarcodePainter(const QFont& digitFont) : m_font(digitFont) {}

BarcodePainter::Geometry BarcodePainter::geometry(const QRectF& rect)
{
    Geometry g;
    g.moduleWidth = rect.width() / kTotalModules;
    if (g.moduleWidth >= 1.0)
        g.moduleWidth = std::floor(g.moduleWidth);
    const double used = g.moduleWidth * kTotalModules;
    g.left = rect.left() + (rect.width() - used) / 2 + kLeftQuietModules * g.moduleWidth;
    if (g.moduleWidth >= 1.0)
        g.left = std::floor(g.left);

    // Digits about nine modules high; bars no taller than the standard
    // proportion, shortened when the rectangle is low.
    g.digitHeight = qMin(9 * g.moduleWidth, rect.height() * 0.3);
    g.barHeight = qMin(rect.height() - g.digitHeight, 69 * g.moduleWidth);
    g.guardHeight = g.barHeight + g.digitHeight / 2;
    g.top = rect.top() + (rect.height() - g.barHeight - g.digitHeight) / 2;
    return g;
}

void BarcodePainter::paint(QPainter& painter, const QRectF& rect, const QString& code) const
{
    const QString modules = ean13Modules(code);
    if (modules.isEmpty()) {
        paintText(painter, rect, code);
        return;
    }
    const Geometry g = geometry(rect);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, g.moduleWidth < 1.0);

    // One rectangle per run of bars of the same height.
    const QBrush ink(Qt::black);
    for (int m = 0; m < modules.size();) {
        if (modules.at(m) != QLatin1Char('1')) {
            ++m;
            continue;
        }
        const bool guard = isGuardModule(m);
        int end = m;
        while (end < modules.size() && modules.at(end) == QLatin1Char('1') && isGuardModule(end) == guard)
            ++end;
        painter.fillRect(QRectF(g.left + m * g.moduleWidth, g.top, (end - m) * g.moduleWidth,
                                guard ? g.guardHeight : g.barHeight),
                         ink);
        m = end;
    }

    // Digits: the first in the left quiet zone, then six under each half.
    const QFont font = fontOfPixelHeight(m_font, g.digitHeight * 0.9, painter.device());
    painter.setFont(font);
    painter.setPen(Qt::black);
    const double digitTop = g.top + g.barHeight;
    auto drawDigit = [&](int index, double x) {
        painter.drawText(QRectF(x, digitTop, kDigitModules * g.moduleWidth, g.digitHeight),
                         Qt::AlignHCenter | Qt::AlignBottom, code.mid(index, 1));
    };
    drawDigit(0, g.left - (kDigitModules + 1) * g.moduleWidth);
    for (int i = 0; i < 6; ++i) {
        drawDigit(1 + i, g.left + (3 + i * kDigitModules) * g.moduleWidth);
        drawDigit(7 + i, g.left + (kRightDigitsAt + i * kDigitModules) * g.moduleWidth);
    }
    painter.restore();
}

void BarcodePainter::paintText(QPainter& painter, const QRectF& rect, const QString& code) const
{
    const QString text = code.trimmed();
    if (text.isEmpty())
        return;
    painter.save();
    const QFont font = fontOfPixelHeight(m_font, qMin(rect.height() * 0.4, rect.width() / 8), painter.device());
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(font, painter.device());
    painter.drawText(rect, Qt::AlignCenter, metrics.elidedText(text, Qt::ElideRight, rect.width()));
    painter.restore();
}

} // namespace tarvex
