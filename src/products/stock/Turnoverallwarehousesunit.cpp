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
#include "Rounding.h"

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
// warehouse and product, with the part of it dated before the period: one
// pass over the lines instead of an opening-balance statement per row.
const QString kTurnoverSql = QStringLiteral(
    "SELECT di.productid,p.name,p.code,p.unitname,"
    "SUM(IF(d.documentdate < %s AND (d.direction = 1 OR (d.documenttype = 'I' AND d.inwarehouseid = "
    "w.warehouseid)),di.quantity,0)) AS beforein, "
    "SUM(IF(d.documentdate < %s AND d.direction = -1 AND (d.warehouseid = w.warehouseid),di.quantity,0)) AS "
    "beforeout, "
    "SUM(IF(d.direction = 1 OR (d.documenttype = 'I' AND d.inwarehouseid = w.warehouseid),di.quantity,0)) AS "
    "amountin, SUM(IF(d.direction = -1 AND (d.warehouseid = w.warehouseid),di.quantity,0)) AS amountout, "
    "w.warehouseid,w.name AS warehousename FROM documentitem AS di LEFT JOIN document AS d ON di.documentid = "
    "d.documentid  LEFT JOIN product AS p ON di.productid = p.productid  LEFT JOIN warehouse AS w ON "
    "((d.warehouseid = w.warehouseid) OR (d.inwarehouseid = w.warehouseid)) WHERE %s d.documenttype IN "
    "('R','K','V','L','F','T','G','M','I','C','W') AND d.status = 'p' AND d.documentdate <= %s GROUP BY "
    "w.warehouseid,di.productid ORDER BY w.name,p.name");

const QString kServicesOut = QStringLiteral("NOT (p.type = 'u') AND");

// Zero as the quantities are shown (six decimals): sums of kg and m
// quantities that cancel out leave a remainder of about 1e-15.
bool isZero(double value)
{
    return tarvex::BetterRoundTo(value, -6) == 0;
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

void FillTurnover(QSqlDatabase db, tarvex::MemoryTable& table, const TTurnoverRequest& request,
                  const TProgress& progress)
{
    QString prefix = request.excludeServices ? kServicesOut : QString();
    if (!request.warehouseName.isEmpty())
        prefix += tarvex::Format(QStringLiteral("(w.name = %s) AND"), {tarvex::quoteSqlText(request.warehouseName)});
    const QString from = tarvex::quoteSqlText(request.fromText);
    if (progress)
        progress(QStringLiteral("Promet"), 0);
    QSqlQuery query = tarvex::selectSql(
        db, tarvex::Format(kTurnoverSql, {from, from, prefix, tarvex::quoteSqlText(request.toText)}));

    TControlsOff off(table);
    table.emptyDataSet();
    tarvex::Field& productId = table.fieldByName(QStringLiteral("productid"));
    tarvex::Field& warehouseId = table.fieldByName(QStringLiteral("warehouseid"));
    tarvex::Field& name = table.fieldByName(QStringLiteral("name"));
    tarvex::Field& code = table.fieldByName(QStringLiteral("code"));
    tarvex::Field& unitName = table.fieldByName(QStringLiteral("unitname"));
    tarvex::Field& previousField = table.fieldByName(QStringLiteral("amountprevbalance"));
    tarvex::Field& inField = table.fieldByName(QStringLiteral("amountin"));
    tarvex::Field& outField = table.fieldByName(QStringLiteral("amountout"));
    tarvex::Field& balanceField = table.fieldByName(QStringLiteral("amountbalance"));
    tarvex::Field& endField = table.fieldByName(QStringLiteral("amountnewbalance"));
    tarvex::Field& warehouseName = table.fieldByName(QStringLiteral("warehousename"));
    int rows = 0;
    while (query.next()) {
        // Lines of documents whose warehouses do not exist belong nowhere.
        if (query.value(8).isNull())
            continue;
        const double beforeIn = query.value(4).toDouble();
        const double beforeOut = query.value(5).toDouble();
        const double previous = beforeIn - beforeOut;
        const double in = query.value(6).toDouble() - beforeIn;
        const double out = query.value(7).toDouble() - beforeOut;
        const double balance = in - out;
        const double end = previous + balance;
        // Nothing moved in the period and nothing is left.
        if (isZero(in) && isZero(out) && isZero(end))
            continue;
        table.append();
        productId.setValue(query.value(0));
        warehouseId.setValue(query.value(8));
        name.setValue(query.value(1));
        code.setValue(query.value(2));
        unitName.setValue(query.value(3));
        previousField.setValue(previous);
        inField.setValue(in);
        outField.setValue(out);
        balanceField.setValue(balance);
        endField.setValue(end);
        warehouseName.setValue(query.value(9));
        table.post();
        if (progress && ++rows % 5000 == 0)
            progress(QStringLiteral("Promet"), rows);
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
