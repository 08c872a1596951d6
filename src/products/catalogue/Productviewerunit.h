#pragma once
// The product list: the console's main view of this module (and the list
// inside the product picker), with the product actions and the ways into the
// administration windows.

#include "CustomViewerForm.h"

#include <functional>

namespace products {

class TProductViewerForm : public tarvex::TCustomViewerForm {
    Q_OBJECT
public:
    explicit TProductViewerForm(QWidget* parent = nullptr);

    QAction* ProductAdd = nullptr;
    QAction* ProductEdit = nullptr;
    QAction* ProductDelete = nullptr;
    QAction* CategoryAction = nullptr;
    QAction* TaxAction = nullptr;
    QAction* WarehouseAction = nullptr;
    QAction* AlternativesAction = nullptr;
    QAction* AttributeAction = nullptr;
    QAction* ProductOptions = nullptr;

    // The windows the actions open; an action whose window is not there
    // stays disabled.
    struct Windows {
        std::function<void()> productEditor;  // on ProductZQ's current row
        std::function<void()> taxes;
        std::function<void()> warehouses;
        std::function<void()> attributes;
    };
    void setWindows(Windows windows);

    // What a double-click on the list does instead of opening the editor
    // (the product picker confirms its choice).
    std::function<void()> onDoubleClick;

    // Whether the list has a current product.
    bool hasCurrentProduct() const;

    // The list inside the product picker: no delete and no way into the
    // administration windows (categories, taxes, warehouses, attributes,
    // options), on the tool bar, in the pop-up menu or by short-cut.
    void setPicking();
    bool picking() const { return m_picking; }

    void ProductAddExecute();
    void ProductEditExecute();
    void ProductDeleteExecute();
    void CategoryActionExecute();
    void TaxActionExecute();
    void WarehouseActionExecute();
    void AttributeActionExecute();
    void ProductOptionsExecute();
    void AlternativesActionExecute();

protected:
    void DBGDblClick() override;

private:
    void updateActions();

    Windows m_windows;
    bool m_picking = false;
};

} // namespace products
