#include "Warehistoryunit.h"

#include "Connection.h"
#include "DBGrid.h"
#include "DataSetErrors.h"
#include "DateText.h"
#include "DisplayFormat.h"
#include "Error.h"
#include "Format.h"
#include "Guarded.h"
#include "HostStrings.h"
#include "MemoryTable.h"
#include "Modal.h"
#include "Productdmunit.h"
#include "Productresourcestring.h"
#include "Reportfields.h"

#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSqlQuery>
#include <QVBoxLayout>
#include <vector>

namespace products {

namespace {

const QString kTotalFormat = tarvex::QUANTITY_FORMAT;

// Posted stock documents up to the end date, inputs before outputs on a day.
const QString kHistorySql = QStringLiteral(
    "SELECT d.documentdate, d.documenttype, d.number, d.documentid, IF(d.partnername IS NULL, CONCAT(p.name,''), "
    "d.partnername) AS Partner,  IF (d.direction = 1 OR (d.documenttype = 'I' AND d.inwarehouseid = "
    "w.warehouseid),di.quantity,0) AS Input, IF (d.direction = -1 AND (d.warehouseid = "
    "w.warehouseid),di.quantity,0) AS Output, w.name FROM documentitem AS di LEFT JOIN document AS d ON "
    "di.documentid = d.documentid LEFT JOIN warehouse AS w ON ((d.warehouseid = w.warehouseid) OR "
    "(d.inwarehouseid = w.warehouseid)) LEFT JOIN partner AS p ON d.partnerid = p.partnerid WHERE d.documenttype "
    "IN ('R','K','V','L','F','T','G','M','I','C','W') AND d.status = 'p' AND di.productid = ? AND "
    "d.documentdate <= ? AND w.warehouseid = ? ORDER BY d.documentdate,d.direction DESC, d.documenttype, "
    "d.number");

struct Movement {
    QDate date;
    QString document;
    QVariant partner;
    double input = 0;
    double output = 0;
    qint64 documentId = 0;
};

std::vector<Movement> readMovements(const tarvex::QueryRows& lines)
{
    std::vector<Movement> rows;
    for (const QVector<QVariant>& line : lines.values) {
        Movement row;
        row.date = line.at(0).toDate();
        row.document = line.at(1).toString() + QLatin1Char('-') + line.at(2).toString();
        row.documentId = line.at(3).toLongLong();
        row.partner = line.at(4);
        row.input = line.at(5).toDouble();
        row.output = line.at(6).toDouble();
        rows.push_back(row);
    }
    return rows;
}

void appendRow(tarvex::MemoryTable& table, const QDate& date, const QString& document, const QVariant& partner,
               double in, double out, double balance, const QVariant& documentId)
{
    table.append();
    table.fieldByName(QStringLiteral("documentdate")).setValue(date);
    table.fieldByName(QStringLiteral("document")).setValue(document);
    table.fieldByName(QStringLiteral("partner")).setValue(partner);
    table.fieldByName(QStringLiteral("amountin")).setValue(in);
    table.fieldByName(QStringLiteral("amountout")).setValue(out);
    table.fieldByName(QStringLiteral("amountbalance")).setValue(balance);
    table.fieldByName(QStringLiteral("documentid")).setValue(documentId);
    table.post();
}

} // namespace

void DefineWareHistoryFields(tarvex::MemoryTable& table)
{
    using tarvex::FieldType;
    table.addField(QStringLiteral("documentdate"), FieldType::Date).setDisplayLabel(QStringLiteral("Datum"));
    table.addField(QStringLiteral("document"), FieldType::String, 50).setDisplayLabel(QStringLiteral("Dokument"));
    table.addField(QStringLiteral("partner"), FieldType::String, 100).setDisplayLabel(QStringLiteral("Partner"));
    AddQuantityInOutFields(table);
    table.addField(QStringLiteral("documentid"), FieldType::LargeInt).setVisible(false);
}

tarvex::QueryRows ReadWareHistory(QSqlDatabase db, qint64 productId, qint64 warehouseId, const QString& toText)
{
    return tarvex::QueryDataSet::readRows(db, kHistorySql, {productId, toText, warehouseId});
}

TWareHistoryTotals FillWareHistory(QSqlDatabase db, tarvex::MemoryTable& table, qint64 productId,
                                   qint64 warehouseId, const QString& fromText, const QString& toText)
{
    return FillWareHistory(table, ReadWareHistory(db, productId, warehouseId, toText), fromText);
}

TWareHistoryTotals FillWareHistory(tarvex::MemoryTable& table, const tarvex::QueryRows& lines,
                                   const QString& fromText)
{
    const QDate start = tarvex::MyDateStrToDate(fromText);
    if (!start.isValid())
        throw tarvex::TarvexError(tarvex::ErrorKind::Validation,
                                  tarvex::CMN_FIELD_INVALIDE_ERR.arg(QStringLiteral("Od datuma")));
    const std::vector<Movement> movements = readMovements(lines);

    double previousIn = 0;
    double previousOut = 0;
    TWareHistoryTotals totals;
    bool previousShown = false;
    auto appendPrevious = [&] {
        const bool moreIn = previousIn >= previousOut;
        appendRow(table, start, PROD_PREV_SITUATION, QVariant(), moreIn ? previousIn - previousOut : 0,
                  moreIn ? 0 : previousOut - previousIn, totals.balance, QVariant());
        previousShown = true;
    };

    TControlsOff off(table);
    table.emptyDataSet();
    for (const Movement& row : movements) {
        if (row.date < start) {
            previousIn += row.input;
            previousOut += row.output;
            totals.balance = previousIn - previousOut;
            // Before the range only the net state counts, on the side it falls.
            totals.amountIn = previousIn >= previousOut ? previousIn - previousOut : 0;
            totals.amountOut = previousIn >= previousOut ? 0 : previousOut - previousIn;
            continue;
        }
        if (!previousShown)
            appendPrevious();
        totals.balance += row.input - row.output;
        totals.amountIn += row.input;
        totals.amountOut += row.output;
        appendRow(table, row.date, row.document, row.partner, row.input, row.output, totals.balance, row.documentId);
    }
    if (!previousShown && !movements.empty())
        appendPrevious();
    table.first();
    return totals;
}

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
        tarvex::QueryRows lines;
        const QString fromText = FromDateText();
        const QString toText = ToDateText();
        const bool done = runOnWorker([&](QSqlDatabase db, const TProgress& progress) {
            progress(QStringLiteral("Dokumenti"), 0);
            lines = ReadWareHistory(db, subject().productId, subject().warehouseId, toText);
        });
        // Stopped: the list and its totals stay as they were.
        if (done)
            showTotals(FillWareHistory(*CDS(), lines, fromText));
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
