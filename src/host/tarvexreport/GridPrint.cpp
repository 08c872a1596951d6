#include "GridPrint.h"

#include <QFile>
#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

namespace tarvex {

namespace {

constexpr int kSampleRows = 2000;   // widths come from a sample: long lists print fast
constexpr double kPaddingEm = 0.5;

QFont baseFont(int pointSize, bool bold)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

// Natural text widths at a nominal resolution, to choose the orientation.
QVector<int> naturalWidths(const PrintJob& job, const QFontMetrics& plain, const QFontMetrics& bold)
{
    QVector<int> widths(job.columns.size(), 0);
    for (int c = 0; c < job.columns.size(); ++c)
        widths[c] = bold.horizontalAdvance(job.columns[c].title);
    const int rows = qMin<int>(job.rows.size(), kSampleRows);
    for (int r = 0; r < rows; ++r) {
        const QStringList& row = job.rows[r];
        for (int c = 0; c < widths.size() && c < row.size(); ++c)
            widths[c] = qMax(widths[c], plain.horizontalAdvance(row[c]));
    }
    // Metrics taken before painting can differ a little from the painter's
    // own (hinting), so leave some slack beyond the padding.
    const int padding = qRound(plain.height() * kPaddingEm) * 2;
    for (int& w : widths)
        w += padding + w / 8;
    return widths;
}

} // namespace

PrintJob printJobFromModel(const QAbstractItemModel& model, const QList<int>& columns, const QString& title,
                           const QStringList& headerLines)
{
    PrintJob job;
    job.title = title;
    job.headerLines = headerLines;
    QList<int> chosen = columns;
    if (chosen.isEmpty())
        for (int c = 0; c < model.columnCount(); ++c)
            chosen << c;
    for (int c : chosen) {
        PrintColumn column;
        column.title = model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        const QVariant align = model.headerData(c, Qt::Horizontal, Qt::TextAlignmentRole);
        if (model.rowCount() > 0) {
            const QVariant cellAlign = model.data(model.index(0, c), Qt::TextAlignmentRole);
            if (cellAlign.isValid())
                column.alignment = Qt::Alignment(cellAlign.toInt()) & Qt::AlignHorizontal_Mask;
        } else if (align.isValid()) {
            column.alignment = Qt::Alignment(align.toInt()) & Qt::AlignHorizontal_Mask;
        }
        job.columns << column;
    }
    const int rows = model.rowCount();
    job.rows.reserve(rows);
    for (int r = 0; r < rows; ++r) {
        QStringList texts;
        texts.reserve(chosen.size());
        for (int c : chosen)
            texts << model.data(model.index(r, c), Qt::DisplayRole).toString();
        job.rows << texts;
    }
    return job;
}

void parsePrintParameters(const QString& parameters, QString* title, QStringList* headerLines)
{
    // "title:" runs up to ";header:"; the header takes the rest, ';' included.
    const QString titleKey = QStringLiteral("title:");
    const QString headerKey = QStringLiteral(";header:");
    QString text = parameters;
    QString header;
    const int headerAt = text.indexOf(headerKey);
    if (headerAt >= 0) {
        header = text.mid(headerAt + headerKey.size());
        text = text.left(headerAt);
    } else if (text.startsWith(QStringLiteral("header:"))) {
        header = text.mid(7);
        text.clear();
    }
    if (title)
        *title = text.startsWith(titleKey) ? text.mid(titleKey.size()) : text;
    if (headerLines) {
        headerLines->clear();
        header.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        if (!header.isEmpty())
            *headerLines = header.split(QLatin1Char('\n'));
    }
}

QPageLayout::Orientation preferredOrientation(const PrintJob& job)
{
    const QFont plain = baseFont(9, false);
    const QFont bold = baseFont(9, true);
    // At 72 dpi one pixel is one point; A4 portrait leaves about 530 points.
    QFontMetrics plainMetrics(plain);
    QFontMetrics boldMetrics(bold);
    const double scale = 72.0 / plainMetrics.fontDpi();
    int total = 0;
    for (int w : naturalWidths(job, plainMetrics, boldMetrics))
        total += w;
    return total * scale > 530 ? QPageLayout::Landscape : QPageLayout::Portrait;
}

GridPrintLayout::GridPrintLayout(const PrintJob& job, QPagedPaintDevice& device)
    : m_job(job), m_font(baseFont(9, false)), m_boldFont(baseFont(9, true)), m_titleFont(baseFont(13, true))
{
    measure(device);
    paginate();
}

void GridPrintLayout::measure(QPagedPaintDevice& device)
{
    const QRect paint = device.pageLayout().paintRectPixels(device.logicalDpiX());
    m_pageRect = QRect(0, 0, paint.width(), paint.height());

    // Shrink the font until the columns fit the page width, down to 6 points;
    // what still does not fit is elided.
    for (int points = 9; points >= 6; --points) {
        m_font.setPointSize(points);
        m_boldFont.setPointSize(points);
        const QFontMetrics plain(m_font, &device);
        const QFontMetrics bold(m_boldFont, &device);
        m_widths = naturalWidths(m_job, plain, bold);
        int total = 0;
        for (int w : m_widths)
            total += w;
        if (total <= m_pageRect.width() || points == 6) {
            if (total > m_pageRect.width() && total > 0) {
                for (int& w : m_widths)
                    w = int(qint64(w) * m_pageRect.width() / total);
            }
            break;
        }
    }
    const QFontMetrics plain(m_font, &device);
    const QFontMetrics title(m_titleFont, &device);
    m_rowHeight = qRound(plain.height() * 1.35);
    m_titleHeight = m_job.title.isEmpty() ? 0 : qRound(title.height() * 1.5);
    m_headerBlockHeight = m_job.headerLines.size() * m_rowHeight + (m_job.headerLines.isEmpty() ? 0 : m_rowHeight / 2);
    m_footerHeight = m_rowHeight * 2;
}

void GridPrintLayout::paginate()
{
    m_pageStarts.clear();
    const int rows = m_job.rows.size();
    int row = 0;
    bool first = true;
    do {
        int available = m_pageRect.height() - m_footerHeight - m_rowHeight; // column headers
        if (first)
            available -= m_titleHeight + m_headerBlockHeight;
        const int perPage = qMax(1, available / qMax(1, m_rowHeight));
        m_pageStarts << row;
        row += perPage;
        first = false;
    } while (row < rows);
}

int GridPrintLayout::rowCount(int page) const
{
    if (page < 0 || page >= m_pageStarts.size())
        return 0;
    const int end = page + 1 < m_pageStarts.size() ? m_pageStarts[page + 1] : m_job.rows.size();
    return qMax(0, end - m_pageStarts[page]);
}

QString GridPrintLayout::pageNumberText(int page) const
{
    return QStringLiteral("Strana %1 / %2").arg(page + 1).arg(pageCount());
}

void GridPrintLayout::paintPage(QPainter& painter, int page) const
{
    const int left = m_pageRect.left();
    const int width = m_pageRect.width();
    int y = m_pageRect.top();
    const int pad = qRound(QFontMetrics(m_font, painter.device()).height() * kPaddingEm);

    if (page == 0) {
        if (!m_job.title.isEmpty()) {
            painter.setFont(m_titleFont);
            painter.drawText(QRect(left, y, width, m_titleHeight), Qt::AlignLeft | Qt::AlignVCenter, m_job.title);
            y += m_titleHeight;
        }
        painter.setFont(m_font);
        for (const QString& line : m_job.headerLines) {
            painter.drawText(QRect(left, y, width, m_rowHeight), Qt::AlignLeft | Qt::AlignVCenter, line);
            y += m_rowHeight;
        }
        if (!m_job.headerLines.isEmpty())
            y += m_rowHeight / 2;
    }

    auto drawRow = [&](const QStringList& texts, const QFont& font) {
        painter.setFont(font);
        const QFontMetrics metrics(font, painter.device());
        int x = left;
        for (int c = 0; c < m_widths.size(); ++c) {
            const QRect cell(x + pad, y, m_widths[c] - 2 * pad, m_rowHeight);
            const Qt::Alignment align = m_job.columns[c].alignment;
            const QString text = metrics.elidedText(texts.value(c), Qt::ElideRight, qMax(0, cell.width()));
            painter.drawText(cell, align | Qt::AlignVCenter, text);
            x += m_widths[c];
        }
        y += m_rowHeight;
    };

    QStringList titles;
    for (const PrintColumn& column : m_job.columns)
        titles << column.title;
    drawRow(titles, m_boldFont);
    painter.drawLine(left, y, left + width, y);

    const int first = firstRow(page);
    const int count = rowCount(page);
    for (int r = first; r < first + count; ++r)
        drawRow(m_job.rows[r], m_font);

    painter.setFont(m_font);
    const QRect footer(left, m_pageRect.bottom() - m_rowHeight, width, m_rowHeight);
    painter.drawText(footer, Qt::AlignRight | Qt::AlignVCenter, pageNumberText(page));
}

void renderJob(const PrintJob& job, QPagedPaintDevice& device)
{
    GridPrintLayout layout(job, device);
    QPainter painter(&device);
    for (int page = 0; page < layout.pageCount(); ++page) {
        if (page > 0)
            device.newPage();
        layout.paintPage(painter, page);
    }
}

bool writePdf(const QString& fileName, const QString& title, const QPageLayout& pageLayout,
              const std::function<void(QPagedPaintDevice&)>& paint, QString* error)
{
    // QPdfWriter says nothing of a file it cannot open: try it first.
    {
        QFile probe(fileName);
        if (!probe.open(QIODevice::WriteOnly)) {
            if (error)
                *error = probe.errorString();
            return false;
        }
    }
    QPdfWriter writer(fileName);
    writer.setResolution(300);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Tarvex"));
    writer.setPageLayout(pageLayout);
    paint(writer);
    return true;
}

bool savePdf(const PrintJob& job, const QString& fileName, QString* error)
{
    return writePdf(fileName, job.title,
                    QPageLayout(QPageSize(QPageSize::A4), preferredOrientation(job), QMarginsF(12, 12, 12, 12),
                                QPageLayout::Millimeter),
                    [&job](QPagedPaintDevice& device) { renderJob(job, device); }, error);
}

} // namespace tarvex
