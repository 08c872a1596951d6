// The data module's writes behind the editor's warehouse rows and its
// details page: a product put into a warehouse, amounts recounted from the
// documents, rebates and prices taken over from the product's categories.
// Each runs as one transaction under the write policy; the windows only ask.

#include "Productdmunit.h"

#include "Connection.h"
#include "Rounding.h"
#include "WriteRetry.h"

#include <QSqlQuery>

namespace products {

bool TProductDM::AddProductWarehouse(qint64 productId, qint64 warehouseId, double price)
{
    tarvex::Connection& c = connection();
    bool added = false;
    tarvex::writeTransaction(c, [&] {
        // The lock holds the key from the look to the insert: a second
        // workstation adding the same row waits and then finds it.
        added = !c.select(QStringLiteral("SELECT 1 FROM productwarehouse WHERE productid = ? AND warehouseid = ? "
                                         "FOR UPDATE"),
                          {productId, warehouseId})
                     .next();
        if (added)
            c.execute(QStringLiteral("INSERT INTO productwarehouse (productid, warehouseid, price) VALUES (?, ?, ?)"),
                      {productId, warehouseId, price});
    }, QStringLiteral("Warehouse row add"));
    return added;
}

int TProductDM::RecountProductWarehouses(qint64 productId, const QMap<qint64, double>& documentAmounts)
{
    tarvex::Connection& c = connection();
    int changed = 0;
    // Every warehouse's amount is recounted, or none is; the stored amounts
    // are read under the lock, not from what a window shows.
    tarvex::writeTransaction(c, [&] {
        changed = 0;
        QList<std::pair<qint64, double>> stored;
        {
            QSqlQuery rows = c.select(QStringLiteral("SELECT warehouseid, amount FROM productwarehouse "
                                                     "WHERE productid = ? FOR UPDATE"),
                                      {productId});
            while (rows.next())
                stored.append({rows.value(0).toLongLong(), rows.value(1).toDouble()});
        }
        for (const auto& [warehouseId, amount] : stored) {
            const double documents = documentAmounts.value(warehouseId);
            if (tarvex::BetterRoundTo(documents, -6) == tarvex::BetterRoundTo(amount, -6))
                continue;
            c.execute(QStringLiteral("UPDATE productwarehouse SET amount = ? WHERE productid = ? AND warehouseid = ?"),
                      {documents, productId, warehouseId});
            ++changed;
        }
    }, QStringLiteral("Warehouse rows recount"));
    return changed;
}

void TProductDM::LoadDetailsFromCategories(qint64 productId, double price)
{
    tarvex::Connection& c = connection();
    tarvex::writeTransaction(c, [&] {
        // The category with the highest web rebate, then B2B rebate, gives all three.
        double maxRebate = 0;
        double webRebate = 0;
        double b2bRebate = 0;
        {
            QSqlQuery rebates = c.select(
                QStringLiteral("SELECT c.maxrebate, c.webrebate, c.b2brebate FROM productcategorypr AS pc LEFT JOIN "
                               "categorypr AS c ON pc.categoryprid = c.categoryprid WHERE pc.productid = ? "
                               "ORDER BY c.webrebate DESC, c.b2brebate DESC"),
                {productId});
            if (rebates.next()) {
                maxRebate = rebates.value(0).toDouble();
                webRebate = rebates.value(1).toDouble();
                b2bRebate = rebates.value(2).toDouble();
            }
        }
        const double webPrice = (1 - webRebate / 100) * price;
        const double b2bPrice = (1 - b2bRebate / 100) * price;
        // One statement: a product without its detail row gets one.
        c.execute(QStringLiteral("INSERT INTO productdetail (productid, maxrebate, webprice, b2bprice) "
                                 "VALUES (?, ?, ?, ?) ON DUPLICATE KEY UPDATE maxrebate = VALUES(maxrebate), "
                                 "webprice = VALUES(webprice), b2bprice = VALUES(b2bprice)"),
                  {productId, maxRebate, webPrice, b2bPrice});
    }, QStringLiteral("Details from categories"));
}

} // namespace products
