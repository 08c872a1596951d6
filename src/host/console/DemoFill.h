#pragma once
// The embedded default's first fill with the demo shop. The generator is a
// program of its own (tarvex-demogen, beside the console), so the console
// carries none of it.

#include "Connection.h"

namespace tarvex {

// Fills the database that `target` names (made with the schema, still empty)
// with the small demo shop: runs the generator and waits for it. Throws
// StartupError with the generator's own words when it fails.
void fillDemoShop(const ConnectionSettings& target);

inline const QString DEMO_FILL_START_ERR =
    QStringLiteral("Program koji pravi demo podatke (%1) nije pokrenut: %2");
inline const QString DEMO_FILL_FAILED_ERR = QStringLiteral("Demo podaci nisu upisani u novu bazu podataka.\n\n%1");

} // namespace tarvex
