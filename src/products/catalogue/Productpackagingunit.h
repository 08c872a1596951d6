#pragma once
// "Ambalaža": the packaging that goes with a product. A row says that
// `productamount` of the product go with `packagingamount` of the packaging
// product. The rows stay in the data module's cache until the product
// editor applies them.

#include "Smalllistwindow.h"

class QPushButton;

namespace tarvex {
class DBNavigator;
} // namespace tarvex

namespace products {

// New rows belong to the product the window was opened for.
class TProductPackagingForm : public TProductListWindow {
    Q_OBJECT
public:
    explicit TProductPackagingForm(QWidget* parent = nullptr);

    tarvex::DBGrid* ProductPackagingDBG() const { return grid(); }
    tarvex::DBNavigator* ProductPackagingNavigator() const { return m_navigator; }
    QPushButton* AddPackagingButton() const { return m_add; }

    // Picks a product and adds it as packaging, once.
    void AddPackagingButtonClick();

private:
    tarvex::DBNavigator* m_navigator = nullptr;
    QPushButton* m_add = nullptr;
};

// Shows the packaging of the data module's current product (modal); the
// data module's ProductPackagingZQ must be open on it.
void ProductPackagingManage(QWidget* owner);

} // namespace products
