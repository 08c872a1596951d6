#pragma once
// Print preview, printing and saving as PDF of a print job or of any other
// paged document (price labels).

#include "GridPrint.h"

#include <functional>

class QPrinter;
class QPrintPreviewDialog;
class QWidget;

namespace tarvex {

// Paints a whole document onto a printer or a PDF writer.
using DocumentPainter = std::function<void(QPagedPaintDevice&)>;
// Writes the document as a PDF file; false with the reason when it cannot.
using PdfWriter = std::function<bool(const QString& fileName, QString* error)>;

// Object name and text of the preview's save-as-PDF action.
inline const QString kSavePdfActionName = QStringLiteral("savePdfAction");
inline const QString kSavePdfActionText = QStringLiteral("Sačuvaj kao PDF");

// Paints the job onto a printer (its page layout as the user chose it).
void printJob(const PrintJob& job, QPrinter& printer);

// A preview window over the job, with print and PDF buttons; the caller shows
// it (modally, through the host) and owns it.
QPrintPreviewDialog* createPrintPreview(const PrintJob& job, QPrinter& printer, QWidget* parent);

// The same over any document: the preview repaints through paint, and its
// "Sačuvaj kao PDF" action writes the file through writePdf.
QPrintPreviewDialog* createDocumentPreview(const QString& title, DocumentPainter paint, PdfWriter writePdf,
                                           QPrinter& printer, QWidget* parent);

// Asks for a file name through the dialogs service (".pdf" is added when the
// name has no suffix) and writes the PDF; a failure is shown as an error.
// Returns the file written, empty when cancelled or failed.
QString savePdfAs(const QString& title, const PdfWriter& writePdf);

} // namespace tarvex
