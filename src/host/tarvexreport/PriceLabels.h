#pragma once
// Price labels for shelves: name, code, price with VAT and barcode of each
// product, as many labels as asked for, on A4 sheets of 3 x 8 labels.

#include "Pricelabelintf.h"

#include <QList>
#include <QRectF>
#include <QString>

class QPainter;
class QPagedPaintDevice;
class QPrinter;
class QPrintPreviewDialog;
class QWidget;

namespace tarvex {

// What the price-label wizard was asked for:
// "productids:1,2;productquantities:1,3;documentnumber:Proizvod;warehouseid:3".
struct PriceLabelRequest {
    QList<qint64> productIds;
    // Labels per product id, in step with productIds (labelCountForQuantity).
    QList<int> labelCounts;
    QString documentNumber;
    qint64 warehouseId = 0;
};

// Reads the parameter string. Keys may come in any order; a piece without a
// known key continues the value before it (a document number holding ';').
// An id that is not a whole number is skipped with its quantity; a missing
// or unreadable quantity gives one label.
PriceLabelRequest parsePriceLabelParameters(const QString& parameters);

// Labels for a quantity: fractional quantities (weighed goods) round up, so a
// partial pack still gets its label; zero and negative give none.
int labelCountForQuantity(double quantity);

struct PriceLabel : TPriceLabelDesc {
    // "1,234.50 RSD"
    QString priceText() const;
};

// One entry per label, in the order of the request: each product as many
// times as its quantity, with what the module that keeps the products says
// of it. Products that no longer exist are left out. Throws DatabaseError.
QList<PriceLabel> loadPriceLabels(IPriceLabelService& service, const PriceLabelRequest& request);

// Places labels on the pages of one paint device: a grid of equal cells
// filling the printable area, row by row.
class PriceLabelLayout {
public:
    static constexpr int kColumns = 3;
    static constexpr int kRows = 8;
    static constexpr int kLabelsPerPage = kColumns * kRows;

    PriceLabelLayout(const QList<PriceLabel>& labels, QPagedPaintDevice& device);

    int pageCount() const;
    // The cell of the n-th label of a page, in device pixels.
    QRectF labelRect(int indexOnPage) const;

    void paintPage(QPainter& painter, int page) const;

    // Draws one label into its cell (also used for a single label's picture).
    static void paintLabel(QPainter& painter, const QRectF& cell, const PriceLabel& label);

private:
    const QList<PriceLabel>& m_labels;
    QRectF m_area;
};

// Paints every page of the labels onto the device.
void renderPriceLabels(const QList<PriceLabel>& labels, QPagedPaintDevice& device);

// The page setup labels are made for: A4 portrait, 5 mm margins.
void setLabelPageLayout(QPagedPaintDevice& device);

// Writes the labels as a PDF file; false with the reason when it cannot.
bool savePriceLabelsPdf(const QList<PriceLabel>& labels, const QString& fileName, QString* error = nullptr);

// The labels' preview window with print and PDF; the caller shows and owns it.
QPrintPreviewDialog* createPriceLabelPreview(const QList<PriceLabel>& labels, const QString& title, QPrinter& printer,
                                             QWidget* parent);

} // namespace tarvex
