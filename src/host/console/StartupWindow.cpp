#include "StartupWindow.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace tarvex {

StartupWindow::StartupWindow(QWidget* parent) : QWidget(parent, Qt::Dialog)
{
    setWindowTitle(QStringLiteral("Tarvex"));
    auto* title = new QLabel(QStringLiteral("Tarvex se pokreće"), this);
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    title->setFont(bold);
    m_step = new QLabel(this);
    m_step->setMinimumWidth(360);
    m_bar = new QProgressBar(this);
    m_bar->setRange(0, 100);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 14, 18, 16);
    layout->addWidget(title);
    layout->addWidget(m_step);
    layout->addWidget(m_bar);
}

void StartupWindow::step(const QString& text, int percent)
{
    m_step->setText(text);
    m_bar->setValue(qBound(0, percent, 100));
    if (!isVisible()) {
        adjustSize();
        if (const QScreen* screen = QApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
        show();
    }
    // Start-up runs on this thread: the window is drawn only when asked to.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

QString StartupWindow::stepText() const
{
    return m_step->text();
}

int StartupWindow::percent() const
{
    return m_bar->value();
}

} // namespace tarvex
