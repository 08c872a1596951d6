// CSV text as RFC 4180 writes it, read by hand: a small state machine over
// the decoded text is all it takes, and it names the row of a fault.

#include "Importfile.h"

#include <QStringDecoder>

namespace products::csv {

namespace {

const QString CSV_ENCODING_ERR = QStringLiteral(
    "Datoteka nije tekst u kodnoj strani UTF-8 ni Windows-1250 (možda je UTF-16 ili nije tekst). Sačuvajte je "
    "kao CSV u kodnoj strani UTF-8.");
const QString CSV_UTF8_ERR = QStringLiteral(
    "Datoteka nije ispravan UTF-8 tekst (bajt %1). Izaberite kodnu stranu Windows-1250 ili je sačuvajte kao UTF-8.");
const QString CSV_1250_ERR = QStringLiteral(
    "Bajt %1 ne postoji u kodnoj strani Windows-1250. Izaberite kodnu stranu UTF-8.");
const QString CSV_QUOTE_ERR = QStringLiteral("Navodnik otvoren u redu %1 nije zatvoren do kraja datoteke.");
const QString CSV_COLUMNS_ERR = QStringLiteral("Red %1 ima %2 kolona; uvoz prima najviše %3.");

// Windows-1250 from 0x80 on; 0 where the code page has no character.
constexpr char16_t kWindows1250[128] = {
    0x20AC, 0, 0x201A, 0, 0x201E, 0x2026, 0x2020, 0x2021,
    0, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

bool hasUtf8Bom(const QByteArray& bytes)
{
    return bytes.startsWith("\xEF\xBB\xBF");
}

// UTF-16 and binary files carry NUL bytes; no text of a shop does.
bool looksBinary(const QByteArray& bytes)
{
    return bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF") || bytes.contains('\0');
}

// The offset of the first byte that is not UTF-8, or -1.
qsizetype firstNonUtf8(const QByteArray& bytes)
{
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    while (i < size) {
        const uchar c = data[i];
        int follow = 0;
        if (c < 0x80)
            follow = 0;
        else if (c >= 0xC2 && c <= 0xDF)
            follow = 1;
        else if (c >= 0xE0 && c <= 0xEF)
            follow = 2;
        else if (c >= 0xF0 && c <= 0xF4)
            follow = 3;
        else
            return i;
        if (i + follow >= size && follow > 0)
            return i;
        for (int k = 1; k <= follow; ++k) {
            if ((data[i + k] & 0xC0) != 0x80)
                return i;
        }
        i += follow + 1;
    }
    return -1;
}

} // namespace

ImportEncoding guessEncoding(const QByteArray& bytes)
{
    if (looksBinary(bytes))
        throw ImportFileError(CSV_ENCODING_ERR);
    if (hasUtf8Bom(bytes) || firstNonUtf8(bytes) < 0)
        return ImportEncoding::Utf8;
    return ImportEncoding::Windows1250;
}

QChar guessSeparator(const QString& text)
{
    int semicolons = 0;
    int commas = 0;
    int tabs = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && (c == u'\n' || c == u'\r'))
            break;
        else if (!quoted && c == u';')
            ++semicolons;
        else if (!quoted && c == u',')
            ++commas;
        else if (!quoted && c == u'\t')
            ++tabs;
    }
    if (tabs > semicolons && tabs > commas)
        return QLatin1Char('\t');
    if (commas > semicolons)
        return QLatin1Char(',');
    return QLatin1Char(';');
}

QString decode(const QByteArray& bytes, ImportEncoding encoding)
{
    if (looksBinary(bytes))
        throw ImportFileError(CSV_ENCODING_ERR);
    if (encoding == ImportEncoding::Utf8) {
        const qsizetype bad = firstNonUtf8(bytes);
        if (bad >= 0)
            throw ImportFileError(CSV_UTF8_ERR.arg(bad + 1));
        return QString::fromUtf8(hasUtf8Bom(bytes) ? bytes.mid(3) : bytes);
    }
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const uchar c = uchar(bytes[i]);
        if (c < 0x80) {
            out[i] = QChar(c);
            continue;
        }
        const char16_t u = kWindows1250[c - 0x80];
        if (u == 0)
            throw ImportFileError(CSV_1250_ERR.arg(i + 1));
        out[i] = QChar(u);
    }
    return text;
}

void parse(const QString& text, QChar separator, const ImportRowSink& sink)
{
    QStringList cells;
    QString cell;
    int row = 1;
    int quoteRow = 0;
    bool quoted = false;    // inside a quoted field
    bool afterQuote = false; // a quoted field closed, its separator to come
    const QChar* c = text.constData();
    const QChar* end = c + text.size();
    auto endCell = [&] {
        cells << cell;
        cell.clear();
        afterQuote = false;
    };
    auto endRow = [&] {
        endCell();
        if (cells.size() > kImportMaxColumns)
            throw ImportFileError(CSV_COLUMNS_ERR.arg(row).arg(cells.size()).arg(kImportMaxColumns));
        const bool more = sink(row, cells);
        cells.clear();
        ++row;
        return more;
    };
    for (; c < end; ++c) {
        if (quoted) {
            if (*c != u'"') {
                cell += *c;
            } else if (c + 1 < end && c[1] == u'"') {
                cell += u'"';
                ++c;
            } else {
                quoted = false;
                afterQuote = true;
            }
            continue;
        }
        if (*c == separator) {
            endCell();
        } else if (*c == u'\r' || *c == u'\n') {
            if (*c == u'\r' && c + 1 < end && c[1] == u'\n')
                ++c;
            if (!endRow())
                return;
        } else if (*c == u'"' && cell.isEmpty() && !afterQuote) {
            quoted = true;
            quoteRow = row;
        } else {
            // Text after a closing quote, or a quote inside a bare field:
            // kept as it stands, as spreadsheet programs do.
            cell += *c;
        }
    }
    if (quoted)
        throw ImportFileError(CSV_QUOTE_ERR.arg(quoteRow));
    if (!cell.isEmpty() || !cells.isEmpty() || afterQuote)
        endRow();
}

} // namespace products::csv
