#include "SpreadsheetExport.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QHash>

#include <xlsxwriter.h>

#include <cmath>

namespace tarvex {

QString spreadsheetNumberFormat(const QString& displayFormat)
{
    // Digits, separators and '#' carry over; every other character is literal
    // text and goes in quotes (a bare % would multiply by 100 in a spreadsheet).
    QString out;
    QString literal;
    auto flush = [&]() {
        if (!literal.isEmpty()) {
            out += QLatin1Char('"') + literal + QLatin1Char('"');
            literal.clear();
        }
    };
    for (const QChar c : displayFormat) {
        if (c == QLatin1Char('0') || c == QLatin1Char('#') || c == QLatin1Char(',') || c == QLatin1Char('.')) {
            flush();
            out += c;
        } else if (c != QLatin1Char('"')) {
            literal += c;
        }
    }
    flush();
    return out;
}

namespace {

// Sheet names: at most 31 characters, none of []:*?/\ .
QString safeSheetName(const QString& name)
{
    QString clean = name.isEmpty() ? QStringLiteral("Podaci") : name;
    for (QChar& c : clean)
        if (QStringLiteral("[]:*?/\\").contains(c))
            c = QLatin1Char('_');
    return clean.left(31);
}

// The decimals a format may show, and whether all of them are optional
// ("#,##0.######"): then a whole number would read "21." in a spreadsheet.
struct Decimals {
    int count = 0;
    bool optional = false;
};

Decimals decimalsOf(const QString& format)
{
    const int point = format.indexOf(QLatin1Char('.'));
    if (point < 0)
        return {};
    Decimals decimals;
    int i = point + 1;
    while (i < format.size() && (format[i] == QLatin1Char('#') || format[i] == QLatin1Char('0')))
        ++i;
    decimals.count = i - point - 1;
    decimals.optional = decimals.count > 0 && !format.mid(point + 1, decimals.count).contains(QLatin1Char('0'));
    return decimals;
}

} // namespace

QString wholeNumberFormat(const QString& displayFormat)
{
    const Decimals decimals = decimalsOf(displayFormat);
    if (!decimals.optional)
        return QString();
    const int point = displayFormat.indexOf(QLatin1Char('.'));
    return spreadsheetNumberFormat(displayFormat.left(point) + displayFormat.mid(point + 1 + decimals.count));
}

bool writeSpreadsheet(const SheetTable& table, const QString& fileName, QString* error)
{
    {
        QFile probe(fileName);
        if (!probe.open(QIODevice::WriteOnly)) {
            if (error)
                *error = probe.errorString();
            return false;
        }
    }
    const QByteArray path = QFile::encodeName(fileName);
    lxw_workbook* workbook = workbook_new(path.constData());
    if (!workbook) {
        if (error)
            *error = QStringLiteral("Cannot create %1").arg(fileName);
        return false;
    }
    const QByteArray sheetName = safeSheetName(table.sheetName).toUtf8();
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, sheetName.constData());

    lxw_format* bold = workbook_add_format(workbook);
    format_set_bold(bold);
    lxw_format* dateFormat = workbook_add_format(workbook);
    format_set_num_format(dateFormat, "dd.mm.yyyy");

    QVector<lxw_format*> formats(table.columns.size(), nullptr);
    // Used for the whole numbers of a column whose decimals are optional.
    QVector<lxw_format*> wholeFormats(table.columns.size(), nullptr);
    QVector<int> decimals(table.columns.size(), 0);
    QVector<QByteArray> keep; // libxlsxwriter copies strings, but keep them alive while writing anyway
    for (int c = 0; c < table.columns.size(); ++c) {
        const SheetColumn& column = table.columns[c];
        const QByteArray title = column.title.toUtf8();
        worksheet_write_string(sheet, 0, lxw_col_t(c), title.constData(), bold);
        if (column.kind == SheetColumn::Kind::Number && !column.numberFormat.isEmpty()) {
            formats[c] = workbook_add_format(workbook);
            keep << spreadsheetNumberFormat(column.numberFormat).toUtf8();
            format_set_num_format(formats[c], keep.last().constData());
            const QString whole = wholeNumberFormat(column.numberFormat);
            if (!whole.isEmpty()) {
                wholeFormats[c] = workbook_add_format(workbook);
                keep << whole.toUtf8();
                format_set_num_format(wholeFormats[c], keep.last().constData());
                decimals[c] = decimalsOf(column.numberFormat).count;
            }
        } else if (column.kind == SheetColumn::Kind::Date) {
            formats[c] = dateFormat;
        }
        worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), qBound(8, int(column.title.size()) + 4, 40), nullptr);
    }

    for (int r = 0; r < table.rows.size(); ++r) {
        const QVector<QVariant>& row = table.rows[r];
        const lxw_row_t sheetRow = lxw_row_t(r + 1);
        for (int c = 0; c < table.columns.size() && c < row.size(); ++c) {
            const QVariant& value = row[c];
            if (value.isNull())
                continue;
            const lxw_col_t col = lxw_col_t(c);
            switch (table.columns[c].kind) {
            case SheetColumn::Kind::Number: {
                bool ok = false;
                const double d = value.toDouble(&ok);
                if (!ok || !std::isfinite(d))
                    break;
                // Whole at the shown precision: 21.0000001 reads "21" too.
                const double scale = std::pow(10.0, decimals[c]);
                const bool whole = wholeFormats[c] && std::round(d * scale) == std::round(d) * scale;
                worksheet_write_number(sheet, sheetRow, col, d, whole ? wholeFormats[c] : formats[c]);
                break;
            }
            case SheetColumn::Kind::Date: {
                const QDate date = value.typeId() == QMetaType::QDateTime ? value.toDateTime().date() : value.toDate();
                if (date.isValid()) {
                    lxw_datetime dt{date.year(), date.month(), date.day(), 0, 0, 0.0};
                    worksheet_write_datetime(sheet, sheetRow, col, &dt, formats[c]);
                }
                break;
            }
            case SheetColumn::Kind::Text: {
                const QByteArray text = value.toString().toUtf8();
                worksheet_write_string(sheet, sheetRow, col, text.constData(), nullptr);
                break;
            }
            }
        }
    }
    const lxw_error result = workbook_close(workbook);
    if (result != LXW_NO_ERROR) {
        if (error)
            *error = QString::fromUtf8(lxw_strerror(result));
        return false;
    }
    return true;
}

} // namespace tarvex
