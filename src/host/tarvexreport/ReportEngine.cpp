#include "ReportEngine.h"

#include "DataSet.h"
#include "Error.h"
#include "Modal.h"
#include "PrintPreview.h"

#include <QPrintPreviewDialog>
#include <QPrinter>
#include <memory>

namespace tarvex {

namespace {

bool isNumber(FieldType type)
{
    return type == FieldType::Integer || type == FieldType::LargeInt || type == FieldType::Float;
}

QList<const Field*> shownFields(const DataSet& dataSet)
{
    QList<const Field*> fields;
    for (const Field* field : dataSet.fields())
        if (field->visible())
            fields << field;
    return fields;
}

} // namespace

PrintJob printJobFromDataSet(const DataSet& dataSet, const QString& title, const QStringList& headerLines)
{
    PrintJob job;
    job.title = title;
    job.headerLines = headerLines;
    const QList<const Field*> fields = shownFields(dataSet);
    for (const Field* field : fields)
        job.columns << PrintColumn{field->displayLabel(), isNumber(field->dataType()) ? Qt::AlignRight : Qt::AlignLeft};
    const int rows = dataSet.isActive() ? dataSet.recordCount() : 0;
    job.rows.reserve(rows);
    for (int r = 0; r < rows; ++r) {
        QStringList texts;
        for (const Field* field : fields)
            texts << dataSet.displayTextAt(r, field->index());
        job.rows << texts;
    }
    return job;
}

SheetTable sheetFromDataSet(const DataSet& dataSet)
{
    SheetTable table;
    table.sheetName = dataSet.objectName();
    const QList<const Field*> fields = shownFields(dataSet);
    for (const Field* field : fields) {
        SheetColumn column;
        column.title = field->displayLabel();
        if (isNumber(field->dataType())) {
            column.kind = SheetColumn::Kind::Number;
            column.numberFormat = field->displayFormat();
        } else if (field->dataType() == FieldType::Date || field->dataType() == FieldType::DateTime) {
            column.kind = SheetColumn::Kind::Date;
        }
        table.columns << column;
    }
    const int rows = dataSet.isActive() ? dataSet.recordCount() : 0;
    table.rows.reserve(rows);
    for (int r = 0; r < rows; ++r) {
        QVector<QVariant> values;
        values.reserve(fields.size());
        for (const Field* field : fields) {
            if (isNumber(field->dataType()) || field->dataType() == FieldType::Date ||
                field->dataType() == FieldType::DateTime)
                values << dataSet.valueAt(r, field->index());
            else
                values << QVariant(dataSet.displayTextAt(r, field->index()));
        }
        table.rows << values;
    }
    return table;
}

void ExportDataSet(const DataSet& dataSet, const QString& fileName)
{
    QString error;
    if (!writeSpreadsheet(sheetFromDataSet(dataSet), fileName, &error))
        throw TarvexError(ErrorKind::File, QStringLiteral("Datoteka %1 nije upisana.").arg(fileName), error);
}

TReportEngine::TReportEngine(QObject* parent) : QObject(parent) {}

PrintJob TReportEngine::stockCardJob(const DataSet& card, const DataSet& product, const QString& title,
                                     const QStringList& headerLines)
{
    QStringList lines = headerLines;
    if (product.isActive() && !product.isEmpty()) {
        const Field* name = product.findField(QStringLiteral("name"));
        const Field* code = product.findField(QStringLiteral("code"));
        const Field* unit = product.findField(QStringLiteral("unitname"));
        QString text = QStringLiteral("Proizvod: ") + (name ? name->asString() : QString());
        if (code && !code->asString().isEmpty())
            text += QStringLiteral("   Kod: ") + code->asString();
        if (unit && !unit->asString().isEmpty())
            text += QStringLiteral("   JM: ") + unit->asString();
        lines << text;
    }
    return printJobFromDataSet(card, title, lines);
}

void TReportEngine::ExecuteStockCardReport(const DataSet& card, const DataSet& product, const QString& title,
                                           const QStringList& headerLines)
{
    const PrintJob job = stockCardJob(card, product, title, headerLines);
    QPrinter printer(QPrinter::HighResolution);
    std::unique_ptr<QPrintPreviewDialog> preview(createPrintPreview(job, printer, nullptr));
    execModal(*preview);
}

} // namespace tarvex
