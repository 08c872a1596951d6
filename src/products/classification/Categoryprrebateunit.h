#pragma once
// The rebate limits of one category: the maximal rebate and its equivalent
// margin (kept in step by the data module), the web and B2B rebates. The grid
// edits the one category row and offers no way to another.

#include "Smalllistwindow.h"

namespace tarvex {
class DBNavigator;
} // namespace tarvex

namespace products {

class TCategoryPrRebateForm : public TSmallListWindow {
    Q_OBJECT
public:
    explicit TCategoryPrRebateForm(QWidget* parent = nullptr);

    tarvex::DBGrid* CategoryPrRebateDBG() const { return grid(); }
    tarvex::DBNavigator* CategoryPrNavigator() const { return m_navigator; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    tarvex::DBNavigator* m_navigator = nullptr;
};

// Reads the category row afresh and edits its rebates (modal).
void CategoryPrRebateManage(qint32 CategoryID);

} // namespace products
