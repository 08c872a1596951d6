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
#include "Workerbar.h"
#include "Rounding.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QCloseEvent>
#include <QPushButton>
#include <QSqlQuery>
#include <QVBoxLayout>
#include <QHash>
#include <algorithm>
#include <vector>

namespace products {

namespace {

// The posted stock lines up to the end of the period, read once in the
// order they are stored (the lines drive the join: grouping on the server
// over the two-warehouse join is many times slower) and summed here.
const QString kLinesSql = QStringLiteral(
    "SELECT di.productid, di.quantity, d.documentdate < %s AS beforeperiod, d.direction, d.documenttype = 'I' AS "
    "transfer, IFNULL(d.warehouseid, -1), IFNULL(d.inwarehouseid, -1) FROM documentitem AS di STRAIGHT_JOIN document AS d ON di.documentid = "
    "d.documentid WHERE d.documenttype IN ('R','K','V','L','F','T','G','M','I','C','W') AND d.status = 'p' AND "
    "d.documentdate <= %s");
// Warehouses and products by name, in the database's collation; the
// position is the order of the list.
const QString kWarehousesSql = QStringLiteral("SELECT warehouseid, name FROM warehouse %s ORDER BY name");
const QString kProductsSql =
    QStringLiteral("SELECT productid, name, code, unitname, type FROM product ORDER BY name");

// Zero as the quantities are shown (six decimals): sums of kg and m
// quantities that cancel out leave a remainder of about 1e-15.
bool isZero(double value)
{
    return tarvex::BetterRoundTo(value, -6) == 0;
}

struct Named {
    int position = 0;
    QVariant name;
};

struct Product {
    int position = 0;
    QVariant name;
    QVariant code;
    QVariant unitName;
    bool service = false;
};

struct Sums {
    double beforeIn = 0;
    double beforeOut = 0;
    double in = 0;
    double out = 0;
};

// What one line does to one of its warehouses, by the document stock rule:
// a transfer enters its receiving warehouse, every entering document both
// warehouses it names.
void count(Sums& sums, bool before, int direction, bool transferInto, bool issuedFrom, double quantity)
{
    const bool in = direction == 1 || transferInto;
    const bool out = direction == -1 && issuedFrom;
    if (before) {
        sums.beforeIn += in ? quantity : 0;
        sums.beforeOut += out ? quantity : 0;
    } else {
        sums.in += in ? quantity : 0;
        sums.out += out ? quantity : 0;
    }
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

std::vector<TTurnoverRow> ComputeTurnover(QSqlDatabase db, const TTurnoverRequest& request,
                                          const TProgress& progress)
{
    auto step = [&](const char* text, int rows) {
        if (progress)
            progress(QString::fromUtf8(text), rows);
    };
    step("Magacini i proizvodi", 0);
    QHash<qint64, Named> warehouses;
    {
        const QString only = request.warehouseName.isEmpty()
                                 ? QString()
                                 : QStringLiteral("WHERE name = ") + tarvex::quoteSqlText(request.warehouseName);
        QSqlQuery query = tarvex::selectSql(db, tarvex::Format(kWarehousesSql, {only}));
        while (query.next())
            warehouses.insert(query.value(0).toLongLong(), Named{int(warehouses.size()), query.value(1)});
    }
    QHash<qint64, Product> products;
    {
        QSqlQuery query = tarvex::selectSql(db, kProductsSql);
        // Lines of a product that does not exist sort first, as a missing name does.
        int position = 1;
        while (query.next())
            products.insert(query.value(0).toLongLong(),
                            Product{position++, query.value(1), query.value(2), query.value(3),
                                    query.value(4).toString() == QLatin1String("u")});
    }

    step("Stavke dokumenata", 0);
    QHash<QPair<qint64, qint64>, Sums> sums;
    {
        QSqlQuery lines = tarvex::selectSql(db, tarvex::Format(kLinesSql, {tarvex::quoteSqlText(request.fromText),
                                                                         tarvex::quoteSqlText(request.toText)}));
        int read = 0;
        while (lines.next()) {
            if (progress && ++read % 100000 == 0)
                progress(QStringLiteral("Stavke dokumenata"), read);
            const qint64 productId = lines.value(0).toLongLong();
            if (request.excludeServices) {
                const auto product = products.constFind(productId);
                if (product == products.constEnd() || product->service)
                    continue;
            }
            const double quantity = lines.value(1).toDouble();
            const bool before = lines.value(2).toInt() == 1;
            const int direction = lines.value(3).toInt();
            // Numbers only: a million lines pass through here.
            const bool transfer = lines.value(4).toInt() == 1;
            const qint64 fromId = lines.value(5).toLongLong();
            const qint64 intoId = lines.value(6).toLongLong();
            if (fromId >= 0 && warehouses.contains(fromId))
                count(sums[{fromId, productId}], before, direction, transfer && intoId == fromId, true, quantity);
            if (intoId >= 0 && intoId != fromId && warehouses.contains(intoId))
                count(sums[{intoId, productId}], before, direction, transfer, false, quantity);
        }
    }

    step("Redosled", int(sums.size()));
    struct Row {
        int warehouse;
        int product;
        QHash<QPair<qint64, qint64>, Sums>::const_iterator sums;
    };
    std::vector<Row> rows;
    rows.reserve(size_t(sums.size()));
    for (auto it = sums.constBegin(); it != sums.constEnd(); ++it)
        rows.push_back(Row{warehouses.value(it.key().first).position, products.value(it.key().second).position, it});
    std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        return a.warehouse != b.warehouse ? a.warehouse < b.warehouse : a.product < b.product;
    });

    std::vector<TTurnoverRow> result;
    for (const Row& row : rows) {
        const Sums& sum = *row.sums;
        const double previous = sum.beforeIn - sum.beforeOut;
        const double end = previous + sum.in - sum.out;
        // Nothing moved in the period and nothing is left.
        if (isZero(sum.in) && isZero(sum.out) && isZero(end))
            continue;
        const qint64 productId = row.sums.key().second;
        const qint64 warehouseId = row.sums.key().first;
        const Product product = products.value(productId);
        result.push_back(TTurnoverRow{productId, warehouseId, product.name, product.code, product.unitName,
                                      warehouses.value(warehouseId).name, previous, sum.in, sum.out});
    }
    return result;
}

void ShowTurnover(tarvex::MemoryTable& table, const std::vector<TTurnoverRow>& rows)
{
    TControlsOff off(table);
    table.emptyDataSet();
    tarvex::Field& productIdField = table.fieldByName(QStringLiteral("productid"));
    tarvex::Field& warehouseIdField = table.fieldByName(QStringLiteral("warehouseid"));
    tarvex::Field& name = table.fieldByName(QStringLiteral("name"));
    tarvex::Field& code = table.fieldByName(QStringLiteral("code"));
    tarvex::Field& unitName = table.fieldByName(QStringLiteral("unitname"));
    tarvex::Field& previousField = table.fieldByName(QStringLiteral("amountprevbalance"));
    tarvex::Field& inField = table.fieldByName(QStringLiteral("amountin"));
    tarvex::Field& outField = table.fieldByName(QStringLiteral("amountout"));
    tarvex::Field& balanceField = table.fieldByName(QStringLiteral("amountbalance"));
    tarvex::Field& endField = table.fieldByName(QStringLiteral("amountnewbalance"));
    tarvex::Field& warehouseName = table.fieldByName(QStringLiteral("warehousename"));
    for (const TTurnoverRow& row : rows) {
        table.append();
        productIdField.setValue(row.productId);
        warehouseIdField.setValue(row.warehouseId);
        name.setValue(row.name);
        code.setValue(row.code);
        unitName.setValue(row.unitName);
        previousField.setValue(row.previous);
        inField.setValue(row.in);
        outField.setValue(row.out);
        balanceField.setValue(row.in - row.out);
        endField.setValue(row.previous + row.in - row.out);
        warehouseName.setValue(row.warehouseName);
        table.post();
    }
    table.first();
}

void FillTurnover(QSqlDatabase db, tarvex::MemoryTable& table, const TTurnoverRequest& request,
                  const TProgress& progress)
{
    ShowTurnover(table, ComputeTurnover(db, request, progress));
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
    m_workerBar = new TWorkerBar(this);
    m_workerBar->setBusyControls({m_find, m_print});

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_workerBar);
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
        std::vector<TTurnoverRow> rows;
        const bool done = m_workerBar->run(ProductDM->ZConnection()->database(),
                                           [&](QSqlDatabase db, const TProgress& progress) {
                                               rows = ComputeTurnover(db, request, progress);
                                           });
        // Stopped: the list stays as it was, nothing of the stopped count in it.
        if (done)
            ShowTurnover(*m_table, rows);
    } catch (const std::exception& e) {
        tarvex::dialogs().showException(e);
    }
}

void TTurnoverAllWarehousesForm::closeEvent(QCloseEvent* event)
{
    // Closed while counting: the count stops first, then the window closes.
    if (m_workerBar->stopForClose()) {
        event->ignore();
        return;
    }
    TReportWindow::closeEvent(event);
}

QProgressBar* TTurnoverAllWarehousesForm::ProgressBar() const { return m_workerBar->progressBar(); }
QLabel* TTurnoverAllWarehousesForm::StepLabel() const { return m_workerBar->stepLabel(); }
QPushButton* TTurnoverAllWarehousesForm::CancelButton() const { return m_workerBar->cancelButton(); }

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
