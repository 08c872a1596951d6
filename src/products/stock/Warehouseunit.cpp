#include "Warehouseunit.h"

#include "Captions.h"
#include "Controlsoff.h"
#include "DBControls.h"
#include "DBGrid.h"
#include "Dialogs.h"
#include "Guarded.h"
#include "HostStrings.h"
#include "Connection.h"
#include "DBIniFile.h"
#include "Inventoryallwarehousesunit.h"
#include "Inventoryattributeunit.h"
#include "Inventoryquantityunit.h"
#include "Inventorystockpriceunit.h"
#include "Inventoryunit.h"
#include "Modal.h"
#include "PickListDelegate.h"
#include "PickingLists.h"
#include "Productdmunit.h"
#include "Referencedelete.h"
#include "Productresourcestring.h"
#include "Productsnapin.h"
#include "Stocksoverviewunit.h"
#include "Turnoverallwarehousesunit.h"
#include "Warehouserestriction.h"
#include "WheelToArrowFilter.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace products {

using tarvex::DBGrid;
using tarvex::DBNavigator;
using tarvex::QueryDataSet;

namespace {

const QString kPrimary = QStringLiteral("primary");
const QString kActiveOnly = QStringLiteral("active=True");

struct Column {
    const char* field;
    const char* label;
};

// The grid's thirteen columns in their order.
const Column kColumns[] = {
    {"name", "Ime"},
    {"code", "Kod"},
    {"address", "Adresa"},
    {"zip", "Poštanski br."},
    {"city", "Grad"},
    {"pricetype", "Tip cene"},
    {"active", "Aktivan"},
    {"organizationunit", "Organizaciona jedinica"},
    {"warehousecurrency", "Moneta"},
    {"warehousemethodtype", "Tip metoda"},
    {"warehouseautopricechange", "Auto nivelacije"},
    {"warehouseonlyfreeamount", "Samo slobodna količina"},
    {"warehouseinternalsupplyprice", "Interno nabavna cena"},
};

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// Lower case for A-Z only; other letters compare as they are.
QString asciiLower(const QString& s)
{
    QString out = s;
    for (QChar& c : out)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    return out;
}

void fillDesc(const QueryDataSet& ds, tarvex::TWarehouseDesc& desc)
{
    desc.name = ds.fieldByName(QStringLiteral("name")).asString();
    desc.code = ds.fieldByName(QStringLiteral("code")).asString();
    desc.currency = ds.fieldByName(QStringLiteral("warehousecurrency")).asString();
    const QString priceType = ds.fieldByName(QStringLiteral("pricetype")).asString();
    // Sibling modules read a missing price type as wholesale.
    desc.priceType = priceType.isEmpty() ? QLatin1Char('v') : priceType.at(0);
}

} // namespace

TWarehouseForm::TWarehouseForm(QWidget* parent) : tarvex::PickingListWindow(parent)
{
    setWindowTitle(QStringLiteral("Magacini"));
    new tarvex::WheelToArrowFilter(this);

    auto* nameLabel = new QLabel(QStringLiteral("Ime magacina"), this);
    m_name = new QLineEdit(this);
    m_name->setMaxLength(50);
    nameLabel->setBuddy(m_name);
    m_name->installEventFilter(this);
    m_search = new QAction(QStringLiteral("Pretraga"), this);
    m_search->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Space));
    m_search->setShortcutContext(Qt::WindowShortcut);
    addAction(m_search);
    connect(m_search, &QAction::triggered, this, &TWarehouseForm::SearchWarehouseActionExecute);
    auto* searchButton = new QPushButton(m_search->text(), this);
    searchButton->setAutoDefault(false);
    searchButton->setToolTip(QStringLiteral("Pretraga (Ctrl+Space)"));
    connect(searchButton, &QPushButton::clicked, m_search, &QAction::trigger);

    m_grid = new DBGrid(this);
    m_grid->installEventFilter(this);
    m_pickLists = new tarvex::PickListDelegate(m_grid);
    addPickingGrid(m_grid);
    m_navigator = new DBNavigator(this);
    m_navigator->setVisibleButtons(DBNavigator::All);

    m_activeOnly = new QCheckBox(QStringLiteral("Prikaži samo aktivne magacine"), this);
    m_activeOnly->setChecked(true);
    connect(m_activeOnly, &QCheckBox::clicked, this, &TWarehouseForm::ActiveWarehouseCBClick);
    m_default = new QPushButton(QStringLiteral("&Podrazumevani"), this);
    m_default->setAutoDefault(false);
    connect(m_default, &QPushButton::clicked, this, &TWarehouseForm::DefaultButtonClick);
    m_inventoryWarePrice = new QPushButton(QStringLiteral("&Lager (magac. cene)"), this);
    m_inventoryWarePrice->setAutoDefault(false);
    connect(m_inventoryWarePrice, &QPushButton::clicked, this, &TWarehouseForm::InventoryWarePriceButtonClick);
    m_inventoryAttribute = new QPushButton(QStringLiteral("Lager (&atributi)"), this);
    m_inventoryAttribute->setAutoDefault(false);
    connect(m_inventoryAttribute, &QPushButton::clicked, this, &TWarehouseForm::InventoryAttributeButtonClick);
    m_inventoryStockPrice = new QPushButton(QStringLiteral("L&ager (cene sa robnih kart.)"), this);
    m_inventoryStockPrice->setAutoDefault(false);
    connect(m_inventoryStockPrice, &QPushButton::clicked, this, &TWarehouseForm::InventoryStockPriceButtonClick);
    m_inventoryQuantities = new QPushButton(QStringLiteral("La&ger (količine)"), this);
    m_inventoryQuantities->setAutoDefault(false);
    connect(m_inventoryQuantities, &QPushButton::clicked, this, &TWarehouseForm::InventoryQuantitiesButtonClick);
    m_quantitiesMenu = new QMenu(this);
    connect(m_quantitiesMenu->addAction(QStringLiteral("Trenutni lager (svi magacini)")), &QAction::triggered, this, [this] {
        if (WarehouseCommandAllowed(TWarehouseCommand::CurrentInventoryAll, ProductDM->Options, warehouses()))
            OpenInventoryAllWarehouses();
    });
    const std::pair<const char*, TWarehouseCommand> fromStockCards[] = {
        {"Sa robnih kart. (svi magacini)", TWarehouseCommand::FromStockCardAll},
        {"Sa robnih kart. (svi MP magacini)", TWarehouseCommand::FromStockCardAllRetail},
        {"Sa robnih kart. (izabrani magacin)", TWarehouseCommand::FromStockCardOne}};
    for (const auto& [caption, command] : fromStockCards) {
        const TWarehouseCommand which = command;
        connect(m_quantitiesMenu->addAction(QString::fromUtf8(caption)), &QAction::triggered, this,
                [this, which] { FromStockCardClick(which); });
    }
    m_turnover = new QPushButton(QStringLiteral("&Promet"), this);
    m_turnover->setAutoDefault(false);
    connect(m_turnover, &QPushButton::clicked, this, [this] {
        if (WarehouseCommandAllowed(TWarehouseCommand::TurnoverAll, ProductDM->Options, warehouses()))
            OpenTurnoverAllWarehouses();
    });
    m_stocksOverview = new QPushButton(QStringLiteral("Stanje zaliha"), this);
    m_stocksOverview->setAutoDefault(false);
    connect(m_stocksOverview, &QPushButton::clicked, this, &TWarehouseForm::StocksOverviewButtonClick);
    m_kepu = new QPushButton(QStringLiteral("KEP/PK-1"), this);
    m_kepu->setAutoDefault(false);
    connect(m_kepu, &QPushButton::clicked, this, &TWarehouseForm::KepuWizardButtonClick);

    auto* top = new QHBoxLayout;
    top->addWidget(nameLabel);
    top->addWidget(m_name, 1);
    top->addWidget(searchButton);
    top->addStretch(2);
    auto* below = new QHBoxLayout;
    below->addWidget(m_navigator);
    below->addStretch();
    below->addWidget(m_activeOnly);
    auto* reports = new QHBoxLayout;
    for (QPushButton* button : {m_inventoryWarePrice, m_inventoryStockPrice, m_inventoryAttribute,
                                m_inventoryQuantities, m_turnover, m_stocksOverview, m_kepu})
        reports->addWidget(button);
    reports->addStretch();
    QHBoxLayout* bottom = newButtonRow();
    bottom->insertWidget(0, m_default);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);
    layout->addLayout(below);
    layout->addLayout(reports);
    layout->addLayout(bottom);
    resize(980, 460);

    FormCreate();
    m_name->setFocus();
}

QueryDataSet& TWarehouseForm::warehouses() const
{
    return *ProductDM->WarehouseZQ;
}

void TWarehouseForm::FormCreate()
{
    QueryDataSet& ds = warehouses();
    for (const Column& column : kColumns)
        ds.declareField(text(column.field)).setDisplayLabel(text(column.label));
    ds.declareField(QStringLiteral("status")).setDisplayLabel(QStringLiteral("Status"));
    ds.close();
    ds.setFilter(kActiveOnly);
    ds.setFiltered(true);
    ds.open();

    m_navigator->setDataSet(&ds);
    m_navigator->setDeleteHandler([rows = &ds] { AskAndDeleteReferenceRow(*rows); });
    QStringList fields;
    for (const Column& column : kColumns)
        fields << text(column.field);
    tarvex::showSortableColumns(m_grid, ds, fields);
    m_grid->dataModel()->setRowPainter(
        tarvex::DataSetModel::rowsWhere(QStringLiteral("status"), kPrimary, QColor(0xC0, 0xC0, 0xC0)));
    fillPickLists();
    m_inventoryAttribute->setVisible(ProductDM->Options.AttributeStock);
    m_stocksOverview->setVisible(tarvex::TDBIniFile(ProductDM->ZConnection()->database())
                                     .ReadBool(QStringLiteral("Document"), QStringLiteral("MaxCategoryRebateInReceipt"), false));
    setPicking(false);
}

void TWarehouseForm::fillPickLists()
{
    QStringList prices;
    tarvex::FillPriceCaptions(prices);
    m_pickLists->setPickList(QStringLiteral("pricetype"), prices);
    m_pickLists->setPickList(QStringLiteral("active"), {tarvex::ACTIVE_Y_CAP, tarvex::ACTIVE_N_CAP});
    QStringList currencies;
    ProductDM->GetFieldValues(QStringLiteral("code"), QStringLiteral("currency"), currencies, false, QString(),
                              QString());
    currencies << QString();
    m_pickLists->setPickList(QStringLiteral("warehousecurrency"), currencies);
    m_pickLists->setPickList(QStringLiteral("warehousemethodtype"),
                             {tarvex::METH_AVR_IN_PRICE_CAPT, tarvex::METH_OUT_PRICE_CAPT,
                              tarvex::METH_PLAN_PRICE_CAPT, QString()});
    for (const char* name : {"warehouseautopricechange", "warehouseonlyfreeamount", "warehouseinternalsupplyprice"})
        m_pickLists->setPickList(text(name), {tarvex::YES_CAP, tarvex::NO_CAP});
}

bool TWarehouseForm::hasPick() const
{
    return !warehouses().isEmpty();
}

void TWarehouseForm::ActiveWarehouseCBClick()
{
    QueryDataSet& ds = warehouses();
    tarvex::guarded([&] {
        TControlsOff off(ds);
        ds.close();
        ds.setFilter(m_activeOnly->isChecked() ? kActiveOnly : QString());
        ds.setFiltered(m_activeOnly->isChecked());
        ds.open();
    });
}

void TWarehouseForm::DefaultButtonClick()
{
    // Every row is rewritten, so all of them must be listed.
    if (m_activeOnly->isChecked()) {
        tarvex::dialogs().warning(WARE_ACTIVE_WRN);
        return;
    }
    QueryDataSet& ds = warehouses();
    tarvex::guarded([&] {
        if (ds.isEmpty() || ds.fieldByName(QStringLiteral("status")).asString() == kPrimary)
            return;
        ds.checkBrowseMode();
        const qint64 id = ds.fieldByName(QStringLiteral("warehouseid")).asLargeInt();
        ProductDM->MakePrimary(ds, QStringLiteral("warehouseid"), id);
        ProductDM->SetDefWarehouseID(qint32(id));
    });
}

bool TWarehouseForm::WarehouseNameLocate(const QString& Name, bool FromFirst)
{
    QString pattern = Name;
    bool containing = false;
    while (pattern.startsWith(QLatin1Char('%'))) {
        pattern.remove(0, 1);
        containing = true;
    }
    const int rest = pattern.indexOf(QLatin1Char('%'));
    if (rest >= 0)
        pattern.truncate(rest);
    pattern = asciiLower(pattern);

    QueryDataSet& ds = warehouses();
    TControlsOff off(ds);
    if (FromFirst)
        ds.first();
    for (; !ds.eof(); ds.next()) {
        const QString name = asciiLower(ds.fieldByName(QStringLiteral("name")).asString());
        if (containing ? name.contains(pattern) : name.startsWith(pattern))
            return true;
    }
    return false;
}

void TWarehouseForm::SearchWarehouseActionExecute()
{
    QueryDataSet& ds = warehouses();
    if (m_name->text().isEmpty() || !ds.isActive())
        return;
    tarvex::guarded([&] {
        if (!WarehouseNameLocate(m_name->text(), true)) {
            ds.first();
            tarvex::dialogs().warning(WAREHOUSE_NAME_LOC_WRN);
        }
    });
}

void TWarehouseForm::openForCurrent(TWarehouseCommand command, void (*open)(qint32, const QString&))
{
    const QueryDataSet& ds = warehouses();
    if (!WarehouseCommandAllowed(command, ProductDM->Options, ds))
        return;
    open(qint32(ds.fieldByName(QStringLiteral("warehouseid")).asLargeInt()),
         ds.fieldByName(QStringLiteral("name")).asString());
}

void TWarehouseForm::InventoryWarePriceButtonClick()
{
    openForCurrent(TWarehouseCommand::InventoryWarePrice, OpenWarehouseInventory);
}

void TWarehouseForm::InventoryAttributeButtonClick()
{
    openForCurrent(TWarehouseCommand::InventoryAttribute, OpenWarehouseInventoryAttribute);
}

void TWarehouseForm::InventoryStockPriceButtonClick()
{
    openForCurrent(TWarehouseCommand::InventoryStockPrice, OpenInventoryStockPrice);
}

void TWarehouseForm::InventoryQuantitiesButtonClick()
{
    if (!WarehouseCommandAllowed(TWarehouseCommand::InventoryQuantities, ProductDM->Options, warehouses()))
        return;
    m_quantitiesMenu->popup(m_inventoryQuantities->mapToGlobal(QPoint(0, m_inventoryQuantities->height())));
}

void TWarehouseForm::FromStockCardClick(TWarehouseCommand command)
{
    if (command == TWarehouseCommand::FromStockCardAll || command == TWarehouseCommand::FromStockCardAllRetail) {
        if (WarehouseCommandAllowed(command, ProductDM->Options, warehouses()))
            OpenInventoryQuantity(command == TWarehouseCommand::FromStockCardAll ? 0 : -1, QString());
        return;
    }
    openForCurrent(command, OpenInventoryQuantity);
}

void TWarehouseForm::StocksOverviewButtonClick()
{
    if (WarehouseCommandAllowed(TWarehouseCommand::StocksOverview, ProductDM->Options, warehouses()))
        OpenStocksOverview();
}

void TWarehouseForm::KepuWizardButtonClick()
{
    const QueryDataSet& ds = warehouses();
    if (!WarehouseCommandAllowed(TWarehouseCommand::KepuWizard, ProductDM->Options, ds) || !GlobalConsole)
        return;
    GlobalConsole->RunWizard(tarvex::CMN_KEPU_WIZ_NAME,
                             QStringLiteral("warehouse:") + ds.fieldByName(QStringLiteral("name")).asString());
}

bool TWarehouseForm::refusesKey(const QKeyEvent& key) const
{
    const tarvex::Field* field = m_grid->fieldOfSection(m_grid->currentIndex().column());
    if (!field || m_pickLists->pickList(field->fieldName()).isEmpty())
        return false;
    if (key.key() == Qt::Key_Delete)
        return key.modifiers() != Qt::ControlModifier;
    if (key.key() == Qt::Key_Backspace)
        return true;
    return !key.text().isEmpty() && key.text().at(0).isPrint();
}

bool TWarehouseForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (watched == m_grid && refusesKey(*key))
            return true;
        // Enter in the name field searches rather than confirming the window.
        if (watched == m_name && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            m_search->trigger();
            return true;
        }
    }
    return tarvex::DialogWindow::eventFilter(watched, event);
}

bool GetWarehouse(tarvex::TWarehouseDesc& Desc, bool ByID)
{
    QueryDataSet& ds = *ProductDM->WarehouseZQ;
    if (ByID) {
        // Whatever a window last showed: inactive warehouses are found too.
        if (!tarvex::locateAfresh(ds, QStringLiteral("warehouseid"), Desc.id))
            return false;
        fillDesc(ds, Desc);
        return true;
    }
    if (!tarvex::pickIn<TWarehouseForm>() || ds.isEmpty())
        return false;
    Desc.id = qint32(ds.fieldByName(QStringLiteral("warehouseid")).asLargeInt());
    fillDesc(ds, Desc);
    return true;
}

bool GetWarehouse(qint32& ID, QString& Name, bool ByID)
{
    tarvex::TWarehouseDesc desc;
    if (ByID)
        desc.id = ID;
    if (!GetWarehouse(desc, ByID))
        return false;
    ID = desc.id;
    Name = desc.name;
    return true;
}

void WarehouseManage()
{
    tarvex::administerIn<TWarehouseForm>();
}

} // namespace products
