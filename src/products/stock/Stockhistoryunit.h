#pragma once
// The stock history ("Robna kartica"): the stock card of one product in one
// warehouse over a date range, quantities and values per stock-card entry,
// after a leading row with the state before the range; printed through the
// host's stock-card report.

#include "Historywindow.h"
#include "QueryDataSet.h"

#include <QSqlDatabase>

class QLabel;

namespace products {

// Fields of the stock history's in-memory table: date, document, partner,
// amountin, amountout, amountbalance, price, debit, credit, balance,
// documentid (not shown).
void DefineStockHistoryFields(tarvex::MemoryTable& table);

// The product's stock-card entries in the warehouse up to toText, read on
// any thread. Throws when the query fails.
tarvex::QueryRows ReadStockHistory(QSqlDatabase db, qint64 productId, qint64 warehouseId, const QString& toText);
// Fills the open table from those entries, from fromText ("yyyy-mm-dd") on.
// Throws when the start is not a date, leaving the table untouched.
void FillStockHistory(tarvex::MemoryTable& table, const tarvex::QueryRows& entries, const QString& fromText);
// Both in one go, on the caller's thread.
void FillStockHistory(QSqlDatabase db, tarvex::MemoryTable& table, qint64 productId, qint64 warehouseId,
                      const QString& fromText, const QString& toText);

// Value per unit of the stock-card balance up to toText ("2024-12-31"),
// rounded to the cent from exact sums; 0 when the
// quantity left rounds to 0 at six decimals.
double CurrentStockCardPrice(QSqlDatabase db, qint64 productId, qint64 warehouseId, const QString& toText);

class TStockHistoryForm : public THistoryWindow {
    Q_OBJECT
public:
    TStockHistoryForm(const THistorySubject& subject, QWidget* parent = nullptr);

    int helpContext() const { return 15012; }
    QLabel* PriceLabel() const { return m_price; }

    void FindButtonClick() override;
    // The host's stock-card report of the rows shown.
    void PrintButtonClick() override;
    // Opens the row's document; nothing for the previous-state row.
    void DBGDblClick() override;

private:
    QLabel* m_price = nullptr;
};

// Opens the stock history of the data module's current product in the
// warehouse of its current stock row, owned by the given window (modal).
void OpenStockHistory(QWidget* owner);

} // namespace products
