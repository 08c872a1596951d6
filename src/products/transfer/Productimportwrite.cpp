// Writing an import: the categories it makes, then each new product (with
// its detail row and category links) and each change, inside the caller's
// transaction. Every value went through the checks before; the writes are
// the data module's: the same columns and defaults as the editor's save.

#include "Importrows.h"

#include "Categorytree.h"
#include "Connection.h"
#include "Productidentifiers.h"

#include <QSqlQuery>

namespace products {

namespace {

QVariant textOrNull(const QString& text)
{
    return text.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(text);
}

QVariant numberOrNull(const std::optional<double>& value)
{
    return value ? QVariant(*value) : QVariant(QMetaType(QMetaType::Double));
}

QString yesNo(bool value)
{
    return value ? QStringLiteral("y") : QStringLiteral("n");
}

} // namespace

void ImportRun::write()
{
    const QList<qint64> made = makeCategories();
    m_made = made;
    int done = 0;
    for (ImportRow& row : m_rows) {
        if (row.refused || (row.productId && row.changes == 0))
            continue;
        if (row.productId)
            updateProduct(row, made);
        else
            insertProduct(row, made);
        if (++done % 500 == 0)
            tell(QStringLiteral("Upis"), done);
    }
    flushPending();
    tell(QStringLiteral("Upis"), done);
}

QList<qint64> ImportRun::makeCategories()
{
    // Only what a row to be written names, with the levels above it.
    QSet<int> needed;
    for (const ImportRow& row : m_rows) {
        if (row.refused)
            continue;
        for (const qint64 id : row.values.categories) {
            if (id >= 0)
                continue;
            const QString path = outcome.newCategories[int(-id - 1)];
            const QStringList levels = path.split(QLatin1Char('>'));
            for (int depth = 1; depth <= levels.size(); ++depth) {
                const QString upper = levels.mid(0, depth).join(QLatin1Char('>'));
                if (m_newPathIndex.contains(upper))
                    needed.insert(m_newPathIndex.value(upper));
            }
        }
    }
    QList<qint64> made(outcome.newCategories.size(), 0);
    QStringList madePaths;
    for (int i = 0; i < outcome.newCategories.size(); ++i) {
        if (!needed.contains(i))
            continue;
        const QString& path = outcome.newCategories[i];
        const qsizetype cut = path.lastIndexOf(QLatin1Char('>'));
        qint64 parent = 0;
        if (cut >= 0) {
            const QString upper = path.left(cut);
            if (m_newPathIndex.contains(upper))
                parent = made[m_newPathIndex.value(upper)];
            else if (const CategoryNode* node = m_tree->pathToNode(upper))
                parent = node->id;
        }
        m_connection.execute(QStringLiteral("INSERT INTO categorypr SET name = ?, parentid = ?"),
                             {path.mid(cut + 1), parent});
        made[i] = m_connection.lastInsertId();
        madePaths << path;
    }
    outcome.newCategories = madePaths;
    return made;
}

void ImportRun::writeCategories(qint64 productId, const QList<qint64>& categories, const QList<qint64>& made)
{
    if (categories.isEmpty())
        return;
    QStringList marks;
    QVariantList values;
    for (const qint64 id : categories) {
        marks << QStringLiteral("(?,?)");
        values << productId << (id < 0 ? made[int(-id - 1)] : id);
    }
    m_connection.execute(QStringLiteral("INSERT INTO productcategorypr (productid, categoryprid) VALUES ") +
                             marks.join(QLatin1Char(',')),
                         values);
}

void ImportRun::insertProduct(ImportRow& row, const QList<qint64>&)
{
    ProductValues& v = row.values;
    if (v.code.isEmpty() && m_options.AutoProductCode && !m_options.AutoProductCodeFormat.isEmpty())
        v.code = nextFreeProductCode(m_connection, m_options.AutoProductCodeFormat, 0);
    if (v.barcode.isEmpty() && m_options.AutoProductBarcode)
        v.barcode = nextFreeProductBarcode(m_connection, m_options.AutoProductCodeFormat, 0);
    m_newRows << &row;
    // A generated code must be in the table before the next one is sought.
    const bool generating = m_options.AutoProductCode || m_options.AutoProductBarcode;
    if (m_newRows.size() >= insertBatch() || generating)
        flushPending();
}

int ImportRun::insertBatch()
{
    if (m_batch == 0) {
        // New products go in by the hundred when the server numbers the rows
        // of one statement consecutively (lock modes 0 and 1); a Galera node
        // interleaves them (mode 2), so there each row is a statement of its own.
        QSqlQuery modes = m_connection.select(
            QStringLiteral("SELECT @@innodb_autoinc_lock_mode, @@auto_increment_increment"));
        const bool consecutive = modes.next() && modes.value(0).toInt() != 2;
        m_batch = consecutive ? 500 : 1;
        m_idStep = consecutive ? qMax(1, modes.value(1).toInt()) : 1;
    }
    return m_batch;
}

void ImportRun::insertNewRows(const QList<qint64>& made)
{
    if (m_newRows.isEmpty())
        return;
    static const QString columns = QStringLiteral(
        "INSERT INTO product (active, barcode, code, name, foreignname, type, unitname, taxid, price, pricecurrency, "
        "inputprice, inputpricecurrency, supplyprice, planprice, recommendedprice, rebate, manufname, manufcode, "
        "serialnumbers, kasasort) VALUES ");
    static const QString marks = QStringLiteral("(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,0,?,?,0,0)");
    const int count = int(m_newRows.size());
    std::unique_ptr<QSqlQuery> own;
    QSqlQuery* insert = nullptr;
    if (count == m_batch) {
        // The full batch's statement is prepared once.
        if (!m_insert)
            m_insert = std::make_unique<QSqlQuery>(
                m_connection.prepare(columns + QStringList(count, marks).join(QLatin1Char(','))));
        insert = m_insert.get();
    } else {
        own = std::make_unique<QSqlQuery>(m_connection.prepare(columns + QStringList(count, marks).join(QLatin1Char(','))));
        insert = own.get();
    }
    int at = 0;
    for (const ImportRow* row : std::as_const(m_newRows)) {
        const ProductValues& v = row->values;
        for (const QVariant& value :
             {QVariant(yesNo(v.active)), textOrNull(v.barcode), textOrNull(v.code), QVariant(v.name),
              textOrNull(v.foreignName), QVariant(v.type), QVariant(v.unit), QVariant(v.taxId), QVariant(v.price),
              QVariant(v.priceCurrency), numberOrNull(v.inputPrice), textOrNull(v.inputPriceCurrency),
              numberOrNull(v.supplyPrice), numberOrNull(v.planPrice), numberOrNull(v.recommendedPrice),
              textOrNull(v.manufName), textOrNull(v.manufCode)})
            insert->bindValue(at++, value);
    }
    m_connection.exec(*insert);
    const qint64 first = insert->lastInsertId().toLongLong();
    for (int i = 0; i < count; ++i) {
        ImportRow& row = *m_newRows[i];
        row.productId = first + qint64(i) * m_idStep;
        // Every product has its detail row.
        m_details << row.productId;
        for (const qint64 id : row.values.categories)
            m_links << qMakePair(row.productId, id < 0 ? made[int(-id - 1)] : id);
    }
    m_newRows.clear();
}

void ImportRun::flushPending()
{
    insertNewRows(m_made);
    if (!m_details.isEmpty()) {
        QStringList marks(m_details.size(), QStringLiteral("(?)"));
        QVariantList values;
        for (const qint64 id : m_details)
            values << id;
        m_connection.execute(QStringLiteral("INSERT INTO productdetail (productid) VALUES ") + marks.join(QLatin1Char(',')),
                             values);
        m_details.clear();
    }
    for (qsizetype from = 0; from < m_links.size(); from += 500) {
        const qsizetype count = qMin<qsizetype>(500, m_links.size() - from);
        QStringList marks(count, QStringLiteral("(?,?)"));
        QVariantList values;
        for (qsizetype i = from; i < from + count; ++i)
            values << m_links[i].first << m_links[i].second;
        m_connection.execute(QStringLiteral("INSERT INTO productcategorypr (productid, categoryprid) VALUES ") +
                                 marks.join(QLatin1Char(',')),
                             values);
    }
    m_links.clear();
}

void ImportRun::updateProduct(ImportRow& row, const QList<qint64>& made)
{
    const ProductValues& v = row.values;
    QStringList sets;
    QVariantList values;
    auto set = [&](const char* column, const QVariant& value) {
        sets << QStringLiteral("%1 = ?").arg(QLatin1String(column));
        values << value;
    };
    auto changed = [&](ImportField field) { return row.changes & (1u << int(field)); };
    if (changed(ImportField::Name))
        set("name", v.name);
    if (changed(ImportField::Code))
        set("code", textOrNull(v.code));
    if (changed(ImportField::Barcode))
        set("barcode", textOrNull(v.barcode));
    if (changed(ImportField::Unit))
        set("unitname", v.unit);
    if (changed(ImportField::ForeignName))
        set("foreignname", textOrNull(v.foreignName));
    if (changed(ImportField::ManufName))
        set("manufname", textOrNull(v.manufName));
    if (changed(ImportField::ManufCode))
        set("manufcode", textOrNull(v.manufCode));
    if (changed(ImportField::TaxRate) || changed(ImportField::TaxName))
        set("taxid", v.taxId);
    if (changed(ImportField::Price) || changed(ImportField::PriceWithVat))
        set("price", v.price);
    if (changed(ImportField::InputPrice))
        set("inputprice", numberOrNull(v.inputPrice));
    if (changed(ImportField::InputPriceCurrency))
        set("inputpricecurrency", textOrNull(v.inputPriceCurrency));
    if (changed(ImportField::RecommendedPrice))
        set("recommendedprice", numberOrNull(v.recommendedPrice));
    if (changed(ImportField::Active))
        set("active", yesNo(v.active));
    if (!sets.isEmpty()) {
        values << row.productId;
        // One prepared statement per set of changed columns.
        const QString sql =
            QStringLiteral("UPDATE product SET ") + sets.join(QStringLiteral(", ")) + QStringLiteral(" WHERE productid = ?");
        std::shared_ptr<QSqlQuery>& update = m_updates[sql];
        if (!update)
            update = std::make_shared<QSqlQuery>(m_connection.prepare(sql));
        for (int i = 0; i < values.size(); ++i)
            update->bindValue(i, values[i]);
        m_connection.exec(*update);
    }
    if (changed(ImportField::Categories)) {
        m_connection.execute(QStringLiteral("DELETE FROM productcategorypr WHERE productid = ?"), {row.productId});
        writeCategories(row.productId, v.categories, made);
    }
}

} // namespace products
