#include "LogFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QRegularExpression>

#include <vector>

namespace tarvex {

namespace {

const QString kQuoted = QStringLiteral(R"('(?:[^'\\]|\\.|'')*'|"(?:[^"\\]|\\.|"")*")");

struct Rule {
    QRegularExpression pattern;
    QString replacement;
};

const std::vector<Rule>& rules()
{
    const auto ci = QRegularExpression::CaseInsensitiveOption;
    static const std::vector<Rule> all = {
        // CREATE USER / ALTER USER / GRANT … IDENTIFIED BY [PASSWORD] 'x' or … VIA plugin USING 'x'
        {QRegularExpression(QStringLiteral(R"(\b(IDENTIFIED\s+(?:BY(?:\s+PASSWORD)?|VIA\s+\w+\s+USING)\s+)(%1|(?!PASSWORD\b)[^\s;,)]+))")
                                .arg(kQuoted), ci),
         QStringLiteral("\\1'***'")},
        // PASSWORD('x'), also after USING
        {QRegularExpression(QStringLiteral(R"(\bPASSWORD\s*\(\s*(?:%1)\s*\))").arg(kQuoted), ci),
         QStringLiteral("PASSWORD('***')")},
        // SET PASSWORD [FOR user] = 'x'
        {QRegularExpression(QStringLiteral(R"(\b(PASSWORD\b[^=;'"\n]*=\s*)(%1))").arg(kQuoted), ci),
         QStringLiteral("\\1'***'")},
        // Password=x in settings and connection texts, --password=x on a command line
        {QRegularExpression(QStringLiteral(R"(\b(PASSWORD\s*[=:]\s*)(?!')[^\s;,]+)"), ci), QStringLiteral("\\1***")},
    };
    return all;
}

struct Writer {
    QMutex mutex;
    QFile file;
    LogFileLimits limits;
    QtMessageHandler before = nullptr;
    bool installed = false;
};

Writer& writer()
{
    static Writer w;
    return w;
}

const char* levelName(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg: return "DEBUG";
    case QtInfoMsg: return "INFO";
    case QtWarningMsg: return "WARN";
    case QtCriticalMsg: return "ERROR";
    case QtFatalMsg: return "FATAL";
    }
    return "?";
}

void openFile(Writer& w)
{
    w.file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text);
    // Others on the machine have no business reading it.
    w.file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

// tarvex.log -> tarvex.log.1 -> … -> tarvex.log.<keep>, the oldest dropped.
void rotate(Writer& w)
{
    const QString path = w.file.fileName();
    w.file.close();
    QFile::remove(QStringLiteral("%1.%2").arg(path).arg(w.limits.keep));
    for (int i = w.limits.keep - 1; i >= 1; --i)
        QFile::rename(QStringLiteral("%1.%2").arg(path).arg(i), QStringLiteral("%1.%2").arg(path).arg(i + 1));
    if (w.limits.keep > 0)
        QFile::rename(path, path + QStringLiteral(".1"));
    else
        QFile::remove(path);
    openFile(w);
}

void write(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    // A warning raised while writing (a file that cannot be renamed) goes
    // only to the handler before: the writer holds its lock.
    static thread_local bool writing = false;
    // The console's stderr may end in a journal: it gets the masked text too.
    const QString masked = maskSecrets(message);
    Writer& w = writer();
    if (!writing) {
        writing = true;
        QMutexLocker lock(&w.mutex);
        // Debug output is for developers at their console, not for the file.
        if (type != QtDebugMsg && w.file.isOpen()) {
            QString text = masked;
            text.replace(QLatin1Char('\n'), QStringLiteral("\n    "));
            const QByteArray line = QStringLiteral("%1 %2 %3: %4\n")
                                        .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")),
                                             QString::fromLatin1(levelName(type)),
                                             QString::fromLatin1(context.category ? context.category : "default"), text)
                                        .toUtf8();
            if (w.file.size() > 0 && w.file.size() + line.size() > w.limits.maxBytes)
                rotate(w);
            w.file.write(line);
            w.file.flush();
        }
        writing = false;
    }
    if (w.before)
        w.before(type, context, masked);
}

} // namespace

QString defaultLogFilePath()
{
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty())
        data = QDir::homePath() + QStringLiteral("/.local/share");
    return data + QStringLiteral("/tarvex/tarvex.log");
}

void installLogFile(const QString& path, LogFileLimits limits)
{
    Writer& w = writer();
    {
        QMutexLocker lock(&w.mutex);
        w.file.close();
        w.limits = limits;
        QDir().mkpath(QFileInfo(path).absolutePath());
        w.file.setFileName(path);
        openFile(w);
        if (w.installed)
            return;
        w.installed = true;
    }
    w.before = qInstallMessageHandler(write);
}

void removeLogFile()
{
    Writer& w = writer();
    QMutexLocker lock(&w.mutex);
    if (!w.installed)
        return;
    qInstallMessageHandler(w.before);
    w.before = nullptr;
    w.installed = false;
    w.file.close();
    w.file.setFileName(QString());
}

QString logFilePath()
{
    Writer& w = writer();
    QMutexLocker lock(&w.mutex);
    return w.file.isOpen() ? w.file.fileName() : QString();
}

QString maskSecrets(const QString& text)
{
    if (!text.contains(QLatin1String("PASSWORD"), Qt::CaseInsensitive)
        && !text.contains(QLatin1String("IDENTIFIED"), Qt::CaseInsensitive))
        return text;
    QString masked = text;
    for (const Rule& rule : rules())
        masked.replace(rule.pattern, rule.replacement);
    return masked;
}

} // namespace tarvex
