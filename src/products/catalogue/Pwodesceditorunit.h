#pragma once
// The text editor for the description of a working operation: a memo with
// both scroll bars, confirmed with "U redu" or left with "Otkaži".

#include "DialogWindow.h"

class QPlainTextEdit;
class QPushButton;

namespace products {

class TPWODescEditorForm : public tarvex::DialogWindow {
    Q_OBJECT
public:
    explicit TPWODescEditorForm(QWidget* parent = nullptr);

    QPlainTextEdit* PWODescMemo() const { return m_memo; }
    QPushButton* OKButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }
    bool confirmed() const { return m_confirmed; }

    void OKButtonClick();

private:
    QPlainTextEdit* m_memo = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    bool m_confirmed = false;
};

// Shows the editor with the text; true and the edited text when the user
// confirmed, false and the text as it was otherwise.
bool EditPWODesc(QString& Text);

} // namespace products
