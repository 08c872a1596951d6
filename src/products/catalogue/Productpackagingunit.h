#pragma once
// "Ambalaža": the packaging that goes with a product. A row says that
// `productamount` of the product go with `packagingamount` of the packaging
// product. The rows stay in the data module's cache until the product
// editor applies them.

#include "DialogWindow.h"

class QPushButton;

namespace tarvex {
class DBGrid;
class DBNavigator;
} // namespace tarvex

namespace products {

class TProductPackagingForm : public tarvex::DialogWindow {
    Q_OBJECT
public:
    // Remembers the data module's current product (for new rows and printing).
    explicit TProductPackagingForm(QWidget* parent = nullptr);

    tarvex::DBGrid* ProductPackagingDBG() const { return m_grid; }
    tarvex::DBNavigator* ProductPackagingNavigator() const { return m_navigator; }
    QPushButton* AddPackagingButton() const { return m_add; }
    QPushButton* PrintButton() const { return m_print; }
    QPushButton* CloseButton() const { return m_close; }
    qint32 productId() const { return m_productId; }
    const QString& productName() const { return m_productName; }

    // Picks a product and adds it as packaging, once.
    void AddPackagingButtonClick();
    void PrintButtonClick();
    QString GetPrintHeader() const;

private:
    tarvex::DBGrid* m_grid = nullptr;
    tarvex::DBNavigator* m_navigator = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_close = nullptr;
    qint32 m_productId = 0;
    QString m_productName;
};

// Shows the packaging of the data module's current product (modal); the
// data module's ProductPackagingZQ must be open on it.
void ProductPackagingManage(QWidget* owner);

} // namespace products
