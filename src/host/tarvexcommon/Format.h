#pragma once
// Filling "%s", "%d" and "%.Nf" slots of message and SQL texts, in order, the
// way the module's texts are written. Numbers always use "." as the decimal
// separator, whatever the locale.

#include <QString>
#include <QVariant>
#include <QVariantList>

namespace tarvex {

// Slots: %s (text), %d (integer), %f and %.Nf (fixed decimals, default 6),
// %% (a percent sign). Throws InternalError when the slots and the
// arguments do not match, so a wrong text never silently reaches the database.
QString Format(const QString& format, const QVariantList& args);

} // namespace tarvex
