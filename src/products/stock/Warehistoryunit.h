#pragma once
// The ware history ("Magacinska kartica"): quantities in and out of one
// product in one warehouse per posted stock document over a date range, from
// the document lines, after a leading row with the state before the range.

#include "Historywindow.h"
#include "QueryDataSet.h"

#include <QSqlDatabase>

class QLabel;

namespace products {

struct TWareHistoryTotals {
    double amountIn = 0;
    double amountOut = 0;
    double balance = 0;
};

// Fields of the ware history's in-memory table: documentdate, document,
// partner, amountin, amountout, amountbalance, documentid (not shown).
void DefineWareHistoryFields(tarvex::MemoryTable& table);

// The product's posted document lines in the warehouse up to toText (the
// end goes to the database as typed), read on any thread. Throws when the
// query fails.
tarvex::QueryRows ReadWareHistory(QSqlDatabase db, qint64 productId, qint64 warehouseId, const QString& toText);
// Fills the open table from those lines, from fromText ("yyyy-mm-dd") on.
// Throws when the start is not a date, leaving the table untouched.
TWareHistoryTotals FillWareHistory(tarvex::MemoryTable& table, const tarvex::QueryRows& lines,
                                   const QString& fromText);
// Both in one go, on the caller's thread.
TWareHistoryTotals FillWareHistory(QSqlDatabase db, tarvex::MemoryTable& table, qint64 productId,
                                   qint64 warehouseId, const QString& fromText, const QString& toText);

class TWareHistoryForm : public THistoryWindow {
    Q_OBJECT
public:
    TWareHistoryForm(const THistorySubject& subject, QWidget* parent = nullptr);
    ~TWareHistoryForm() override;

    int helpContext() const { return 15011; }
    QLabel* AmountInLabel() const { return m_in; }
    QLabel* AmountOutLabel() const { return m_out; }
    QLabel* BalanceLabel() const { return m_balance; }

    void FindButtonClick() override;
    void PrintButtonClick() override;
    // Opens the row's document (the previous-state row passes 0).
    void DBGDblClick() override;

private:
    void showTotals(const TWareHistoryTotals& totals);
    void placeTotals();
    bool eventFilter(QObject* watched, QEvent* event) override;

    QWidget* m_totals = nullptr;
    QLabel* m_in = nullptr;
    QLabel* m_out = nullptr;
    QLabel* m_balance = nullptr;
};

// Opens the ware history of the data module's current product in the
// warehouse of its current stock row, owned by the given window (modal).
void OpenWareHistory(QWidget* owner);

} // namespace products
