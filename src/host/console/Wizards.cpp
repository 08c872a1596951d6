#include "Wizards.h"

#include "DatabaseError.h"
#include "Dialogs.h"
#include "GridPrint.h"
#include "HostStrings.h"
#include "Modal.h"
#include "PriceLabels.h"
#include "PrintPreview.h"

#include <QApplication>
#include <QHeaderView>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTableView>
#include <memory>

namespace tarvex {

namespace {

const QString kNothingToPrint = QStringLiteral("Nema podataka za štampu.");
const QString kNoLabels = QStringLiteral("Nijedan od traženih proizvoda nije pronađen; nema nalepnica za štampu.");
const QString kLabelsTitle = QStringLiteral("Nalepnice za cene");

void showPreview(QPrintPreviewDialog* created)
{
    const std::unique_ptr<QPrintPreviewDialog> preview(created);
    execModal(*preview);
}

// The value after "key:" in a string of "key:value" pairs; the last key takes
// the rest of the string, ';' included.
QString lastParameter(const QString& parameters, const QString& key)
{
    const QString tag = key + QLatin1Char(':');
    if (parameters.startsWith(tag))
        return parameters.mid(tag.size());
    const int at = parameters.indexOf(QLatin1Char(';') + tag);
    return at < 0 ? QString() : parameters.mid(at + 1 + tag.size());
}

} // namespace

QList<int> visibleColumnsInVisualOrder(const QTableView& grid)
{
    QList<int> columns;
    const QHeaderView* header = grid.horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (logical >= 0 && !header->isSectionHidden(logical))
            columns << logical;
    }
    return columns;
}

PrintJob printJobFromGrid(const QTableView& grid, const QString& parameters)
{
    QString title;
    QStringList headerLines;
    parsePrintParameters(parameters, &title, &headerLines);
    const QList<int> columns = visibleColumnsInVisualOrder(grid);
    if (columns.isEmpty()) {
        // Every column hidden: an empty list would tell the engine "all columns".
        PrintJob job;
        job.title = title;
        job.headerLines = headerLines;
        return job;
    }
    return printJobFromModel(*grid.model(), columns, title, headerLines);
}

void runPrintWizard(QTableView* grid, const QString& parameters)
{
    if (!grid || !grid->model()) {
        dialogs().information(kNothingToPrint);
        return;
    }
    const PrintJob job = printJobFromGrid(*grid, parameters);
    if (job.columns.isEmpty()) {
        dialogs().information(kNothingToPrint);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    showPreview(createPrintPreview(job, printer, grid->window()));
}

void runPriceLabelWizard(IConsole* console, const QString& parameters)
{
    IInterface* found = nullptr;
    if (!console || !console->FindService(IID_IPriceLabelService, &found) || !found) {
        dialogs().error(CMN_NO_MODULE.arg(CMN_MOD_PRODUCT_NAME));
        return;
    }
    const auto service = ComPtr<IPriceLabelService>::adopt(static_cast<IPriceLabelService*>(found));
    const PriceLabelRequest request = parsePriceLabelParameters(parameters);
    QList<PriceLabel> labels;
    try {
        labels = loadPriceLabels(*service.get(), request);
    } catch (const DatabaseError& e) {
        dialogs().showException(e);
        return;
    }
    if (labels.isEmpty()) {
        dialogs().information(kNoLabels);
        return;
    }
    const QString title =
        request.documentNumber.isEmpty() ? kLabelsTitle : kLabelsTitle + QStringLiteral(" - ") + request.documentNumber;
    QPrinter printer(QPrinter::HighResolution);
    showPreview(createPriceLabelPreview(labels, title, printer, QApplication::activeWindow()));
}

void runRetailBookWizard(const QString& parameters)
{
    const QString warehouse = lastParameter(parameters, QStringLiteral("warehouse")).trimmed();
    const QString asked = warehouse.isEmpty() ? QStringLiteral("Magacin nije naveden.")
                                              : QStringLiteral("Magacin: \"%1\".").arg(warehouse);
    dialogs().information(CMN_KEPU_WIZ_NAME + QStringLiteral(" (KEP/PK-1)\n") + asked +
                          QStringLiteral("\nKnjigu vodi modul maloprodaje, koji u ovoj instalaciji nije dostupan."));
}

bool runWizard(const QString& name, const QString& parameters, QTableView* activeGrid, IConsole* console)
{
    if (name == CMN_PRINT_WIZ_NAME)
        runPrintWizard(activeGrid, parameters);
    else if (name == CMN_PROD_INVENTORY_WIZ_NAME)
        runPriceLabelWizard(console, parameters);
    else if (name == CMN_KEPU_WIZ_NAME)
        runRetailBookWizard(parameters);
    else
        return false;
    return true;
}

} // namespace tarvex
