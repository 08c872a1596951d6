#pragma once
// The tax-rate list: administration (TaxManage), picking a rate (GetTax) and
// the silent look-up of one rate by its identifier. One rate can be marked as
// the default that new products get; its row is drawn on silver.

#include "PickingListWindow.h"

class QPushButton;

namespace tarvex {
class DBGrid;
class DBNavigator;
class QueryDataSet;
} // namespace tarvex

namespace products {

class TTaxForm : public tarvex::PickingListWindow {
    Q_OBJECT
public:
    explicit TTaxForm(QWidget* parent = nullptr);

    int helpContext() const { return 15002; }

    tarvex::DBGrid* TaxDBG() const { return m_grid; }
    tarvex::DBNavigator* TaxNavigator() const { return m_navigator; }
    QPushButton* DefaultButton() const { return m_default; }

    void TaxDBGDblClick() { pickRow(); }
    // Makes the current row the default rate.
    void DefaultButtonClick();

private:
    void FormCreate();
    bool hasPick() const override;
    tarvex::QueryDataSet& taxes() const;

    tarvex::DBGrid* m_grid = nullptr;
    tarvex::DBNavigator* m_navigator = nullptr;
    QPushButton* m_default = nullptr;
};

// By identifier (no window): re-reads the rates, and on finding TaxID fills
// Name and Value and gives true. Picking: on confirmation fills all three
// from the chosen row and gives true. Otherwise nothing changes.
bool GetTax(qint32& TaxID, QString& Name, double& Value, bool ByID);
// Administration of the rates (modal).
void TaxManage();

} // namespace products
