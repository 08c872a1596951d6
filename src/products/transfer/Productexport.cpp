#include "Productexport.h"

#include "Categorytree.h"
#include "Connection.h"
#include "DisplayFormat.h"
#include "Error.h"
#include "Importfile.h"
#include "Importmapping.h"
#include "Productimport.h"

#include <QFile>
#include <QHash>
#include <QSqlQuery>
#include <xlsxwriter.h>

namespace products {

namespace {
const QString EXPORT_WRITE_ERR = QStringLiteral("Datoteka \"%1\" nije upisana.");
}

struct SheetWriter::Book {
    lxw_workbook* workbook = nullptr;
    lxw_worksheet* sheet = nullptr;
    lxw_format* price = nullptr;
};

SheetWriter::SheetWriter(const QString& path) : m_book(new Book), m_path(path)
{
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    m_book->workbook = workbook_new_opt(QFile::encodeName(path).constData(), &options);
    if (!m_book->workbook) {
        delete m_book;
        throw tarvex::TarvexError(tarvex::ErrorKind::File, EXPORT_WRITE_ERR.arg(path));
    }
    m_book->sheet = workbook_add_worksheet(m_book->workbook, nullptr);
    // Shown as the windows show a price (2 to 4 decimals, grouped), kept exact.
    m_book->price = workbook_add_format(m_book->workbook);
    format_set_num_format(m_book->price, tarvex::PRICE_FORMAT.toLatin1().constData());
}

SheetWriter::~SheetWriter()
{
    if (m_book->workbook)
        workbook_close(m_book->workbook); // a sheet left half-written is removed below
    delete m_book;
}

void SheetWriter::text(int row, int column, const QString& value)
{
    if (!value.isEmpty())
        worksheet_write_string(m_book->sheet, lxw_row_t(row), lxw_col_t(column), value.toUtf8().constData(), nullptr);
}

void SheetWriter::number(int row, int column, double value)
{
    worksheet_write_number(m_book->sheet, lxw_row_t(row), lxw_col_t(column), value, nullptr);
}

void SheetWriter::price(int row, int column, double value)
{
    worksheet_write_number(m_book->sheet, lxw_row_t(row), lxw_col_t(column), value, m_book->price);
}

void SheetWriter::close()
{
    const lxw_error error = workbook_close(m_book->workbook);
    m_book->workbook = nullptr;
    if (error != LXW_NO_ERROR)
        throw tarvex::TarvexError(tarvex::ErrorKind::File, EXPORT_WRITE_ERR.arg(m_path),
                                  QString::fromUtf8(lxw_strerror(error)));
}

int exportProducts(tarvex::Connection& connection, const QString& path, const TProgress& progress)
{
    const QList<ImportField> columns = {ImportField::Code,        ImportField::Barcode,    ImportField::Name,
                                        ImportField::Unit,        ImportField::ForeignName, ImportField::ManufName,
                                        ImportField::ManufCode,   ImportField::TaxName,    ImportField::Price,
                                        ImportField::InputPrice,  ImportField::InputPriceCurrency,
                                        ImportField::RecommendedPrice, ImportField::Categories, ImportField::Active};
    // Category paths once per category, the links read in one pass.
    CategoryTree tree(connection.database());
    tree.createTree();
    QHash<qint64, QString> paths;
    for (const CategoryNode* node : tree.flatNodes()) {
        if (!node->isRoot())
            paths.insert(node->id, CategoryTree::nodeToPath(node));
    }
    QHash<qint64, QStringList> categories;
    QSqlQuery links = connection.select(
        QStringLiteral("SELECT productid, categoryprid FROM productcategorypr ORDER BY productid, categoryprid"));
    while (links.next()) {
        const QString p = paths.value(links.value(1).toLongLong());
        if (!p.isEmpty())
            categories[links.value(0).toLongLong()] << p;
    }

    SheetWriter sheet(path);
    for (int c = 0; c < columns.size(); ++c)
        sheet.text(0, c, importFieldCaption(columns[c]));
    QSqlQuery products = connection.select(QStringLiteral(
        "SELECT p.productid, p.code, p.barcode, p.name, p.unitname, p.foreignname, p.manufname, p.manufcode, t.name, "
        "p.price, p.inputprice, p.inputpricecurrency, p.recommendedprice, p.active FROM product AS p LEFT JOIN tax AS "
        "t ON t.taxid = p.taxid ORDER BY p.productid"));
    int row = 0;
    while (products.next()) {
        ++row;
        const qint64 id = products.value(0).toLongLong();
        for (int c = 0; c < 8; ++c)
            sheet.text(row, c, products.value(c + 1).toString());
        for (int c = 8; c < 12; ++c) {
            const QVariant value = products.value(c + 1);
            if (value.isNull())
                continue;
            if (c == 10)
                sheet.text(row, c, value.toString());
            else
                sheet.price(row, c, value.toDouble());
        }
        sheet.text(row, 12, categories.value(id).join(QLatin1Char(';')));
        sheet.text(row, 13, products.value(13).toString() == u"n" ? QStringLiteral("ne") : QStringLiteral("da"));
        if (progress && row % 5000 == 0)
            progress(QStringLiteral("Izvoz"), row);
    }
    sheet.close();
    return row;
}

void saveRefusedRows(const QString& target, const ImportSettings& settings, const ImportOutcome& outcome)
{
    QHash<int, QStringList> messages;
    for (const ImportRefusal& refusal : outcome.refusals) {
        messages[refusal.row] << (refusal.field.isEmpty() ? refusal.message
                                                          : refusal.field + QStringLiteral(": ") + refusal.message);
    }
    SheetWriter sheet(target);
    sheet.text(0, 0, QStringLiteral("Red"));
    sheet.text(0, 1, QStringLiteral("Greške"));
    for (int c = 0; c < outcome.header.size(); ++c)
        sheet.text(0, c + 2, outcome.header[c]);
    int out = 0;
    ImportFile::read(settings.path, settings.format, [&](int number, const QStringList& cells) {
        if (!messages.contains(number))
            return true;
        ++out;
        sheet.number(out, 0, number);
        sheet.text(out, 1, messages.value(number).join(QLatin1Char('\n')));
        for (int c = 0; c < cells.size(); ++c)
            sheet.text(out, c + 2, cells[c]);
        return true;
    });
    sheet.close();
}

} // namespace products
