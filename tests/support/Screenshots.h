#pragma once
// Saves a window's picture when TARVEX_SCREENSHOT_DIR names a folder
// (scripts/screenshots sets it), so windows can be looked at as a user sees them.

#include <QDir>
#include <QString>
#include <QWidget>

namespace tarvex::test {

inline void saveScreenshot(QWidget& window, const QString& name)
{
    const QString dir = qEnvironmentVariable("TARVEX_SCREENSHOT_DIR");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    window.show();
    window.grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

} // namespace tarvex::test
