#include "Importfile.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

namespace products {

namespace {

const QString FILE_OPEN_ERR = QStringLiteral("Datoteka \"%1\" ne može da se otvori.");
const QString FILE_SIZE_ERR =
    QStringLiteral("Datoteka je prevelika (%1 MB); uvoz prima datoteke do %2 MB. Podelite je na manje delove.");
const QString FILE_CHANGED_ERR = QStringLiteral(
    "Datoteka je izmenjena dok je čitana. Sačekajte da je drugi program sačuva do kraja, pa pokušajte ponovo.");
const QString FILE_EMPTY_ERR = QStringLiteral("Datoteka je prazna.");

// Size and time of the last write: what tells a file written meanwhile.
struct Stamp {
    qint64 size = -1;
    QDateTime modified;
    bool operator==(const Stamp& other) const { return size == other.size && modified == other.modified; }
};

Stamp stampOf(const QString& path)
{
    QFileInfo info(path);
    info.setCaching(false);
    if (!info.exists() || !info.isFile())
        throw ImportFileError(FILE_OPEN_ERR.arg(QFileInfo(path).fileName()));
    return Stamp{info.size(), info.fileTime(QFileDevice::FileModificationTime)};
}

void checkSize(qint64 size)
{
    if (size > kImportMaxFileBytes) {
        // Thousands grouped with dots, as numbers are written here.
        QString megabytes = QString::number(size / (1024 * 1024));
        for (qsizetype at = megabytes.size() - 3; at > 0; at -= 3)
            megabytes.insert(at, QLatin1Char('.'));
        throw ImportFileError(FILE_SIZE_ERR.arg(megabytes).arg(kImportMaxFileBytes / (1024 * 1024)));
    }
    if (size == 0)
        throw ImportFileError(FILE_EMPTY_ERR);
}

bool looksLikeZip(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(2) == "PK";
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ImportFileError(FILE_OPEN_ERR.arg(QFileInfo(path).fileName()), file.errorString());
    return file.readAll();
}

} // namespace

ImportFormat ImportFile::guess(const QString& path)
{
    checkSize(stampOf(path).size);
    ImportFormat format;
    format.spreadsheet = path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive) || looksLikeZip(path);
    if (format.spreadsheet)
        return format;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ImportFileError(FILE_OPEN_ERR.arg(QFileInfo(path).fileName()), file.errorString());
    // The start is enough for a guess; a UTF-8 letter cut at its end is not an error.
    QByteArray start = file.read(64 * 1024);
    if (!file.atEnd()) {
        int cut = int(start.size());
        while (cut > 0 && (uchar(start[cut - 1]) & 0xC0) == 0x80)
            --cut;
        if (cut > 0 && uchar(start[cut - 1]) >= 0xC0)
            --cut;
        start.truncate(cut);
    }
    format.encoding = csv::guessEncoding(start);
    format.separator = csv::guessSeparator(csv::decode(start, format.encoding));
    return format;
}

void ImportFile::read(const QString& path, const ImportFormat& format, const ImportRowSink& sink)
{
    const Stamp before = stampOf(path);
    checkSize(before.size);
    bool stopped = false;
    const ImportRowSink counted = [&](int row, const QStringList& cells) {
        if (sink(row, cells))
            return true;
        stopped = true;
        return false;
    };
    try {
        if (format.spreadsheet)
            xlsx::read(path, counted);
        else
            csv::parse(csv::decode(readAll(path), format.encoding), format.separator, counted);
    } catch (const ImportFileError&) {
        // A file written meanwhile may well look broken: that is the news.
        if (!(stampOf(path) == before))
            throw ImportFileError(FILE_CHANGED_ERR);
        throw;
    }
    if (!(stampOf(path) == before))
        throw ImportFileError(FILE_CHANGED_ERR);
}

} // namespace products
