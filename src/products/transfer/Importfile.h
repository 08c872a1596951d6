#pragma once
// Reading a catalogue file for the import: an .xlsx workbook (its first
// sheet) or a CSV text, row by row, with the file's own row numbers. A file
// the import cannot trust as a whole (broken, too big, a wrong encoding,
// formulas, merged cells, too many columns, changed while read) is refused
// with an ImportFileError whose text tells the user what to do.

#include "Error.h"

#include <QChar>
#include <QString>
#include <QStringList>
#include <functional>

namespace products {

enum class ImportEncoding { Utf8, Windows1250 };

struct ImportFormat {
    bool spreadsheet = false; // .xlsx; encoding and separator are the CSV's
    ImportEncoding encoding = ImportEncoding::Utf8;
    QChar separator = QLatin1Char(';');
};

class ImportFileError : public tarvex::TarvexError {
public:
    explicit ImportFileError(const QString& text, const QString& detail = QString())
        : tarvex::TarvexError(tarvex::ErrorKind::File, text, detail)
    {
    }
};

// What a file may be at most.
inline constexpr qint64 kImportMaxFileBytes = 100LL * 1024 * 1024;
inline constexpr qint64 kImportMaxSheetBytes = 1024LL * 1024 * 1024; // unpacked sheet XML
inline constexpr int kImportMaxColumns = 100;

// Gets each row: its number in the file (the header is row 1) and its cells.
// Returning false stops the reading there (a preview).
using ImportRowSink = std::function<bool(int row, const QStringList& cells)>;

class ImportFile {
public:
    // The format as the file's name and first bytes suggest it. Throws
    // ImportFileError for a file that cannot be opened or is too big.
    static ImportFormat guess(const QString& path);
    // Reads every row in that format; throws ImportFileError.
    static void read(const QString& path, const ImportFormat& format, const ImportRowSink& sink);
};

// CSV text (RFC 4180): fields split at the separator, records at line ends,
// a quoted field may hold separators, doubled quotes and line breaks.
namespace csv {
// The encoding of the bytes: UTF-8 when they read as UTF-8, else Windows-1250.
// Throws ImportFileError for text in neither (UTF-16, binary).
ImportEncoding guessEncoding(const QByteArray& bytes);
// The separator of the first record: the most frequent of ";", "," and tab
// outside quotes (";" when none).
QChar guessSeparator(const QString& text);
// The bytes as text; throws ImportFileError when they are not in that encoding.
QString decode(const QByteArray& bytes, ImportEncoding encoding);
// Splits the text into records and hands them over; throws ImportFileError
// for an unclosed quote or too many columns.
void parse(const QString& text, QChar separator, const ImportRowSink& sink);
} // namespace csv

namespace xlsx {
// The first sheet's rows; throws ImportFileError.
void read(const QString& path, const ImportRowSink& sink);
// "C" for column 2 (from 0).
QString columnName(int column);
} // namespace xlsx

} // namespace products
