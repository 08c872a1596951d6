#include "Stockhistoryunit.h"

#include "BusyCursor.h"
#include "Connection.h"
#include "DBGrid.h"
#include "DateText.h"
#include "DisplayFormat.h"
#include "Error.h"
#include "Exactprice.h"
#include "Format.h"
#include "Guarded.h"
#include "HostStrings.h"
#include "MemoryTable.h"
#include "Modal.h"
#include "Productdmunit.h"
#include "Productresourcestring.h"
#include "ReportEngine.h"
#include "Reportfields.h"
#include "Rounding.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSqlQuery>
#include <QSqlRecord>
#include <vector>

namespace products {

namespace {


// Every stock-card entry of the warehouse up to the end date.
const QString kCardSql = QStringLiteral(
    "SELECT dfi.*, d.documentdate, d.documenttype, d.number, d.documentid, IF(d.partnername IS NULL, "
    "CONCAT(p.name,''), d.partnername) AS Partner FROM docfinitem AS dfi LEFT JOIN document AS d ON "
    "dfi.documentid = d.documentid LEFT JOIN warehouse AS w ON ((d.warehouseid = w.warehouseid) OR "
    "(d.inwarehouseid = w.warehouseid)) LEFT JOIN partner AS p ON d.partnerid = p.partnerid WHERE dfi.productid "
    "= ? AND d.documentdate <= ? AND w.warehouseid = ? AND dfi.warehouseid = ? ORDER BY "
    "d.documentdate,d.direction DESC, d.documenttype, d.number");

// Summed as exact decimals (see Exactprice.h).
const QString kPriceSql = QStringLiteral(
    "SELECT SUM(CAST(dfi.inquantity AS DECIMAL(24,6)))-SUM(CAST(dfi.outquantity AS DECIMAL(24,6))) AS SumAmount,"
    "SUM(CAST(dfi.debit AS DECIMAL(24,6)))-SUM(CAST(dfi.credit AS DECIMAL(24,6))) AS SumBalance "
    "FROM docfinitem AS dfi LEFT JOIN document AS d ON dfi.documentid = d.documentid WHERE dfi.productid = ? and "
    "dfi.warehouseid = ? and d.documentdate <= ?");

struct Entry {
    QDate date;
    QString document;
    QVariant partner;
    double in = 0;
    double out = 0;
    double price = 0;
    double debit = 0;
    double credit = 0;
    qint64 documentId = 0;
};

std::vector<Entry> readEntries(const tarvex::QueryRows& lines)
{
    const QSqlRecord& record = lines.record;
    const int date = record.indexOf(QStringLiteral("documentdate"));
    const int type = record.indexOf(QStringLiteral("documenttype"));
    const int number = record.indexOf(QStringLiteral("number"));
    const int partner = record.indexOf(QStringLiteral("Partner"));
    const int in = record.indexOf(QStringLiteral("inquantity"));
    const int out = record.indexOf(QStringLiteral("outquantity"));
    const int price = record.indexOf(QStringLiteral("price"));
    const int debit = record.indexOf(QStringLiteral("debit"));
    const int credit = record.indexOf(QStringLiteral("credit"));
    const int documentId = record.indexOf(QStringLiteral("documentid"));
    std::vector<Entry> rows;
    for (const QVector<QVariant>& line : lines.values) {
        Entry row;
        row.date = line.at(date).toDate();
        row.document = line.at(type).toString() + QLatin1Char('-') + line.at(number).toString();
        row.partner = line.at(partner);
        row.in = line.at(in).toDouble();
        row.out = line.at(out).toDouble();
        row.price = line.at(price).toDouble();
        row.debit = line.at(debit).toDouble();
        row.credit = line.at(credit).toDouble();
        row.documentId = line.at(documentId).toLongLong();
        rows.push_back(row);
    }
    return rows;
}

struct CardRow {
    QDate date;
    QString document;
    QVariant partner;
    double in = 0;
    double out = 0;
    double amountBalance = 0;
    double price = 0;
    double debit = 0;
    double credit = 0;
    double balance = 0;
    QVariant documentId;
};

void appendRow(tarvex::MemoryTable& table, const CardRow& row)
{
    table.append();
    table.fieldByName(QStringLiteral("date")).setValue(row.date);
    table.fieldByName(QStringLiteral("document")).setValue(row.document);
    table.fieldByName(QStringLiteral("partner")).setValue(row.partner);
    table.fieldByName(QStringLiteral("amountin")).setValue(row.in);
    table.fieldByName(QStringLiteral("amountout")).setValue(row.out);
    table.fieldByName(QStringLiteral("amountbalance")).setValue(row.amountBalance);
    table.fieldByName(QStringLiteral("price")).setValue(row.price);
    table.fieldByName(QStringLiteral("debit")).setValue(row.debit);
    table.fieldByName(QStringLiteral("credit")).setValue(row.credit);
    table.fieldByName(QStringLiteral("balance")).setValue(row.balance);
    table.fieldByName(QStringLiteral("documentid")).setValue(row.documentId);
    table.post();
}

} // namespace

void DefineStockHistoryFields(tarvex::MemoryTable& table)
{
    using tarvex::FieldType;
    table.addField(QStringLiteral("date"), FieldType::Date).setDisplayLabel(QStringLiteral("Datum"));
    table.addField(QStringLiteral("document"), FieldType::String, 50).setDisplayLabel(QStringLiteral("Dokument"));
    table.addField(QStringLiteral("partner"), FieldType::String, 100).setDisplayLabel(QStringLiteral("Partner"));
    AddQuantityInOutFields(table);
    AddNumberField(table, QStringLiteral("price"), QStringLiteral("Cena"), QStringLiteral("#,##0.00##"));
    AddNumberField(table, QStringLiteral("debit"), QStringLiteral("Duguje"), kMoneyFormat);
    AddNumberField(table, QStringLiteral("credit"), QStringLiteral("Potražuje"), kMoneyFormat);
    AddNumberField(table, QStringLiteral("balance"), QStringLiteral("Saldo"), kMoneyFormat);
    table.addField(QStringLiteral("documentid"), FieldType::LargeInt).setVisible(false);
}

tarvex::QueryRows ReadStockHistory(QSqlDatabase db, qint64 productId, qint64 warehouseId, const QString& toText)
{
    return tarvex::QueryDataSet::readRows(db, kCardSql, {productId, toText, warehouseId, warehouseId});
}

void FillStockHistory(QSqlDatabase db, tarvex::MemoryTable& table, qint64 productId, qint64 warehouseId,
                      const QString& fromText, const QString& toText)
{
    FillStockHistory(table, ReadStockHistory(db, productId, warehouseId, toText), fromText);
}

void FillStockHistory(tarvex::MemoryTable& table, const tarvex::QueryRows& lines, const QString& fromText)
{
    const QDate start = tarvex::MyDateStrToDate(fromText);
    if (!start.isValid())
        throw tarvex::TarvexError(tarvex::ErrorKind::Validation,
                                  tarvex::CMN_FIELD_INVALIDE_ERR.arg(QStringLiteral("Od datuma")));
    const std::vector<Entry> entries = readEntries(lines);

    double previousIn = 0, previousOut = 0, previousDebit = 0, previousCredit = 0;
    double quantityBalance = 0, valueBalance = 0, openingPrice = 0;
    // The opening price from exact sums, as the stock-card price is.
    TExactSum openingQuantity, openingValue;
    bool previousShown = false;
    auto appendPrevious = [&] {
        CardRow row;
        row.date = start;
        row.document = PROD_PREV_SITUATION;
        // The state before the range stands on the side it falls.
        row.in = previousIn >= previousOut ? previousIn - previousOut : 0;
        row.out = previousIn >= previousOut ? 0 : previousOut - previousIn;
        row.amountBalance = quantityBalance;
        row.price = openingPrice;
        row.debit = previousDebit >= previousCredit ? previousDebit - previousCredit : 0;
        row.credit = previousDebit >= previousCredit ? 0 : previousCredit - previousDebit;
        row.balance = valueBalance;
        appendRow(table, row);
        previousShown = true;
    };

    TControlsOff off(table);
    table.emptyDataSet();
    for (const Entry& entry : entries) {
        if (entry.date < start) {
            previousIn += entry.in;
            previousOut += entry.out;
            previousDebit += entry.debit;
            previousCredit += entry.credit;
            quantityBalance = previousIn - previousOut;
            valueBalance = previousDebit - previousCredit;
            openingQuantity.add(entry.in);
            openingQuantity.subtract(entry.out);
            openingValue.add(entry.debit);
            openingValue.subtract(entry.credit);
            openingPrice = AveragePrice(openingValue, openingQuantity);
            continue;
        }
        if (!previousShown)
            appendPrevious();
        quantityBalance += entry.in - entry.out;
        valueBalance += entry.debit - entry.credit;
        CardRow row;
        row.date = entry.date;
        row.document = entry.document;
        row.partner = entry.partner;
        row.in = entry.in;
        row.out = entry.out;
        row.amountBalance = quantityBalance;
        row.price = entry.price;
        row.debit = entry.debit;
        row.credit = entry.credit;
        row.balance = valueBalance;
        row.documentId = entry.documentId;
        appendRow(table, row);
    }
    if (!previousShown && !entries.empty())
        appendPrevious();
    table.first();
}

double CurrentStockCardPrice(QSqlDatabase db, qint64 productId, qint64 warehouseId, const QString& toText)
{
    QSqlQuery query =
        tarvex::selectSql(db, kPriceSql, {productId, warehouseId, toText});
    if (!query.next())
        return 0;
    return AveragePrice(TExactSum::of(query.value(1)), TExactSum::of(query.value(0)));
}

TStockHistoryForm::TStockHistoryForm(const THistorySubject& subject, QWidget* parent)
    : THistoryWindow(QStringLiteral("Robna kartica"), subject, parent)
{
    DefineStockHistoryFields(*CDS());
    showTable();

    auto* caption = new QLabel(QStringLiteral("Trenutna cena po robnim karticama:"), this);
    m_price = new QLabel(this);
    QFont bold = m_price->font();
    bold.setBold(true);
    m_price->setFont(bold);
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
        tarvex::QueryRows entries;
        const QString fromText = FromDateText();
        const QString toText = ToDateText();
        const bool done = runOnWorker([&](QSqlDatabase db, const TProgress& progress) {
            progress(QStringLiteral("Robna kartica"), 0);
            entries = ReadStockHistory(db, subject().productId, subject().warehouseId, toText);
        });
        // Stopped: the card stays as it was.
        if (done)
            FillStockHistory(*CDS(), entries, fromText);
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
