#include "Stockhistoryunit.h"

#include "BusyCursor.h"
#include "Connection.h"
#include "DBGrid.h"
#include "Format.h"
#include "Guarded.h"
#include "MemoryTable.h"
#include "Modal.h"
#include "Productdmunit.h"
#include "ReportEngine.h"
#include "Reportfields.h"

#include <QHBoxLayout>
#include <QLabel>

namespace products {

TStockHistoryForm::TStockHistoryForm(const THistorySubject& subject, QWidget* parent)
    : THistoryWindow(QStringLiteral("Robna kartica"), subject, parent)
{
    DefineStockHistoryFields(*CDS());
    showTable();

    auto* caption = new QLabel(QStringLiteral("Trenutna cena po robnim karticama:"), this);
    m_price = newFigureLabel();
    topRow()->addWidget(caption);
    topRow()->addWidget(m_price);

    // Once, with the end date the window opens with (today).
    tarvex::guarded([&] {
        tarvex::BusyCursor busy;
        m_price->setText(tarvex::FormatFloat(
            kMoneyFormat, CurrentStockCardPrice(ProductDM->ZConnection()->database(), subject.productId,
                                                subject.warehouseId, ToDateText())));
    });
    resize(1000, 480);
}

void TStockHistoryForm::FindButtonClick()
{
    tarvex::guarded([&] {
        std::vector<THistoryRow> rows;
        const QString fromText = FromDateText();
        const QString toText = ToDateText();
        const bool done = runOnWorker([&](QSqlDatabase db, const TProgress& progress) {
            progress(QStringLiteral("Robna kartica"), 0);
            rows = ComputeStockHistory(db, subject().productId, subject().warehouseId, fromText, toText);
        });
        // Stopped: the card stays as it was.
        if (done)
            ShowStockHistory(*CDS(), rows);
    });
}

void TStockHistoryForm::PrintButtonClick()
{
    const QStringList header = GetPrintHeader().split(QStringLiteral("\r\n"));
    auto* engine = new tarvex::TReportEngine(this);
    tarvex::guarded([&] {
        engine->ExecuteStockCardReport(*CDS(), *ProductDM->ProductZQ, PrintTitle(), header);
    });
    delete engine;
}

void TStockHistoryForm::DBGDblClick()
{
    if (!CDS()->isActive() || CDS()->isEmpty())
        return;
    const qint64 documentId = CDS()->fieldByName(QStringLiteral("documentid")).asLargeInt();
    if (documentId > 0)
        OpenDocument(documentId);
}

void OpenStockHistory(QWidget* owner)
{
    auto* form = new TStockHistoryForm(THistorySubject::FromDataModule(), owner);
    tarvex::execModal(*form);
}

} // namespace products
