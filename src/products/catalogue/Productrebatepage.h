#pragma once
// The product editor's page "Rabat": the product's quantity rebates, typed in
// a grid (quantity, rebate, rebate type P, I or T). The rows stay in the data
// module's cache until the editor applies them.

#include <QWidget>
#include <memory>

namespace tarvex {
class DBGrid;
class DBNavigator;
} // namespace tarvex

namespace products {

class NewRowsOfProduct;

class TProductRebatePage : public QWidget {
    Q_OBJECT
public:
    explicit TProductRebatePage(QWidget* parent = nullptr);
    ~TProductRebatePage() override;

    tarvex::DBGrid* RebateDBG() const { return m_grid; }
    tarvex::DBNavigator* RebateNavigator() const { return m_navigator; }

private:
    std::unique_ptr<NewRowsOfProduct> m_newRows;
    tarvex::DBGrid* m_grid = nullptr;
    tarvex::DBNavigator* m_navigator = nullptr;
};

} // namespace products
