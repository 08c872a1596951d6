// The checks of an import that need the database: which product each row
// matches, codes, barcodes and names that another product holds (or another
// row of the file), and the comparison with the stored products. The file's
// keys go into a temporary table, so that every comparison is the
// database's own (its collation), in a few statements for any file size.

#include "Importrows.h"

#include "Connection.h"
#include "HostStrings.h"
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

constexpr int kBatch = 500;

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

std::optional<double> optionalNumber(const QVariant& value)
{
    if (value.isNull())
        return std::nullopt;
    return value.toDouble();
}

} // namespace

void ImportRun::fillRowTable()
{
    m_connection.execute(QStringLiteral("DROP TEMPORARY TABLE IF EXISTS importrow"));
    m_connection.execute(QStringLiteral(
        "CREATE TEMPORARY TABLE importrow (rowno INT NOT NULL PRIMARY KEY, code VARCHAR(20) NULL, barcode VARCHAR(50) "
        "NULL, name VARCHAR(100) NULL, productid BIGINT NULL, KEY (code), KEY (barcode), KEY (productid)) "
        "ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci"));
    QVariantList values;
    int count = 0;
    auto flush = [&] {
        if (count == 0)
            return;
        QStringList marks(count, QStringLiteral("(?,?,?,?)"));
        m_connection.execute(QStringLiteral("INSERT INTO importrow (rowno, code, barcode, name) VALUES ") +
                                 marks.join(QLatin1Char(',')),
                             values);
        values.clear();
        count = 0;
    };
    for (const ImportRow& row : m_rows) {
        values << row.number << textOrNull(row.values.code) << textOrNull(row.values.barcode)
               << textOrNull(row.values.name);
        if (++count == kBatch)
            flush();
    }
    flush();
}

void ImportRun::matchRows()
{
    struct Found {
        qint64 id = 0;
        int count = 0;
    };
    auto matches = [&](const QString& column) {
        QHash<int, Found> found;
        QSqlQuery query = m_connection.select(
            QStringLiteral("SELECT r.rowno, MIN(p.productid), COUNT(*) FROM importrow AS r INNER JOIN product AS p ON "
                           "p.%1 = r.%1 GROUP BY r.rowno")
                .arg(column));
        while (query.next())
            found.insert(query.value(0).toInt(), Found{query.value(1).toLongLong(), query.value(2).toInt()});
        return found;
    };
    const QHash<int, Found> byCode = matches(QStringLiteral("code"));
    const QHash<int, Found> byBarcode = matches(QStringLiteral("barcode"));
    QHash<qint64, int> firstRowOf;
    QVariantList values;
    int count = 0;
    auto flush = [&] {
        if (count == 0)
            return;
        QStringList marks(count, QStringLiteral("(?,?)"));
        m_connection.execute(QStringLiteral("INSERT INTO importrow (rowno, productid) VALUES ") +
                                 marks.join(QLatin1Char(',')) +
                                 QStringLiteral(" ON DUPLICATE KEY UPDATE productid = VALUES(productid)"),
                             values);
        values.clear();
        count = 0;
    };
    for (ImportRow& row : m_rows) {
        Found found = byCode.value(row.number);
        QString key = row.values.code;
        ImportField field = ImportField::Code;
        if (found.count == 0) {
            found = byBarcode.value(row.number);
            key = row.values.barcode;
            field = ImportField::Barcode;
        }
        if (found.count > 1) {
            refuse(row, field, IMP_AMBIGUOUS_ERR.arg(key));
            continue;
        }
        if (found.count == 0)
            continue;
        if (firstRowOf.contains(found.id)) {
            refuseRow(row, IMP_SAME_PRODUCT_ERR.arg(firstRowOf.value(found.id)));
            continue;
        }
        firstRowOf.insert(found.id, row.number);
        row.productId = found.id;
        values << row.number << found.id;
        if (++count == kBatch)
            flush();
    }
    flush();
}

void ImportRun::checkUnique(const QString& column, ImportField field)
{
    // Held by a product other than the row's own.
    QSqlQuery taken = m_connection.select(
        QStringLiteral("SELECT r.rowno, r.%1, MIN(p.name) FROM importrow AS r INNER JOIN product AS p ON p.%1 = r.%1 "
                       "AND p.productid <> COALESCE(r.productid, 0) GROUP BY r.rowno, r.%1")
            .arg(column));
    while (taken.next()) {
        ImportRow& row = m_rows[m_byNumber.value(taken.value(0).toInt())];
        refuse(row, field, IMP_TAKEN_ERR.arg(taken.value(1).toString(), taken.value(2).toString()));
    }
    // Held by an earlier row of the file.
    QSqlQuery twice = m_connection.select(
        QStringLiteral("SELECT GROUP_CONCAT(rowno ORDER BY rowno SEPARATOR ','), MIN(%1) FROM importrow WHERE %1 IS "
                       "NOT NULL GROUP BY %1 HAVING COUNT(*) > 1")
            .arg(column));
    while (twice.next()) {
        const QStringList numbers = twice.value(0).toString().split(QLatin1Char(','));
        for (int i = 1; i < numbers.size(); ++i) {
            ImportRow& row = m_rows[m_byNumber.value(numbers[i].toInt())];
            refuse(row, field, IMP_FILE_DUPLICATE_ERR.arg(twice.value(1).toString(), numbers.first()));
        }
    }
}

void ImportRun::checkNamePrefixes()
{
    const int n = m_options.UniqueProductNameCharsNum;
    m_connection.execute(QStringLiteral("DROP TEMPORARY TABLE IF EXISTS importname"));
    m_connection.execute(QStringLiteral(
        "CREATE TEMPORARY TABLE importname (prefix VARCHAR(100) NOT NULL, productid BIGINT NOT NULL, name "
        "VARCHAR(100) NOT NULL, KEY (prefix)) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci"));
    m_connection.execute(QStringLiteral("INSERT INTO importname SELECT LEFT(name, ?), productid, name FROM product"), {n});
    QSqlQuery taken = m_connection.select(
        QStringLiteral("SELECT r.rowno, MIN(x.name) FROM importrow AS r INNER JOIN importname AS x ON x.prefix = "
                       "LEFT(r.name, ?) AND x.productid <> COALESCE(r.productid, 0) GROUP BY r.rowno"),
        {n});
    while (taken.next()) {
        ImportRow& row = m_rows[m_byNumber.value(taken.value(0).toInt())];
        refuse(row, ImportField::Name, IMP_NAME_TAKEN_ERR.arg(taken.value(1).toString()).arg(n));
    }
    QSqlQuery twice = m_connection.select(
        QStringLiteral("SELECT GROUP_CONCAT(rowno ORDER BY rowno SEPARATOR ','), MIN(name) FROM importrow WHERE name "
                       "IS NOT NULL GROUP BY LEFT(name, ?) HAVING COUNT(*) > 1"),
        {n});
    while (twice.next()) {
        const QStringList numbers = twice.value(0).toString().split(QLatin1Char(','));
        for (int i = 1; i < numbers.size(); ++i) {
            ImportRow& row = m_rows[m_byNumber.value(numbers[i].toInt())];
            refuse(row, ImportField::Name, IMP_FILE_DUPLICATE_ERR.arg(twice.value(1).toString(), numbers.first()));
        }
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
    // The links and stock of the matched products first; then each stored
    // product is compared as it is read, so the catalogue is never held twice.
    QHash<int, QList<qint64>> categories;
    QSqlQuery links = m_connection.select(QStringLiteral(
        "SELECT r.rowno, c.categoryprid FROM importrow AS r INNER JOIN productcategorypr AS c ON c.productid = "
        "r.productid"));
    while (links.next())
        categories[links.value(0).toInt()] << links.value(1).toLongLong();
    QSet<int> withStock;
    QSqlQuery stock = m_connection.select(QStringLiteral(
        "SELECT r.rowno, SUM(w.amount) FROM importrow AS r INNER JOIN productwarehouse AS w ON w.productid = "
        "r.productid GROUP BY r.rowno"));
    while (stock.next()) {
        if (!tarvex::IsZero6(stock.value(1).toDouble()))
            withStock.insert(stock.value(0).toInt());
    }
    QSqlQuery products = m_connection.select(QStringLiteral(
        "SELECT r.rowno, p.name, p.code, p.barcode, p.unitname, p.foreignname, p.manufname, p.manufcode, p.taxid, "
        "t.value, p.price, p.pricecurrency, p.inputprice, p.inputpricecurrency, p.recommendedprice, p.supplyprice, "
        "p.planprice, p.active, p.type, p.kasaplu FROM importrow AS r INNER JOIN product AS p ON p.productid = "
        "r.productid LEFT JOIN tax AS t ON t.taxid = p.taxid"));
    while (products.next()) {
        ImportRow& row = m_rows[m_byNumber.value(products.value(0).toInt())];
        if (row.refused)
            continue;
        ProductValues v;
        v.name = products.value(1).toString();
        v.code = products.value(2).toString();
        v.barcode = products.value(3).toString();
        v.unit = products.value(4).toString();
        v.foreignName = products.value(5).toString();
        v.manufName = products.value(6).toString();
        v.manufCode = products.value(7).toString();
        v.taxId = products.value(8).toLongLong();
        v.taxValue = products.value(9).toDouble();
        v.price = products.value(10).toDouble();
        v.priceCurrency = products.value(11).toString();
        v.inputPrice = optionalNumber(products.value(12));
        v.inputPriceCurrency = products.value(13).toString();
        v.recommendedPrice = optionalNumber(products.value(14));
        v.supplyPrice = optionalNumber(products.value(15));
        v.planPrice = optionalNumber(products.value(16));
        v.active = products.value(17).toString() != u"n";
        v.type = products.value(18).toString();
        v.kasaPlu = products.value(19);
        v.categories = categories.take(row.number);
        compareRow(row, std::move(v), withStock.contains(row.number));
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
    const bool taxGiven = (row.isGiven(ImportField::TaxRate) && !row.of(ImportField::TaxRate).isEmpty()) ||
                          (row.isGiven(ImportField::TaxName) && !row.of(ImportField::TaxName).isEmpty());
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
    const bool priceGiven = (row.isGiven(ImportField::Price) && !row.of(ImportField::Price).isEmpty()) ||
                            (row.isGiven(ImportField::PriceWithVat) && !row.of(ImportField::PriceWithVat).isEmpty());
    if (row.isGiven(ImportField::Price) || row.isGiven(ImportField::PriceWithVat)) {
        double price = asked.price;
        // A price with tax alone follows the row's tax, or the product's.
        if (row.isGiven(ImportField::PriceWithVat) && !row.of(ImportField::PriceWithVat).isEmpty() &&
            !(row.isGiven(ImportField::Price) && !row.of(ImportField::Price).isEmpty())) {
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
    if (row.isGiven(ImportField::Active) && !row.of(ImportField::Active).isEmpty() && base.active != asked.active) {
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
