#pragma once
// Driving windows as a user does: real modal loops (message boxes, input
// dialogs, windows) answered from a timer once they are up, mouse clicks on
// the widgets and grid cells a user clicks, typing into the focused widget.

#include "QtDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <functional>
#include <utility>

namespace tarvex::test {

// Runs the step on the next modal window of type T that comes up (a new
// active modal widget), from inside its own event loop.
template <class T>
void onModalOf(std::function<void(T&)> step)
{
    QPointer<QWidget> before = QApplication::activeModalWidget();
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, before, step] {
        auto* modal = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!modal || modal == before.data() || !modal->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        // Keys go where the user would type only once the window is active.
        (void)QTest::qWaitForWindowActive(modal);
        step(*modal);
    });
    timer->start();
}

inline void onModal(std::function<void(QWidget&)> step)
{
    onModalOf<QWidget>(std::move(step));
}

inline void click(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

// One key of text (a Serbian letter too) to the widget.
inline void typeChar(QWidget* to, QChar c)
{
    if (c.unicode() < 0x7f && c.isPrint()) {
        QTest::keyClick(to, c.toLatin1());
        return;
    }
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QCoreApplication::sendEvent(to, &press);
}

// Types text into the widget that has the focus.
inline void typeText(const QString& text)
{
    // Each key goes where the focus is now: the first may open an editor.
    for (const QChar c : text)
        if (QWidget* focus = QApplication::focusWidget())
            typeChar(focus, c);
}

inline void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    if (QWidget* to = QApplication::focusWidget())
        QTest::keyClick(to, key, modifiers);
}

// The dialogs service on real Qt message boxes and input dialogs, each
// answered from a timer once its modal loop runs: a message box with the
// queued button (or its OK / No / Cancel), an input dialog with the queued
// text (an empty one cancels). Every message text is recorded.
class LiveDialogs : public QtDialogs {
public:
    LiveDialogs() : m_previous(setDialogs(this)) {}
    ~LiveDialogs() override { setDialogs(m_previous); }
    LiveDialogs(const LiveDialogs&) = delete;
    LiveDialogs& operator=(const LiveDialogs&) = delete;

    // A button for the next message box, a text for the next input dialog.
    LiveDialogs& answer(int button)
    {
        m_answers << QVariant(button);
        return *this;
    }
    LiveDialogs& answer(const QString& text)
    {
        m_answers << QVariant(text);
        return *this;
    }
    const QStringList& messages() const { return m_messages; }
    // Each message's text under "Detalji" (the server's own words), empty for none.
    const QStringList& details() const { return m_details; }
    // The caption of each message box's default button, in order.
    const QStringList& defaultButtons() const { return m_defaultButtons; }
    void clear()
    {
        m_messages.clear();
        m_details.clear();
        m_defaultButtons.clear();
    }
    // Forgets the messages and the answers not used.
    void reset()
    {
        clear();
        m_answers.clear();
    }

    // The window under a closed box is active again, as a window manager makes it.
    template <class Show>
    static auto returningTo(const QPointer<QWidget> window, Show show)
    {
        const auto answer = show();
        if (window && window->isVisible()) {
            window->activateWindow();
            (void)QTest::qWaitForWindowActive(window);
        }
        return answer;
    }

    void errorWithDetails(const QString& text, const QString& details) override
    {
        m_pendingDetails = details;
        QtDialogs::errorWithDetails(text, details);
    }
    int message(MessageKind kind, const QString& text, int buttons) override
    {
        m_messages << text;
        m_details << std::exchange(m_pendingDetails, QString());
        int wanted = 0;
        // A queued button is for the first box that offers it.
        if (!m_answers.isEmpty() && m_answers.first().typeId() == QMetaType::Int &&
            (buttons & m_answers.first().toInt()))
            wanted = m_answers.takeFirst().toInt();
        if (!wanted)
            wanted = (buttons & ButtonOk) ? ButtonOk : (buttons & ButtonNo) ? ButtonNo : ButtonCancel;
        onModalOf<QMessageBox>([this, wanted](QMessageBox& box) {
            m_defaultButtons << (box.defaultButton() ? box.defaultButton()->text() : QString());
            const std::pair<int, QMessageBox::StandardButton> map[] = {
                {ButtonOk, QMessageBox::Ok}, {ButtonCancel, QMessageBox::Cancel}, {ButtonYes, QMessageBox::Yes},
                {ButtonNo, QMessageBox::No}};
            for (const auto& [ours, qt] : map)
                if (ours == wanted && box.button(qt))
                    click(box.button(qt));
        });
        return returningTo(QApplication::activeWindow(), [&] { return QtDialogs::message(kind, text, buttons); });
    }
    bool inputQuery(const QString& title, const QString& prompt, QString& value) override
    {
        m_messages << prompt;
        m_details << QString();
        QString text;
        if (!m_answers.isEmpty() && m_answers.first().typeId() == QMetaType::QString)
            text = m_answers.takeFirst().toString();
        onModalOf<QInputDialog>([text](QInputDialog& input) {
            if (text.isEmpty()) {
                input.reject();
                return;
            }
            auto* line = input.findChild<QLineEdit*>();
            line->selectAll();
            line->setFocus();
            // Into the line itself: on a loaded machine the window under the
            // dialog may take the activation back for a moment.
            for (const QChar c : text)
                typeChar(line, c);
            QTest::keyClick(line, Qt::Key_Return);
        });
        return returningTo(QApplication::activeWindow(), [&] { return QtDialogs::inputQuery(title, prompt, value); });
    }

private:
    Dialogs* m_previous = nullptr;
    QList<QVariant> m_answers;
    QStringList m_messages;
    QStringList m_details;
    QString m_pendingDetails;
    QStringList m_defaultButtons;
};

} // namespace tarvex::test
