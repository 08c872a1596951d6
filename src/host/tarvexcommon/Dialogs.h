#pragma once
// The host's dialogs service: every question and message a window puts to the
// user goes through it, so tests can answer them from a script. One instance
// serves the process (the host installs it; tests install a scripted one).

#include <QDate>
#include <QString>
#include <exception>


namespace tarvex {

enum class MessageKind { Error, Warning, Information, Confirmation };

// Buttons of a message box (combinable) and the answers they give.
enum MessageButton : int {
    ButtonOk = 0x1,
    ButtonCancel = 0x2,
    ButtonYes = 0x4,
    ButtonNo = 0x8,
    ButtonAbort = 0x10,
    ButtonRetry = 0x20,
    ButtonIgnore = 0x40,
    // Not a button: "No" is the default, so Enter keeps what is there.
    DefaultNo = 0x100,
};

// Answers of ChangeOptions.
enum ChangeOptionsAnswer : int { ChangeOptionsChange = 0, ChangeOptionsRemove = 1, ChangeOptionsKeep = 2 };

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Shows a message box; returns the button pressed (Cancel, or No, when closed).
    virtual int message(MessageKind kind, const QString& text, int buttons) = 0;
    // Asks for one line of text; true and the text when confirmed.
    virtual bool inputQuery(const QString& title, const QString& prompt, QString& value) = 0;
    // The date picker; true and the chosen date when confirmed.
    virtual bool getDate(QDate& date) = 0;
    // Chooses a folder; empty when cancelled.
    virtual QString browseFolder(const QString& title, const QString& startFolder) = 0;
    // Chooses a file to open / to save; empty when cancelled.
    virtual QString openFileName(const QString& title, const QString& startPath, const QString& filter) = 0;
    virtual QString saveFileName(const QString& title, const QString& startPath, const QString& filter) = 0;
    // The three-way question: change, remove, or keep.
    virtual int changeOptions() = 0;
    // An error box whose technical detail the user may unfold (for support);
    // without a place for it, the text alone.
    virtual void errorWithDetails(const QString& text, const QString& details)
    {
        (void)details;
        error(text);
    }

    // Shorthands of message().
    void error(const QString& text) { message(MessageKind::Error, text, ButtonOk); }
    void warning(const QString& text) { message(MessageKind::Warning, text, ButtonOk); }
    void information(const QString& text) { message(MessageKind::Information, text, ButtonOk); }
    bool confirm(const QString& text) { return message(MessageKind::Confirmation, text, ButtonYes | ButtonNo) == ButtonYes; }
    // The question before a delete: "No" is the default button.
    bool confirmDelete(const QString& text)
    {
        return message(MessageKind::Confirmation, text, ButtonYes | ButtonNo | DefaultNo) == ButtonYes;
    }

    // The host's default handling of an unhandled error: an error box with its
    // user's text (for a database error, the server's message below it) and
    // its detail to unfold. A silent abort shows nothing.
    void showException(const std::exception& e);
};

// The service in force. Throws InternalError when none is installed.
Dialogs& dialogs();
// Installs a service (not owned); returns the previous one.
Dialogs* setDialogs(Dialogs* service);

// Text shown for an error by showException (empty for a silent abort): the
// user's text of ours, the text of any other exception as an unexpected one.
QString exceptionText(const std::exception& e);

} // namespace tarvex
