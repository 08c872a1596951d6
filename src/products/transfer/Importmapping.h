#pragma once
// The fields a column of an import file can fill, their captions (the
// export's column titles), the guess of a column's field from its title, and
// the mapping the user chose, remembered for files with the same header.

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace tarvex {
class TIniFile;
}

namespace products {

enum class ImportField {
    None,
    Name,
    Code,
    Barcode,
    Unit,
    ForeignName,
    ManufName,
    ManufCode,
    TaxRate,
    TaxName,
    Price,
    PriceWithVat,
    InputPrice,
    InputPriceCurrency,
    RecommendedPrice,
    Categories,
    Active,
};
inline constexpr int kImportFieldCount = int(ImportField::Active) + 1;

// Caption shown in the mapping and written as the export's column title.
QString importFieldCaption(ImportField field);
// A stable name for the settings file.
QString importFieldKey(ImportField field);
ImportField importFieldFromKey(const QString& key);
// Every field but None, in the order the mapping offers them.
QList<ImportField> importFields();

// The field each column's title suggests (None when none does); a field is
// given to one column only.
QList<ImportField> guessImportMapping(const QStringList& header);

// The mappings chosen before, per header, in the workstation's settings.
class ImportMappingMemory {
public:
    explicit ImportMappingMemory(tarvex::TIniFile& settings) : m_settings(settings) {}
    std::optional<QList<ImportField>> recall(const QStringList& header) const;
    void remember(const QStringList& header, const QList<ImportField>& mapping);

private:
    static QString key(const QStringList& header);
    tarvex::TIniFile& m_settings;
};

} // namespace products
