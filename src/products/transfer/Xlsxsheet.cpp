// The first sheet of an .xlsx workbook: the zip container through libzip
// (which checks the archive's directory and every entry's CRC), the XML
// parts through QXmlStreamReader, the sheet streamed in pieces so that its
// unpacked size never sits in memory at once.

#include "Importfile.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QXmlStreamReader>
#include <zip.h>

#include <memory>

namespace products::xlsx {

namespace {

const QString XLSX_BROKEN_ERR = QStringLiteral(
    "Datoteka nije ispravna .xlsx radna sveska (oštećena ZIP arhiva). Otvorite je u programu za tabele i sačuvajte "
    "ponovo.");
const QString XLSX_PART_ERR = QStringLiteral("Radna sveska nema deo \"%1\"; nije ispravna .xlsx datoteka.");
const QString XLSX_XML_ERR = QStringLiteral("Deo \"%1\" radne sveske nije ispravan XML (%2).");
const QString XLSX_TOO_BIG_ERR = QStringLiteral("List radne sveske je prevelik za uvoz.");
const QString XLSX_FORMULA_ERR = QStringLiteral(
    "Ćelija %1 ima formulu. Uvoz prima samo vrednosti: kopirajte list i nalepite ga kao vrednosti, pa pokušajte "
    "ponovo.");
const QString XLSX_MERGED_ERR = QStringLiteral(
    "List ima spojene ćelije (%1). Razdvojite ih tako da svaka vrednost stoji u svojoj ćeliji, pa pokušajte ponovo.");
const QString XLSX_CELL_ERROR_ERR = QStringLiteral("Ćelija %1 ima grešku (%2).");
const QString XLSX_COLUMNS_ERR = QStringLiteral("List ima više od %1 kolona (ćelija %2); uvoz prima najviše %1.");

struct ZipClose {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct ZipFileClose {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};
using Archive = std::unique_ptr<zip_t, ZipClose>;
using Entry = std::unique_ptr<zip_file_t, ZipFileClose>;

Archive openArchive(const QString& path)
{
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!archive) {
        zip_error_t detail;
        zip_error_init_with_code(&detail, error);
        const QString text = QString::fromUtf8(zip_error_strerror(&detail));
        zip_error_fini(&detail);
        throw ImportFileError(XLSX_BROKEN_ERR, text);
    }
    return Archive(archive);
}

// Reads a part in pieces into the reader; `handle` is called after each
// piece and takes what is complete.
class PartReader {
public:
    PartReader(zip_t* archive, const QString& name, bool required) : m_name(name)
    {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat(archive, name.toUtf8().constData(), 0, &stat) != 0) {
            if (required)
                throw ImportFileError(XLSX_PART_ERR.arg(name));
            return;
        }
        if ((stat.valid & ZIP_STAT_SIZE) && stat.size > quint64(kImportMaxSheetBytes))
            throw ImportFileError(XLSX_TOO_BIG_ERR);
        m_file.reset(zip_fopen(archive, name.toUtf8().constData(), 0));
        if (!m_file)
            throw ImportFileError(XLSX_BROKEN_ERR, QString::fromUtf8(zip_strerror(archive)));
    }
    bool exists() const { return bool(m_file); }

    // False at the end of the part.
    bool feed(QXmlStreamReader& xml)
    {
        if (!m_file)
            return false;
        char buffer[64 * 1024];
        const zip_int64_t got = zip_fread(m_file.get(), buffer, sizeof buffer);
        if (got < 0)
            throw ImportFileError(XLSX_BROKEN_ERR, QString::fromUtf8(zip_file_strerror(m_file.get())));
        if (got == 0)
            return false;
        m_total += got;
        if (m_total > kImportMaxSheetBytes)
            throw ImportFileError(XLSX_TOO_BIG_ERR);
        xml.addData(QByteArray(buffer, int(got)));
        return true;
    }

    // The next token, fetching pieces as needed; false at the document's end.
    bool next(QXmlStreamReader& xml)
    {
        for (;;) {
            const QXmlStreamReader::TokenType token = xml.readNext();
            if (token == QXmlStreamReader::EndDocument)
                return false;
            if (token != QXmlStreamReader::Invalid)
                return true;
            if (xml.error() != QXmlStreamReader::PrematureEndOfDocumentError)
                throw ImportFileError(XLSX_XML_ERR.arg(m_name, xml.errorString()));
            if (!feed(xml))
                throw ImportFileError(XLSX_XML_ERR.arg(m_name, xml.errorString()));
        }
    }

private:
    QString m_name;
    Entry m_file;
    qint64 m_total = 0;
};

// The path of the workbook's first sheet, from the workbook and its relations.
QString firstSheetPart(zip_t* archive)
{
    QString relation;
    {
        PartReader part(archive, QStringLiteral("xl/workbook.xml"), true);
        QXmlStreamReader xml;
        while (relation.isEmpty() && part.next(xml)) {
            if (xml.isStartElement() && xml.name() == u"sheet") {
                for (const QXmlStreamAttribute& attribute : xml.attributes()) {
                    if (attribute.name() == u"id" && !attribute.namespaceUri().isEmpty())
                        relation = attribute.value().toString();
                }
            }
        }
    }
    QString target;
    PartReader part(archive, QStringLiteral("xl/_rels/workbook.xml.rels"), false);
    if (part.exists()) {
        QXmlStreamReader xml;
        while (target.isEmpty() && part.next(xml)) {
            if (xml.isStartElement() && xml.name() == u"Relationship" &&
                xml.attributes().value(QStringLiteral("Id")) == relation)
                target = xml.attributes().value(QStringLiteral("Target")).toString();
        }
    }
    if (target.isEmpty())
        return QStringLiteral("xl/worksheets/sheet1.xml");
    if (target.startsWith(QLatin1Char('/')))
        return target.mid(1);
    return QStringLiteral("xl/") + target;
}

// The text of the element just started, up to its end. Not
// readElementText(): the part arrives in pieces, and an element cut at a
// piece's end would read as empty.
QString elementText(QXmlStreamReader& xml, PartReader& part)
{
    QString text;
    int depth = 1;
    while (depth > 0 && part.next(xml)) {
        if (xml.isCharacters())
            text += xml.text();
        else if (xml.isStartElement())
            ++depth;
        else if (xml.isEndElement())
            --depth;
    }
    return text;
}

// The text of an element holding <t> runs (a shared string, an inline
// string): its runs joined, the phonetic hints left out.
QString runsText(QXmlStreamReader& xml, PartReader& part, const QString& endName)
{
    QString text;
    bool phonetic = false;
    while (part.next(xml)) {
        if (xml.isStartElement()) {
            if (xml.name() == u"rPh")
                phonetic = true;
            else if (xml.name() == u"t" && !phonetic)
                text += elementText(xml, part);
        } else if (xml.isEndElement()) {
            if (xml.name() == u"rPh")
                phonetic = false;
            else if (xml.name() == endName)
                break;
        }
    }
    return text;
}

QStringList sharedStrings(zip_t* archive)
{
    QStringList strings;
    PartReader part(archive, QStringLiteral("xl/sharedStrings.xml"), false);
    if (!part.exists())
        return strings;
    QXmlStreamReader xml;
    while (part.next(xml)) {
        if (xml.isStartElement() && xml.name() == u"si")
            strings << runsText(xml, part, QStringLiteral("si"));
    }
    return strings;
}

// "C5" -> column 2; -1 when the reference has no letters.
int columnOf(QStringView reference)
{
    int column = 0;
    int letters = 0;
    for (const QChar c : reference) {
        if (c < u'A' || c > u'Z')
            break;
        column = column * 26 + (c.unicode() - u'A' + 1);
        ++letters;
        if (letters > 3)
            return kImportMaxColumns + 1;
    }
    return letters ? column - 1 : -1;
}

// A number cell holds the number's C form ("1234.5", "1.5E-3"). It goes on
// as a person here types it ("1234,5"): the number fields' reader then
// reads it as the number it is, never as "1.234" read two ways. Whole
// numbers (codes, barcodes) stay as they are.
QString numberCellText(const QString& stored)
{
    const bool exponent = stored.contains(QLatin1Char('E')) || stored.contains(QLatin1Char('e'));
    if (!stored.contains(QLatin1Char('.')) && !exponent)
        return stored;
    bool ok = false;
    const double value = stored.toDouble(&ok);
    if (!ok)
        return stored;
    QString text = stored;
    if (exponent) {
        text = QString::number(value, 'f', 15);
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text.replace(QLatin1Char('.'), QLatin1Char(','));
}

} // namespace

QString columnName(int column)
{
    QString name;
    for (int n = column + 1; n > 0; n = (n - 1) / 26)
        name.prepend(QChar(u'A' + (n - 1) % 26));
    return name;
}

void read(const QString& path, const ImportRowSink& sink)
{
    Archive archive = openArchive(path);
    const QString sheetName = firstSheetPart(archive.get());
    const QStringList strings = sharedStrings(archive.get());
    PartReader part(archive.get(), sheetName, true);
    QXmlStreamReader xml;

    QStringList cells;
    int row = 0;
    bool inRow = false;
    bool more = true;
    while (more && part.next(xml)) {
        if (xml.isStartElement()) {
            const QStringView name = xml.name();
            if (name == u"mergeCell")
                throw ImportFileError(XLSX_MERGED_ERR.arg(xml.attributes().value(QStringLiteral("ref")).toString()));
            if (name == u"row") {
                const int number = xml.attributes().value(QStringLiteral("r")).toInt();
                row = number > 0 ? number : row + 1;
                cells.clear();
                inRow = true;
            } else if (name == u"c" && inRow) {
                const QXmlStreamAttributes attributes = xml.attributes();
                const QString reference = attributes.value(QStringLiteral("r")).toString();
                const int referenced = columnOf(reference);
                const int column = referenced >= 0 ? referenced : int(cells.size());
                const QString at = reference.isEmpty() ? columnName(column) + QString::number(row) : reference;
                if (column >= kImportMaxColumns)
                    throw ImportFileError(XLSX_COLUMNS_ERR.arg(kImportMaxColumns).arg(at));
                const QString type = attributes.value(QStringLiteral("t")).toString();
                QString value;
                while (part.next(xml)) {
                    if (xml.isStartElement()) {
                        if (xml.name() == u"f")
                            throw ImportFileError(XLSX_FORMULA_ERR.arg(at));
                        if (xml.name() == u"v")
                            value = elementText(xml, part);
                        else if (xml.name() == u"is")
                            value = runsText(xml, part, QStringLiteral("is"));
                    } else if (xml.isEndElement() && xml.name() == u"c") {
                        break;
                    }
                }
                if (type == u"s") {
                    const int index = value.toInt();
                    value = index >= 0 && index < strings.size() ? strings[index] : QString();
                } else if (type == u"e") {
                    throw ImportFileError(XLSX_CELL_ERROR_ERR.arg(at, value));
                } else if (type.isEmpty() || type == u"n") {
                    value = numberCellText(value);
                }
                while (cells.size() < column)
                    cells << QString();
                if (cells.size() == column)
                    cells << value;
                else
                    cells[column] = value;
            }
        } else if (xml.isEndElement() && xml.name() == u"row" && inRow) {
            inRow = false;
            more = sink(row, cells);
        }
    }
    // Merged cells are listed after the rows: a full read meets them too.
}

} // namespace products::xlsx
