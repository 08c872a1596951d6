#pragma once
// EAN-13 barcodes drawn as bars with their digits beneath, for price labels.

#include <QFont>
#include <QRectF>
#include <QString>

class QPainter;

namespace tarvex {

class BarcodePainter {
public:
    // Modules left and right of the bars that a scanner needs empty.
    static constexpr int kLeftQuietModules = 11;
    static constexpr int kRightQuietModules = 7;
    static constexpr int kBarModules = 95;
    static constexpr int kTotalModules = kLeftQuietModules + kBarModules + kRightQuietModules;

    // The 95 modules of a valid EAN-13 code, '1' for a bar and '0' for a
    // space: guard, six left digits in the parity set by the first digit,
    // centre guard, six right digits, guard. Empty for an invalid code.
    static QString ean13Modules(const QString& code);

    // The digits use the font's family and weight; their size follows the
    // bars' width.
    explicit BarcodePainter(const QFont& digitFont = QFont(QStringLiteral("DejaVu Sans")));

    // Draws the code fitted into the rectangle: quiet zones, bars, and the
    // human-readable digits under them (the first digit in the left quiet
    // zone). A code that is not a valid EAN-13 is drawn as text only.
    void paint(QPainter& painter, const QRectF& rect, const QString& code) const;

    // Where the bars go inside the rectangle: left edge of the first guard
    // bar, width of one module, and the height of the data bars. Module
    // widths are whole device pixels when the rectangle is wide enough, so
    // bars print without blurred edges.
    struct Geometry {
        double left = 0;
        double top = 0;
        double moduleWidth = 0;
        double barHeight = 0;     // data bars, above the digits
        double guardHeight = 0;   // guard bars reach down between the digits
        double digitHeight = 0;
    };
    static Geometry geometry(const QRectF& rect);

private:
    void paintText(QPainter& painter, const QRectF& rect, const QString& code) const;

    QFont m_font;
};

} // namespace tarvex
