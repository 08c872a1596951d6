#include "WheelToArrowFilter.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWheelEvent>
#include <QWidget>

namespace tarvex {

WheelToArrowFilter::WheelToArrowFilter(QObject* parent) : QObject(parent)
{
    QCoreApplication::instance()->installEventFilter(this);
}

WheelToArrowFilter::~WheelToArrowFilter()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

bool WheelToArrowFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Wheel || !watched->isWidgetType())
        return false;
    const auto* wheel = static_cast<QWheelEvent*>(event);
    const int delta = wheel->angleDelta().y();
    // Touchpads open and close a scroll with empty events: those are no turn.
    if (delta == 0 && wheel->phase() != Qt::NoScrollPhase && wheel->phase() != Qt::ScrollUpdate)
        return true;
    const int key = delta > 0 ? Qt::Key_Up : Qt::Key_Down;
    // The key goes to the widget with the keyboard focus in the window under
    // the wheel, like a real key press would.
    QWidget* target = static_cast<QWidget*>(watched)->window()->focusWidget();
    if (!target)
        target = static_cast<QWidget*>(watched);
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &release);
    return true;
}

} // namespace tarvex
