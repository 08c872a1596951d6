#pragma once
// The workstation's settings file: a plain INI file in UTF-8 with [sections]
// and key=value lines. Sections and keys compare without regard to letter
// case; keys are kept exactly as written (no escaping, "/" is an ordinary
// character); comment lines (";" or "#") and unknown entries survive writes.
// The file is read at each access and rewritten whole (atomically) at each
// write, so another program's edits between accesses are seen. A missing
// file reads as empty; a missing key yields the caller's default.

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace tarvex {

// Text form of option values, shared by both option stores: Booleans as "1"
// and "0", floats with "." whatever the locale. Reading falls back to the
// default when the text does not hold the asked type.
QString boolToOption(bool value);
QString floatToOption(double value);
bool optionToBool(const QString& text, bool defaultValue);
int optionToInteger(const QString& text, int defaultValue);
double optionToFloat(const QString& text, double defaultValue);

// The executable's path with its extension replaced by ".ini" (or ".ini"
// appended when it has none).
QString IniFilePathForExecutable(const QString& executablePath);
// The workstation's settings file (see Workstation::settingsFile).
QString DefaultIniFilePath();

class TIniFile {
public:
    explicit TIniFile(const QString& fileName);

    const QString& fileName() const { return m_fileName; }

    QString ReadString(const QString& section, const QString& key, const QString& defaultValue) const;
    int ReadInteger(const QString& section, const QString& key, int defaultValue) const;
    bool ReadBool(const QString& section, const QString& key, bool defaultValue) const;
    double ReadFloat(const QString& section, const QString& key, double defaultValue) const;

    // Throw a File error when the file cannot be written, a Validation error
    // for a line break in the value and InternalError for a section or key
    // that an INI line cannot hold ("=" inside, "[" ";" "#" in front, a line
    // break, or empty).
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value);
    void WriteFloat(const QString& section, const QString& key, double value);

    // Writes several keys of a section in one rewrite; with `replace`, the
    // section keeps no other key. Throws as WriteString.
    void WriteSection(const QString& section, const QList<QPair<QString, QString>>& entries, bool replace);

    bool ValueExists(const QString& section, const QString& key) const;
    bool SectionExists(const QString& section) const;
    // Keys of a section in file order.
    QStringList ReadSection(const QString& section) const;
    QStringList ReadSections() const;
    void DeleteKey(const QString& section, const QString& key);
    void EraseSection(const QString& section);

private:
    // The stored value, or a null QString when the key is missing.
    QString lookup(const QString& section, const QString& key) const;

    QString m_fileName;
};

} // namespace tarvex
