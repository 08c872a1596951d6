#include "Captions.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace tarvex;

namespace {

// Every caption of a set maps to a distinct code and back to itself.
template <typename Fill, typename CaptionOf, typename CodeOf>
QStringList roundTripCodes(Fill fill, CaptionOf captionOf, CodeOf codeOf)
{
    QStringList captions{QStringLiteral("left over")};
    fill(captions);
    QStringList codes;
    for (const QString& caption : captions) {
        const QString code = codeOf(caption);
        EXPECT_EQ(code.size(), 1) << caption.toStdString();
        EXPECT_EQ(captionOf(code), caption) << code.toStdString();
        codes << code;
    }
    EXPECT_EQ(QSet<QString>(codes.begin(), codes.end()).size(), codes.size());
    return codes;
}

} // namespace

TEST(Captions, ProductTypesCoverTheCodesTheModuleTestsFor)
{
    const QStringList codes = roundTripCodes(FillProdTypeCaptions, GetProdTypeCaption, GetProdTypeName);
    EXPECT_EQ(codes, QStringList({"r", "u", "p", "l", "o"}));
    EXPECT_EQ(GetProdTypeCaption(QStringLiteral("r")), QStringLiteral("Roba"));
    EXPECT_EQ(GetProdTypeCaption(QStringLiteral("u")), QStringLiteral("Usluga"));
    EXPECT_EQ(GetProdTypeCaption(QStringLiteral("o")), QStringLiteral("Osnovno sredstvo"));
    EXPECT_EQ(GetProdTypeName(QStringLiteral("  poluproizvod ")), QStringLiteral("l"));
}

TEST(Captions, PriceTypesAreRetailAndWholesale)
{
    const QStringList codes = roundTripCodes(FillPriceCaptions, GetPriceDescription, GetPriceName);
    EXPECT_EQ(codes, QStringList({"m", "v"}));
    EXPECT_EQ(GetPriceDescription(QStringLiteral("m")), QStringLiteral("Maloprodajna cena"));
    EXPECT_EQ(GetPriceName(QStringLiteral("VELEPRODAJNA CENA")), QStringLiteral("v"));
}

TEST(Captions, MethodsUseTheHostTextsAndAnEmptyEntry)
{
    const QStringList codes = roundTripCodes(FillMethodCaptions, GetMethodCaption, GetMethodName);
    EXPECT_EQ(codes.size(), 3);
    EXPECT_EQ(GetMethodCaption(QStringLiteral("a")), QStringLiteral("Prosečna nabavna cena"));
    EXPECT_EQ(GetMethodCaption(QString()), QString());
    EXPECT_EQ(GetMethodName(QString()), QString());
}

TEST(Captions, UnknownValuesSurviveDisplayAndEntry)
{
    // A code some other module stored is shown as it is and stored back.
    EXPECT_EQ(GetProdTypeCaption(QStringLiteral("x")), QStringLiteral("x"));
    EXPECT_EQ(GetProdTypeName(GetProdTypeCaption(QStringLiteral("x"))), QStringLiteral("x"));
    EXPECT_EQ(GetPriceName(GetPriceDescription(QStringLiteral("b"))), QStringLiteral("b"));
    // Text that is neither a caption nor a code gives no code.
    EXPECT_EQ(GetProdTypeName(QStringLiteral("Robaa")), QString());
    EXPECT_EQ(GetPriceName(QStringLiteral("Cena")), QString());
    // Captions of one set are not codes of another.
    EXPECT_EQ(GetMethodName(QStringLiteral("Roba")), QString());
}
