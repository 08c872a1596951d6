#include "IniFile.h"

#include "Error.h"

#include "Workstation.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <vector>

namespace tarvex {

// ------------------------------------------------------------ value texts

QString boolToOption(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

QString floatToOption(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

bool optionToBool(const QString& text, bool defaultValue)
{
    const QString t = text.trimmed().toLower();
    if (t == QLatin1String("1") || t == QLatin1String("true") || t == QLatin1String("yes") || t == QLatin1String("y"))
        return true;
    if (t == QLatin1String("0") || t == QLatin1String("false") || t == QLatin1String("no") || t == QLatin1String("n"))
        return false;
    return defaultValue;
}

int optionToInteger(const QString& text, int defaultValue)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : defaultValue;
}

double optionToFloat(const QString& text, double defaultValue)
{
    bool ok = false;
    // QString::toDouble reads "." only, never the locale's separator.
    const double value = text.trimmed().toDouble(&ok);
    return ok ? value : defaultValue;
}

// ------------------------------------------------------------ file paths

QString IniFilePathForExecutable(const QString& executablePath)
{
    const QFileInfo info(executablePath);
    const QString suffix = info.suffix();
    if (suffix.isEmpty())
        return executablePath + QStringLiteral(".ini");
    return executablePath.left(executablePath.size() - suffix.size()) + QStringLiteral("ini");
}

QString DefaultIniFilePath()
{
    return Workstation::current().settingsFile();
}

// ------------------------------------------------------------ the document

namespace {

const QString INI_READ_ERR = QStringLiteral("Ne mogu da pročitam datoteku \"%1\".");
const QString INI_WRITE_ERR = QStringLiteral("Ne mogu da upišem datoteku \"%1\".");
const QString INI_LINE_BREAK_ERR = QStringLiteral("Podešavanje ne može da sadrži prelom reda.");

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// One line of the file as read, with its meaning.
struct IniLine {
    enum Kind { Other, Section, Entry } kind = Other;
    QString section; // for Section: its name; for Entry: the section it sits in
    QString key;
    QString value;
    QString text;    // the line as it stands in the file
};

// A value with blanks at either end, or in quotes already, is written in
// quotes so that reading gives it back unchanged.
QString valueText(const QString& value)
{
    const bool needsQuotes = value != value.trimmed()
        || (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')));
    return needsQuotes ? QLatin1Char('"') + value + QLatin1Char('"') : value;
}

QString valueFromText(const QString& text)
{
    const QString t = text.trimmed();
    if (t.size() >= 2 && t.startsWith(QLatin1Char('"')) && t.endsWith(QLatin1Char('"')))
        return t.mid(1, t.size() - 2);
    return t;
}

class IniDocument {
public:
    // A missing file reads as empty. One that exists but cannot be read
    // reads as empty too, but refuses to be rewritten: that would lose it.
    enum Purpose { ForReading, ForWriting };
    static IniDocument load(const QString& fileName, Purpose purpose = ForReading)
    {
        IniDocument doc;
        QFile file(fileName);
        if (!file.open(QIODevice::ReadOnly)) {
            if (purpose == ForWriting && file.exists())
                throw TarvexError(ErrorKind::File, INI_READ_ERR.arg(fileName), file.errorString());
            return doc;
        }
        QString content = QString::fromUtf8(file.readAll());
        if (content.startsWith(QChar(0xFEFF)))
            content.remove(0, 1);
        if (content.contains(QLatin1String("\r\n")))
            doc.m_lineEnd = QStringLiteral("\r\n");
        content.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        QStringList lines = content.split(QLatin1Char('\n'));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        QString section;
        for (const QString& text : lines)
            doc.m_lines.push_back(parse(text, section));
        return doc;
    }

    void save(const QString& fileName) const
    {
        QString content;
        for (const IniLine& line : m_lines)
            content += line.text + m_lineEnd;
        QSaveFile file(fileName);
        if (!file.open(QIODevice::WriteOnly) || file.write(content.toUtf8()) < 0 || !file.commit())
            throw TarvexError(ErrorKind::File, INI_WRITE_ERR.arg(fileName), file.errorString());
    }

    const IniLine* find(const QString& section, const QString& key) const
    {
        for (const IniLine& line : m_lines)
            if (line.kind == IniLine::Entry && sameName(line.section, section) && sameName(line.key, key))
                return &line;
        return nullptr;
    }

    bool hasSection(const QString& section) const
    {
        for (const IniLine& line : m_lines)
            if (line.kind == IniLine::Section && sameName(line.section, section))
                return true;
        return false;
    }

    QStringList keys(const QString& section) const
    {
        QStringList out;
        for (const IniLine& line : m_lines)
            if (line.kind == IniLine::Entry && sameName(line.section, section))
                out << line.key;
        return out;
    }

    QStringList sections() const
    {
        QStringList out;
        for (const IniLine& line : m_lines)
            if (line.kind == IniLine::Section && !out.contains(line.section, Qt::CaseInsensitive))
                out << line.section;
        return out;
    }

    void set(const QString& section, const QString& key, const QString& value)
    {
        for (IniLine& line : m_lines) {
            if (line.kind == IniLine::Entry && sameName(line.section, section) && sameName(line.key, key)) {
                line.value = value;
                line.text = line.key + QLatin1Char('=') + valueText(value);
                return;
            }
        }
        IniLine entry;
        entry.kind = IniLine::Entry;
        entry.section = section;
        entry.key = key;
        entry.value = value;
        entry.text = key + QLatin1Char('=') + valueText(value);

        const int header = sectionHeader(section);
        if (header < 0) {
            if (!m_lines.empty() && !m_lines.back().text.trimmed().isEmpty())
                m_lines.push_back(IniLine());
            IniLine head;
            head.kind = IniLine::Section;
            head.section = section;
            head.text = QLatin1Char('[') + section + QLatin1Char(']');
            m_lines.push_back(head);
            m_lines.push_back(entry);
            return;
        }
        // After the section's last entry (or its header), before the blank
        // lines and comments that lead into the next section.
        std::size_t at = static_cast<std::size_t>(header) + 1;
        for (std::size_t i = at; i < m_lines.size() && m_lines[i].kind != IniLine::Section; ++i)
            if (m_lines[i].kind == IniLine::Entry)
                at = i + 1;
        m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at), entry);
    }

    void remove(const QString& section, const QString& key)
    {
        for (auto it = m_lines.begin(); it != m_lines.end(); ++it) {
            if (it->kind == IniLine::Entry && sameName(it->section, section) && sameName(it->key, key)) {
                m_lines.erase(it);
                return;
            }
        }
    }

    void eraseSection(const QString& section)
    {
        std::vector<IniLine> kept;
        bool inside = false;
        for (const IniLine& line : m_lines) {
            if (line.kind == IniLine::Section)
                inside = sameName(line.section, section);
            if (!inside)
                kept.push_back(line);
        }
        m_lines.swap(kept);
    }

private:
    static IniLine parse(const QString& text, QString& section)
    {
        IniLine line;
        line.text = text;
        const QString t = text.trimmed();
        if (t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#')))
            return line;
        if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'))) {
            section = t.mid(1, t.size() - 2).trimmed();
            line.kind = IniLine::Section;
            line.section = section;
            return line;
        }
        const int eq = t.indexOf(QLatin1Char('='));
        if (eq <= 0)
            return line;
        line.kind = IniLine::Entry;
        line.section = section;
        line.key = t.left(eq).trimmed();
        line.value = valueFromText(t.mid(eq + 1));
        return line;
    }

    int sectionHeader(const QString& section) const
    {
        for (std::size_t i = 0; i < m_lines.size(); ++i)
            if (m_lines[i].kind == IniLine::Section && sameName(m_lines[i].section, section))
                return static_cast<int>(i);
        return -1;
    }

    std::vector<IniLine> m_lines;
    QString m_lineEnd = QStringLiteral("\n");
};

void checkName(const QString& what, const QString& name)
{
    const QString t = name.trimmed();
    if (t.isEmpty() || t != name || name.contains(QLatin1Char('\n')) || name.contains(QLatin1Char('\r')))
        throw InternalError(QStringLiteral("INI: %1 \"%2\" cannot be written").arg(what, name));
}

void checkEntry(const QString& section, const QString& key, const QString& value)
{
    checkName(QStringLiteral("section"), section);
    if (section.contains(QLatin1Char(']')))
        throw InternalError(QStringLiteral("INI: a section name cannot hold \"]\""));
    checkName(QStringLiteral("key"), key);
    if (key.contains(QLatin1Char('=')) || key.startsWith(QLatin1Char('[')) || key.startsWith(QLatin1Char(';'))
        || key.startsWith(QLatin1Char('#')))
        throw InternalError(QStringLiteral("INI: key \"%1\" cannot be written").arg(key));
    if (value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r')))
        throw TarvexError(ErrorKind::Validation, INI_LINE_BREAK_ERR, QStringLiteral("INI: a value cannot hold a line break"));
}

} // namespace

// ------------------------------------------------------------ TIniFile

TIniFile::TIniFile(const QString& fileName) : m_fileName(fileName) {}

QString TIniFile::lookup(const QString& section, const QString& key) const
{
    const IniDocument doc = IniDocument::load(m_fileName);
    const IniLine* line = doc.find(section, key);
    if (!line)
        return QString();
    return line->value.isNull() ? QStringLiteral("") : line->value;
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& defaultValue) const
{
    const QString value = lookup(section, key);
    return value.isNull() ? defaultValue : value;
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int defaultValue) const
{
    return optionToInteger(lookup(section, key), defaultValue);
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool defaultValue) const
{
    return optionToBool(lookup(section, key), defaultValue);
}

double TIniFile::ReadFloat(const QString& section, const QString& key, double defaultValue) const
{
    return optionToFloat(lookup(section, key), defaultValue);
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    checkEntry(section, key, value);
    IniDocument doc = IniDocument::load(m_fileName, IniDocument::ForWriting);
    doc.set(section, key, value);
    doc.save(m_fileName);
}

void TIniFile::WriteSection(const QString& section, const QList<QPair<QString, QString>>& entries, bool replace)
{
    for (const auto& [key, value] : entries)
        checkEntry(section, key, value);
    IniDocument doc = IniDocument::load(m_fileName, IniDocument::ForWriting);
    if (replace)
        for (const QString& key : doc.keys(section))
            doc.remove(section, key);
    for (const auto& [key, value] : entries)
        doc.set(section, key, value);
    doc.save(m_fileName);
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value)
{
    WriteString(section, key, boolToOption(value));
}

void TIniFile::WriteFloat(const QString& section, const QString& key, double value)
{
    WriteString(section, key, floatToOption(value));
}

bool TIniFile::ValueExists(const QString& section, const QString& key) const
{
    return !lookup(section, key).isNull();
}

bool TIniFile::SectionExists(const QString& section) const
{
    return IniDocument::load(m_fileName).hasSection(section);
}

QStringList TIniFile::ReadSection(const QString& section) const
{
    return IniDocument::load(m_fileName).keys(section);
}

QStringList TIniFile::ReadSections() const
{
    return IniDocument::load(m_fileName).sections();
}

void TIniFile::DeleteKey(const QString& section, const QString& key)
{
    IniDocument doc = IniDocument::load(m_fileName, IniDocument::ForWriting);
    if (!doc.find(section, key))
        return;
    doc.remove(section, key);
    doc.save(m_fileName);
}

void TIniFile::EraseSection(const QString& section)
{
    IniDocument doc = IniDocument::load(m_fileName, IniDocument::ForWriting);
    if (!doc.hasSection(section))
        return;
    doc.eraseSection(section);
    doc.save(m_fileName);
}

} // namespace tarvex
