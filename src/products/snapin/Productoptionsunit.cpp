#include "Productoptionsunit.h"

#include "Modal.h"
#include "OkCancelRow.h"

#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace products {

TOptionsForm::TOptionsForm(ProductOptionStores& stores, TProductOptions& options, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Opcije"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* tabs = new QTabWidget(this);
    m_frame = new TProductOptionsTabFrame(stores, options, tabs);
    tabs->addTab(m_frame, QStringLiteral("Opšte"));
    const tarvex::OkCancelRow buttons = tarvex::makeOkCancelRow(this);
    m_ok = buttons.ok;
    m_cancel = buttons.cancel;
    connect(m_ok, &QPushButton::clicked, this, [this] {
        m_frame->ControlsToOptions();
        accept();
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addLayout(buttons.layout);
    // FormCreate
    m_frame->OptionsToControls();
}

void ShowProductOptions(ProductOptionStores& stores, TProductOptions& options)
{
    auto* form = new TOptionsForm(stores, options);
    tarvex::execModal(*form);
}

} // namespace products
