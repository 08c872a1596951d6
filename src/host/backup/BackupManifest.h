#pragma once
// What a backup holds, written into its file: the database, when, which
// schema version, and per table a checksum of its rows as the dump wrote
// them. DumpDigest computes those checksums from a dump's text, so a
// restored database dumped again the same way must give the same ones.

#include <QByteArray>
#include <QCryptographicHash>
#include <QDateTime>
#include <QMap>
#include <QString>

#include <memory>

namespace tarvex {

struct BackupManifest {
    QString database;
    QDateTime created;
    int schemaVersion = 0;
    QString serverVersion;
    qint64 dumpBytes = 0;                 // the dump's text, uncompressed
    QMap<QString, QByteArray> tables;     // table -> SHA-256 (hex) of its rows

    QByteArray toJson() const;
    // False when the text is not a manifest.
    static bool fromJson(const QByteArray& json, BackupManifest& manifest);
};

// Per table, the SHA-256 of the dump's INSERT lines for it, in order; a
// table the dump created without rows has the digest of nothing.
class DumpDigest {
public:
    void add(const char* data, qint64 size);
    // The digests once the whole dump went through add().
    QMap<QString, QByteArray> tables();

private:
    void line(const QByteArray& text);

    QByteArray m_partial;
    QMap<QString, std::shared_ptr<QCryptographicHash>> m_hashes;
};

} // namespace tarvex
