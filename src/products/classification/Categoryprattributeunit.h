#pragma once
// The attributes suggested for one category: at most five, each picked from
// the attribute catalogue. The product editor offers them on its attribute
// page.

#include "Smalllistwindow.h"

namespace tarvex {
class DBNavigator;
} // namespace tarvex

namespace products {

class TCategoryPrAttributeForm : public TSmallListWindow {
    Q_OBJECT
public:
    // Rows a category may get through this window.
    static constexpr int MaxAttributes = 5;

    explicit TCategoryPrAttributeForm(QWidget* parent = nullptr);

    tarvex::DBGrid* CategoryPrAttributeDBG() const { return grid(); }
    tarvex::DBNavigator* CategoryPrAttributeNavigator() const { return m_navigator; }
    QPushButton* AddButton() const { return m_add; }

    // Adds an attribute picked from the catalogue (refused past five).
    void AddButtonClick();

private:
    tarvex::DBNavigator* m_navigator = nullptr;
    QPushButton* m_add = nullptr;
};

// Reads the category row and its attribute rows afresh and edits them (modal).
void CategoryPrAttributeManage(qint32 CategoryID);

} // namespace products
