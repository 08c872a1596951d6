#pragma once
// "Proizvodi": the products whose component lists use this product as a raw
// material, with the quantity each takes. Read only.

#include "Smalllistwindow.h"

namespace tarvex {
class DBNavigator;
} // namespace tarvex

namespace products {

class TProductProductsForm : public TProductListWindow {
    Q_OBJECT
public:
    explicit TProductProductsForm(QWidget* parent = nullptr);

    tarvex::DBGrid* ProductProductsDBG() const { return grid(); }
    tarvex::DBNavigator* ProductProductsNavigator() const { return m_navigator; }

private:
    tarvex::DBNavigator* m_navigator = nullptr;
};

// Reads the products that use the product as a component into the data
// module's ProductProductsZQ and shows them (modal).
void ProductProductsManage(qint32 ProductID, QWidget* owner);

} // namespace products
