#pragma once
// A window opens at the size the user last gave it (remembered in the user's
// state file, in the section named after the window), or at its default
// size, never smaller than its layout needs; the size is noted when it closes.

#include <QSize>
#include <QString>

class QWidget;

namespace products {

void KeepWindowSize(QWidget* window, const QString& section, const QSize& defaultSize);

} // namespace products
