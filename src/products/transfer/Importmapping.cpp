#include "Importmapping.h"

#include "IniFile.h"

#include <QCryptographicHash>

#include <vector>

namespace products {

namespace {

struct FieldInfo {
    ImportField field;
    const char* key;
    const char* caption;
    // Titles (letters and digits only, lower case, without diacritics) that
    // suggest the field.
    std::vector<const char*> titles;
};

const std::vector<FieldInfo>& infos()
{
    static const std::vector<FieldInfo> list = {
        {ImportField::Name, "name", "Ime", {"ime", "naziv", "name", "imeproizvoda", "nazivproizvoda", "artikal"}},
        {ImportField::Code, "code", "Kod", {"kod", "sifra", "code", "sifraproizvoda", "sku", "sifraartikla"}},
        {ImportField::Barcode, "barcode", "Barkod", {"barkod", "barcode", "ean", "ean13"}},
        {ImportField::Unit, "unit", "JM", {"jm", "jedinicamere", "jedmere", "unit"}},
        {ImportField::ForeignName, "foreignname", "Strano ime", {"stranoime", "foreignname"}},
        {ImportField::ManufName, "manufname", "Ime proizvođača", {"imeproizvodjaca", "proizvodjac", "manufacturer"}},
        {ImportField::ManufCode, "manufcode", "Kod proizvođača", {"kodproizvodjaca", "sifraproizvodjaca"}},
        {ImportField::TaxRate, "taxrate", "PDV %", {"pdv", "stopapdv", "poreskastopa", "vat"}},
        {ImportField::TaxName, "taxname", "Porez", {"porez", "tax", "poreskagrupa"}},
        {ImportField::Price, "price", "Cena", {"cena", "price", "cenabezpdv"}},
        {ImportField::PriceWithVat, "pricewithvat", "Cena + PDV", {"cenapdv", "cenasapdv", "mpcena"}},
        {ImportField::InputPrice, "inputprice", "Ulazna cena", {"ulaznacena", "inputprice"}},
        {ImportField::InputPriceCurrency, "inputpricecurrency", "Moneta ul. cene",
         {"monetaulcene", "monetaulaznecene", "valuta"}},
        {ImportField::RecommendedPrice, "recommendedprice", "Preporučena cena", {"preporucenacena"}},
        {ImportField::Categories, "categories", "Kategorije", {"kategorije", "kategorija", "category"}},
        {ImportField::Active, "active", "Aktivan", {"aktivan", "active"}},
    };
    return list;
}

const FieldInfo* info(ImportField field)
{
    for (const FieldInfo& i : infos()) {
        if (i.field == field)
            return &i;
    }
    return nullptr;
}

// "Cena + PDV" -> "cenapdv", "Šifra" -> "sifra", "Proizvođač" -> "proizvodjac".
QString plainTitle(const QString& title)
{
    QString plain;
    for (const QChar c : title.toLower()) {
        if (c == u'đ')
            plain += QStringLiteral("dj");
        else if (c == u'š')
            plain += u's';
        else if (c == u'č' || c == u'ć')
            plain += u'c';
        else if (c == u'ž')
            plain += u'z';
        else if (c.isLetterOrNumber())
            plain += c;
    }
    return plain;
}

} // namespace

QString importFieldCaption(ImportField field)
{
    const FieldInfo* i = info(field);
    return i ? QString::fromUtf8(i->caption) : QString();
}

QString importFieldKey(ImportField field)
{
    const FieldInfo* i = info(field);
    return i ? QString::fromLatin1(i->key) : QString();
}

ImportField importFieldFromKey(const QString& key)
{
    for (const FieldInfo& i : infos()) {
        if (key == QLatin1String(i.key))
            return i.field;
    }
    return ImportField::None;
}

QList<ImportField> importFields()
{
    QList<ImportField> fields;
    for (const FieldInfo& i : infos())
        fields << i.field;
    return fields;
}

QList<ImportField> guessImportMapping(const QStringList& header)
{
    QList<ImportField> mapping;
    QList<ImportField> taken;
    for (const QString& title : header) {
        const QString plain = plainTitle(title);
        ImportField guessed = ImportField::None;
        for (const FieldInfo& i : infos()) {
            if (taken.contains(i.field))
                continue;
            for (const char* t : i.titles) {
                if (plain == QLatin1String(t))
                    guessed = i.field;
            }
            if (guessed != ImportField::None)
                break;
        }
        if (guessed != ImportField::None)
            taken << guessed;
        mapping << guessed;
    }
    return mapping;
}

QString ImportMappingMemory::key(const QStringList& header)
{
    const QByteArray joined = header.join(QChar(0x1F)).toUtf8();
    return QString::fromLatin1(QCryptographicHash::hash(joined, QCryptographicHash::Sha1).toHex());
}

std::optional<QList<ImportField>> ImportMappingMemory::recall(const QStringList& header) const
{
    const QString stored = m_settings.ReadString(QStringLiteral("ProductImport"), key(header), QString());
    if (stored.isEmpty())
        return std::nullopt;
    const QStringList keys = stored.split(QLatin1Char(','));
    if (keys.size() != header.size())
        return std::nullopt;
    QList<ImportField> mapping;
    for (const QString& k : keys)
        mapping << importFieldFromKey(k);
    return mapping;
}

void ImportMappingMemory::remember(const QStringList& header, const QList<ImportField>& mapping)
{
    QStringList keys;
    for (const ImportField field : mapping)
        keys << importFieldKey(field);
    m_settings.WriteString(QStringLiteral("ProductImport"), key(header), keys.join(QLatin1Char(',')));
}

} // namespace products
