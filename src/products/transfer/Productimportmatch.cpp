// The checks of an import that need the database: which product each row
// matches, codes, barcodes and names that another product holds (or another
// row of the file), and the comparison with the stored products. The file's
// keys go into a temporary table, so that every comparison is the
// database's own (its collation), in a few statements for any file size:
// the holders of each key are read once, and the rows that may clash with a
// product other than their own are checked again in SQL with their own ids
// beside them (importown), which in a clean file are none.

#include "Importrows.h"

#include "Connection.h"
#include "HostStrings.h"
#include "NativeRows.h"
#include "Productresourcestring.h"
#include "Productrules.h"
#include "Rounding.h"

#include <QSqlQuery>

namespace products {

namespace {

const QString IMP_TAKEN_ERR = QStringLiteral("\"%1\" već ima proizvod \"%2\".");
const QString IMP_NAME_TAKEN_ERR = QStringLiteral("Ime se poklapa sa proizvodom \"%1\" u prvih %2 znakova.");
const QString IMP_FILE_DUPLICATE_ERR = QStringLiteral("\"%1\" je već u redu %2.");
const QString IMP_SAME_PRODUCT_ERR = QStringLiteral("Isti proizvod je već u redu %1.");
const QString IMP_AMBIGUOUS_ERR = QStringLiteral("Više proizvoda ima \"%1\"; red ne može da se upari.");

// Rows per INSERT into a temporary table, ids per IN list.
constexpr int kBatch = 2000;
constexpr int kIdBatch = 1000;

QVariant textOrNull(const QString& text)
{
    return text.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(text);
}

bool sameNumber(const std::optional<double>& a, const std::optional<double>& b)
{
    if (!a || !b)
        return bool(a) == bool(b);
    return tarvex::IsZero6(*a - *b);
}

std::optional<double> optionalNumber(const tarvex::NativeRows& rows, int column)
{
    if (rows.isNull(column))
        return std::nullopt;
    return rows.number(column);
}

// The ids as the text of an IN list.
QString idList(const std::vector<qint64>& ids, size_t from, size_t to)
{
    QString text;
    text.reserve(qsizetype(to - from) * 8);
    for (size_t i = from; i < to; ++i) {
        if (i > from)
            text += QLatin1Char(',');
        text += QString::number(ids[i]);
    }
    return text;
}

} // namespace

BatchInsert::BatchInsert(tarvex::Connection& connection, QString head, int columns)
    : m_connection(connection), m_head(std::move(head)), m_columns(columns)
{
}

void BatchInsert::add(const QVariantList& row)
{
    m_values << row;
    if (++m_count == kBatch)
        flush();
}

void BatchInsert::flush()
{
    if (m_count == 0)
        return;
    QStringList marks(m_columns, QStringLiteral("?"));
    const QString one = QLatin1Char('(') + marks.join(QLatin1Char(',')) + QLatin1Char(')');
    m_connection.execute(m_head + QStringList(m_count, one).join(QLatin1Char(',')), m_values);
    m_values.clear();
    m_count = 0;
}

void ImportRun::dropRowTables()
{
    m_connection.execute(QStringLiteral("DROP TEMPORARY TABLE IF EXISTS importrow, importown"));
}

void ImportRun::createRowTables()
{
    dropRowTables();
    m_connection.execute(QStringLiteral(
        "CREATE TEMPORARY TABLE importrow (rowno INT NOT NULL PRIMARY KEY, code VARCHAR(20) NULL, barcode VARCHAR(50) "
        "NULL, name VARCHAR(100) NULL, KEY (code), KEY (barcode)) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 "
        "COLLATE=utf8mb4_unicode_ci"));
    m_connection.execute(QStringLiteral(
        "CREATE TEMPORARY TABLE importown (rowno INT NOT NULL PRIMARY KEY, productid BIGINT NOT NULL) ENGINE=InnoDB"));
    // The names only for the check that compares them.
    m_staging = std::make_unique<BatchInsert>(
        m_connection,
        m_options.UniqueProductNameCharsNum > 0
            ? QStringLiteral("INSERT INTO importrow (rowno, code, barcode, name) VALUES ")
            : QStringLiteral("INSERT INTO importrow (rowno, code, barcode) VALUES "),
        m_options.UniqueProductNameCharsNum > 0 ? 4 : 3);
}

void ImportRun::stageRow(const ImportRow& row)
{
    if (m_options.UniqueProductNameCharsNum > 0)
        m_staging->add({row.number, textOrNull(row.values.code), textOrNull(row.values.barcode),
                        textOrNull(row.values.name)});
    else
        m_staging->add({row.number, textOrNull(row.values.code), textOrNull(row.values.barcode)});
}

void ImportRun::finishStaging()
{
    m_staging->flush();
    m_staging.reset();
    m_owned.assign(m_rows.size(), false);
}

std::vector<ImportRun::Holders> ImportRun::holders(const QString& column)
{
    std::vector<Holders> found(m_rows.size());
    tarvex::NativeRows pairs = m_connection.readNative(
        QStringLiteral("SELECT r.rowno, p.productid FROM importrow AS r INNER JOIN product AS p ON p.%1 = r.%1")
            .arg(column));
    while (pairs.next()) {
        Holders& h = found[m_byNumber.value(int(pairs.integer(0)))];
        const qint64 id = pairs.integer(1);
        h.first = h.count == 0 ? id : qMin(h.first, id);
        ++h.count;
    }
    return found;
}

void ImportRun::matchRows()
{
    m_byCode = holders(QStringLiteral("code"));
    m_byBarcode = holders(QStringLiteral("barcode"));
    QHash<qint64, int> firstRowOf;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        ImportRow& row = m_rows[i];
        Holders found = m_byCode[i];
        QString key = row.values.code;
        ImportField field = ImportField::Code;
        if (found.count == 0) {
            found = m_byBarcode[i];
            key = row.values.barcode;
            field = ImportField::Barcode;
        }
        if (found.count > 1) {
            refuse(row, field, IMP_AMBIGUOUS_ERR.arg(key));
            continue;
        }
        if (found.count == 0)
            continue;
        if (firstRowOf.contains(found.first)) {
            refuseRow(row, IMP_SAME_PRODUCT_ERR.arg(firstRowOf.value(found.first)));
            continue;
        }
        firstRowOf.insert(found.first, row.number);
        row.productId = found.first;
    }
}

void ImportRun::addOwnIds(const std::vector<size_t>& rows)
{
    BatchInsert insert(m_connection, QStringLiteral("INSERT INTO importown (rowno, productid) VALUES "), 2);
    for (const size_t i : rows) {
        if (m_owned[i])
            continue;
        m_owned[i] = true;
        insert.add({m_rows[i].number, m_rows[i].productId});
    }
    insert.flush();
}

void ImportRun::checkUnique(const QString& column, ImportField field, const std::vector<Holders>& holders)
{
    // Held by a product other than the row's own: only a row whose value
    // some product holds, and not its own product alone, can be.
    std::vector<size_t> clashing;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const Holders& h = holders[i];
        if (h.count > 0 && !(h.count == 1 && h.first == m_rows[i].productId))
            clashing.push_back(i);
    }
    if (!clashing.empty()) {
        addOwnIds(clashing);
        QSqlQuery taken = m_connection.select(
            QStringLiteral("SELECT r.rowno, r.%1, MIN(p.name) FROM importown AS o INNER JOIN importrow AS r ON r.rowno "
                           "= o.rowno INNER JOIN product AS p ON p.%1 = r.%1 AND p.productid <> o.productid GROUP BY "
                           "r.rowno, r.%1")
                .arg(column));
        while (taken.next()) {
            ImportRow& row = m_rows[m_byNumber.value(taken.value(0).toInt())];
            refuse(row, field, IMP_TAKEN_ERR.arg(taken.value(1).toString(), taken.value(2).toString()));
        }
    }
    // Held by an earlier row of the file: the first such row, as written there.
    QSqlQuery twice = m_connection.select(
        QStringLiteral("SELECT rowno, first, value FROM (SELECT rowno, FIRST_VALUE(rowno) OVER w AS first, "
                       "FIRST_VALUE(%1) OVER w AS value FROM importrow WHERE %1 IS NOT NULL WINDOW w AS (PARTITION BY "
                       "%1 ORDER BY rowno)) AS x WHERE rowno > first")
            .arg(column));
    while (twice.next()) {
        ImportRow& row = m_rows[m_byNumber.value(twice.value(0).toInt())];
        refuse(row, field, IMP_FILE_DUPLICATE_ERR.arg(twice.value(2).toString(), twice.value(1).toString()));
    }
}

void ImportRun::checkNamePrefixes()
{
    const int n = m_options.UniqueProductNameCharsNum;
    // Every matched row's own product may share its own name.
    std::vector<size_t> matched;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].productId)
            matched.push_back(i);
    }
    addOwnIds(matched);
    m_connection.execute(QStringLiteral("DROP TEMPORARY TABLE IF EXISTS importname"));
    m_connection.execute(QStringLiteral(
        "CREATE TEMPORARY TABLE importname (prefix VARCHAR(100) NOT NULL, productid BIGINT NOT NULL, name "
        "VARCHAR(100) NOT NULL, KEY (prefix)) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci"));
    m_connection.execute(QStringLiteral("INSERT INTO importname SELECT LEFT(name, ?), productid, name FROM product"), {n});
    QSqlQuery taken = m_connection.select(
        QStringLiteral("SELECT r.rowno, MIN(x.name) FROM importrow AS r LEFT JOIN importown AS o ON o.rowno = r.rowno "
                       "INNER JOIN importname AS x ON x.prefix = LEFT(r.name, ?) AND x.productid <> COALESCE(o.productid, "
                       "0) GROUP BY r.rowno"),
        {n});
    while (taken.next()) {
        ImportRow& row = m_rows[m_byNumber.value(taken.value(0).toInt())];
        refuse(row, ImportField::Name, IMP_NAME_TAKEN_ERR.arg(taken.value(1).toString()).arg(n));
    }
    QSqlQuery twice = m_connection.select(
        QStringLiteral("SELECT rowno, first, value FROM (SELECT rowno, FIRST_VALUE(rowno) OVER w AS first, "
                       "FIRST_VALUE(name) OVER w AS value FROM importrow WHERE name IS NOT NULL WINDOW w AS (PARTITION "
                       "BY LEFT(name, ?) ORDER BY rowno)) AS x WHERE rowno > first"),
        {n});
    while (twice.next()) {
        ImportRow& row = m_rows[m_byNumber.value(twice.value(0).toInt())];
        refuse(row, ImportField::Name, IMP_FILE_DUPLICATE_ERR.arg(twice.value(2).toString(), twice.value(1).toString()));
    }
    m_connection.execute(QStringLiteral("DROP TEMPORARY TABLE importname"));
}

ProductValues ImportRun::newProduct(const ImportRow&) const
{
    // The defaults of a new product in the data module, and the editor's
    // currency; the row's values go over them.
    ProductValues v;
    v.active = true;
    v.type = QStringLiteral("r");
    v.inputPrice = 1.0;
    v.supplyPrice = 1.0;
    v.planPrice = 1.0;
    v.recommendedPrice = 1.0;
    v.unit = m_options.DefaultProductUnitName;
    v.priceCurrency = m_refs.homeCurrency;
    v.inputPriceCurrency = m_refs.homeCurrency;
    for (const ImportReferences::Tax& tax : m_refs.taxes) {
        if (tax.id == m_refs.defaultTaxId) {
            v.taxId = tax.id;
            v.taxValue = tax.value;
        }
    }
    return v;
}

void ImportRun::compareWithStored()
{
    // The matched products by their ids, a thousand a statement; their
    // links first, and the stock only of those a row would make inactive
    // (the one rule that asks for it). Each stored product is compared as
    // it is read, so the catalogue is never held twice.
    QHash<qint64, size_t> rowOf;
    std::vector<qint64> ids;
    std::vector<qint64> deactivated;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const ImportRow& row = m_rows[i];
        if (!row.productId || row.refused)
            continue;
        rowOf.insert(row.productId, i);
        ids.push_back(row.productId);
        if (row.isFilled(ImportField::Active) && !row.values.active)
            deactivated.push_back(row.productId);
    }
    std::vector<QList<qint64>> categories(m_rows.size());
    for (size_t from = 0; from < ids.size(); from += kIdBatch) {
        tarvex::NativeRows links = m_connection.readNative(
            QStringLiteral("SELECT productid, categoryprid FROM productcategorypr WHERE productid IN (%1)")
                .arg(idList(ids, from, qMin(ids.size(), from + kIdBatch))));
        while (links.next())
            categories[rowOf.value(links.integer(0))] << links.integer(1);
    }
    QSet<qint64> withStock;
    for (size_t from = 0; from < deactivated.size(); from += kIdBatch) {
        tarvex::NativeRows stock = m_connection.readNative(
            QStringLiteral("SELECT productid, SUM(amount) FROM productwarehouse WHERE productid IN (%1) GROUP BY productid")
                .arg(idList(deactivated, from, qMin(deactivated.size(), from + kIdBatch))));
        while (stock.next()) {
            if (!tarvex::IsZero6(stock.number(1)))
                withStock.insert(stock.integer(0));
        }
    }
    for (size_t from = 0; from < ids.size(); from += kIdBatch) {
        tarvex::NativeRows products = m_connection.readNative(QStringLiteral(
            "SELECT p.productid, p.name, p.code, p.barcode, p.unitname, p.foreignname, p.manufname, p.manufcode, "
            "p.taxid, t.value, p.price, p.pricecurrency, p.inputprice, p.inputpricecurrency, p.recommendedprice, "
            "p.supplyprice, p.planprice, p.active, p.type, p.kasaplu FROM product AS p LEFT JOIN tax AS t ON t.taxid "
            "= p.taxid WHERE p.productid IN (%1)")
                .arg(idList(ids, from, qMin(ids.size(), from + kIdBatch))));
        while (products.next()) {
            const size_t i = rowOf.value(products.integer(0));
            ImportRow& row = m_rows[i];
            ProductValues v;
            v.name = products.text(1);
            v.code = products.text(2);
            v.barcode = products.text(3);
            v.unit = products.text(4);
            v.foreignName = products.text(5);
            v.manufName = products.text(6);
            v.manufCode = products.text(7);
            v.taxId = products.integer(8);
            v.taxValue = products.number(9);
            v.price = products.number(10);
            v.priceCurrency = products.text(11);
            v.inputPrice = optionalNumber(products, 12);
            v.inputPriceCurrency = products.text(13);
            v.recommendedPrice = optionalNumber(products, 14);
            v.supplyPrice = optionalNumber(products, 15);
            v.planPrice = optionalNumber(products, 16);
            v.active = products.text(17) != u"n";
            v.type = products.text(18);
            v.kasaPlu = products.isNull(19) ? QVariant() : QVariant(products.integer(19));
            v.categories = std::move(categories[i]);
            compareRow(row, std::move(v), withStock.contains(row.productId));
        }
    }
    for (ImportRow& row : m_rows) {
        if (!row.refused && !row.productId)
            compareRow(row, newProduct(row), false);
    }
}

void ImportRun::compareRow(ImportRow& row, ProductValues base, bool hasStock)
{
    if (row.productId) {
        std::sort(base.categories.begin(), base.categories.end());
    }
    const ProductValues before = base;
    const ProductValues& asked = row.values;
    quint32 changes = 0;
    // An empty cell clears a stored value; a new product keeps its default.
    auto keepsDefault = [&](ImportField field) { return !row.productId && row.of(field).isEmpty(); };
    auto text = [&](ImportField field, QString ProductValues::*member) {
        if (row.isGiven(field) && !keepsDefault(field) && base.*member != asked.*member) {
            base.*member = asked.*member;
            changes |= 1u << int(field);
        }
    };
    text(ImportField::Name, &ProductValues::name);
    text(ImportField::Code, &ProductValues::code);
    text(ImportField::Barcode, &ProductValues::barcode);
    text(ImportField::Unit, &ProductValues::unit);
    text(ImportField::ForeignName, &ProductValues::foreignName);
    text(ImportField::ManufName, &ProductValues::manufName);
    text(ImportField::ManufCode, &ProductValues::manufCode);
    text(ImportField::InputPriceCurrency, &ProductValues::inputPriceCurrency);
    const bool taxGiven = row.isFilled(ImportField::TaxRate) || row.isFilled(ImportField::TaxName);
    if (row.isGiven(ImportField::TaxRate) || row.isGiven(ImportField::TaxName)) {
        if (!taxGiven) {
            if (row.productId)
                base.taxId = 0;
        } else if (base.taxId != asked.taxId) {
            base.taxId = asked.taxId;
            base.taxValue = asked.taxValue;
            changes |= 1u << int(row.isGiven(ImportField::TaxName) ? ImportField::TaxName : ImportField::TaxRate);
        }
    }
    const bool priceGiven = row.isFilled(ImportField::Price) || row.isFilled(ImportField::PriceWithVat);
    if (row.isGiven(ImportField::Price) || row.isGiven(ImportField::PriceWithVat)) {
        double price = asked.price;
        // A price with tax alone follows the row's tax, or the product's.
        if (row.isFilled(ImportField::PriceWithVat) && !row.isFilled(ImportField::Price)) {
            double withVat = 0;
            readImportNumber(row.of(ImportField::PriceWithVat), withVat);
            price = productPriceFromPriceWithVat(withVat, base.taxValue);
        }
        if (!priceGiven)
            price = 0;
        if (!tarvex::IsZero6(base.price - price)) {
            base.price = price;
            changes |= 1u << int(row.isGiven(ImportField::Price) ? ImportField::Price : ImportField::PriceWithVat);
        }
    } else if (!row.productId) {
        base.price = 0; // a new product's price comes from the file
    }
    auto number = [&](ImportField field, std::optional<double> ProductValues::*member) {
        if (row.isGiven(field) && !keepsDefault(field) && !sameNumber(base.*member, asked.*member)) {
            base.*member = asked.*member;
            changes |= 1u << int(field);
        }
    };
    number(ImportField::InputPrice, &ProductValues::inputPrice);
    number(ImportField::RecommendedPrice, &ProductValues::recommendedPrice);
    if (row.isFilled(ImportField::Active) && base.active != asked.active) {
        base.active = asked.active;
        changes |= 1u << int(ImportField::Active);
    }
    if (row.isGiven(ImportField::Categories) && base.categories != asked.categories) {
        base.categories = asked.categories;
        changes |= 1u << int(ImportField::Categories);
    }
    if (row.productId && changes == 0) {
        ++outcome.unchanged;
        return;
    }
    row.changes = changes;
    const bool activeEmpty = row.isGiven(ImportField::Active) && row.of(ImportField::Active).isEmpty();
    checkWhole(row, base, hasStock && before.active && !base.active);
    if (activeEmpty)
        refuse(row, ImportField::Active, tarvex::CMN_FIELD_REQUIRED_ERR.arg(importFieldCaption(ImportField::Active)));
    if (row.productId && !row.refused && row.productId &&
        m_options.ProductNameUnchangeable && !before.kasaPlu.isNull() && before.name != base.name)
        refuse(row, ImportField::Name, PROD_NAME_UNCHANGE_ERR);
    row.values = base;
    if (row.refused)
        return;
    if (row.productId) {
        ++outcome.changed;
        for (int f = 0; f < kImportFieldCount; ++f) {
            if (changes & (1u << f))
                ++outcome.changedByField[f];
        }
    } else {
        ++outcome.added;
    }
}

void ImportRun::checkWhole(ImportRow& row, const ProductValues& v, bool deactivatingWithStock)
{
    // The data module's validations of a product row, then the editor's checks.
    auto required = [&](ImportField field, bool empty, const QString& label) {
        if (empty)
            outcome.refusals << ImportRefusal{row.number, importFieldCaption(field),
                                              tarvex::CMN_FIELD_REQUIRED_ERR.arg(label)};
        row.refused = row.refused || empty;
        return !empty;
    };
    auto money = [&](ImportField field, const std::optional<double>& value, const QString& label) {
        if (!required(field, !value, label))
            return;
        if (!(*value > 0) || tarvex::IsZero6(*value))
            refuse(row, field, tarvex::CMN_FIELD_INVALIDE_ERR.arg(label));
    };
    required(ImportField::Name, v.name.isEmpty(), importFieldCaption(ImportField::Name));
    money(ImportField::Price, v.price != 0 ? std::optional<double>(v.price) : std::nullopt,
          importFieldCaption(ImportField::Price));
    money(ImportField::InputPrice, v.inputPrice, importFieldCaption(ImportField::InputPrice));
    required(ImportField::None, v.priceCurrency.isEmpty(), QStringLiteral("Moneta cene"));
    required(ImportField::InputPriceCurrency, v.inputPriceCurrency.isEmpty(),
             importFieldCaption(ImportField::InputPriceCurrency));
    required(row.isGiven(ImportField::TaxName) ? ImportField::TaxName : ImportField::TaxRate, v.taxId <= 0,
             importFieldCaption(ImportField::TaxName));
    money(ImportField::None, v.supplyPrice, QStringLiteral("Nabavna cena"));
    money(ImportField::None, v.planPrice, QStringLiteral("Planska cena"));
    required(ImportField::Unit, v.unit.isEmpty(), importFieldCaption(ImportField::Unit));

    if (m_options.ProductCodeRequired && v.code.isEmpty() && !(m_options.AutoProductCode && !row.productId))
        refuse(row, ImportField::Code, PROD_CODE_INVALIDE_ERR);
    if (m_options.ForeignNameRequired && v.foreignName.isEmpty())
        refuse(row, ImportField::ForeignName, PROD_FOREI_NAME_INVALIDE_ERR);
    if (m_options.ManufacturerNameRequired && v.manufName.isEmpty())
        refuse(row, ImportField::ManufName, PROD_MANUF_NAME_INVALIDE_ERR);
    if (deactivatingWithStock && v.type != u"u")
        refuse(row, ImportField::Active, PROD_ACTIVE_INVALIDE_ERR);
    if (m_options.ProductCategoryRequired && v.categories.isEmpty())
        refuse(row, ImportField::Categories, PROD_CAT_PR_INVALIDE_ERR);
}

} // namespace products
