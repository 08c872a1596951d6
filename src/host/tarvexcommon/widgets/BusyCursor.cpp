#include "BusyCursor.h"

#include <QApplication>
#include <QCursor>

namespace tarvex {

BusyCursor::BusyCursor()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        m_active = true;
    }
}

BusyCursor::~BusyCursor()
{
    if (m_active)
        QApplication::restoreOverrideCursor();
}

} // namespace tarvex
