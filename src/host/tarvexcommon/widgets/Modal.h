#pragma once
// Every modal window is shown through this one host function, so a test can
// take the window over: fill it, press its buttons, read its rows, and close
// it, without an event loop that blocks.

#include <functional>

class QDialog;

namespace tarvex {

using ModalHandler = std::function<int(QDialog&)>;

// Shows the dialog modally (QDialog::exec) or hands it to the installed
// handler; returns the dialog's result.
int execModal(QDialog& dialog);

// Installs a handler for the modal windows shown from now on; returns the
// previous one. An empty handler restores QDialog::exec.
ModalHandler setModalHandler(ModalHandler handler);

// Installs a handler for its lifetime (tests).
class ScopedModalHandler {
public:
    explicit ScopedModalHandler(ModalHandler handler) : m_previous(setModalHandler(std::move(handler))) {}
    ~ScopedModalHandler() { setModalHandler(std::move(m_previous)); }
    ScopedModalHandler(const ScopedModalHandler&) = delete;
    ScopedModalHandler& operator=(const ScopedModalHandler&) = delete;

private:
    ModalHandler m_previous;
};

} // namespace tarvex
