#pragma once
// The product picker and the look-ups behind the product services: an
// interactive window (search panel and product list), silent searches that
// run the same search without showing it, and direct reads (Productdescs.h).

#include "Productintf.h"

#include <QDialog>

class QPushButton;

namespace products {

class TProductNavigatorForm;
class TProductViewerForm;

class TGetProductForm : public QDialog {
    Q_OBJECT
public:
    explicit TGetProductForm(QWidget* parent = nullptr);

    TProductNavigatorForm* navigator() const { return m_navigator; }
    TProductViewerForm* viewer() const { return m_viewer; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }
    bool confirmed() const { return m_confirmed; }
    void setMultiSelect(bool on);

    void OKButtonClick();

private:
    TProductNavigatorForm* m_navigator = nullptr;
    TProductViewerForm* m_viewer = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    bool m_confirmed = false;
};

// Fills a descriptor from the product list's current row (tax from GetTax by id).
void FillDescFromProductList(tarvex::TProductDesc& desc);

bool ProductGet(tarvex::TProductDesc& desc);
bool ProductGet(tarvex::TProductDescArr& descs);
tarvex::TProductDescArr ProductGet(const QString& value, bool byCode, bool byBarcode);
bool ProductGet(const QString& barcode, tarvex::TProductDesc& desc);
bool ProductGetAttribute(const QString& barcode, tarvex::TProductDesc& desc, qint32& productAttributeId);
bool ProductGet(qint32 productId, qint32 warehouseId, tarvex::TProductDesc& desc);
tarvex::TProductDescArr ProductGetAll(qint32 warehouseId, tarvex::TDoubleArray& amounts);

} // namespace products
