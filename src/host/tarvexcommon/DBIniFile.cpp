#include "DBIniFile.h"

#include "Connection.h"
#include "DatabaseError.h"
#include "IniFile.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace tarvex {

namespace {

QSqlQuery run(const QSqlDatabase& db, const QString& sql, const QVariantList& values)
{
    return selectSql(db, sql, values);
}

} // namespace

TDBIniFile::TDBIniFile(const QSqlDatabase& db) : m_db(db) {}

QString TDBIniFile::lookup(const QString& section, const QString& name) const
{
    QSqlQuery query = run(m_db, QStringLiteral("SELECT value FROM dbinifile WHERE section = ? AND name = ?"),
                          {section, name});
    if (!query.next())
        return QString();
    // A stored NULL is an empty value, not a missing key.
    const QString value = query.value(0).toString();
    return value.isNull() ? QStringLiteral("") : value;
}

QString TDBIniFile::ReadString(const QString& section, const QString& name, const QString& defaultValue) const
{
    const QString value = lookup(section, name);
    return value.isNull() ? defaultValue : value;
}

int TDBIniFile::ReadInteger(const QString& section, const QString& name, int defaultValue) const
{
    return optionToInteger(lookup(section, name), defaultValue);
}

bool TDBIniFile::ReadBool(const QString& section, const QString& name, bool defaultValue) const
{
    return optionToBool(lookup(section, name), defaultValue);
}

double TDBIniFile::ReadFloat(const QString& section, const QString& name, double defaultValue) const
{
    return optionToFloat(lookup(section, name), defaultValue);
}

void TDBIniFile::WriteString(const QString& section, const QString& name, const QString& value)
{
    // A null QString would bind as SQL NULL; store the empty text instead.
    const QString stored = value.isNull() ? QStringLiteral("") : value;
    run(m_db,
        QStringLiteral("INSERT INTO dbinifile (section, name, value) VALUES (?, ?, ?) "
                       "ON DUPLICATE KEY UPDATE value = ?"),
        {section, name, stored, stored});
}

void TDBIniFile::WriteInteger(const QString& section, const QString& name, int value)
{
    WriteString(section, name, QString::number(value));
}

void TDBIniFile::WriteBool(const QString& section, const QString& name, bool value)
{
    WriteString(section, name, boolToOption(value));
}

void TDBIniFile::WriteFloat(const QString& section, const QString& name, double value)
{
    WriteString(section, name, floatToOption(value));
}

bool TDBIniFile::ValueExists(const QString& section, const QString& name) const
{
    return !lookup(section, name).isNull();
}

bool TDBIniFile::SectionExists(const QString& section) const
{
    return run(m_db, QStringLiteral("SELECT 1 FROM dbinifile WHERE section = ? LIMIT 1"), {section}).next();
}

QStringList TDBIniFile::ReadSection(const QString& section) const
{
    QSqlQuery query = run(m_db, QStringLiteral("SELECT name FROM dbinifile WHERE section = ? ORDER BY name"),
                          {section});
    QStringList names;
    while (query.next())
        names << query.value(0).toString();
    return names;
}

void TDBIniFile::DeleteKey(const QString& section, const QString& name)
{
    run(m_db, QStringLiteral("DELETE FROM dbinifile WHERE section = ? AND name = ?"), {section, name});
}

void TDBIniFile::EraseSection(const QString& section)
{
    run(m_db, QStringLiteral("DELETE FROM dbinifile WHERE section = ?"), {section});
}

} // namespace tarvex
