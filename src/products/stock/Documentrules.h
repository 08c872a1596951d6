#pragma once
// How the stock reports count the document module's tables: the document
// stock rule (lines of posted stock documents, by direction; a transfer
// counts in both its warehouses), the stock-card rule (every stock-card entry
// up to a date), the sales rule and the last-supply rule. The report
// statements are built from these texts so every report counts alike.

#include <QDate>
#include <QList>
#include <QMap>
#include <QSqlDatabase>
#include <QString>

namespace products::docrules {

// The eleven stock kinds, in the order the statements write them.
inline const QString kStockKinds = QStringLiteral("('R','K','V','L','F','T','G','M','I','C','W')");
inline const QString kInputSum = QStringLiteral(
    "SUM(IF(d.direction = 1 OR (d.documenttype = 'I' AND d.inwarehouseid = w.warehouseid),di.quantity,0))");
inline const QString kOutputSum =
    QStringLiteral("SUM(IF(d.direction = -1 AND (d.warehouseid = w.warehouseid),di.quantity,0))");
inline const QString kLinesJoin =
    QStringLiteral("FROM documentitem AS di LEFT JOIN document AS d ON di.documentid = d.documentid");
inline const QString kWarehouseJoin = QStringLiteral(
    "LEFT JOIN warehouse AS w ON ((d.warehouseid = w.warehouseid) OR (d.inwarehouseid = w.warehouseid))");
inline const QString kStockFilter =
    QStringLiteral("d.documenttype IN ('R','K','V','L','F','T','G','M','I','C','W') AND d.status = 'p'");
inline const QString kStockCardJoin =
    QStringLiteral("FROM docfinitem AS dfi LEFT JOIN document AS d ON dfi.documentid = d.documentid");
// Documents the last-supply rule never looks at.
inline const QString kSupplyExclusions = QStringLiteral("(18,19,20,21,22,24,31,343)");

struct DocumentBalance {
    double input = 0;
    double output = 0;
    double balance() const { return input - output; }
};

// Document balance of a product in each warehouse its documents touch,
// optionally up to and including a cut-off date.
QMap<qint64, DocumentBalance> documentBalances(QSqlDatabase db, qint64 productId, const QDate& cutoff = QDate());
DocumentBalance documentBalance(QSqlDatabase db, qint64 productId, qint64 warehouseId, const QDate& cutoff = QDate());

struct StockCardBalance {
    double inQuantity = 0;
    double outQuantity = 0;
    double debit = 0;
    double credit = 0;
    double quantity() const { return inQuantity - outQuantity; }
    double value() const { return debit - credit; }
    // Value per unit of the balance; 0 when no quantity is left.
    double price() const;
};

// Stock-card balance of a product up to and including the cut-off date, in
// the given warehouses (all warehouses when the list is empty).
StockCardBalance stockCardBalance(QSqlDatabase db, qint64 productId, const QList<qint64>& warehouses,
                                  const QDate& cutoff);

// Sold quantity of a product between two dates (both included), per
// warehouse of the sales documents.
QMap<qint64, double> salesByWarehouse(QSqlDatabase db, qint64 productId, const QDate& from, const QDate& to);

// The latest supply of a product (of several on one day, the latest
// document), else the latest stock entry.
struct LastSupply {
    bool found = false;
    QDate date;
    QString partner; // empty when the date comes from a stock entry
};
LastSupply lastSupply(QSqlDatabase db, qint64 productId);

} // namespace products::docrules
