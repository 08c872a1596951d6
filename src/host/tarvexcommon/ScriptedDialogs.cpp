#include "ScriptedDialogs.h"

#include "Error.h"

namespace tarvex {

ScriptedDialogs::ScriptedDialogs() : m_previous(setDialogs(this)) {}

ScriptedDialogs::~ScriptedDialogs()
{
    setDialogs(m_previous);
}

ScriptedDialogs& ScriptedDialogs::answer(const QVariant& value)
{
    m_answers << value;
    return *this;
}

QStringList ScriptedDialogs::messages() const
{
    QStringList texts;
    for (const Shown& s : m_shown)
        if (s.what == QLatin1String("message"))
            texts << s.text;
    return texts;
}

void ScriptedDialogs::clear()
{
    m_shown.clear();
    m_answers.clear();
}

QVariant ScriptedDialogs::next(const QString& question)
{
    if (m_answers.isEmpty())
        throw InternalError(QStringLiteral("No scripted answer for: ") + question);
    return m_answers.takeFirst();
}

int ScriptedDialogs::message(MessageKind kind, const QString& text, int buttons)
{
    m_shown << Shown{QStringLiteral("message"), kind, text, buttons, QString()};
    if (buttons == ButtonOk && (m_answers.isEmpty() || m_answers.first().toInt() != ButtonOk))
        return ButtonOk;
    const int pressed = next(text).toInt();
    if (!(pressed & buttons))
        throw InternalError(QStringLiteral("Scripted answer %1 is not a button of: %2").arg(pressed).arg(text));
    return pressed;
}

bool ScriptedDialogs::inputQuery(const QString& title, const QString& prompt, QString& value)
{
    m_shown << Shown{QStringLiteral("input"), MessageKind::Confirmation, title + QLatin1Char('\n') + prompt, 0,
                     QString()};
    const QVariant answer = next(prompt);
    if (answer.isNull())
        return false;
    value = answer.toString();
    return true;
}

bool ScriptedDialogs::getDate(QDate& date)
{
    m_shown << Shown{QStringLiteral("date"), MessageKind::Confirmation, date.toString(Qt::ISODate), 0, QString()};
    const QDate answer = next(QStringLiteral("date")).toDate();
    if (!answer.isValid())
        return false;
    date = answer;
    return true;
}

QString ScriptedDialogs::browseFolder(const QString& title, const QString&)
{
    m_shown << Shown{QStringLiteral("folder"), MessageKind::Confirmation, title, 0, QString()};
    return next(title).toString();
}

QString ScriptedDialogs::openFileName(const QString& title, const QString&, const QString&)
{
    m_shown << Shown{QStringLiteral("open"), MessageKind::Confirmation, title, 0, QString()};
    return next(title).toString();
}

QString ScriptedDialogs::saveFileName(const QString& title, const QString&, const QString&)
{
    m_shown << Shown{QStringLiteral("save"), MessageKind::Confirmation, title, 0, QString()};
    return next(title).toString();
}

void ScriptedDialogs::errorWithDetails(const QString& text, const QString& details)
{
    message(MessageKind::Error, text, ButtonOk);
    m_shown.last().details = details;
}

int ScriptedDialogs::changeOptions()
{
    m_shown << Shown{QStringLiteral("change"), MessageKind::Confirmation, QString(), 0, QString()};
    return next(QStringLiteral("change options")).toInt();
}

} // namespace tarvex
