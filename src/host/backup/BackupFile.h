#pragma once
// The backup file: one file a shop can copy anywhere.
//
//   TARVEX-BACKUP 1\n                       what it is
//   <zstd frames>                            the dump (SQL text), compressed
//   <manifest>                               JSON (BackupManifest)
//   TARVEX-END <sha256> <offset> <length>\n  the SHA-256 of every byte before
//                                            this line; the manifest's place
//
// It is written as NAME.part and renamed to NAME only after the last line is
// on the disk: a file without its last line never passes for a backup, and a
// changed byte anywhere fails the checksum.

#include "BackupManifest.h"
#include "Error.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QString>

#include <functional>
#include <memory>

namespace tarvex {

inline const QString BACKUP_DISK_FULL_ERR =
    QStringLiteral("Na disku nema mesta za rezervnu kopiju u fascikli %1. Kopija nije napravljena; podaci i ranije "
                   "kopije su netaknuti. Oslobodite prostor pa pokušajte ponovo.");
inline const QString BACKUP_WRITE_ERR =
    QStringLiteral("Rezervna kopija %1 ne može da se upiše: %2. Podaci i ranije kopije su netaknuti.");
inline const QString BACKUP_READ_ERR = QStringLiteral("Datoteka %1 ne može da se pročita: %2.");
inline const QString BACKUP_NOT_A_BACKUP_ERR =
    QStringLiteral("Datoteka %1 nije rezervna kopija ovog programa.");
inline const QString BACKUP_INCOMPLETE_ERR =
    QStringLiteral("Rezervna kopija %1 nije cela (prekinuta ili skraćena). Podaci nisu dirani; izaberite drugu kopiju.");
inline const QString BACKUP_CHECKSUM_ERR =
    QStringLiteral("Rezervna kopija %1 je oštećena ili izmenjena (kontrolni zbir se ne slaže). Podaci nisu dirani; "
                   "izaberite drugu kopiju.");

// A backup or restore that could not be done; the text says why and that
// nothing was lost.
class BackupError : public TarvexError {
public:
    explicit BackupError(const QString& userText, const QString& detail = QString())
        : TarvexError(ErrorKind::File, userText, detail)
    {
    }
};

// Writes a backup file: the dump's text goes in through add(), the manifest
// last. Nothing named `path` exists until finish() returns.
class BackupFileWriter {
public:
    explicit BackupFileWriter(const QString& path);
    ~BackupFileWriter();  // removes the unfinished file
    BackupFileWriter(const BackupFileWriter&) = delete;
    BackupFileWriter& operator=(const BackupFileWriter&) = delete;

    void add(const char* data, qint64 size);
    // Ends the dump, writes the manifest and the last line, puts it on the
    // disk and gives the file its name.
    void finish(const BackupManifest& manifest);
    // Bytes written to the file so far.
    qint64 written() const { return m_written; }
    static QString partPath(const QString& path) { return path + QStringLiteral(".part"); }

private:
    void writeRaw(const QByteArray& bytes);
    void compress(const char* data, qint64 size, bool end);
    [[noreturn]] void fail(int error);

    QString m_path;
    int m_fd = -1;
    void* m_stream = nullptr;
    QCryptographicHash m_hash{QCryptographicHash::Sha256};
    qint64 m_written = 0;
    bool m_finished = false;
};

// Reads a backup file: check() reads it whole and refuses it, before anything
// else happens, unless its last line and checksum hold.
class BackupFileReader {
public:
    explicit BackupFileReader(const QString& path);

    // Verifies the file and reads its manifest. Throws BackupError.
    const BackupManifest& check();
    // The dump's text in pieces, in order (after check()). `sink` returns
    // false to stop.
    void readDump(const std::function<bool(const char*, qint64)>& sink);
    const BackupManifest& manifest() const { return m_manifest; }
    // Size of the compressed dump, for progress.
    qint64 dumpBytes() const { return m_manifestOffset - m_dumpOffset; }

private:
    QString m_path;
    BackupManifest m_manifest;
    qint64 m_dumpOffset = 0;
    qint64 m_manifestOffset = 0;
    bool m_checked = false;
};

} // namespace tarvex
