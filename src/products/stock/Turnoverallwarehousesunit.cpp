#include "Turnoverallwarehousesunit.h"

#include "BusyCursor.h"
#include "Clock.h"
#include "Connection.h"
#include "DBGrid.h"
#include "DateText.h"
#include "Dialogs.h"
#include "Format.h"
#include "MemoryTable.h"
#include "Modal.h"
#include "Productdmunit.h"
#include "Reportdates.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QVBoxLayout>
#include <vector>

namespace products {

namespace {

// Everything received and issued up to the end of the period, per
// warehouse and product.
const QString kTurnoverSql = QStringLiteral(
    "SELECT di.productid,p.name,p.code,p.unitname,(di.quantity + 0.0) AS amountprevbalance, SUM(IF(d.direction = 1 "
    "OR (d.documenttype = 'I' AND d.inwarehouseid = w.warehouseid),di.quantity,0)) AS amountin, SUM(IF(d.direction "
    "= -1 AND (d.warehouseid = w.warehouseid),di.quantity,0)) AS amountout, (di.quantity + 0.0) AS  "
    "amountbalance,(di.quantity + 0.0) AS amountnewbalance,w.warehouseid,w.name AS warehousename FROM documentitem "
    "AS di LEFT JOIN document AS d ON di.documentid = d.documentid  LEFT JOIN product AS p ON di.productid = "
    "p.productid  LEFT JOIN warehouse AS w ON ((d.warehouseid = w.warehouseid) OR (d.inwarehouseid = "
    "w.warehouseid)) WHERE %s d.documenttype IN ('R','K','V','L','F','T','G','M','I','C','W') AND d.status = 'p' "
    "AND d.documentdate <= %s GROUP BY w.warehouseid,di.productid ORDER BY w.name,p.name");

// What one warehouse received and issued of one product before the period.
const QString kOpeningSql = QStringLiteral(
    "SELECT SUM(IF(d.direction = 1 OR (d.documenttype = 'I' AND d.inwarehouseid = w.warehouseid),di.quantity,0)) "
    "AS amountin, SUM(IF(d.direction = -1 AND (d.warehouseid = w.warehouseid),di.quantity,0)) AS amountout FROM "
    "documentitem AS di LEFT JOIN document AS d ON di.documentid = d.documentid  LEFT JOIN product AS p ON "
    "di.productid = p.productid  LEFT JOIN warehouse AS w ON ((d.warehouseid = w.warehouseid) OR (d.inwarehouseid "
    "= w.warehouseid)) WHERE %s di.productid = %d AND w.warehouseid = %d AND d.documenttype IN "
    "('R','K','V','L','F','T','G','M','I','C','W') AND d.status = 'p' AND d.documentdate < %s GROUP BY "
    "w.warehouseid,di.productid ORDER BY w.name,p.name");

const QString kServicesOut = QStringLiteral("NOT (p.type = 'u') AND");

struct TurnoverRow {
    QVariant productId;
    QVariant name;
    QVariant code;
    QVariant unitName;
    qint64 warehouseId = 0;
    QVariant warehouseName;
    double previous = 0;
    double in = 0;
    double out = 0;
};

std::vector<TurnoverRow> readPeriodEnd(QSqlDatabase db, const TTurnoverRequest& request)
{
    QString prefix = request.excludeServices ? kServicesOut : QString();
    if (!request.warehouseName.isEmpty())
        prefix += tarvex::Format(QStringLiteral("(w.name = %s) AND"), {tarvex::quoteSqlText(request.warehouseName)});
    QSqlQuery query =
        tarvex::selectSql(db, tarvex::Format(kTurnoverSql, {prefix, tarvex::quoteSqlText(request.toText)}));
    std::vector<TurnoverRow> rows;
    while (query.next()) {
        // Lines of documents whose warehouses do not exist belong nowhere.
        if (query.value(9).isNull())
            continue;
        TurnoverRow row;
        row.productId = query.value(0);
        row.name = query.value(1);
        row.code = query.value(2);
        row.unitName = query.value(3);
        row.in = query.value(5).toDouble();
        row.out = query.value(6).toDouble();
        row.warehouseId = query.value(9).toLongLong();
        row.warehouseName = query.value(10);
        rows.push_back(row);
    }
    return rows;
}

// Moves what happened before the period into the opening balance.
void separateOpening(QSqlDatabase db, TurnoverRow& row, const TTurnoverRequest& request)
{
    QSqlQuery before = tarvex::selectSql(
        db, tarvex::Format(kOpeningSql, {request.excludeServices ? kServicesOut : QString(), row.productId.toLongLong(),
                                         row.warehouseId, tarvex::quoteSqlText(request.fromText)}));
    if (!before.next())
        return;
    const double beforeIn = before.value(0).toDouble();
    const double beforeOut = before.value(1).toDouble();
    row.previous = beforeIn - beforeOut;
    row.in -= beforeIn;
    row.out -= beforeOut;
}

} // namespace

void DefineTurnoverFields(tarvex::MemoryTable& table)
{
    using tarvex::FieldType;
    table.addField(QStringLiteral("productid"), FieldType::LargeInt).setVisible(false);
    table.addField(QStringLiteral("warehouseid"), FieldType::LargeInt).setVisible(false);
    table.addField(QStringLiteral("name"), FieldType::String, 100).setDisplayLabel(QStringLiteral("Proizvod"));
    table.addField(QStringLiteral("code"), FieldType::String, 20).setDisplayLabel(QStringLiteral("Kod"));
    table.addField(QStringLiteral("unitname"), FieldType::String, 15).setDisplayLabel(QStringLiteral("JM"));
    const struct {
        const char* name;
        const char* label;
    } quantities[] = {{"amountprevbalance", "Kol. pret. stanje"},
                      {"amountin", "Kol. ulaz"},
                      {"amountout", "Kol. izlaz"},
                      {"amountbalance", "Kol. razlika"},
                      {"amountnewbalance", "Kol. stanje"}};
    for (const auto& quantity : quantities) {
        tarvex::Field& field = table.addField(QString::fromLatin1(quantity.name), FieldType::Float);
        field.setDisplayLabel(QString::fromUtf8(quantity.label));
        field.setDisplayFormat(QStringLiteral("0.######"));
    }
    table.addField(QStringLiteral("warehousename"), FieldType::String, 50).setDisplayLabel(QStringLiteral("Magacin"));
}

void FillTurnover(QSqlDatabase db, tarvex::MemoryTable& table, const TTurnoverRequest& request)
{
    std::vector<TurnoverRow> rows = readPeriodEnd(db, request);
    for (TurnoverRow& row : rows)
        separateOpening(db, row, request);

    TControlsOff off(table);
    table.emptyDataSet();
    for (const TurnoverRow& row : rows) {
        const double balance = row.in - row.out;
        const double end = row.previous + balance;
        // Nothing moved in the period and nothing is left.
        if (row.in == 0 && row.out == 0 && end == 0)
            continue;
        table.append();
        table.fieldByName(QStringLiteral("productid")).setValue(row.productId);
        table.fieldByName(QStringLiteral("warehouseid")).setValue(row.warehouseId);
        table.fieldByName(QStringLiteral("name")).setValue(row.name);
        table.fieldByName(QStringLiteral("code")).setValue(row.code);
        table.fieldByName(QStringLiteral("unitname")).setValue(row.unitName);
        table.fieldByName(QStringLiteral("amountprevbalance")).setValue(row.previous);
        table.fieldByName(QStringLiteral("amountin")).setValue(row.in);
        table.fieldByName(QStringLiteral("amountout")).setValue(row.out);
        table.fieldByName(QStringLiteral("amountbalance")).setValue(balance);
        table.fieldByName(QStringLiteral("amountnewbalance")).setValue(end);
        table.fieldByName(QStringLiteral("warehousename")).setValue(row.warehouseName);
        table.post();
    }
    table.first();
}

TTurnoverAllWarehousesForm::TTurnoverAllWarehousesForm(QWidget* parent) : TReportWindow(parent)
{
    setWindowTitle(QStringLiteral("Promet (količine iz svih magacina)"));
    m_table = new tarvex::MemoryTable(this);
    DefineTurnoverFields(*m_table);
    m_table->createDataSet();

    auto* fromLabel = new QLabel(QStringLiteral("Od datuma"), this);
    m_from = NewDateEdit(this);
    fromLabel->setBuddy(m_from);
    m_fromButton = NewDateButton(this);
    auto* toLabel = new QLabel(QStringLiteral("Do datuma"), this);
    m_to = NewDateEdit(this);
    toLabel->setBuddy(m_to);
    m_toButton = NewDateButton(this);
    auto* warehouseLabel = new QLabel(QStringLiteral("Magacin"), this);
    m_warehouse = new QComboBox(this);
    m_warehouse->setMaxVisibleItems(20);
    m_warehouse->setMinimumContentsLength(20);
    warehouseLabel->setBuddy(m_warehouse);
    m_excludeServices = new QCheckBox(QStringLiteral("Isključi usluge iz zaliha magacina"), this);
    m_excludeServices->setChecked(true);
    m_find = new QPushButton(QStringLiteral("&Prikaži"), this);
    m_find->setDefault(true);
    connect(m_fromButton, &QPushButton::clicked, this, &TTurnoverAllWarehousesForm::FromDateButtonClick);
    connect(m_toButton, &QPushButton::clicked, this, &TTurnoverAllWarehousesForm::ToDateButtonClick);
    connect(m_find, &QPushButton::clicked, this, &TTurnoverAllWarehousesForm::FindButtonClick);

    m_grid = new tarvex::DBGrid(this);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setDataSet(m_table);
    tarvex::GridSorter::AddGrid(m_grid);
    // Listed by warehouse, then product: no single column is the order.
    m_grid->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    StretchColumn(m_grid, QStringLiteral("name"));
    connect(m_grid, &tarvex::DBGrid::recordDoubleClicked, this,
            &TTurnoverAllWarehousesForm::TurnoverAllWarehousesDBGDblClick);

    m_print = new QPushButton(QStringLiteral("Š&tampaj"), this);
    m_print->setAutoDefault(false);
    m_close = new QPushButton(QStringLiteral("&Zatvori"), this);
    m_close->setAutoDefault(false);
    connect(m_print, &QPushButton::clicked, this, &TTurnoverAllWarehousesForm::PrintButtonClick);
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);

    auto* top = new QHBoxLayout;
    for (QWidget* widget : std::initializer_list<QWidget*>{fromLabel, m_from, m_fromButton})
        top->addWidget(widget);
    top->addSpacing(12);
    for (QWidget* widget : std::initializer_list<QWidget*>{toLabel, m_to, m_toButton})
        top->addWidget(widget);
    top->addSpacing(12);
    top->addWidget(warehouseLabel);
    top->addWidget(m_warehouse);
    top->addSpacing(12);
    top->addWidget(m_excludeServices);
    top->addSpacing(12);
    top->addWidget(m_find);
    top->addStretch();
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(m_print);
    bottom->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);
    resize(1000, 560);

    FormCreate();
    m_from->setFocus();
}

void TTurnoverAllWarehousesForm::FormCreate()
{
    const QDate today = tarvex::hostClock().today();
    m_from->setText(tarvex::MyDateToDateStr(QDate(today.year(), 1, 1)));
    m_to->setText(tarvex::MyDateToDateStr(today));
    try {
        tarvex::BusyCursor busy;
        QStringList names;
        ProductDM->GetFieldValues(QStringLiteral("name"), QStringLiteral("warehouse"), names, true, QString(),
                                  QString());
        m_warehouse->addItems(names);
    } catch (const std::exception& e) {
        tarvex::dialogs().showException(e);
    }
    // No warehouse chosen: all of them.
    m_warehouse->setCurrentIndex(-1);
}

void TTurnoverAllWarehousesForm::FromDateButtonClick()
{
    ChangeDate(m_from);
}

void TTurnoverAllWarehousesForm::ToDateButtonClick()
{
    ChangeDate(m_to);
}

void TTurnoverAllWarehousesForm::FindButtonClick()
{
    TTurnoverRequest request;
    request.fromText = m_from->text();
    request.toText = m_to->text();
    request.warehouseName = m_warehouse->currentText();
    request.excludeServices = m_excludeServices->isChecked();
    try {
        tarvex::BusyCursor busy;
        FillTurnover(ProductDM->ZConnection()->database(), *m_table, request);
    } catch (const std::exception& e) {
        tarvex::dialogs().showException(e);
    }
}

QString TTurnoverAllWarehousesForm::GetPrintHeader() const
{
    return TodayPrintHeader();
}

void TTurnoverAllWarehousesForm::PrintButtonClick()
{
    PrintThroughConsole(m_grid, PrintParameters(windowTitle(), GetPrintHeader()));
}

void TTurnoverAllWarehousesForm::TurnoverAllWarehousesDBGDblClick()
{
    // An empty list passes 0, for which the product service opens nothing.
    OpenProduct(m_table->isEmpty() ? 0 : m_table->fieldByName(QStringLiteral("productid")).asLargeInt());
}

void OpenTurnoverAllWarehouses()
{
    auto* form = new TTurnoverAllWarehousesForm;
    tarvex::execModal(*form);
}

} // namespace products
