#pragma once
// Qt's warnings while a window is driven (a cell editor closed twice, a
// layout or a connection gone wrong), for a window test to count as faults.
// The offscreen platform's notes about itself and the program's own log
// lines (categories tarvex.*) are no fault of a window.

#include <QByteArray>
#include <QStringList>
#include <QtGlobal>

namespace tarvex::test {

class QtWarnings {
public:
    QtWarnings() : m_outer(s_current), m_previous(qInstallMessageHandler(&QtWarnings::record)) { s_current = this; }
    ~QtWarnings()
    {
        qInstallMessageHandler(m_previous);
        s_current = m_outer;
    }
    QtWarnings(const QtWarnings&) = delete;
    QtWarnings& operator=(const QtWarnings&) = delete;

    const QStringList& seen() const { return m_seen; }
    QString text() const { return m_seen.join(QLatin1Char('\n')); }

private:
    static void record(QtMsgType type, const QMessageLogContext& context, const QString& text)
    {
        QtWarnings* self = s_current;
        const bool platform = text.startsWith(QStringLiteral("This plugin does not support"));
        const bool ours = context.category && QByteArray(context.category).startsWith("tarvex.");
        if (self && (type == QtWarningMsg || type == QtCriticalMsg || type == QtFatalMsg) && !platform && !ours)
            self->m_seen << text;
        if (self && self->m_previous)
            self->m_previous(type, context, text);
    }

    static inline QtWarnings* s_current = nullptr;
    QtWarnings* m_outer;
    QtMessageHandler m_previous;
    QStringList m_seen;
};

} // namespace tarvex::test
