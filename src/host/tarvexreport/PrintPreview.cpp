#include "PrintPreview.h"

#include "Dialogs.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QScreen>
#include <QToolBar>

namespace tarvex {

namespace {

// A file name proposed from the title: characters file systems refuse become '_'.
QString suggestedPdfName(const QString& title)
{
    static const QRegularExpression unsafe(QStringLiteral("[\\\\/:*?\"<>|]"));
    QString base = title.trimmed();
    base.replace(unsafe, QStringLiteral("_"));
    if (base.isEmpty())
        base = QStringLiteral("stampa");
    return QDir::homePath() + QLatin1Char('/') + base + QStringLiteral(".pdf");
}

} // namespace

void printJob(const PrintJob& job, QPrinter& printer)
{
    renderJob(job, printer);
}

QPrintPreviewDialog* createPrintPreview(const PrintJob& job, QPrinter& printer, QWidget* parent)
{
    printer.setPageOrientation(preferredOrientation(job));
    // The job is copied: the preview repaints whenever the user changes the page setup.
    return createDocumentPreview(
        job.title, [job](QPagedPaintDevice& device) { renderJob(job, device); },
        [job](const QString& fileName, QString* error) { return savePdf(job, fileName, error); }, printer, parent);
}

QPrintPreviewDialog* createDocumentPreview(const QString& title, DocumentPainter paint, PdfWriter writePdf,
                                           QPrinter& printer, QWidget* parent)
{
    auto* dialog = new QPrintPreviewDialog(&printer, parent);
    dialog->setWindowTitle(title.isEmpty() ? QStringLiteral("Pregled štampe")
                                           : QStringLiteral("Pregled štampe - ") + title);
    QObject::connect(dialog, &QPrintPreviewDialog::paintRequested, dialog,
                     [paint](QPrinter* target) { paint(*target); });
    // Room for the whole tool bar and a readable page.
    dialog->resize(QSize(1000, 760).boundedTo(dialog->screen()->availableGeometry().size()));

    auto* savePdfAction = new QAction(kSavePdfActionText, dialog);
    savePdfAction->setObjectName(kSavePdfActionName);
    QObject::connect(savePdfAction, &QAction::triggered, dialog, [title, writePdf] { savePdfAs(title, writePdf); });
    // First on the tool bar, so a narrow window never hides it in the overflow.
    if (auto* toolBar = dialog->findChild<QToolBar*>()) {
        QAction* first = toolBar->actions().value(0);
        toolBar->insertAction(first, savePdfAction);
        toolBar->insertSeparator(first);
    } else {
        dialog->addAction(savePdfAction);
    }
    return dialog;
}

QString savePdfAs(const QString& title, const PdfWriter& writePdf)
{
    QString fileName = dialogs().saveFileName(kSavePdfActionText, suggestedPdfName(title),
                                              QStringLiteral("PDF (*.pdf)"));
    if (fileName.isEmpty())
        return QString();
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += QStringLiteral(".pdf");
    QString error;
    if (!writePdf(fileName, &error)) {
        dialogs().error(QStringLiteral("Datoteka \"%1\" nije sačuvana: %2").arg(fileName, error));
        return QString();
    }
    return fileName;
}

} // namespace tarvex
