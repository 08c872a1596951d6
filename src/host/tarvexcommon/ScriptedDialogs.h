#pragma once
// A dialogs service for tests: records every question and message, answers
// from a queue. A message with only an OK button needs no answer; any other
// question without a queued answer fails loudly.

#include "Dialogs.h"

#include <QList>
#include <QVariant>

namespace tarvex {

class ScriptedDialogs : public Dialogs {
public:
    struct Shown {
        QString what;          // "message", "input", "date", "folder", "open", "save", "change"
        MessageKind kind = MessageKind::Information;
        QString text;          // message text, or the title of the other dialogs
        int buttons = 0;
        QString details;       // an error's detail to unfold
    };

    // Installs itself as the service and puts the previous one back when destroyed.
    ScriptedDialogs();
    ~ScriptedDialogs() override;

    // Queues the next answer: a button for a message, a text for an input or
    // a file dialog (an empty text cancels), a date for the date picker (an
    // invalid date cancels), an answer for changeOptions.
    ScriptedDialogs& answer(const QVariant& value);

    const QList<Shown>& shown() const { return m_shown; }
    // Texts of the messages shown, in order.
    QStringList messages() const;
    bool pending() const { return !m_answers.isEmpty(); }
    void clear();

    int message(MessageKind kind, const QString& text, int buttons) override;
    bool inputQuery(const QString& title, const QString& prompt, QString& value) override;
    bool getDate(QDate& date) override;
    QString browseFolder(const QString& title, const QString& startFolder) override;
    QString openFileName(const QString& title, const QString& startPath, const QString& filter) override;
    QString saveFileName(const QString& title, const QString& startPath, const QString& filter) override;
    int changeOptions() override;
    void errorWithDetails(const QString& text, const QString& details) override;

private:
    QVariant next(const QString& question);

    QList<Shown> m_shown;
    QList<QVariant> m_answers;
    Dialogs* m_previous = nullptr;
};

} // namespace tarvex
