#include "PriceLabels.h"

#include "BarcodePainter.h"
#include "DisplayFormat.h"
#include "PrintPreview.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <QStringList>
#include <cmath>

namespace tarvex {

namespace {

const QString kIdsKey = QStringLiteral("productids");
const QString kQuantitiesKey = QStringLiteral("productquantities");
const QString kDocumentKey = QStringLiteral("documentnumber");
const QString kWarehouseKey = QStringLiteral("warehouseid");

QStringList listItems(const QString& value)
{
    QStringList items = value.split(QLatin1Char(','));
    for (QString& item : items)
        item = item.trimmed();
    return items;
}

// A font whose pixel size is the given share of a line, so labels look the
// same on a 1200 dpi printer and a 300 dpi PDF.
QFont labelFont(double pixelHeight, bool bold)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(qMax(1, int(pixelHeight)));
    font.setBold(bold);
    return font;
}

// Shrinks the font until the text fits the width.
QFont fitFont(QFont font, const QString& text, double width, const QPaintDevice* device)
{
    const double advance = QFontMetricsF(font, device).horizontalAdvance(text);
    if (advance > width && advance > 0)
        font.setPixelSize(qMax(1, int(font.pixelSize() * width / advance)));
    return font;
}

} // namespace

int labelCountForQuantity(double quantity)
{
    if (!(quantity > 1e-6))
        return 0;
    // 3.0000001 from a sum of documents is still three.
    return int(std::ceil(quantity - 1e-6));
}

PriceLabelRequest parsePriceLabelParameters(const QString& parameters)
{
    QHash<QString, QString> values;
    QString lastKey;
    for (const QString& piece : parameters.split(QLatin1Char(';'))) {
        const int colon = piece.indexOf(QLatin1Char(':'));
        const QString key = colon > 0 ? piece.left(colon).trimmed().toLower() : QString();
        if (key == kIdsKey || key == kQuantitiesKey || key == kDocumentKey || key == kWarehouseKey) {
            values[key] = piece.mid(colon + 1);
            lastKey = key;
        } else if (!lastKey.isEmpty()) {
            values[lastKey] += QLatin1Char(';') + piece;
        }
    }

    PriceLabelRequest request;
    request.documentNumber = values.value(kDocumentKey).trimmed();
    request.warehouseId = values.value(kWarehouseKey).trimmed().toLongLong();
    const QStringList ids = listItems(values.value(kIdsKey));
    const QStringList quantities = listItems(values.value(kQuantitiesKey));
    for (int i = 0; i < ids.size(); ++i) {
        bool idOk = false;
        const qint64 id = ids[i].toLongLong(&idOk);
        if (!idOk)
            continue;
        bool quantityOk = false;
        const double quantity = quantities.value(i).toDouble(&quantityOk);   // '.' whatever the locale
        request.productIds << id;
        request.labelCounts << (quantityOk ? labelCountForQuantity(quantity) : 1);
    }
    return request;
}

QString PriceLabel::priceText() const
{
    const QString amount = FormatFloat(AMOUNT_FORMAT, priceWithTax);
    return currency.isEmpty() ? amount : amount + QLatin1Char(' ') + currency;
}

QList<PriceLabel> loadPriceLabels(IPriceLabelService& service, const PriceLabelRequest& request)
{
    QList<PriceLabel> labels;
    if (request.productIds.isEmpty())
        return labels;
    QHash<qint64, PriceLabel> products;
    for (const TPriceLabelDesc& row : service.GetPriceLabels(request.productIds, request.warehouseId))
        products.insert(row.productId, PriceLabel{row});

    for (int i = 0; i < request.productIds.size(); ++i) {
        const auto found = products.constFind(request.productIds[i]);
        if (found == products.constEnd())
            continue;
        for (int n = 0; n < request.labelCounts.value(i, 1); ++n)
            labels << *found;
    }
    return labels;
}

PriceLabelLayout::PriceLabelLayout(const QList<PriceLabel>& labels, QPagedPaintDevice& device) : m_labels(labels)
{
    const QRect paint = device.pageLayout().paintRectPixels(device.logicalDpiX());
    m_area = QRectF(0, 0, paint.width(), paint.height());
}

int PriceLabelLayout::pageCount() const
{
    return (m_labels.size() + kLabelsPerPage - 1) / kLabelsPerPage;
}

QRectF PriceLabelLayout::labelRect(int indexOnPage) const
{
    const double width = m_area.width() / kColumns;
    const double height = m_area.height() / kRows;
    const int row = indexOnPage / kColumns;
    const int column = indexOnPage % kColumns;
    return QRectF(m_area.left() + column * width, m_area.top() + row * height, width, height);
}

void PriceLabelLayout::paintPage(QPainter& painter, int page) const
{
    const int first = page * kLabelsPerPage;
    const int count = qMin(kLabelsPerPage, int(m_labels.size()) - first);
    for (int i = 0; i < count; ++i)
        paintLabel(painter, labelRect(i), m_labels[first + i]);
}

void PriceLabelLayout::paintLabel(QPainter& painter, const QRectF& cell, const PriceLabel& label)
{
    painter.save();
    // A light frame to cut along.
    painter.setPen(QPen(QColor(0xC0, 0xC0, 0xC0), 0));
    painter.drawRect(cell);

    const double padding = qMin(cell.width(), cell.height()) * 0.07;
    const QRectF inner = cell.adjusted(padding, padding, -padding, -padding);
    const double nameHeight = inner.height() * 0.17;
    const double codeHeight = inner.height() * 0.13;
    const double priceHeight = inner.height() * 0.24;
    const double gap = inner.height() * 0.04;
    const QPaintDevice* device = painter.device();
    painter.setPen(Qt::black);
    double y = inner.top();

    const QFont nameFont = labelFont(nameHeight * 0.7, true);
    painter.setFont(nameFont);
    const QString name = QFontMetricsF(nameFont, device).elidedText(label.name, Qt::ElideRight, inner.width());
    painter.drawText(QRectF(inner.left(), y, inner.width(), nameHeight), Qt::AlignLeft | Qt::AlignVCenter, name);
    y += nameHeight;

    if (!label.code.isEmpty()) {
        const QFont codeFont = labelFont(codeHeight * 0.7, false);
        painter.setFont(codeFont);
        const QString code = QFontMetricsF(codeFont, device)
                                 .elidedText(QStringLiteral("Šifra: ") + label.code, Qt::ElideRight, inner.width());
        painter.drawText(QRectF(inner.left(), y, inner.width(), codeHeight), Qt::AlignLeft | Qt::AlignVCenter, code);
    }
    y += codeHeight;

    const QString price = label.priceText();
    painter.setFont(fitFont(labelFont(priceHeight * 0.75, true), price, inner.width(), device));
    painter.drawText(QRectF(inner.left(), y, inner.width(), priceHeight), Qt::AlignRight | Qt::AlignVCenter, price);
    y += priceHeight + gap;

    BarcodePainter().paint(painter, QRectF(inner.left(), y, inner.width(), inner.bottom() - y), label.barcode);
    painter.restore();
}

namespace {

QPageLayout labelPageLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
}

} // namespace

void setLabelPageLayout(QPagedPaintDevice& device)
{
    device.setPageLayout(labelPageLayout());
}

void renderPriceLabels(const QList<PriceLabel>& labels, QPagedPaintDevice& device)
{
    const PriceLabelLayout layout(labels, device);
    QPainter painter(&device);
    for (int page = 0; page < layout.pageCount(); ++page) {
        if (page > 0)
            device.newPage();
        layout.paintPage(painter, page);
    }
}

bool savePriceLabelsPdf(const QList<PriceLabel>& labels, const QString& fileName, QString* error)
{
    return writePdf(fileName, QStringLiteral("Nalepnice za cene"), labelPageLayout(),
                    [&labels](QPagedPaintDevice& device) { renderPriceLabels(labels, device); }, error);
}

QPrintPreviewDialog* createPriceLabelPreview(const QList<PriceLabel>& labels, const QString& title, QPrinter& printer,
                                             QWidget* parent)
{
    setLabelPageLayout(printer);
    // The labels are copied: the preview repaints whenever the page setup changes.
    return createDocumentPreview(
        title, [labels](QPagedPaintDevice& device) { renderPriceLabels(labels, device); },
        [labels](const QString& fileName, QString* error) { return savePriceLabelsPdf(labels, fileName, error); },
        printer, parent);
}

} // namespace tarvex
