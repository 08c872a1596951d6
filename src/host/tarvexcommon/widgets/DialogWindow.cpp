#include "DialogWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QShowEvent>

namespace tarvex {

DialogWindow::DialogWindow(QWidget* parent) : QDialog(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
}

void DialogWindow::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        const QWidget* over = parentWidget() ? parentWidget()->window() : nullptr;
        const QRect area = over ? over->frameGeometry()
                                : (screen() ? screen()->availableGeometry() : QRect(0, 0, 1024, 768));
        QRect frame = frameGeometry();
        frame.moveCenter(area.center());
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}

} // namespace tarvex
