#include "CustomDetailForm.h"

#include "DBControls.h"
#include "Dialogs.h"
#include "Guarded.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTextEdit>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tarvex {

TCustomDetailForm::TCustomDetailForm(QWidget* parent) : QDialog(parent)
{
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowSystemMenuHint);
    m_pages = new QTabWidget(this);
    m_general = new QWidget(m_pages);
    m_pages->addTab(m_general, QStringLiteral("Opšte"));

    m_cancel = new QAction(QStringLiteral("&Otkaži"), this);
    m_apply = new QAction(QStringLiteral("&Primeni"), this);
    m_ok = new QAction(QStringLiteral("&U redu"), this);
    connect(m_cancel, &QAction::triggered, this, guardedSlot([this] { CustomCancelExecute(); }));
    connect(m_apply, &QAction::triggered, this, [this] { (void)runApply(); });
    connect(m_ok, &QAction::triggered, this, guardedSlot([this] { CustomOKExecute(); }));

    m_bottom = new QWidget(this);
    m_cancelButton = new QPushButton(m_cancel->text(), m_bottom);
    m_applyButton = new QPushButton(m_apply->text(), m_bottom);
    m_okButton = new QPushButton(m_ok->text(), m_bottom);
    m_okButton->setDefault(true);
    // Pressing Cancel drops what is typed: leaving an edit for it stores nothing.
    FieldLink::setDiscardsEdits(m_cancelButton);
    connect(m_cancelButton, &QPushButton::clicked, m_cancel, &QAction::trigger);
    connect(m_applyButton, &QPushButton::clicked, m_apply, &QAction::trigger);
    connect(m_okButton, &QPushButton::clicked, m_ok, &QAction::trigger);
    connect(m_apply, &QAction::changed, m_applyButton, [this] { m_applyButton->setEnabled(m_apply->isEnabled()); });
    auto* buttons = new QHBoxLayout(m_bottom);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addStretch();
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);
    buttons->addWidget(m_applyButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addWidget(m_bottom);
}

void TCustomDetailForm::updateActions()
{
    m_apply->setEnabled(!m_readOnlyView && CustomApplyUpdate());
    if (m_readOnlyView)
        m_ok->setEnabled(false);
}

void TCustomDetailForm::setReadOnlyView()
{
    m_readOnlyView = true;
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        edit->setReadOnly(true);
    for (QAbstractSpinBox* spin : findChildren<QAbstractSpinBox*>())
        spin->setReadOnly(true);
    for (QTextEdit* text : findChildren<QTextEdit*>())
        text->setReadOnly(true);
    for (QPlainTextEdit* text : findChildren<QPlainTextEdit*>())
        text->setReadOnly(true);
    for (QAbstractItemView* view : findChildren<QAbstractItemView*>())
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (QComboBox* box : findChildren<QComboBox*>()) {
        // A combo's own line edit and list were made read-only above.
        box->setEnabled(false);
    }
    for (QAbstractButton* button : findChildren<QAbstractButton*>()) {
        if (button == m_cancelButton || button->property(kReadsOnly).toBool() || qobject_cast<QTabBar*>(button->parent()))
            continue;
        button->setEnabled(false);
    }
    m_okButton->hide();
    m_applyButton->hide();
    m_cancelButton->setText(QStringLiteral("&Zatvori"));
    updateActions();
}

bool TCustomDetailForm::runApply()
{
    updateActions();
    if (!m_apply->isEnabled())
        return true;
    bool applied = false;
    guarded([this, &applied] { applied = CustomApplyExecute(); });
    updateActions();
    return applied;
}

void TCustomDetailForm::CustomOKExecute()
{
    // A refused apply leaves the unsaved changes to the close check's question.
    (void)runApply();
    close();
}

void TCustomDetailForm::closeEvent(QCloseEvent* event)
{
    bool allowed = false;
    guarded([this, &allowed] { allowed = FormCloseQuery(); });
    if (!allowed) {
        event->ignore();
        return;
    }
    event->accept();
    // Ends a modal loop and hides, without going through reject() again.
    QDialog::done(result() == QDialog::Accepted ? QDialog::Accepted : QDialog::Rejected);
}

void TCustomDetailForm::reject()
{
    // Escape and the close box go through the close check too.
    close();
}

} // namespace tarvex
