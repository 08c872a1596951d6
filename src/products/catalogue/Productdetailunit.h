#pragma once
// The product editor: the modal window in which one product is created or
// edited. It has no datasets of its own; every control is bound to the data
// module's datasets, and the window saves or discards them together: apply
// runs the editor's checks in a fixed order, then posts the product, its
// details, its warehouse rows and its variants, and stores its categories.

#include "CustomDetailForm.h"

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace tarvex {
class DBCheckBox;
class DBComboBox;
class DBEdit;
class DBMemo;
} // namespace tarvex

namespace products {

class TProductAttributesDescPage;
class TProductAttributesPage;
class TProductCategoriesGroup;
class TProductFixedAssetPage;
class TProductImagePage;
class TProductKasaPage;
class TProductRebatePage;
class TProductWarehousesGroup;
class TProductWorkOperationsPage;

class TProductDetailForm : public tarvex::TCustomDetailForm {
    Q_OBJECT
public:
    explicit TProductDetailForm(QWidget* parent = nullptr);
    ~TProductDetailForm() override;

    // The category list of the window differs from what is stored.
    bool CategoriesChanged = false;

    QWidget* DetailsTS = nullptr;
    TProductRebatePage* RebateTS = nullptr;
    TProductImagePage* ImageTS = nullptr;
    TProductKasaPage* KasaTS = nullptr;
    TProductAttributesPage* AttributesTS = nullptr;
    TProductAttributesDescPage* AttributesDescTS = nullptr;
    TProductWorkOperationsPage* WorkOperationsTS = nullptr;
    TProductFixedAssetPage* FixedAssetTS = nullptr;

    // General tab, names and codes
    tarvex::DBEdit* NameDBE = nullptr;
    tarvex::DBEdit* CodeDBE = nullptr;
    tarvex::DBEdit* BarcodeDBE = nullptr;
    tarvex::DBEdit* ForeignNameDBE = nullptr;
    tarvex::DBComboBox* TypeDBCB = nullptr;
    tarvex::DBCheckBox* ActiveDBCB = nullptr;
    tarvex::DBCheckBox* SerialNumbersDBCB = nullptr;
    tarvex::DBComboBox* ManufNameDBCB = nullptr;
    tarvex::DBComboBox* ManufSeriesDBCB = nullptr;
    tarvex::DBEdit* ManufCodeDBE = nullptr;
    QAction* ScannedDocumentAction = nullptr;
    QAction* ScannedDeleteAction = nullptr;

    // General tab, prices
    QLabel* InPriceL = nullptr;
    tarvex::DBEdit* InPriceDBE = nullptr;
    QLabel* InPriceCurrL = nullptr;
    tarvex::DBEdit* InPriceCurrDBE = nullptr;
    QToolButton* InPriceCurrB = nullptr;
    QLabel* SupplyPriceL = nullptr;
    tarvex::DBEdit* SupplyPriceDBE = nullptr;
    QLabel* SupplyPriceCurrL = nullptr;
    tarvex::DBEdit* SupplyPriceCurrDBE = nullptr;
    QLabel* RebateL = nullptr;
    tarvex::DBEdit* RebateDBE = nullptr;
    tarvex::DBEdit* PlanPriceDBE = nullptr;
    tarvex::DBEdit* ExciseDBE = nullptr;
    tarvex::DBEdit* PriceDBE = nullptr;
    tarvex::DBEdit* PriceCurrDBE = nullptr;
    QToolButton* PriceCurrB = nullptr;
    tarvex::DBEdit* PriceVATDBE = nullptr;
    QLineEdit* TaxEdit = nullptr;
    QToolButton* ChangeTaxButton = nullptr;
    tarvex::DBEdit* UnitNameDBE = nullptr;
    tarvex::DBEdit* RecommendedPriceWithVATDBE = nullptr;
    tarvex::DBEdit* RecommendedRebateDBE = nullptr;
    QLabel* RatePriceL = nullptr;
    QLineEdit* RatePriceE = nullptr;
    QLabel* PriceFormulaL = nullptr;
    tarvex::DBEdit* PriceFormulaDBE = nullptr;
    QPushButton* CalcButton = nullptr;

    TProductCategoriesGroup* Categories = nullptr;
    TProductWarehousesGroup* Warehouses = nullptr;

    // Details tab
    QAction* LoadDetailsFromCategory = nullptr;

    // Bottom panel
    QAction* ProductCopy = nullptr;
    QAction* AlternativesAction = nullptr;
    QAction* ProductRaws = nullptr;
    QAction* ProductPackaging = nullptr;
    QAction* ProductProducts = nullptr;
    QPushButton* ProductCopyButton = nullptr;
    QPushButton* ObjectButton = nullptr;

    // Handlers
    void ChangeTaxButtonClick();
    void PriceCurrBClick();
    void InPriceCurrBClick();
    void PriceDBEExit();
    void CalcButtonClick();
    void PrintButtonClick();
    void PriceLabelsButtonClick();
    void ProductCopyExecute();
    void AlternativesActionExecute();
    void ProductRawsExecute();
    void ProductPackagingExecute();
    void ProductProductsExecute();
    void ObjectButtonClick();
    void ScannedDocumentActionExecute();
    void ScannedDeleteActionExecute();
    // The rows of the warehouses group (re)loaded for the current product.
    void OpenWarehouses();
    // The working operations (re)read; the page shows for a manufactured
    // product (type p or l).
    void OpenWorkingOperations();
    // The fixed-asset row (re)read; the page shows for a fixed asset (type o).
    void OpenFixedAsset();
    // Saves, then sets the maximum rebate and the web and B2B prices from the
    // rebates of the product's categories.
    void LoadDetailsFromCategoryExecute();
    // Stores the category list once the product row is posted.

protected:
    void CustomCancelExecute() override;
    bool CustomApplyExecute() override;
    bool CustomApplyUpdate() override;
    bool FormCloseQuery() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildGeneralTab();
    QWidget* buildNamesGroup();
    QWidget* buildPricesGroup();
    void buildDetailsTab();
    void buildRebateTab();
    void buildImageTab();
    void buildKasaTab();
    void buildWorkOperationsTab();
    void buildFixedAssetTab();
    void buildAttributeTabs();
    void buildBottomPanel();
    // Read-only and shaded for the window's lifetime.
    static void lockEdit(tarvex::DBEdit* edit);
    void FormCreate();
    void applyOptionsToControls();

    void LoadCategories();
    // The attributes the product's categories suggest, offered on the
    // descriptive attribute page.
    void updateAttributeSuggestions();
    void SetDefaultCurrency();
    void SetTaxName();
    void OpenDetails();
    void ChangeCurrency(const QString& fieldName);
    void showRatePrice();
    void updateProductActions();
    void setPageVisible(QWidget* page, bool visible);
    bool pageVisible(QWidget* page) const;
    // The pages that belong to some product types follow the saved type.
    void showPagesOfType();
    // -1 while the product is new.
    qint64 listOwnerId() const;

    bool CategoriesExist();
    // Runs the data module's checks (showing the first refusal) and saves
    // the product with everything that belongs to it in one go; false when
    // a check refused. A failed write throws and leaves every dataset as
    // the user left it.
    bool saveProduct();
    bool anythingUnsaved() const;
    // The fixed asset only when the user said not to save.
    void cancelChanges(bool alsoFixedAsset);
};

// Opens the editor modally on the data module's current product: owned by
// the list window, or by nobody when another module asks for it.
void OpenProductDetail(QWidget* owner);

} // namespace products
