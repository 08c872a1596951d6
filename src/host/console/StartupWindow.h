#pragma once
// The small window start-up shows while the console is not ready yet: what
// it is doing (starting the server, preparing the database the first time,
// filling the demo shop) and how far it got. It appears with the first step
// told and goes when the console's window comes.

#include <QWidget>

class QLabel;
class QProgressBar;

namespace tarvex {

class StartupWindow : public QWidget {
    Q_OBJECT
public:
    explicit StartupWindow(QWidget* parent = nullptr);

    // Shows the step and the share done (0-100), and lets the screen follow.
    void step(const QString& text, int percent);

    QString stepText() const;
    int percent() const;

private:
    QLabel* m_step = nullptr;
    QProgressBar* m_bar = nullptr;
};

} // namespace tarvex
