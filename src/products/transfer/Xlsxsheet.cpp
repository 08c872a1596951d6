// The first sheet of an .xlsx workbook: the zip container through libzip
// (which checks the archive's directory and every entry's CRC), the XML
// parts through expat, the sheet streamed in pieces so that its unpacked
// size never sits in memory at once. Expat rather than QXmlStreamReader: a
// catalogue's sheet is tens of megabytes of XML, and expat's callbacks read
// it in less than half the time of the stream reader's tokens alone.
//
// Nothing may leave an expat callback by an exception (expat is C): a
// callback notes a fault and stops the parser, and the rows it finished are
// handed over between two pieces, where the sink may throw as it likes.

#include "Importfile.h"

#include <QFile>
#include <QHash>
#include <expat.h>
#include <zip.h>

#include <cstring>
#include <deque>
#include <memory>
#include <optional>
#include <string>

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
const QString XLSX_ENTITY_ERR = QStringLiteral("deklaracije entiteta nisu dozvoljene");

struct ZipClose {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct ZipFileClose {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};
struct ParserFree {
    void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};
using Archive = std::unique_ptr<zip_t, ZipClose>;
using Entry = std::unique_ptr<zip_file_t, ZipFileClose>;
using Parser = std::unique_ptr<XML_ParserStruct, ParserFree>;

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

// An element's or attribute's name without its namespace: the parser joins
// them as "uri|local", and the parts may use any prefix.
const char* localName(const XML_Char* name)
{
    const char* bar = std::strrchr(name, '|');
    return bar ? bar + 1 : name;
}

bool is(const XML_Char* name, const char* local)
{
    return std::strcmp(localName(name), local) == 0;
}

// An unqualified attribute's value, or null.
const char* attribute(const XML_Char** attributes, const char* name)
{
    for (int i = 0; attributes[i]; i += 2) {
        if (std::strcmp(attributes[i], name) == 0)
            return attributes[i + 1];
    }
    return nullptr;
}

// What a part's reading hears from the parser. A fault found in a callback
// goes to fail(), which stops the parser; the reading throws it afterwards.
class PartHandler {
public:
    virtual ~PartHandler() = default;
    virtual void start(const XML_Char* name, const XML_Char** attributes) = 0;
    virtual void end(const XML_Char* name) = 0;
    virtual void text(const XML_Char*, int) {}

    void fail(const QString& message)
    {
        if (!m_fault)
            m_fault = message;
        XML_StopParser(m_parser, XML_FALSE);
    }
    // Stops the parser without a fault (the reader has what it wanted).
    void finish()
    {
        m_finished = true;
        XML_StopParser(m_parser, XML_FALSE);
    }

private:
    friend class PartReader;
    XML_Parser m_parser = nullptr;
    QString m_part;
    std::optional<QString> m_fault;
    bool m_finished = false;
};

// One part of the archive, fed piece by piece through an expat parser.
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

    // Parses the next piece into the handler; false after the part's end or
    // once the handler finished. Throws the handler's fault, a broken entry
    // or bad XML.
    bool next(PartHandler& handler)
    {
        if (!m_file || m_done)
            return false;
        if (!m_parser)
            start(handler);
        char buffer[64 * 1024];
        const zip_int64_t got = zip_fread(m_file.get(), buffer, sizeof buffer);
        if (got < 0)
            throw ImportFileError(XLSX_BROKEN_ERR, QString::fromUtf8(zip_file_strerror(m_file.get())));
        m_total += got;
        if (m_total > kImportMaxSheetBytes)
            throw ImportFileError(XLSX_TOO_BIG_ERR);
        const bool last = got == 0;
        const XML_Status status = XML_Parse(m_parser.get(), buffer, int(got), last ? XML_TRUE : XML_FALSE);
        if (handler.m_fault)
            throw ImportFileError(*handler.m_fault);
        if (handler.m_finished) {
            m_done = true;
            return false;
        }
        if (status != XML_STATUS_OK) {
            const QString where = QStringLiteral("red %1: %2")
                                      .arg(XML_GetCurrentLineNumber(m_parser.get()))
                                      .arg(QString::fromUtf8(XML_ErrorString(XML_GetErrorCode(m_parser.get()))));
            throw ImportFileError(XLSX_XML_ERR.arg(m_name, where));
        }
        m_done = last;
        return !last;
    }

    // Reads the whole part (or until the handler finishes).
    void readAll(PartHandler& handler)
    {
        while (next(handler)) {
        }
    }

private:
    void start(PartHandler& handler)
    {
        m_parser.reset(XML_ParserCreateNS(nullptr, '|'));
        if (!m_parser)
            throw std::bad_alloc();
        handler.m_parser = m_parser.get();
        handler.m_part = m_name;
        XML_SetUserData(m_parser.get(), &handler);
        XML_SetElementHandler(
            m_parser.get(),
            [](void* data, const XML_Char* name, const XML_Char** attributes) {
                static_cast<PartHandler*>(data)->start(name, attributes);
            },
            [](void* data, const XML_Char* name) { static_cast<PartHandler*>(data)->end(name); });
        XML_SetCharacterDataHandler(m_parser.get(), [](void* data, const XML_Char* text, int length) {
            static_cast<PartHandler*>(data)->text(text, length);
        });
        // No workbook declares entities; a part that does is refused before
        // any of them could grow.
        XML_SetEntityDeclHandler(m_parser.get(), [](void* data, const XML_Char*, int, const XML_Char*, int,
                                                    const XML_Char*, const XML_Char*, const XML_Char*,
                                                    const XML_Char*) {
            auto* handler = static_cast<PartHandler*>(data);
            handler->fail(XLSX_XML_ERR.arg(handler->m_part, XLSX_ENTITY_ERR));
        });
    }

    QString m_name;
    Entry m_file;
    Parser m_parser;
    qint64 m_total = 0;
    bool m_done = false;
};

// Text gathered from runs of <t> (a shared string, an inline string), the
// phonetic hints (<rPh>) left out.
class RunsText {
public:
    // Call on every start and end inside the holding element.
    void start(const XML_Char* name)
    {
        if (is(name, "rPh"))
            m_phonetic = true;
        else if (is(name, "t") && !m_phonetic)
            m_inRun = true;
    }
    void end(const XML_Char* name)
    {
        if (is(name, "rPh"))
            m_phonetic = false;
        else if (is(name, "t"))
            m_inRun = false;
    }
    void text(const XML_Char* text, int length, std::string& target) const
    {
        if (m_inRun)
            target.append(text, size_t(length));
    }
    void reset() { m_phonetic = m_inRun = false; }

private:
    bool m_phonetic = false;
    bool m_inRun = false;
};

// The id of the workbook's first sheet's relation.
class WorkbookHandler : public PartHandler {
public:
    void start(const XML_Char* name, const XML_Char** attributes) override
    {
        if (!is(name, "sheet"))
            return;
        // The relation's id is the attribute "id" of the relationships' namespace.
        for (int i = 0; attributes[i]; i += 2) {
            if (std::strchr(attributes[i], '|') && is(attributes[i], "id")) {
                relation = QString::fromUtf8(attributes[i + 1]);
                finish();
                return;
            }
        }
    }
    void end(const XML_Char*) override {}
    QString relation;
};

class RelationsHandler : public PartHandler {
public:
    explicit RelationsHandler(QString id) : m_id(std::move(id)) {}
    void start(const XML_Char* name, const XML_Char** attributes) override
    {
        if (!is(name, "Relationship"))
            return;
        const char* id = attribute(attributes, "Id");
        const char* to = attribute(attributes, "Target");
        if (id && to && QString::fromUtf8(id) == m_id) {
            target = QString::fromUtf8(to);
            finish();
        }
    }
    void end(const XML_Char*) override {}
    QString target;

private:
    QString m_id;
};

// The path of the workbook's first sheet, from the workbook and its relations.
QString firstSheetPart(zip_t* archive)
{
    WorkbookHandler workbook;
    PartReader(archive, QStringLiteral("xl/workbook.xml"), true).readAll(workbook);
    QString target;
    PartReader relations(archive, QStringLiteral("xl/_rels/workbook.xml.rels"), false);
    if (relations.exists()) {
        RelationsHandler handler(workbook.relation);
        relations.readAll(handler);
        target = handler.target;
    }
    if (target.isEmpty())
        return QStringLiteral("xl/worksheets/sheet1.xml");
    if (target.startsWith(QLatin1Char('/')))
        return target.mid(1);
    return QStringLiteral("xl/") + target;
}

class SharedStringsHandler : public PartHandler {
public:
    void start(const XML_Char* name, const XML_Char**) override
    {
        if (is(name, "si")) {
            m_inItem = true;
            m_text.clear();
            m_runs.reset();
        } else if (m_inItem) {
            m_runs.start(name);
        }
    }
    void end(const XML_Char* name) override
    {
        if (!m_inItem)
            return;
        if (is(name, "si")) {
            m_inItem = false;
            strings << QString::fromUtf8(m_text.data(), qsizetype(m_text.size()));
        } else {
            m_runs.end(name);
        }
    }
    void text(const XML_Char* text, int length) override
    {
        if (m_inItem)
            m_runs.text(text, length, m_text);
    }
    QStringList strings;

private:
    bool m_inItem = false;
    RunsText m_runs;
    std::string m_text;
};

QStringList sharedStrings(zip_t* archive)
{
    SharedStringsHandler handler;
    PartReader part(archive, QStringLiteral("xl/sharedStrings.xml"), false);
    if (part.exists())
        part.readAll(handler);
    return handler.strings;
}

// "C5" -> column 2; -1 when the reference has no letters.
int columnOf(const char* reference)
{
    int column = 0;
    int letters = 0;
    for (const char* c = reference; *c >= 'A' && *c <= 'Z'; ++c) {
        column = column * 26 + (*c - 'A' + 1);
        if (++letters > 3)
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
    // Most are plain decimals ("-12.5"): the point becomes a comma without
    // a conversion to a double and back.
    qsizetype points = 0;
    bool digits = false;
    bool plain = true;
    for (qsizetype i = stored.startsWith(QLatin1Char('-')) ? 1 : 0; plain && i < stored.size(); ++i) {
        const QChar c = stored[i];
        if (c == QLatin1Char('.'))
            plain = ++points == 1;
        else if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits = true;
        else
            plain = false;
    }
    if (plain && digits)
        return points ? QString(stored).replace(QLatin1Char('.'), QLatin1Char(',')) : stored;
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

// The sheet's rows: each finished row waits in `rows` until the reading
// hands it over between two pieces.
class SheetHandler : public PartHandler {
public:
    explicit SheetHandler(const QStringList& strings) : m_strings(strings) {}

    void start(const XML_Char* name, const XML_Char** attributes) override
    {
        const char* local = localName(name);
        if (m_inCell) {
            if (std::strcmp(local, "f") == 0) {
                fail(XLSX_FORMULA_ERR.arg(at()));
            } else if (std::strcmp(local, "v") == 0) {
                m_inValue = true;
                m_value.clear();
            } else if (std::strcmp(local, "is") == 0) {
                m_inInline = true;
                m_value.clear();
                m_runs.reset();
            } else if (m_inInline) {
                m_runs.start(name);
            }
            return;
        }
        if (std::strcmp(local, "mergeCell") == 0) {
            const char* ref = attribute(attributes, "ref");
            fail(XLSX_MERGED_ERR.arg(QString::fromUtf8(ref ? ref : "")));
        } else if (std::strcmp(local, "row") == 0) {
            const char* number = attribute(attributes, "r");
            const int n = number ? std::atoi(number) : 0;
            m_row = n > 0 ? n : m_row + 1;
            m_cells.clear();
            m_inRow = true;
        } else if (std::strcmp(local, "c") == 0 && m_inRow) {
            startCell(attributes);
        }
    }

    void end(const XML_Char* name) override
    {
        const char* local = localName(name);
        if (m_inCell) {
            if (std::strcmp(local, "c") == 0)
                endCell();
            else if (std::strcmp(local, "v") == 0)
                m_inValue = false;
            else if (std::strcmp(local, "is") == 0)
                m_inInline = false;
            else if (m_inInline)
                m_runs.end(name);
            return;
        }
        if (std::strcmp(local, "row") == 0 && m_inRow) {
            m_inRow = false;
            rows.push_back({m_row, m_cells});
        }
    }

    void text(const XML_Char* text, int length) override
    {
        if (m_inValue)
            m_value.append(text, size_t(length));
        else if (m_inInline)
            m_runs.text(text, length, m_value);
    }

    std::deque<std::pair<int, QStringList>> rows;

private:
    void startCell(const XML_Char** attributes)
    {
        const char* reference = attribute(attributes, "r");
        const int referenced = reference ? columnOf(reference) : -1;
        m_column = referenced >= 0 ? referenced : int(m_cells.size());
        m_reference = reference ? reference : "";
        if (m_column >= kImportMaxColumns) {
            fail(XLSX_COLUMNS_ERR.arg(kImportMaxColumns).arg(at()));
            return;
        }
        const char* type = attribute(attributes, "t");
        m_type = type ? type : "";
        m_value.clear();
        m_inCell = true;
    }

    // The cell's name for a message ("B2"), as written or from its place.
    QString at() const
    {
        if (!m_reference.empty())
            return QString::fromStdString(m_reference);
        return columnName(m_column) + QString::number(m_row);
    }

    void endCell()
    {
        m_inCell = m_inValue = m_inInline = false;
        QString value = QString::fromUtf8(m_value.data(), qsizetype(m_value.size()));
        if (m_type == "s") {
            bool ok = false;
            const int index = value.toInt(&ok);
            value = ok && index >= 0 && index < m_strings.size() ? m_strings[index] : QString();
        } else if (m_type == "e") {
            fail(XLSX_CELL_ERROR_ERR.arg(at(), value));
            return;
        } else if (m_type.empty() || m_type == "n") {
            value = numberCellText(value);
        }
        while (m_cells.size() < m_column)
            m_cells << QString();
        if (m_cells.size() == m_column)
            m_cells << value;
        else
            m_cells[m_column] = value;
    }

    const QStringList& m_strings;
    int m_row = 0;
    bool m_inRow = false;
    QStringList m_cells;
    bool m_inCell = false;
    bool m_inValue = false;
    bool m_inInline = false;
    int m_column = 0;
    std::string m_reference;
    std::string m_type;
    std::string m_value;
    RunsText m_runs;
};

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
    SheetHandler sheet(strings);
    bool more = true;
    while (more) {
        more = part.next(sheet);
        while (!sheet.rows.empty()) {
            const auto [row, cells] = std::move(sheet.rows.front());
            sheet.rows.pop_front();
            if (!sink(row, cells))
                return;
        }
    }
    // Merged cells are listed after the rows: a full read meets them too.
}

} // namespace products::xlsx
