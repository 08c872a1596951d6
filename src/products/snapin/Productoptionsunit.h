#pragma once
// The module's own options window ("Opcije"): the options page on one tab.

#include "Productoptionstabunit.h"

#include <QDialog>

class QPushButton;

namespace products {

class TOptionsForm : public QDialog {
    Q_OBJECT
public:
    TOptionsForm(ProductOptionStores& stores, TProductOptions& options, QWidget* parent = nullptr);

    TProductOptionsTabFrame* frame() const { return m_frame; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }
    int helpContext() const { return 15015; }

private:
    TProductOptionsTabFrame* m_frame = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

// Opens the options window modally.
void ShowProductOptions(ProductOptionStores& stores, TProductOptions& options);

} // namespace products
