#pragma once
// The print engine behind the console's print wizard: a grid's visible
// columns and display texts laid out as pages with a title, header lines,
// column headers repeated on every page and page numbers.

#include <QAbstractItemModel>
#include <QFont>
#include <QList>
#include <QPageLayout>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

class QPainter;
class QPagedPaintDevice;

namespace tarvex {

struct PrintColumn {
    QString title;
    Qt::Alignment alignment = Qt::AlignLeft;
};

// What gets printed: a snapshot of texts, so printing never moves a cursor.
struct PrintJob {
    QString title;
    QStringList headerLines;
    QList<PrintColumn> columns;
    QVector<QStringList> rows;
};

// Takes the display texts of the given model columns (all columns when the
// list is empty), with their header titles and alignments.
PrintJob printJobFromModel(const QAbstractItemModel& model, const QList<int>& columns, const QString& title,
                           const QStringList& headerLines);

// Parses the print wizard's parameter string "title:...;header:..." into a
// title and header lines (the header's line breaks split it).
void parsePrintParameters(const QString& parameters, QString* title, QStringList* headerLines);

// Lays a job out on pages of one paint device. Page texts are "Strana N / M".
class GridPrintLayout {
public:
    GridPrintLayout(const PrintJob& job, QPagedPaintDevice& device);

    int pageCount() const { return m_pageStarts.size(); }
    // First row and number of rows on a page.
    int firstRow(int page) const { return m_pageStarts.value(page); }
    int rowCount(int page) const;
    // Column widths in device pixels (they fit the page width).
    const QVector<int>& columnWidths() const { return m_widths; }
    QString pageNumberText(int page) const;

    void paintPage(QPainter& painter, int page) const;

private:
    void measure(QPagedPaintDevice& device);
    void paginate();

    const PrintJob& m_job;
    QFont m_font;
    QFont m_boldFont;
    QFont m_titleFont;
    QRect m_pageRect;
    int m_rowHeight = 0;
    int m_titleHeight = 0;
    int m_headerBlockHeight = 0;
    int m_footerHeight = 0;
    QVector<int> m_widths;
    QVector<int> m_pageStarts;
};

// Paints every page of the job onto the device (a printer or a PDF writer).
void renderJob(const PrintJob& job, QPagedPaintDevice& device);

// Writes the job as a PDF file (A4, landscape when the columns need it).
// Returns false with the reason when the file cannot be written.
bool savePdf(const PrintJob& job, const QString& fileName, QString* error = nullptr);

// Writes a PDF file at 300 dpi with the title and the page layout, its pages
// painted through paint. Returns false with the reason, writing nothing,
// when the file cannot be written.
bool writePdf(const QString& fileName, const QString& title, const QPageLayout& pageLayout,
              const std::function<void(QPagedPaintDevice&)>& paint, QString* error);

// A4 portrait unless the columns' natural widths need landscape.
QPageLayout::Orientation preferredOrientation(const PrintJob& job);

} // namespace tarvex
