#include "Captions.h"

#include "HostStrings.h"

#include <vector>

namespace tarvex {

namespace {

struct CodeCaption {
    const char* code;
    const QString& caption;
};

using CodeSet = std::vector<CodeCaption>;

const CodeSet& productTypes()
{
    static const CodeSet set = {
        {"r", PROD_TYPE_GOODS_CAP},        {"u", PROD_TYPE_SERVICE_CAP},
        {"p", PROD_TYPE_PRODUCT_CAP},      {"l", PROD_TYPE_SEMI_PRODUCT_CAP},
        {"o", PROD_TYPE_FIXED_ASSET_CAP},
    };
    return set;
}

const CodeSet& priceTypes()
{
    static const CodeSet set = {{"m", PRICE_RETAIL_CAP}, {"v", PRICE_WHOLESALE_CAP}};
    return set;
}

const CodeSet& methods()
{
    static const CodeSet set = {
        {"a", METH_AVR_IN_PRICE_CAPT}, {"o", METH_OUT_PRICE_CAPT}, {"p", METH_PLAN_PRICE_CAPT}};
    return set;
}

void fill(const CodeSet& set, QStringList& list)
{
    list.clear();
    for (const CodeCaption& entry : set)
        list << entry.caption;
}

QString captionOf(const CodeSet& set, const QString& code)
{
    for (const CodeCaption& entry : set)
        if (code == QLatin1String(entry.code))
            return entry.caption;
    return code;
}

QString codeOf(const CodeSet& set, const QString& caption)
{
    const QString text = caption.trimmed();
    for (const CodeCaption& entry : set)
        if (text.compare(entry.caption, Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(entry.code);
    return text.size() == 1 ? text : QString();
}

} // namespace

void FillProdTypeCaptions(QStringList& list) { fill(productTypes(), list); }
QString GetProdTypeCaption(const QString& code) { return captionOf(productTypes(), code); }
QString GetProdTypeName(const QString& caption) { return codeOf(productTypes(), caption); }

void FillPriceCaptions(QStringList& list) { fill(priceTypes(), list); }
QString GetPriceDescription(const QString& code) { return captionOf(priceTypes(), code); }
QString GetPriceName(const QString& caption) { return codeOf(priceTypes(), caption); }

void FillMethodCaptions(QStringList& list) { fill(methods(), list); }
QString GetMethodCaption(const QString& code) { return captionOf(methods(), code); }
QString GetMethodName(const QString& caption) { return codeOf(methods(), caption); }

} // namespace tarvex
