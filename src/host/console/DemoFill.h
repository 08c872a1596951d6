#pragma once
// The embedded default's first fill with the demo shop. The generator is a
// program of its own (tarvex-demogen, beside the console), so the console
// carries none of it.

#include "Connection.h"
#include "Startup.h"

namespace tarvex {

// Fills the database that `target` names (made with the schema, still empty)
// with the small demo shop: runs the generator, telling its progress, and
// waits for it. Throws StartupError naming the cause when it fails, the
// generator's own words as the detail.
void fillDemoShop(const ConnectionSettings& target, const StartupProgress& progress);
// The same with the generator program given (tests put another in its place).
void runDemoGenerator(const QString& program, const ConnectionSettings& target, const StartupProgress& progress);

inline const QString DEMO_FILL_START_ERR =
    QStringLiteral("Program koji pravi demo podatke (%1) ne može da se pokrene. Instalirajte Tarvex ponovo.");
inline const QString DEMO_FILL_FAILED_ERR = QStringLiteral("Demo podaci nisu upisani u novu bazu podataka.");
inline const QString DEMO_FILL_DISK_FULL_INF =
    QStringLiteral("Na disku nema slobodnog mesta: oslobodite prostor pa pokrenite program ponovo.");
inline const QString DEMO_FILL_STOPPED_INF =
    QStringLiteral("Program koji ih pravi (%1) se prekinuo. Pokrenite program ponovo; ako se greška ponovi, javite se "
                   "podršci i pošaljite tekst koji stoji pod \"Detalji\".");
inline const QString DEMO_FILL_REFUSED_INF = QStringLiteral("Program koji ih pravi je odbio posao: %1");

} // namespace tarvex
