#include "Turnoverdata.h"

#include "Bulkread.h"
#include "Collationorder.h"
#include "Connection.h"
#include "Controlsoff.h"
#include "Format.h"
#include "MemoryTable.h"
#include "Reportfields.h"
#include "Reportworker.h"

#include <QHash>
#include <QSqlQuery>
#include <algorithm>
#include <vector>

namespace products {

namespace {

// The posted stock documents up to the end of the period, then every
// document line, read in the order they are stored and summed here: the
// lines alone, without the join to their documents, are the cheapest pass
// the server can make over them. The dates are bound ("?": the start, then
// the end).
const QString kDocumentsSql = QStringLiteral(
    "SELECT documentid, documentdate < ? AS beforeperiod, direction, documenttype = 'I' AS transfer, "
    "IFNULL(warehouseid, -1), IFNULL(inwarehouseid, -1) FROM document WHERE documenttype IN ('R','K','V','L','F',"
    "'T','G','M','I','C','W') AND status = 'p' AND documentdate <= ?");
const QString kLinesSql = QStringLiteral("SELECT documentid, productid, quantity FROM documentitem");

// Warehouses and products by name, in the database's collation; the
// position is the order of the list.
const QString kWarehousesSql = QStringLiteral("SELECT warehouseid, name FROM warehouse %s ORDER BY name");
// In no order: sorting a hundred thousand names costs the server more than
// the client, which sorts them by their weights (TCollationOrder).
const QString kProductsSql =
    QStringLiteral("SELECT productid, name, code, unitname, type, WEIGHT_STRING(name) FROM product");

struct Named {
    qint64 id = 0;
    QVariant name;
};

struct Product {
    int position = 0;
    QVariant name;
    QVariant code;
    QVariant unitName;
    bool service = false;
    QVariant nameWeights; // the name as the server sorts it
};


struct Sums {
    double beforeIn = 0;
    double beforeOut = 0;
    double in = 0;
    double out = 0;
};

// What one line does to one of its warehouses, by the document stock rule:
// a transfer enters its receiving warehouse, every entering document both
// warehouses it names.
void count(Sums& sums, bool before, int direction, bool transferInto, bool issuedFrom, double quantity)
{
    const bool in = direction == 1 || transferInto;
    const bool out = direction == -1 && issuedFrom;
    if (before) {
        sums.beforeIn += in ? quantity : 0;
        sums.beforeOut += out ? quantity : 0;
    } else {
        sums.in += in ? quantity : 0;
        sums.out += out ? quantity : 0;
    }
}

} // namespace

void DefineTurnoverFields(tarvex::MemoryTable& table)
{
    using tarvex::FieldType;
    table.addField(QStringLiteral("productid"), FieldType::LargeInt).setVisible(false);
    table.addField(QStringLiteral("warehouseid"), FieldType::LargeInt).setVisible(false);
    AddProductTextFields(table, 20);
    AddNumberField(table, QStringLiteral("amountprevbalance"), QStringLiteral("Kol. pret. stanje"), kStockQuantityFormat);
    AddNumberField(table, QStringLiteral("amountin"), QStringLiteral("Kol. ulaz"), kStockQuantityFormat);
    AddNumberField(table, QStringLiteral("amountout"), QStringLiteral("Kol. izlaz"), kStockQuantityFormat);
    AddNumberField(table, QStringLiteral("amountbalance"), QStringLiteral("Kol. razlika"), kStockQuantityFormat);
    AddNumberField(table, QStringLiteral("amountnewbalance"), QStringLiteral("Kol. stanje"), kStockQuantityFormat);
    table.addField(QStringLiteral("warehousename"), FieldType::String, 50).setDisplayLabel(QStringLiteral("Magacin"));
}

std::vector<TTurnoverRow> ComputeTurnover(QSqlDatabase db, const TTurnoverRequest& request,
                                          const TProgress& progress)
{
    auto step = [&](const char* text, int rows) {
        if (progress)
            progress(QString::fromUtf8(text), rows);
    };
    step("Magacini i proizvodi", 0);
    // Warehouses by position in the list (by name).
    std::vector<Named> warehouses;
    QHash<qint64, int> warehouseAt;
    {
        QVariantList values;
        if (!request.warehouseName.isEmpty())
            values << request.warehouseName;
        const QString only = values.isEmpty() ? QString() : QStringLiteral("WHERE name = ?");
        QSqlQuery query = tarvex::selectSql(db, tarvex::Format(kWarehousesSql, {only}), values);
        while (query.next()) {
            warehouseAt.insert(query.value(0).toLongLong(), int(warehouses.size()));
            warehouses.push_back(Named{query.value(0).toLongLong(), query.value(1)});
        }
    }
    // The products and the documents are read beside the lines, on a
    // connection of their own; the lines wait for them only to be counted.
    std::vector<Product> products;
    QHash<qint64, int> productAt;
    struct Document {
        bool before;
        int direction;
        bool transfer;
        qint64 fromId;
        qint64 intoId;
    };
    QHash<qint64, Document> documents;
    TSideWork side(db, [&](QSqlDatabase own) {
        {
            QSqlQuery query = selectRows(own, kProductsSql);
            while (query.next()) {
                productAt.insert(query.value(0).toLongLong(), int(products.size()));
                products.push_back(Product{0, query.value(1), query.value(2), query.value(3),
                                           query.value(4).toString() == QLatin1String("u"), query.value(5)});
            }
            // In the order of the names as the server sorts them; lines of a
            // product that does not exist come first, as a missing name does.
            std::vector<int> order(products.size());
            for (size_t i = 0; i < order.size(); ++i)
                order[i] = int(i);
            const TCollationOrder names(own, QStringLiteral("product"), QStringLiteral("name"));
            std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
                return names.compare(products[size_t(a)].nameWeights, products[size_t(b)].nameWeights) < 0;
            });
            for (size_t i = 0; i < order.size(); ++i)
                products[size_t(order[i])].position = int(i) + 1;
        }
        QSqlQuery query = selectRows(own, kDocumentsSql, {request.fromText, request.toText});
        while (query.next())
            documents.insert(query.value(0).toLongLong(),
                             Document{query.value(1).toInt() == 1, query.value(2).toInt(), query.value(3).toInt() == 1,
                                      query.value(4).toLongLong(), query.value(5).toLongLong()});
    });
    QSqlQuery lines = selectRows(db, kLinesSql);
    step("Dokumenti", 0);
    side.wait();

    step("Stavke dokumenata", 0);
    // Looked up a million times: what a product is (0 missing, 1 goods, 2 a
    // service) and a warehouse's position (-1 not listed), by identifier in
    // flat tables while the identifiers are small enough.
    constexpr qint64 kFlatLimit = qint64(1) << 26;
    qint64 largestProduct = 0;
    for (auto it = productAt.constBegin(); it != productAt.constEnd(); ++it)
        largestProduct = qMax(largestProduct, it.key());
    std::vector<char> kindOf(largestProduct < kFlatLimit ? size_t(largestProduct) + 1 : 0, 0);
    for (auto it = productAt.constBegin(); it != productAt.constEnd(); ++it)
        if (it.key() >= 0 && size_t(it.key()) < kindOf.size())
            kindOf[size_t(it.key())] = products[size_t(*it)].service ? 2 : 1;
    auto kind = [&](qint64 productId) -> char {
        if (!kindOf.empty())
            return productId >= 0 && size_t(productId) < kindOf.size() ? kindOf[size_t(productId)] : 0;
        const auto at = productAt.constFind(productId);
        return at == productAt.constEnd() ? 0 : (products[size_t(*at)].service ? 2 : 1);
    };
    qint64 largestWarehouse = 0;
    for (auto it = warehouseAt.constBegin(); it != warehouseAt.constEnd(); ++it)
        largestWarehouse = qMax(largestWarehouse, it.key());
    std::vector<int> warehouseFlat(largestWarehouse < kFlatLimit ? size_t(largestWarehouse) + 1 : 0, -1);
    for (auto it = warehouseAt.constBegin(); it != warehouseAt.constEnd(); ++it)
        if (it.key() >= 0 && size_t(it.key()) < warehouseFlat.size())
            warehouseFlat[size_t(it.key())] = *it;
    auto positionOf = [&](qint64 warehouseId) -> int {
        if (!warehouseFlat.empty())
            return warehouseId >= 0 && size_t(warehouseId) < warehouseFlat.size() ? warehouseFlat[size_t(warehouseId)]
                                                                                  : -1;
        return warehouseAt.value(warehouseId, -1);
    };
    // By warehouse position and product identifier in one number.
    auto keyOf = [](int warehouse, qint64 productId) { return (qint64(warehouse) << 44) | productId; };
    QHash<qint64, Sums> sums;
    {
        int read = 0;
        while (lines.next()) {
            if (progress && ++read % 100000 == 0)
                progress(QStringLiteral("Stavke dokumenata"), read);
            const auto document = documents.constFind(lines.value(0).toLongLong());
            if (document == documents.constEnd())
                continue; // not a posted stock document of the period
            const qint64 productId = lines.value(1).toLongLong();
            if (request.excludeServices && kind(productId) != 1)
                continue;
            const double quantity = lines.value(2).toDouble();
            const qint64 fromId = document->fromId;
            const qint64 intoId = document->intoId;
            if (fromId >= 0) {
                const int from = positionOf(fromId);
                if (from >= 0)
                    count(sums[keyOf(from, productId)], document->before, document->direction,
                          document->transfer && intoId == fromId, true, quantity);
            }
            if (intoId >= 0 && intoId != fromId) {
                const int into = positionOf(intoId);
                if (into >= 0)
                    count(sums[keyOf(into, productId)], document->before, document->direction, document->transfer,
                          false, quantity);
            }
        }
    }

    step("Redosled", int(sums.size()));
    struct Row {
        int warehouse;
        int product; // position in the product order
        qint64 productId;
        const Sums* sums;
    };
    std::vector<Row> rows;
    rows.reserve(size_t(sums.size()));
    const qint64 productMask = (qint64(1) << 44) - 1;
    for (auto it = sums.constBegin(); it != sums.constEnd(); ++it) {
        const qint64 productId = it.key() & productMask;
        const auto at = productAt.constFind(productId);
        rows.push_back(Row{int(it.key() >> 44), at == productAt.constEnd() ? 0 : products[size_t(*at)].position,
                           productId, &it.value()});
    }
    std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        return a.warehouse != b.warehouse ? a.warehouse < b.warehouse : a.product < b.product;
    });

    std::vector<TTurnoverRow> result;
    result.reserve(rows.size());
    const Product missing;
    for (const Row& row : rows) {
        const Sums& sum = *row.sums;
        const double previous = sum.beforeIn - sum.beforeOut;
        const double end = previous + sum.in - sum.out;
        // Nothing moved in the period and nothing is left.
        if (IsZeroQuantity(sum.in) && IsZeroQuantity(sum.out) && IsZeroQuantity(end))
            continue;
        const auto at = productAt.constFind(row.productId);
        const Product& product = at == productAt.constEnd() ? missing : products[size_t(*at)];
        const Named& warehouse = warehouses[size_t(row.warehouse)];
        result.push_back(TTurnoverRow{row.productId, warehouse.id, product.name,
                                      product.code, product.unitName, warehouse.name, previous, sum.in, sum.out});
    }
    return result;
}

void ShowTurnover(tarvex::MemoryTable& table, const std::vector<TTurnoverRow>& rows)
{
    TControlsOff off(table);
    // The fields' order as defined: productid, warehouseid, name, code,
    // unitname, the five quantities, warehousename.
    std::vector<QVector<QVariant>> records;
    records.reserve(rows.size());
    for (const TTurnoverRow& row : rows)
        records.push_back(QVector<QVariant>{row.productId, row.warehouseId, row.name, row.code, row.unitName,
                                            row.previous, row.in, row.out, row.in - row.out,
                                            row.previous + row.in - row.out, row.warehouseName});
    table.loadRecords(std::move(records));
    table.first();
}

void FillTurnover(QSqlDatabase db, tarvex::MemoryTable& table, const TTurnoverRequest& request,
                  const TProgress& progress)
{
    ShowTurnover(table, ComputeTurnover(db, request, progress));
}

} // namespace products
