#pragma once
// The stock history ("Robna kartica"): the stock card of one product in one
// warehouse over a date range, quantities and values per stock-card entry,
// after a leading row with the state before the range; printed through the
// host's stock-card report.

#include "Historydata.h"
#include "Historywindow.h"

class QLabel;

namespace products {

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
