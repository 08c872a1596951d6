#include "Productoptionsunit.h"

#include "Modal.h"

#include <QHBoxLayout>
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
    m_ok = new QPushButton(QStringLiteral("&U redu"), this);
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("&Otkaži"), this);
    connect(m_ok, &QPushButton::clicked, this, [this] {
        m_frame->ControlsToOptions();
        accept();
    });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addLayout(buttons);
    // FormCreate
    m_frame->OptionsToControls();
}

void ShowProductOptions(ProductOptionStores& stores, TProductOptions& options)
{
    auto* form = new TOptionsForm(stores, options);
    tarvex::execModal(*form);
}

} // namespace products
