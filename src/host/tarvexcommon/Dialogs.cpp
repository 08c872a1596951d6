#include "Dialogs.h"

#include "DatabaseError.h"
#include "DatabaseErrorText.h"

#include <stdexcept>

namespace tarvex {

namespace {
Dialogs* g_dialogs = nullptr;
}

Dialogs& dialogs()
{
    if (!g_dialogs)
        throw std::logic_error("No dialogs service is installed");
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
    if (const auto* db = dynamic_cast<const DatabaseError*>(&e))
        return databaseErrorText(*db);
    const QString text = QString::fromUtf8(e.what());
    return text;
}

void Dialogs::showException(const std::exception& e)
{
    const QString text = exceptionText(e);
    if (!text.isEmpty())
        message(MessageKind::Error, text, ButtonOk);
}

} // namespace tarvex
