#pragma once
// The product editor's page "Osnovno sredstvo" for a product of type o: the
// asset's register data, its purchase dates and its depreciation (start and
// end month, yearly percentage, remaining value, tax base, and the tax and
// accounting depreciation groups picked from sibling modules). All controls
// edit the data module's FixedAssetZQ, which the editor posts with its apply.

#include <QDate>
#include <QWidget>

class QPushButton;
class QToolButton;

namespace tarvex {
class DBComboBox;
class DBEdit;
class Field;
} // namespace tarvex

namespace products {

class TProductFixedAssetPage : public QWidget {
    Q_OBJECT
public:
    explicit TProductFixedAssetPage(QWidget* parent = nullptr);

    tarvex::DBEdit* CatalogueNumberDBE = nullptr;
    tarvex::DBEdit* InventoryNumberDBE = nullptr;
    tarvex::DBEdit* SerialNumberDBE = nullptr;
    tarvex::DBComboBox* LocationGroupDBCB = nullptr;
    tarvex::DBComboBox* LocationDBCB = nullptr;
    tarvex::DBEdit* DepreciationStartDateDBE = nullptr;
    QToolButton* DepreciationStartDateB = nullptr;
    tarvex::DBEdit* DepreciationEndDateDBE = nullptr;
    QToolButton* DepreciationEndDateB = nullptr;
    tarvex::DBEdit* DepreciationPercentDBE = nullptr;
    tarvex::DBEdit* PermanentValueDBE = nullptr;
    tarvex::DBEdit* DepreciationGroupPercentDBE = nullptr;
    QToolButton* DepreciationGroupB = nullptr;
    tarvex::DBEdit* DepreciationAccountingGroupPercentDBE = nullptr;
    QToolButton* DepreciationAccountingGroupB = nullptr;
    tarvex::DBEdit* DepreciationTaxBaseValueDBE = nullptr;
    QPushButton* DepreciationCalculateB = nullptr;
    tarvex::DBEdit* WarrantyDateDBE = nullptr;
    QToolButton* WarrantyDateB = nullptr;
    tarvex::DBEdit* PurchaseDateDBE = nullptr;
    QToolButton* PurchaseDateB = nullptr;
    tarvex::DBEdit* ActivationDateDBE = nullptr;
    QToolButton* ActivationDateB = nullptr;

    // The drop-downs of location groups and locations stored so far.
    void FillLocations();
    // (Re)reads the asset row of the product.
    void OpenFixedAsset(qint64 productId);

    // Lets the user choose a date starting from `date`; stores it when confirmed.
    void ChangeDate(tarvex::Field& field, const QDate& date);
    void WarrantyDateBClick();
    void PurchaseDateBClick();
    void ActivationDateBClick();
    // Depreciation runs by whole months: the start also becomes the end.
    void DepreciationStartDateBClick();
    void DepreciationEndDateBClick();
    void DepreciationGroupBClick();
    void DepreciationAccountingGroupBClick();
    // The yearly percentage that writes the asset off between the two dates.
    void DepreciationCalculateBClick();

private:
    void changeDateOf(const char* fieldName);
    // Stores a picked group; `alwaysPercent` also when a percentage is set.
    void pickGroup(const QUuid& service, const char* idField, const char* percentField, bool alwaysPercent);
};

} // namespace products
