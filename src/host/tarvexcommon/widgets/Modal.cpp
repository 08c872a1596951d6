#include "Modal.h"

#include <QDialog>

namespace tarvex {

namespace {
ModalHandler g_handler;
}

int execModal(QDialog& dialog)
{
    if (g_handler) {
        // Handlers may show nested modal windows; keep ours while it runs.
        ModalHandler handler = g_handler;
        dialog.setModal(true);
        dialog.show();
        const int result = handler(dialog);
        if (dialog.isVisible())
            dialog.done(result);
        return result;
    }
    return dialog.exec();
}

ModalHandler setModalHandler(ModalHandler handler)
{
    ModalHandler previous = std::move(g_handler);
    g_handler = std::move(handler);
    return previous;
}

} // namespace tarvex
