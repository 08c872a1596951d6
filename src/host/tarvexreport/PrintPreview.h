#pragma once
// Print preview, printing and saving as PDF of a print job.

#include "GridPrint.h"

class QPrinter;
class QPrintPreviewDialog;
class QWidget;

namespace tarvex {

// Paints the job onto a printer (its page layout as the user chose it).
void printJob(const PrintJob& job, QPrinter& printer);

// A preview window over the job, with print and PDF buttons; the caller shows
// it (modally, through the host) and owns it.
QPrintPreviewDialog* createPrintPreview(const PrintJob& job, QPrinter& printer, QWidget* parent);

} // namespace tarvex
