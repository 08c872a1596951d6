#include "Warehistoryunit.h"

#include "DBGrid.h"
#include "DisplayFormat.h"
#include "Format.h"
#include "Guarded.h"
#include "MemoryTable.h"
#include "Modal.h"

#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QVBoxLayout>

namespace products {

namespace {

const QString kTotalFormat = tarvex::QUANTITY_FORMAT;

} // namespace

TWareHistoryForm::TWareHistoryForm(const THistorySubject& subject, QWidget* parent)
    : THistoryWindow(QStringLiteral("Magacinska kartica"), subject, parent)
{
    DefineWareHistoryFields(*CDS());
    showTable();

    // The three totals sit right under their columns.
    m_totals = new QWidget(this);
    m_in = new QLabel(this);
    m_out = new QLabel(this);
    m_balance = new QLabel(this);
    for (QLabel* label : {m_in, m_out, m_balance}) {
        label->setParent(m_totals);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    m_totals->setFixedHeight(m_in->sizeHint().height() + 4);
    m_totals->installEventFilter(this);
    mainLayout()->insertWidget(2, m_totals);
    QHeaderView* header = DBG()->horizontalHeader();
    connect(header, &QHeaderView::sectionResized, this, &TWareHistoryForm::placeTotals);
    connect(header, &QHeaderView::sectionMoved, this, &TWareHistoryForm::placeTotals);
    connect(header, &QHeaderView::geometriesChanged, this, &TWareHistoryForm::placeTotals);
    connect(DBG()->horizontalScrollBar(), &QScrollBar::valueChanged, this, &TWareHistoryForm::placeTotals);
    showTotals(TWareHistoryTotals());
    resize(780, 480);
}

// The dialog hides its children on the way out, and the header then reports
// new geometries: by then this part of the window is gone, so stop listening.
TWareHistoryForm::~TWareHistoryForm()
{
    DBG()->horizontalHeader()->disconnect(this);
    DBG()->horizontalScrollBar()->disconnect(this);
    m_totals->removeEventFilter(this);
}

void TWareHistoryForm::showTotals(const TWareHistoryTotals& totals)
{
    m_in->setText(tarvex::FormatFloat(kTotalFormat, totals.amountIn));
    m_out->setText(tarvex::FormatFloat(kTotalFormat, totals.amountOut));
    m_balance->setText(tarvex::FormatFloat(kTotalFormat, totals.balance));
}

void TWareHistoryForm::placeTotals()
{
    const QHeaderView* header = DBG()->horizontalHeader();
    const struct {
        QLabel* label;
        const char* field;
    } columns[] = {{m_in, "amountin"}, {m_out, "amountout"}, {m_balance, "amountbalance"}};
    for (const auto& column : columns) {
        const int section = DBG()->dataModel()->columnOf(CDS()->findField(QString::fromLatin1(column.field)));
        if (section < 0)
            continue;
        const QPoint at = DBG()->viewport()->mapTo(this, QPoint(header->sectionViewportPosition(section), 0));
        column.label->setGeometry(at.x() - m_totals->x() - 4, 0, header->sectionSize(section), m_totals->height());
    }
}

bool TWareHistoryForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_totals && (event->type() == QEvent::Resize || event->type() == QEvent::Move))
        placeTotals();
    return THistoryWindow::eventFilter(watched, event);
}

void TWareHistoryForm::FindButtonClick()
{
    tarvex::guarded([&] {
        std::vector<THistoryRow> rows;
        const QString fromText = FromDateText();
        const QString toText = ToDateText();
        const bool done = runOnWorker([&](QSqlDatabase db, const TProgress& progress) {
            progress(QStringLiteral("Dokumenti"), 0);
            rows = ComputeWareHistory(db, subject().productId, subject().warehouseId, fromText, toText);
        });
        // Stopped: the list and its totals stay as they were.
        if (done)
            showTotals(ShowWareHistory(*CDS(), rows));
    });
}

void TWareHistoryForm::PrintButtonClick()
{
    PrintThroughConsole(DBG(), PrintParameters(PrintTitle(), GetPrintHeader()));
}

void TWareHistoryForm::DBGDblClick()
{
    if (!CDS()->isActive() || CDS()->isEmpty())
        return;
    OpenDocument(CDS()->fieldByName(QStringLiteral("documentid")).asLargeInt());
}

void OpenWareHistory(QWidget* owner)
{
    auto* form = new TWareHistoryForm(THistorySubject::FromDataModule(), owner);
    tarvex::execModal(*form);
}

} // namespace products
