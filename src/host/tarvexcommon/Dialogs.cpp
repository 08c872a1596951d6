#include "Dialogs.h"

#include "Error.h"

namespace tarvex {

namespace {
Dialogs* g_dialogs = nullptr;
}

Dialogs& dialogs()
{
    if (!g_dialogs)
        throw InternalError(QStringLiteral("No dialogs service is installed"));
    return *g_dialogs;
}

Dialogs* setDialogs(Dialogs* service)
{
    Dialogs* previous = g_dialogs;
    g_dialogs = service;
    return previous;
}

QString exceptionText(const std::exception& e)
{
    if (const auto* error = dynamic_cast<const TarvexError*>(&e))
        return error->userText();
    return ERR_UNEXPECTED_FMT.arg(QString::fromUtf8(e.what()));
}

void Dialogs::showException(const std::exception& e)
{
    const QString text = exceptionText(e);
    if (text.isEmpty())
        return;
    const auto* error = dynamic_cast<const TarvexError*>(&e);
    if (error && !error->detail().isEmpty())
        errorWithDetails(text, error->detail());
    else
        message(MessageKind::Error, text, ButtonOk);
}

} // namespace tarvex
