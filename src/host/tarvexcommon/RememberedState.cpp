#include "RememberedState.h"

#include "IniFile.h"
#include "Workstation.h"

#include <QDir>
#include <QFileInfo>

namespace tarvex {

RememberedState::RememberedState(const QString& section, const QString& file)
    : m_section(section), m_file(file.isEmpty() ? stateFilePath() : file)
{
}

QString RememberedState::text(const QString& key, const QString& defaultValue) const
{
    return TIniFile(m_file).ReadString(m_section, key, defaultValue);
}

int RememberedState::number(const QString& key, int defaultValue) const
{
    return TIniFile(m_file).ReadInteger(m_section, key, defaultValue);
}

QByteArray RememberedState::bytes(const QString& key) const
{
    return QByteArray::fromBase64(text(key).toLatin1());
}

QStringList RememberedState::keys() const
{
    return TIniFile(m_file).ReadSection(m_section);
}

bool RememberedState::setText(const QString& key, const QString& value)
{
    return write({{key, value}}, false);
}

bool RememberedState::setNumber(const QString& key, int value)
{
    return setText(key, QString::number(value));
}

bool RememberedState::setBytes(const QString& key, const QByteArray& value)
{
    return setText(key, QString::fromLatin1(value.toBase64()));
}

bool RememberedState::replaceAll(const QList<QPair<QString, QString>>& entries)
{
    return write(entries, true);
}

bool RememberedState::write(const QList<QPair<QString, QString>>& entries, bool replace)
{
    QDir().mkpath(QFileInfo(m_file).absolutePath());
    try {
        TIniFile(m_file).WriteSection(m_section, entries, replace);
        return true;
    } catch (const std::exception&) {
        return false;  // see the header: forgotten, not an error
    }
}

} // namespace tarvex
