#include "BackupFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <zstd.h>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace tarvex {

namespace {

const QByteArray kMagic("TARVEX-BACKUP 1\n");
const QByteArray kEnd("TARVEX-END ");
constexpr int kLevel = 3;          // zstd's default: fast, and a dump shrinks to about a tenth
constexpr qint64 kTailBytes = 256; // the last line fits

QString errorText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

bool diskFull(int error) { return error == ENOSPC || error == EDQUOT || error == EFBIG; }

} // namespace

BackupFileWriter::BackupFileWriter(const QString& path) : m_path(path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    // The owner's alone: a backup holds the whole shop.
    m_fd = ::open(QFile::encodeName(partPath(path)).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (m_fd < 0)
        fail(errno);
    m_stream = ZSTD_createCStream();
    ZSTD_CCtx_setParameter(static_cast<ZSTD_CStream*>(m_stream), ZSTD_c_compressionLevel, kLevel);
    ZSTD_CCtx_setParameter(static_cast<ZSTD_CStream*>(m_stream), ZSTD_c_checksumFlag, 1);
    try {
        writeRaw(kMagic);
    } catch (...) {
        // No destructor runs for an object whose constructor threw.
        ZSTD_freeCStream(static_cast<ZSTD_CStream*>(m_stream));
        throw;
    }
}

BackupFileWriter::~BackupFileWriter()
{
    ZSTD_freeCStream(static_cast<ZSTD_CStream*>(m_stream));
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_finished)
        QFile::remove(partPath(m_path));
}

void BackupFileWriter::fail(int error)
{
    const QString folder = QFileInfo(m_path).absolutePath();
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    QFile::remove(partPath(m_path));
    if (diskFull(error))
        throw BackupError(BACKUP_DISK_FULL_ERR.arg(folder), errorText(error));
    throw BackupError(BACKUP_WRITE_ERR.arg(m_path, errorText(error)), errorText(error));
}

void BackupFileWriter::writeRaw(const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(m_fd, data, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(errno);
        }
        data += n;
        left -= n;
    }
    m_hash.addData(bytes);
    m_written += bytes.size();
}

void BackupFileWriter::compress(const char* data, qint64 size, bool end)
{
    auto* stream = static_cast<ZSTD_CStream*>(m_stream);
    QByteArray out(int(ZSTD_CStreamOutSize()), Qt::Uninitialized);
    ZSTD_inBuffer in{data, size_t(size), 0};
    for (;;) {
        ZSTD_outBuffer buffer{out.data(), size_t(out.size()), 0};
        const size_t left = ZSTD_compressStream2(stream, &buffer, &in, end ? ZSTD_e_end : ZSTD_e_continue);
        if (ZSTD_isError(left))
            throw BackupError(BACKUP_WRITE_ERR.arg(m_path, QString::fromLatin1(ZSTD_getErrorName(left))));
        if (buffer.pos > 0)
            writeRaw(QByteArray::fromRawData(out.constData(), int(buffer.pos)));
        if (end ? left == 0 : in.pos == in.size)
            return;
    }
}

void BackupFileWriter::add(const char* data, qint64 size) { compress(data, size, false); }

void BackupFileWriter::finish(const BackupManifest& manifest)
{
    compress(nullptr, 0, true);
    const QByteArray json = manifest.toJson();
    const qint64 offset = m_written;
    writeRaw(json);
    const QByteArray last = kEnd + m_hash.result().toHex() + ' ' + QByteArray::number(offset) + ' ' +
                            QByteArray::number(json.size()) + '\n';
    writeRaw(last);
    if (::fsync(m_fd) != 0)
        fail(errno);
    if (::close(m_fd) != 0) {
        m_fd = -1;
        fail(errno);
    }
    m_fd = -1;
    if (::rename(QFile::encodeName(partPath(m_path)).constData(), QFile::encodeName(m_path).constData()) != 0)
        fail(errno);
    m_finished = true;
    // The new name on the disk as well.
    const int dir = ::open(QFile::encodeName(QFileInfo(m_path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

BackupFileReader::BackupFileReader(const QString& path) : m_path(path) {}

const BackupManifest& BackupFileReader::check()
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        throw BackupError(BACKUP_READ_ERR.arg(m_path, file.errorString()), file.errorString());
    if (file.read(kMagic.size()) != kMagic)
        throw BackupError(BACKUP_NOT_A_BACKUP_ERR.arg(m_path));

    // The last line: checksum, then where the manifest lies.
    const qint64 size = file.size();
    const qint64 tailStart = qMax<qint64>(kMagic.size(), size - kTailBytes);
    file.seek(tailStart);
    const QByteArray tail = file.read(size - tailStart);
    const int lineStart = tail.lastIndexOf(kEnd);
    if (lineStart < 0 || !tail.endsWith('\n'))
        throw BackupError(BACKUP_INCOMPLETE_ERR.arg(m_path));
    const QList<QByteArray> fields = tail.mid(lineStart + kEnd.size()).trimmed().split(' ');
    const qint64 checked = tailStart + lineStart;  // every byte before the last line
    bool offsetOk = false;
    bool lengthOk = false;
    if (fields.size() != 3)
        throw BackupError(BACKUP_INCOMPLETE_ERR.arg(m_path));
    m_manifestOffset = fields[1].toLongLong(&offsetOk);
    const qint64 manifestLength = fields[2].toLongLong(&lengthOk);
    if (!offsetOk || !lengthOk || m_manifestOffset < kMagic.size() || m_manifestOffset + manifestLength != checked)
        throw BackupError(BACKUP_CHECKSUM_ERR.arg(m_path));

    QCryptographicHash hash(QCryptographicHash::Sha256);
    file.seek(0);
    QByteArray block;
    qint64 left = checked;
    while (left > 0) {
        block = file.read(qMin<qint64>(left, 1 << 20));
        if (block.isEmpty())
            throw BackupError(BACKUP_READ_ERR.arg(m_path, file.errorString()), file.errorString());
        hash.addData(block);
        left -= block.size();
    }
    if (hash.result().toHex() != fields[0])
        throw BackupError(BACKUP_CHECKSUM_ERR.arg(m_path));
    file.seek(m_manifestOffset);
    if (!BackupManifest::fromJson(file.read(manifestLength), m_manifest))
        throw BackupError(BACKUP_NOT_A_BACKUP_ERR.arg(m_path));
    m_dumpOffset = kMagic.size();
    m_checked = true;
    return m_manifest;
}

void BackupFileReader::readDump(const std::function<bool(const char*, qint64)>& sink)
{
    if (!m_checked)
        throw InternalError(QStringLiteral("A backup's dump was read before its file was checked"));
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        throw BackupError(BACKUP_READ_ERR.arg(m_path, file.errorString()), file.errorString());
    file.seek(m_dumpOffset);
    std::unique_ptr<ZSTD_DStream, size_t (*)(ZSTD_DStream*)> stream(ZSTD_createDStream(), ZSTD_freeDStream);
    QByteArray out(int(ZSTD_DStreamOutSize()), Qt::Uninitialized);
    qint64 left = m_manifestOffset - m_dumpOffset;
    while (left > 0) {
        const QByteArray block = file.read(qMin<qint64>(left, qint64(ZSTD_DStreamInSize())));
        if (block.isEmpty())
            throw BackupError(BACKUP_READ_ERR.arg(m_path, file.errorString()), file.errorString());
        left -= block.size();
        ZSTD_inBuffer in{block.constData(), size_t(block.size()), 0};
        // A full output buffer may hold back more text even when the input is used up.
        bool full = true;
        while (in.pos < in.size || full) {
            ZSTD_outBuffer buffer{out.data(), size_t(out.size()), 0};
            const size_t result = ZSTD_decompressStream(stream.get(), &buffer, &in);
            if (ZSTD_isError(result))
                throw BackupError(BACKUP_CHECKSUM_ERR.arg(m_path), QString::fromLatin1(ZSTD_getErrorName(result)));
            full = buffer.pos == buffer.size;
            if (buffer.pos > 0 && !sink(out.constData(), qint64(buffer.pos)))
                return;
        }
    }
}

} // namespace tarvex
