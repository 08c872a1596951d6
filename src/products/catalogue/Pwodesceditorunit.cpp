#include "Pwodesceditorunit.h"

#include "Modal.h"
#include "OkCancelRow.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace products {

TPWODescEditorForm::TPWODescEditorForm(QWidget* parent) : tarvex::DialogWindow(parent)
{
    setWindowTitle(QStringLiteral("Editor"));
    m_memo = new QPlainTextEdit(this);
    m_memo->setObjectName(QStringLiteral("PWODescMemo"));
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Long lines stay on one line; the horizontal bar reaches them.
    m_memo->setLineWrapMode(QPlainTextEdit::NoWrap);

    const tarvex::OkCancelRow buttons = tarvex::makeOkCancelRow(this);
    m_ok = buttons.ok;
    m_cancel = buttons.cancel;
    // Enter belongs to the memo (new lines), not to a default button.
    m_ok->setDefault(false);
    m_ok->setAutoDefault(false);
    m_cancel->setAutoDefault(false);
    connect(m_ok, &QPushButton::clicked, this, &TPWODescEditorForm::OKButtonClick);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_memo, 1);
    layout->addLayout(buttons.layout);
    resize(480, 320);
    m_memo->setFocus();
}

void TPWODescEditorForm::OKButtonClick()
{
    m_confirmed = true;
    accept();
}

bool EditPWODesc(QString& Text)
{
    TPWODescEditorForm form;
    // The text is read after the window closed, so it must outlive closing.
    form.setAttribute(Qt::WA_DeleteOnClose, false);
    form.PWODescMemo()->setPlainText(Text);
    tarvex::execModal(form);
    if (!form.confirmed())
        return false;
    Text = form.PWODescMemo()->toPlainText();
    return true;
}

} // namespace products
