#include "Inventorystockpricedata.h"

#include "Connection.h"
#include "Controlsoff.h"
#include "DisplayFormat.h"
#include "Exactprice.h"
#include "Format.h"
#include "MemoryTable.h"
#include "Reportfields.h"

#include <QSqlQuery>

namespace products {

const QString kStockPriceProductsSql = QStringLiteral(
    "SELECT p.name,p.code,p.unitname,pw.amount,p.productid\n"
    "FROM productwarehouse AS pw LEFT JOIN product AS p ON p.productid = pw.productid\n"
    "WHERE pw.warehouseid = :IDWarehouse\n"
    "ORDER BY p.name");

namespace {

// Summed as exact decimals (see Exactprice.h).
const QString kStockCardSql = QStringLiteral(
    "SELECT SUM(CAST(dfi.inquantity AS DECIMAL(24,6)))-SUM(CAST(dfi.outquantity AS DECIMAL(24,6))) AS SumAmount,"
    "SUM(CAST(dfi.debit AS DECIMAL(24,6)))-SUM(CAST(dfi.credit AS DECIMAL(24,6))) AS SumBalance "
    "FROM docfinitem AS dfi LEFT JOIN document AS d ON dfi.documentid = d.documentid WHERE dfi.productid = ? AND "
    "dfi.warehouseid = ? AND d.documentdate <= ?");

// The same sums for every product of the warehouse in one pass, the
// entries driving the join (see the stock-card quantities).
const QString kStockCardsSql = QStringLiteral(
    "SELECT dfi.productid,"
    "SUM(CAST(dfi.inquantity AS DECIMAL(24,6)))-SUM(CAST(dfi.outquantity AS DECIMAL(24,6))) AS SumAmount,"
    "SUM(CAST(dfi.debit AS DECIMAL(24,6)))-SUM(CAST(dfi.credit AS DECIMAL(24,6))) AS SumBalance "
    "FROM docfinitem AS dfi STRAIGHT_JOIN document AS d ON dfi.documentid = d.documentid WHERE "
    "dfi.warehouseid = ? AND d.documentdate <= ? GROUP BY dfi.productid");

const QString kTotalFormat = QStringLiteral("Ukupna vrednost: %s");

} // namespace

namespace {

TStockPrice priceOf(const QVariant& amountSum, const QVariant& valueSum)
{
    TStockPrice result;
    const TExactSum amount = TExactSum::of(amountSum);
    if (amount.isZero())
        return result;
    const TExactSum value = TExactSum::of(valueSum);
    result.amount = amount.toDouble();
    result.value = value.toDouble();
    result.price = AveragePrice(value, amount);
    return result;
}

} // namespace

TStockPrice CalculatePrice(QSqlDatabase db, qint32 warehouseId, qint64 productId, const QString& date)
{
    QSqlQuery card =
        tarvex::selectSql(db, kStockCardSql, {productId, warehouseId, date});
    // Without entries up to the date the sums come back NULL, read as 0.
    if (!card.next())
        return TStockPrice();
    return priceOf(card.value(0), card.value(1));
}

QHash<qint64, TStockPrice> CalculateAllPrices(QSqlDatabase db, qint32 warehouseId, const QString& date)
{
    QSqlQuery card = tarvex::selectSql(db, kStockCardsSql, {warehouseId, date});
    QHash<qint64, TStockPrice> all;
    while (card.next()) {
        const TStockPrice price = priceOf(card.value(1), card.value(2));
        if (!IsZeroQuantity(price.amount))
            all.insert(card.value(0).toLongLong(), price);
    }
    return all;
}

void DefineInventoryStockPriceFields(tarvex::MemoryTable& table)
{
    AddProductTextFields(table);
    AddNumberField(table, QStringLiteral("amount"), QStringLiteral("Količina"), kStockQuantityFormat);
    AddNumberField(table, QStringLiteral("price"), QStringLiteral("Cena"), kMoneyFormat);
    AddNumberField(table, QStringLiteral("productvalue"), QStringLiteral("Vrednost"), kMoneyFormat);
}

double FillInventoryStockPrice(QSqlDatabase db, qint32 warehouseId, tarvex::DataSet& products,
                               tarvex::MemoryTable& table, const QString& date, const TProgress& progress)
{
    if (progress)
        progress(QStringLiteral("Robne kartice"), 0);
    return ShowInventoryStockPrice(CalculateAllPrices(db, warehouseId, date), products, table, progress);
}

double ShowInventoryStockPrice(const QHash<qint64, TStockPrice>& cards, tarvex::DataSet& products,
                               tarvex::MemoryTable& table, const TProgress& progress)
{
    TControlsOff off(table);
    table.emptyDataSet();
    double total = 0;
    if (products.isActive()) {
        const tarvex::Field& productId = products.fieldByName(QStringLiteral("productid"));
        for (products.first(); !products.eof(); products.next()) {
            const TStockPrice card = cards.value(productId.asLargeInt());
            if (IsZeroQuantity(card.amount))
                continue;
            table.append();
            CopyProductTextFields(products, table);
            table.fieldByName(QStringLiteral("amount")).setValue(card.amount);
            table.fieldByName(QStringLiteral("price")).setValue(card.price);
            table.fieldByName(QStringLiteral("productvalue")).setValue(card.value);
            table.post();
            // The card's own value, not quantity times the rounded price.
            total += card.value;
            if (progress && table.recordCount() % 5000 == 0)
                progress(QStringLiteral("Proizvodi"), table.recordCount());
        }
    }
    table.first();
    return total;
}

QString StockPriceTotalText(double total)
{
    return tarvex::Format(kTotalFormat, {tarvex::FormatFloat(kMoneyFormat, total)});
}

} // namespace products
