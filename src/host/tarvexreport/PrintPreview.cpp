#include "PrintPreview.h"

#include <QPrintPreviewDialog>
#include <QPrinter>

namespace tarvex {

void printJob(const PrintJob& job, QPrinter& printer)
{
    renderJob(job, printer);
}

QPrintPreviewDialog* createPrintPreview(const PrintJob& job, QPrinter& printer, QWidget* parent)
{
    printer.setPageOrientation(preferredOrientation(job));
    auto* dialog = new QPrintPreviewDialog(&printer, parent);
    dialog->setWindowTitle(job.title.isEmpty() ? QStringLiteral("Pregled štampe")
                                               : QStringLiteral("Pregled štampe - ") + job.title);
    // The job is copied: the preview repaints whenever the user changes the page setup.
    QObject::connect(dialog, &QPrintPreviewDialog::paintRequested, dialog,
                     [job](QPrinter* target) { renderJob(job, *target); });
    return dialog;
}

} // namespace tarvex
