#include "Barcode.h"
#include "BarcodePainter.h"
#include "Error.h"
#include "ListCompare.h"
#include "PriceLabels.h"

#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using namespace tarvex;

namespace {

bool dark(const QImage& image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 128;
}

// Paints into a white image; fails when ink falls outside the rectangle.
QImage paintedInside(const QRectF& rect, QSize size, const std::function<void(QPainter&)>& paint)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        paint(painter);
    }
    const QRectF allowed = rect.adjusted(-1, -1, 1, 1);
    int outside = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            outside += dark(image, x, y) && !allowed.contains(QPointF(x, y)) ? 1 : 0;
    EXPECT_EQ(outside, 0) << "in " << rect.width() << "x" << rect.height();
    return image;
}

QImage painted(const QString& code, const QRectF& rect, QSize size)
{
    SCOPED_TRACE(code.toStdString());
    return paintedInside(rect, size, [&](QPainter& painter) { BarcodePainter().paint(painter, rect, code); });
}

} // namespace

// Patterns worked out by hand from the EAN-13 tables: guard, six left digits,
// centre guard, six right digits, guard.
TEST(BarcodePainter, ModulesFollowTheTablesBarsReadBackAndStayInsideInvalidCodesAreTextAndCheckDigitsAndValidityHold)
{
    // First digit 5: left parity odd, even, even, odd, odd, even.
    const QString code = QStringLiteral("5901234123457");
    EXPECT_ROWS(BarcodePainter::ean13Modules(code),
              QStringList({"101", "0001011", "0100111", "0110011", "0010011", "0111101", "0011101", "01010", "1100110",
                           "1101100", "1000010", "1011100", "1001110", "1000100", "101"})
                  .join(QString()));
    // First digit 4: odd, even, odd, odd, even, even.
    EXPECT_ROWS(BarcodePainter::ean13Modules(QStringLiteral("4006381333931")),
              QStringList({"101", "0001101", "0100111", "0101111", "0111101", "0001001", "0110011", "01010", "1000010",
                           "1000010", "1000010", "1110100", "1000010", "1100110", "101"})
                  .join(QString()));
    for (const char* invalid : {"5901234123458", "590123412345", "59012341234570", "59012341234a7", " 5901234123457"})
        EXPECT_TRUE(BarcodePainter::ean13Modules(QString::fromLatin1(invalid)).isEmpty()) << invalid;

    // Drawn bars read back as the modules.
    const QRectF rect(7, 5, BarcodePainter::kTotalModules * 3 + 2, 160);
    const QImage image = painted(code, rect, QSize(360, 180));
    const BarcodePainter::Geometry g = BarcodePainter::geometry(rect);
    ASSERT_EQ(g.moduleWidth, 3.0);
    auto centre = [&](double module) { return int(g.left + (module + 0.5) * g.moduleWidth); };

    // Across the middle of the bars every module shows its colour, quiet zones included.
    const int middle = int(g.top + g.barHeight / 2);
    QString read;
    for (int m = -BarcodePainter::kLeftQuietModules; m < BarcodePainter::kBarModules + 7; ++m)
        read += dark(image, centre(m), middle) ? QLatin1Char('1') : QLatin1Char('0');
    EXPECT_EQ(read, QString(11, QLatin1Char('0')) + BarcodePainter::ean13Modules(code) + QString(7, QLatin1Char('0')));

    // Below the data bars the guards go on, and the digits sit between them.
    const int belowBars = int(g.top + g.barHeight + g.digitHeight / 4);
    for (int m : {0, 2, 46, 48, 92, 94})
        EXPECT_TRUE(dark(image, centre(m), belowBars)) << m;
    int digitInk = 0;
    for (int y = int(g.top + g.barHeight); y < int(g.top + g.barHeight + g.digitHeight); ++y)
        for (int m : {-5, 6, 20, 55, 80})   // first digit, then inside both halves
            digitInk += dark(image, centre(m), y) ? 1 : 0;
    EXPECT_GT(digitInk, 10);

    // Wide, narrow (under a pixel per module) and flat rectangles.
    for (const QRectF& box : {QRectF(40, 30, 500, 300), QRectF(40, 30, 80, 60), QRectF(40, 30, 400, 24)})
        painted(QStringLiteral("4006381333931"), box, QSize(640, 400));

    // A wrong check digit: some ink, but no column dark over half the height as a bar would be.
    const QImage text = painted(QStringLiteral("5901234123458"), QRectF(0, 0, 340, 120), QSize(340, 120));
    int ink = 0;
    for (int x = 0; x < text.width(); ++x) {
        int column = 0;
        for (int y = 0; y < text.height(); ++y)
            column += dark(text, x, y) ? 1 : 0;
        EXPECT_LT(column, text.height() / 2) << x;
        ink += column;
    }
    EXPECT_GT(ink, 0);

    // EAN-13 check digits and validity.
    // Worked by hand: weights 1,3,1,3... over the first twelve digits; sums
    // 89, 83, 93, 45, then 80 (check digit 0, not 10), and the first
    // generated product barcode.
    for (const char* code : {"4006381333931", "5901234123457", "9780306406157", "8600043001105", "4006381333900",
                             "2000000000015"}) {
        EXPECT_EQ(Barcode12ToEan13(QString(code).left(12)), code);
        EXPECT_TRUE(IsValidEan13(code)) << code;
    }
    for (const char* bad : {"8600043001104", /* wrong check digit */ "4003681333931", /* two swapped */
                            "400638133393", "40063813339310", "400638133393A", ""})
        EXPECT_FALSE(IsValidEan13(bad)) << bad;
    // The last: an Arabic-Indic four, a digit to Unicode but not to a scanner.
    for (const QString& bad : {QString("40063813339"), QString("4006381333931"), QString(), QString("40063813339X"),
                               QString(" 40063813339"), QString(QChar(0x0664)) + "00638133393"})
        EXPECT_THROW(Barcode12ToEan13(bad), InternalError) << bad.toStdString();
}

TEST(PriceLabelLayout, TwentyFourLabelsFillAPageRowByRowAndLongTextsStayInsideTheirLabel)
{
    QTemporaryDir dir;
    QPdfWriter writer(dir.filePath(QStringLiteral("probe.pdf")));
    writer.setResolution(300);
    setLabelPageLayout(writer);
    for (auto [count, pages] : {std::pair{0, 0}, {1, 1}, {24, 1}, {25, 2}, {48, 2}, {49, 3}})
        EXPECT_EQ(PriceLabelLayout(QList<PriceLabel>(count), writer).pageCount(), pages) << count;

    const QList<PriceLabel> none;
    const PriceLabelLayout layout(none, writer);
    EXPECT_EQ(layout.labelRect(1).topLeft(), layout.labelRect(0).topRight());
    EXPECT_EQ(layout.labelRect(3).topLeft(), layout.labelRect(0).bottomLeft());
    const QSize area = writer.pageLayout().paintRectPixels(writer.resolution()).size();
    EXPECT_EQ(layout.labelRect(23).bottomRight().toPoint(), QPoint(area.width(), area.height()));

    // The saved PDF has these pages: the label wizard's (test_wizards).

    // Long texts stay inside their label.
    const PriceLabel label{{1, QStringLiteral("Čokolada mlečna sa celim lešnicima i suvim grožđem, pakovanje od 300 grama"),
                            QString(20, QLatin1Char('W')), QStringLiteral("5901234123457"), 9999999.99, QStringLiteral("RSD")}};
    const QRectF cell(50, 40, 300, 160);
    const QImage image = paintedInside(cell, QSize(400, 240), [&](QPainter& painter) {
        PriceLabelLayout::paintLabel(painter, cell, label);
    });
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ink += dark(image, x, y) ? 1 : 0;
    EXPECT_GT(ink, 1000);
}
