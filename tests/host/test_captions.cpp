#include "Captions.h"
#include "ListCompare.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace tarvex;

namespace {

// The codes behind a set's captions; each caption maps to a distinct
// one-letter code and back to itself.
template <typename CaptionOf, typename CodeOf>
QStringList codesOf(void (*fill)(QStringList&), CaptionOf captionOf, CodeOf codeOf)
{
    QStringList captions{"left over"};
    fill(captions);
    QStringList codes;
    for (const QString& caption : captions) {
        codes << codeOf(caption);
        EXPECT_EQ(codes.last().size(), 1) << caption.toStdString();
        EXPECT_EQ(captionOf(codes.last()), caption);
    }
    EXPECT_EQ(QSet<QString>(codes.begin(), codes.end()).size(), codes.size());
    return codes;
}

} // namespace

TEST(Captions, EachSetMapsCaptionsAndCodesBothWaysAndUnknownValuesSurvive)
{
    EXPECT_ROWS(codesOf(FillProdTypeCaptions, GetProdTypeCaption, GetProdTypeName), QStringList({"r", "u", "p", "l", "o"}));
    EXPECT_ROWS(codesOf(FillPriceCaptions, GetPriceDescription, GetPriceName), QStringList({"m", "v"}));
    EXPECT_ROWS(codesOf(FillMethodCaptions, GetMethodCaption, GetMethodName), QStringList({"a", "o", "p"}));
    // Typed text: blanks and letter case do not matter.
    EXPECT_EQ(GetProdTypeName("  poluproizvod "), "l");
    EXPECT_EQ(GetPriceName("VELEPRODAJNA CENA"), "v");
    // A code some other program stored is shown as it is and stored back.
    EXPECT_EQ(GetProdTypeName(GetProdTypeCaption("x")), "x");
    EXPECT_EQ(GetMethodName(GetMethodCaption("")), "");
    // Text that is neither a caption of the set nor a code gives no code.
    EXPECT_EQ(GetProdTypeName("Robaa"), "");
    EXPECT_EQ(GetMethodName("Roba"), "");
}
