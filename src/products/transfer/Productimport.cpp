// Reading and checking an import: the file into rows, each row's values
// through the data module's rules, then the checks that need the database
// (matching, unique codes, barcodes and names) in a few statements over a
// temporary table of the file's keys, compared as the database compares
// texts.

#include "Importrows.h"

#include "Importpipe.h"

#include "Categorytree.h"
#include "Connection.h"
#include "WriteRetry.h"
#include "HostStrings.h"
#include "LogCategories.h"
#include "NumberText.h"
#include "Productidentifiers.h"
#include "Productresourcestring.h"
#include "Productrules.h"
#include "Rounding.h"

#include <QSqlQuery>
#include <algorithm>

namespace products {

namespace {

const QString IMP_LENGTH_ERR = QStringLiteral("Tekst ima %1 znakova; najviše je %2.");
const QString IMP_BARCODE_ERR = QStringLiteral("Barkod \"%1\" nema ispravnu kontrolnu cifru (EAN-13).");
const QString IMP_TAX_RATE_ERR = QStringLiteral("Nema poreza sa stopom %1 %.");
const QString IMP_TAX_NAME_ERR = QStringLiteral("Nema poreza \"%1\".");
const QString IMP_TAX_MISMATCH_ERR = QStringLiteral("Porez \"%1\" nema stopu %2 %.");
const QString IMP_PRICE_MISMATCH_ERR = QStringLiteral("Cena i Cena + PDV se ne slažu po stopi %1 %.");
const QString IMP_CURRENCY_ERR = QStringLiteral("Nepoznata moneta \"%1\".");
const QString IMP_BOOLEAN_ERR = QStringLiteral("\"%1\" nije ni \"da\" ni \"ne\".");
const QString IMP_CATEGORY_PATH_ERR = QStringLiteral("Putanja kategorije \"%1\" nije ispravna.");
const QString IMP_CATEGORY_MISSING_ERR =
    QStringLiteral("Kategorija \"%1\" ne postoji (da bi se napravila, označite \"Napravi kategorije koje ne postoje\").");
const QString IMP_CATEGORY_NAME_ERR = QStringLiteral("Ime kategorije \"%1\" je duže od 50 znakova.");
const QString IMP_AMBIGUOUS_ERR = QStringLiteral("Više proizvoda ima %1 \"%2\"; red ne može da se upari.");
const QString IMP_NO_HEADER_ERR = QStringLiteral("Prvi red datoteke (zaglavlje sa imenima kolona) je prazan.");
const QString IMP_NO_ROWS_ERR = QStringLiteral("Datoteka nema nijedan red s podacima ispod zaglavlja.");
const QString IMP_NO_MAPPING_ERR = QStringLiteral("Nijedna kolona nije povezana s poljem proizvoda.");
const QString IMP_TWICE_ERR = QStringLiteral("Polje \"%1\" je izabrano za dve kolone.");

QString caption(ImportField field)
{
    return importFieldCaption(field);
}

// The number as the message shows it: "20", "8,5".
QString shown(double value)
{
    QString text = QString::number(value, 'f', 6);
    while (text.contains(QLatin1Char('.')) && (text.endsWith(QLatin1Char('0')) || text.endsWith(QLatin1Char('.'))))
        text.chop(1);
    return text.replace(QLatin1Char('.'), QLatin1Char(','));
}

} // namespace

// --- values

bool readImportNumber(const QString& text, double& value, QString* error)
{
    const tarvex::NumberRead read = tarvex::ReadNumberText(text);
    value = read.value;
    if (error)
        *error = read.error;
    return read.ok;
}

bool readImportBoolean(const QString& text, bool& value)
{
    const QString t = text.trimmed().toLower();
    const QStringList yes{QStringLiteral("da"),   QStringLiteral("d"), QStringLiteral("y"), QStringLiteral("yes"),
                          QStringLiteral("true"), QStringLiteral("1"), tarvex::ACTIVE_Y_CAP.toLower()};
    const QStringList no{QStringLiteral("ne"),    QStringLiteral("n"), QStringLiteral("no"), QStringLiteral("false"),
                         QStringLiteral("0"),     tarvex::ACTIVE_N_CAP.toLower()};
    if (!yes.contains(t) && !no.contains(t))
        return false;
    value = yes.contains(t);
    return true;
}

QList<int> ImportOutcome::refusedRows() const
{
    QList<int> rowsOut;
    for (const ImportRefusal& refusal : refusals) {
        if (rowsOut.isEmpty() || rowsOut.last() != refusal.row)
            rowsOut << refusal.row;
    }
    return rowsOut;
}

// --- the run

ImportRun::ImportRun(tarvex::Connection& connection, const TProductOptions& options, const ImportSettings& settings,
                     const TProgress& progress)
    : m_connection(connection), m_options(options), m_settings(settings), m_progress(progress)
{
}

ImportRun::~ImportRun() = default;

void ImportRun::tell(const QString& step, int rows)
{
    if (m_progress)
        m_progress(step, rows);
}

void ImportRun::refuse(ImportRow& row, ImportField field, const QString& message)
{
    row.refused = true;
    outcome.refusals << ImportRefusal{row.number, caption(field), message};
}

void ImportRun::refuseRow(ImportRow& row, const QString& message)
{
    row.refused = true;
    outcome.refusals << ImportRefusal{row.number, QString(), message};
}

void ImportRun::checkMapping() const
{
    QList<ImportField> seen;
    for (const ImportField field : m_settings.mapping) {
        if (field == ImportField::None)
            continue;
        if (seen.contains(field))
            throw tarvex::TarvexError(tarvex::ErrorKind::Validation, IMP_TWICE_ERR.arg(caption(field)));
        seen << field;
    }
    if (seen.isEmpty())
        throw tarvex::TarvexError(tarvex::ErrorKind::Validation, IMP_NO_MAPPING_ERR);
}

void ImportRun::readRows()
{
    // Each row is checked and staged as it comes; the file is parsed on
    // the pipe's thread meanwhile.
    const QList<ImportField>& mapping = m_settings.mapping;
    auto blank = [](const QStringList& cells) {
        return std::all_of(cells.begin(), cells.end(), [](const QString& c) { return c.trimmed().isEmpty(); });
    };
    ImportRowPipe pipe(m_settings.path, m_settings.format);
    ImportRowPipe::Rows rows;
    while (pipe.next(rows)) {
        for (const auto& [number, cells] : rows) {
            if (outcome.header.isEmpty() && m_rows.empty() && outcome.blankRows == 0) {
                if (blank(cells))
                    throw ImportFileError(IMP_NO_HEADER_ERR);
                outcome.header = cells;
                continue;
            }
            if (blank(cells)) {
                ++outcome.blankRows;
                continue;
            }
            ImportRow row;
            row.number = number;
            for (int column = 0; column < mapping.size(); ++column) {
                const ImportField field = mapping[column];
                if (field == ImportField::None)
                    continue;
                row.given |= 1u << int(field);
                if (column < cells.size())
                    row.text[size_t(field)] = cells[column].trimmed();
            }
            checkValues(row);
            stageRow(row);
            m_byNumber.insert(number, m_rows.size());
            m_rows.push_back(std::move(row));
            if (m_rows.size() % 5000 == 0)
                tell(QStringLiteral("Čitanje i provera"), int(m_rows.size()));
        }
    }
    if (m_rows.empty())
        throw ImportFileError(IMP_NO_ROWS_ERR);
    outcome.rows = int(m_rows.size());
}

void ImportRun::check()
{
    checkMapping();
    loadReferences();
    createRowTables();
    readRows();
    finishStaging();
    tell(QStringLiteral("Uparivanje"), outcome.rows);
    matchRows();
    if (m_options.UniqueProductCode)
        checkUnique(QStringLiteral("code"), ImportField::Code, m_byCode);
    if (m_options.UniqueProductBarcode)
        checkUnique(QStringLiteral("barcode"), ImportField::Barcode, m_byBarcode);
    if (m_options.UniqueProductNameCharsNum > 0)
        checkNamePrefixes();
    tell(QStringLiteral("Poređenje"), outcome.rows);
    compareWithStored();
    std::stable_sort(outcome.refusals.begin(), outcome.refusals.end(),
                     [](const ImportRefusal& a, const ImportRefusal& b) { return a.row < b.row; });
}

void ImportRun::loadReferences()
{
    QSqlQuery taxes = m_connection.select(QStringLiteral("SELECT taxid, name, value, status FROM tax ORDER BY taxid"));
    while (taxes.next()) {
        const bool primary = taxes.value(3).toString() == u"primary";
        m_refs.taxes << ImportReferences::Tax{taxes.value(0).toLongLong(), taxes.value(1).toString(),
                                               taxes.value(2).toDouble(), primary};
        if (primary && m_refs.defaultTaxId == 0)
            m_refs.defaultTaxId = taxes.value(0).toLongLong();
    }
    QSqlQuery currencies = m_connection.select(QStringLiteral("SELECT code, status FROM currency"));
    while (currencies.next()) {
        m_refs.currencies << currencies.value(0).toString();
        if (currencies.value(1).toString() == u"primary")
            m_refs.homeCurrency = currencies.value(0).toString();
    }
    m_tree = std::make_unique<CategoryTree>(m_connection.database());
    m_tree->createTree();
}

void ImportRun::checkText(ImportRow& row, ImportField field, QString& target, int maxLength)
{
    if (!row.isGiven(field))
        return;
    const QString& text = row.of(field);
    if (text.size() > maxLength) {
        refuse(row, field, IMP_LENGTH_ERR.arg(text.size()).arg(maxLength));
        return;
    }
    target = text;
}

void ImportRun::checkValues(ImportRow& row)
{
    ProductValues& v = row.values;
    checkText(row, ImportField::Name, v.name, 100);
    checkText(row, ImportField::Code, v.code, 20);
    checkText(row, ImportField::Barcode, v.barcode, 50);
    checkText(row, ImportField::Unit, v.unit, 15);
    checkText(row, ImportField::ForeignName, v.foreignName, 100);
    checkText(row, ImportField::ManufName, v.manufName, 100);
    checkText(row, ImportField::ManufCode, v.manufCode, 50);
    if (row.isGiven(ImportField::Name) && productNameHasForbiddenChars(row.of(ImportField::Name)))
        refuse(row, ImportField::Name, PROD_NAME_CHAR_ERR);
    if (!v.barcode.isEmpty() && !productBarcodeCheckDigitValid(v.barcode))
        refuse(row, ImportField::Barcode, IMP_BARCODE_ERR.arg(v.barcode));
    if (row.isGiven(ImportField::InputPriceCurrency)) {
        const QString code = row.of(ImportField::InputPriceCurrency).toUpper();
        if (!code.isEmpty() && !m_refs.currencies.contains(code))
            refuse(row, ImportField::InputPriceCurrency, IMP_CURRENCY_ERR.arg(row.of(ImportField::InputPriceCurrency)));
        else
            v.inputPriceCurrency = code;
    }
    if (row.isFilled(ImportField::Active) && !readImportBoolean(row.of(ImportField::Active), v.active))
        refuse(row, ImportField::Active, IMP_BOOLEAN_ERR.arg(row.of(ImportField::Active)));
    checkTax(row);
    checkPrices(row);
    checkCategories(row);
}

void ImportRun::checkTax(ImportRow& row)
{
    ProductValues& v = row.values;
    const ImportReferences::Tax* byRate = nullptr;
    const ImportReferences::Tax* byName = nullptr;
    if (row.isFilled(ImportField::TaxRate)) {
        double rate = 0;
        QString text = row.of(ImportField::TaxRate);
        text.remove(QLatin1Char('%'));
        QString error;
        if (!readImportNumber(text, rate, &error)) {
            refuse(row, ImportField::TaxRate, error);
            return;
        }
        for (const ImportReferences::Tax& tax : m_refs.taxes) {
            if (tarvex::IsZero6(tax.value - rate) && (!byRate || tax.primary))
                byRate = &tax;
        }
        if (!byRate) {
            refuse(row, ImportField::TaxRate, IMP_TAX_RATE_ERR.arg(shown(rate)));
            return;
        }
    }
    if (row.isFilled(ImportField::TaxName)) {
        const QString name = row.of(ImportField::TaxName);
        for (const ImportReferences::Tax& tax : m_refs.taxes) {
            if (tax.name == name)
                byName = &tax;
        }
        for (const ImportReferences::Tax& tax : m_refs.taxes) {
            if (!byName && tax.name.compare(name, Qt::CaseInsensitive) == 0)
                byName = &tax;
        }
        if (!byName) {
            refuse(row, ImportField::TaxName, IMP_TAX_NAME_ERR.arg(name));
            return;
        }
    }
    if (byRate && byName && !tarvex::IsZero6(byRate->value - byName->value)) {
        refuse(row, ImportField::TaxName, IMP_TAX_MISMATCH_ERR.arg(byName->name, shown(byRate->value)));
        return;
    }
    const ImportReferences::Tax* tax = byName ? byName : byRate;
    if (tax) {
        v.taxId = tax->id;
        v.taxValue = tax->value;
    }
}

void ImportRun::checkPrices(ImportRow& row)
{
    ProductValues& v = row.values;
    auto number = [&](ImportField field, std::optional<double>& target) {
        if (!row.isFilled(field))
            return true;
        double value = 0;
        QString error;
        if (!readImportNumber(row.of(field), value, &error)) {
            refuse(row, field, error);
            return false;
        }
        target = value;
        return true;
    };
    std::optional<double> price;
    std::optional<double> withVat;
    std::optional<double> input;
    std::optional<double> recommended;
    number(ImportField::Price, price);
    number(ImportField::PriceWithVat, withVat);
    number(ImportField::InputPrice, input);
    number(ImportField::RecommendedPrice, recommended);
    if (input)
        v.inputPrice = tarvex::BetterRoundTo(*input, -6);
    if (recommended)
        v.recommendedPrice = recommended;
    if (price)
        v.price = productPriceRounded(*price);
    if (withVat && v.taxId > 0) {
        if (!price)
            v.price = productPriceFromPriceWithVat(*withVat, v.taxValue);
        else if (!tarvex::IsZero6(productPriceWithVat(v.price, v.taxValue) - productPriceWithVatRounded(*withVat)))
            refuse(row, ImportField::PriceWithVat, IMP_PRICE_MISMATCH_ERR.arg(shown(v.taxValue)));
    }
}

void ImportRun::checkCategories(ImportRow& row)
{
    if (!row.isGiven(ImportField::Categories))
        return;
    QStringList paths;
    CatPathsToStrings(row.of(ImportField::Categories), paths);
    QList<qint64>& ids = row.values.categories;
    for (const QString& written : paths) {
        if (written.trimmed().isEmpty())
            continue;
        QStringList levels = written.split(QLatin1Char('>'));
        bool valid = true;
        for (QString& level : levels) {
            level = level.trimmed();
            if (level.isEmpty())
                valid = false;
            else if (level.size() > 50) {
                refuse(row, ImportField::Categories, IMP_CATEGORY_NAME_ERR.arg(level));
                return;
            }
        }
        if (!valid) {
            refuse(row, ImportField::Categories, IMP_CATEGORY_PATH_ERR.arg(written));
            return;
        }
        const QString path = levels.join(QLatin1Char('>'));
        if (const CategoryNode* node = m_tree->pathToNode(path)) {
            if (m_options.OnlyLowestProductCategoryAllowed && !node->children.empty()) {
                refuse(row, ImportField::Categories, PROD_CAT_PR_LOWEST_ERR);
                return;
            }
            ids << node->id;
            continue;
        }
        if (!m_settings.createCategories) {
            refuse(row, ImportField::Categories, IMP_CATEGORY_MISSING_ERR.arg(path));
            return;
        }
        // Every level still missing is made, the upper ones first.
        for (int depth = 1; depth <= levels.size(); ++depth) {
            const QString upper = levels.mid(0, depth).join(QLatin1Char('>'));
            if (!m_tree->pathToNode(upper) && !m_newPathIndex.contains(upper)) {
                m_newPathIndex.insert(upper, int(outcome.newCategories.size()));
                outcome.newCategories << upper;
            }
        }
        ids << -(qint64(m_newPathIndex.value(path)) + 1);
    }
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
}

// --- the entry points

namespace {
// What the import did, for the log: counts only, never a file's path or a row's text.
void logOutcome(const char* what, const ImportOutcome& outcome)
{
    qCInfo(tarvex::lcImport).noquote() << QStringLiteral("%1: %2 rows, %3 new, %4 changed, %5 unchanged, %6 refused%7")
                                              .arg(QLatin1String(what))
                                              .arg(outcome.rows)
                                              .arg(outcome.added)
                                              .arg(outcome.changed)
                                              .arg(outcome.unchanged)
                                              .arg(outcome.refusedRows().size())
                                              .arg(outcome.written ? QStringLiteral(", written") : QString());
}
} // namespace

ProductImport::ProductImport(tarvex::Connection& connection, const TProductOptions& options)
    : m_connection(connection), m_options(options)
{
}

ImportOutcome ProductImport::check(const ImportSettings& settings, const TProgress& progress)
{
    ImportRun run(m_connection, m_options, settings, progress);
    run.check();
    run.dropRowTables();
    logOutcome("Import checked", run.outcome);
    return run.outcome;
}

ImportOutcome ProductImport::run(const ImportSettings& settings, const TProgress& progress)
{
    ImportOutcome result;
    tarvex::writeTransaction(m_connection, [&] {
        // Each attempt reads the file again: a retry is rare, a half-checked state worse.
        ImportRun run(m_connection, m_options, settings, progress);
        // Codes and barcodes are checked and taken under the lock the editor's
        // save takes, before anything else is read.
        lockIdentifiers(m_connection, kProductIdentifiers);
        run.check();
        if (run.outcome.refusals.isEmpty() || settings.onlyValid) {
            run.write();
            run.outcome.written = true;
        }
        run.dropRowTables();
        result = run.outcome;
    }, QStringLiteral("Product import"));
    logOutcome(result.written ? "Import done" : "Import refused, nothing written", result);
    return result;
}

QList<QStringList> importPreview(const QString& path, const ImportFormat& format, int rows)
{
    QList<QStringList> preview;
    ImportFile::read(path, format, [&](int, const QStringList& cells) {
        preview << cells;
        return preview.size() < rows;
    });
    return preview;
}

} // namespace products
