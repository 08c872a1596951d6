#pragma once
// "Proizvodi": the products whose component lists use this product as a raw
// material, with the quantity each takes. Read only.

#include "DialogWindow.h"

class QPushButton;

namespace tarvex {
class DBGrid;
class DBNavigator;
} // namespace tarvex

namespace products {

class TProductProductsForm : public tarvex::DialogWindow {
    Q_OBJECT
public:
    // Remembers the data module's current product (for printing).
    explicit TProductProductsForm(QWidget* parent = nullptr);

    tarvex::DBGrid* ProductProductsDBG() const { return m_grid; }
    tarvex::DBNavigator* ProductProductsNavigator() const { return m_navigator; }
    QPushButton* PrintButton() const { return m_print; }
    QPushButton* CloseButton() const { return m_close; }
    qint32 productId() const { return m_productId; }
    const QString& productName() const { return m_productName; }

    void PrintButtonClick();
    QString GetPrintHeader() const;

private:
    tarvex::DBGrid* m_grid = nullptr;
    tarvex::DBNavigator* m_navigator = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_close = nullptr;
    qint32 m_productId = 0;
    QString m_productName;
};

// Reads the products that use the product as a component into the data
// module's ProductProductsZQ and shows them (modal).
void ProductProductsManage(qint32 ProductID, QWidget* owner);

} // namespace products
