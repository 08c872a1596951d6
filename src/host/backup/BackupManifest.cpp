#include "BackupManifest.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace tarvex {

namespace {

constexpr int kFormat = 1;

// The name between the backquotes that start at `from` (`` doubles one).
QString quotedName(const QByteArray& text, int from)
{
    if (from >= text.size() || text[from] != '`')
        return QString();
    QByteArray name;
    for (int i = from + 1; i < text.size(); ++i) {
        if (text[i] == '`') {
            if (i + 1 < text.size() && text[i + 1] == '`') {
                name += '`';
                ++i;
                continue;
            }
            return QString::fromUtf8(name);
        }
        name += text[i];
    }
    return QString();
}

} // namespace

QByteArray BackupManifest::toJson() const
{
    QJsonObject tableSums;
    for (auto it = tables.begin(); it != tables.end(); ++it)
        tableSums.insert(it.key(), QString::fromLatin1(it.value()));
    QJsonObject root{{QStringLiteral("format"), kFormat},
                     {QStringLiteral("database"), database},
                     {QStringLiteral("created"), created.toUTC().toString(Qt::ISODate)},
                     {QStringLiteral("schemaVersion"), schemaVersion},
                     {QStringLiteral("serverVersion"), serverVersion},
                     {QStringLiteral("dumpBytes"), double(dumpBytes)},
                     {QStringLiteral("tables"), tableSums}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool BackupManifest::fromJson(const QByteArray& json, BackupManifest& manifest)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return false;
    const QJsonObject root = document.object();
    if (root.value(QStringLiteral("format")).toInt() != kFormat || !root.value(QStringLiteral("tables")).isObject())
        return false;
    manifest.database = root.value(QStringLiteral("database")).toString();
    manifest.created = QDateTime::fromString(root.value(QStringLiteral("created")).toString(), Qt::ISODate);
    manifest.schemaVersion = root.value(QStringLiteral("schemaVersion")).toInt();
    manifest.serverVersion = root.value(QStringLiteral("serverVersion")).toString();
    manifest.dumpBytes = qint64(root.value(QStringLiteral("dumpBytes")).toDouble());
    manifest.tables.clear();
    const QJsonObject tableSums = root.value(QStringLiteral("tables")).toObject();
    for (auto it = tableSums.begin(); it != tableSums.end(); ++it)
        manifest.tables.insert(it.key(), it.value().toString().toLatin1());
    return !manifest.database.isEmpty() && manifest.created.isValid();
}

void DumpDigest::add(const char* data, qint64 size)
{
    qint64 start = 0;
    for (qint64 i = 0; i < size; ++i) {
        if (data[i] != '\n')
            continue;
        if (m_partial.isEmpty()) {
            line(QByteArray::fromRawData(data + start, int(i + 1 - start)));
        } else {
            m_partial.append(data + start, int(i + 1 - start));
            line(m_partial);
            m_partial.clear();
        }
        start = i + 1;
    }
    m_partial.append(data + start, int(size - start));
}

void DumpDigest::line(const QByteArray& text)
{
    static const QByteArray create("CREATE TABLE ");
    static const QByteArray insert("INSERT INTO ");
    if (text.startsWith(create)) {
        const QString table = quotedName(text, create.size());
        if (!table.isEmpty() && !m_hashes.contains(table))
            m_hashes.insert(table, std::make_shared<QCryptographicHash>(QCryptographicHash::Sha256));
    } else if (text.startsWith(insert)) {
        const QString table = quotedName(text, insert.size());
        auto& hash = m_hashes[table];
        if (!hash)
            hash = std::make_shared<QCryptographicHash>(QCryptographicHash::Sha256);
        hash->addData(text);
    }
}

QMap<QString, QByteArray> DumpDigest::tables()
{
    if (!m_partial.isEmpty()) {
        line(m_partial);
        m_partial.clear();
    }
    QMap<QString, QByteArray> sums;
    for (auto it = m_hashes.begin(); it != m_hashes.end(); ++it)
        sums.insert(it.key(), it.value()->result().toHex());
    return sums;
}

} // namespace tarvex
