#pragma once
// The ware history ("Magacinska kartica"): quantities in and out of one
// product in one warehouse per posted stock document over a date range, from
// the document lines, after a leading row with the state before the range.

#include "Historydata.h"
#include "Historywindow.h"

class QLabel;

namespace products {

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
