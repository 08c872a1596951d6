#include "ScriptedDialogs.h"

#include <stdexcept>

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
        throw std::logic_error(("No scripted answer for: " + question).toStdString());
    return m_answers.takeFirst();
}

int ScriptedDialogs::message(MessageKind kind, const QString& text, int buttons)
{
    m_shown << Shown{QStringLiteral("message"), kind, text, buttons};
    if (buttons == ButtonOk && (m_answers.isEmpty() || m_answers.first().toInt() != ButtonOk))
        return ButtonOk;
    const int pressed = next(text).toInt();
    if (!(pressed & buttons))
        throw std::logic_error(QStringLiteral("Scripted answer %1 is not a button of: %2").arg(pressed).arg(text).toStdString());
    return pressed;
}

bool ScriptedDialogs::inputQuery(const QString& title, const QString& prompt, QString& value)
{
    m_shown << Shown{QStringLiteral("input"), MessageKind::Confirmation, title + QLatin1Char('\n') + prompt, 0};
    const QVariant answer = next(prompt);
    if (answer.isNull())
        return false;
    value = answer.toString();
    return true;
}

bool ScriptedDialogs::getDate(QDate& date)
{
    m_shown << Shown{QStringLiteral("date"), MessageKind::Confirmation, date.toString(Qt::ISODate), 0};
    const QDate answer = next(QStringLiteral("date")).toDate();
    if (!answer.isValid())
        return false;
    date = answer;
    return true;
}

QString ScriptedDialogs::browseFolder(const QString& title, const QString&)
{
    m_shown << Shown{QStringLiteral("folder"), MessageKind::Confirmation, title, 0};
    return next(title).toString();
}

QString ScriptedDialogs::openFileName(const QString& title, const QString&, const QString&)
{
    m_shown << Shown{QStringLiteral("open"), MessageKind::Confirmation, title, 0};
    return next(title).toString();
}

QString ScriptedDialogs::saveFileName(const QString& title, const QString&, const QString&)
{
    m_shown << Shown{QStringLiteral("save"), MessageKind::Confirmation, title, 0};
    return next(title).toString();
}

int ScriptedDialogs::changeOptions()
{
    m_shown << Shown{QStringLiteral("change"), MessageKind::Confirmation, QString(), 0};
    return next(QStringLiteral("change options")).toInt();
}

} // namespace tarvex
