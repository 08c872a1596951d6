#pragma once
// Files for the import tests, made in the test: CSV bytes and small .xlsx
// workbooks (libxlsxwriter, which can also write what the import refuses:
// formulas, merged cells).

#include "ProductDMFixture.h"
#include "Productimport.h"
#include "ScratchHelpers.h"

#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <xlsxwriter.h>
#include <zip.h>

namespace tarvex::test {

inline QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    writeFile(dir.filePath(name), bytes);
    return dir.filePath(name);
}

// A workbook of one sheet: the rows as strings (a cell "=..." as a formula,
// a cell "#n" as the number n); `extra` may add to the sheet.
inline QString writeWorkbook(const QTemporaryDir& dir, const QString& name, const QList<QStringList>& rows,
                             const std::function<void(lxw_worksheet*)>& extra = {})
{
    const QString path = dir.filePath(name);
    lxw_workbook* book = workbook_new(QFile::encodeName(path).constData());
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            const QString& cell = rows[r][c];
            if (cell.startsWith(QLatin1Char('=')))
                worksheet_write_formula(sheet, lxw_row_t(r), lxw_col_t(c), cell.toUtf8().constData(), nullptr);
            else if (cell.startsWith(QLatin1Char('#')))
                worksheet_write_number(sheet, lxw_row_t(r), lxw_col_t(c), cell.mid(1).toDouble(), nullptr);
            else if (!cell.isEmpty())
                worksheet_write_string(sheet, lxw_row_t(r), lxw_col_t(c), cell.toUtf8().constData(), nullptr);
        }
    }
    if (extra)
        extra(sheet);
    EXPECT_EQ(workbook_close(book), LXW_NO_ERROR);
    return path;
}

// Puts `xml` in place of the workbook's first sheet, as another program
// might have written it.
inline void replaceSheetXml(const QString& path, const QByteArray& xml)
{
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), 0, &error);
    ASSERT_NE(archive, nullptr);
    zip_source_t* source = zip_source_buffer(archive, xml.constData(), zip_uint64_t(xml.size()), 0);
    ASSERT_GE(zip_file_add(archive, "xl/worksheets/sheet1.xml", source, ZIP_FL_OVERWRITE), 0);
    ASSERT_EQ(zip_close(archive), 0);
}

// The settings that import the file with its columns as their titles suggest.
inline products::ImportSettings importSettings(const QString& path)
{
    products::ImportSettings settings;
    settings.path = path;
    settings.format = products::ImportFile::guess(path);
    settings.mapping = products::guessImportMapping(products::importPreview(path, settings.format, 1).value(0));
    return settings;
}

// What the import says when it refuses the file the action reads.
inline QString fileRefusal(const std::function<void()>& action)
{
    return thrownText<products::ImportFileError>(action);
}

// "row field: message" of each refusal, for a comparison that names the first difference.
inline QStringList refusalTexts(const products::ImportOutcome& outcome)
{
    QStringList texts;
    for (const products::ImportRefusal& r : outcome.refusals)
        texts << QStringLiteral("%1 %2: %3").arg(r.row).arg(r.field, r.message);
    return texts;
}

} // namespace tarvex::test
