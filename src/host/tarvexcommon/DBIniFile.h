#pragma once
// Options kept in the database (table dbinifile: section, name, value),
// shared by every workstation on that database. Sections and keys compare
// without regard to letter case, as in the column collation. Every value is
// text: integers in decimal, Booleans as "1" and "0", floats with "." as the
// decimal separator. A missing key, or a value that does not read as the
// asked type, yields the caller's default. Database failures throw
// DatabaseError.

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace tarvex {

class TDBIniFile {
public:
    explicit TDBIniFile(const QSqlDatabase& db);

    QString ReadString(const QString& section, const QString& name, const QString& defaultValue) const;
    int ReadInteger(const QString& section, const QString& name, int defaultValue) const;
    // "1", "true", "yes", "y" read as true, "0", "false", "no", "n" as false
    // (any letter case).
    bool ReadBool(const QString& section, const QString& name, bool defaultValue) const;
    double ReadFloat(const QString& section, const QString& name, double defaultValue) const;

    // Insert or update.
    void WriteString(const QString& section, const QString& name, const QString& value);
    void WriteInteger(const QString& section, const QString& name, int value);
    void WriteBool(const QString& section, const QString& name, bool value);
    void WriteFloat(const QString& section, const QString& name, double value);

    bool ValueExists(const QString& section, const QString& name) const;
    bool SectionExists(const QString& section) const;
    // Keys of a section, in ascending order.
    QStringList ReadSection(const QString& section) const;
    void DeleteKey(const QString& section, const QString& name);
    void EraseSection(const QString& section);

private:
    // The stored text, or a null QString when the key is missing.
    QString lookup(const QString& section, const QString& name) const;

    QSqlDatabase m_db;
};

} // namespace tarvex
