#include "Productnavigatorunit.h"

#include "BusyCursor.h"
#include "Captions.h"
#include "Categoryunit.h"
#include "Connection.h"
#include "Dialogs.h"
#include "HostStrings.h"
#include "Productdmunit.h"
#include "Productresourcestring.h"
#include "Productsearch.h"
#include "RememberedState.h"
#include "Warehouseunit.h"
#include "Workerbar.h"

#include <QLabel>
#include <QLayout>
#include <QPushButton>

namespace products {

namespace {
// Beside the criteria: the chosen warehouse's id (its name is the criterion).
const QString kWarehouseIdKey = QStringLiteral("warehouseid");
const char* const kKeys[] = {"name",     "code",    "barcode", "foreignname", "type",     "active",         "category",
                             "warehouse", "vat",    "manufname", "manufcode", "characteristics", "general"};
}

TProductNavigatorForm::TProductNavigatorForm(QWidget* parent) : tarvex::TCustomNavigatorForm(parent)
{
    for (const char* key : kKeys)
        SearchVLE()->addKey(QString::fromUtf8(key));
    m_categories = [](QString& paths) {
        tarvex::TIntArray ids;
        return CatGet(ProductDM->ZConnection()->database(), paths, ids, false);
    };
    m_warehouses = [](qint32& id, QString& name) {
        tarvex::TWarehouseDesc desc;
        if (!GetWarehouse(desc, false))
            return false;
        id = desc.id;
        name = desc.name;
        return true;
    };
    m_workerBar = new TWorkerBar(this);
    m_workerBar->setBusyControls({SearchVLE(), FindButton()});
    layout()->addWidget(m_workerBar);
    m_status = new QLabel(this);
    m_status->setWordWrap(true);
    m_status->hide();
    layout()->addWidget(m_status);
    if (ProductDM && ProductDM->IsConnected()) {
        SetSearchProps();
        SearchPropsSet = true;
    }
}

void TProductNavigatorForm::setPickers(CategoryPicker categories, WarehousePicker warehouses)
{
    if (categories)
        m_categories = std::move(categories);
    if (warehouses)
        m_warehouses = std::move(warehouses);
}

void TProductNavigatorForm::SetSearchProps()
{
    tarvex::SearchValueList* list = SearchVLE();
    const std::pair<const char*, QString> captions[] = {
        {"name", PROD_NAME},         {"code", PROD_CODE},           {"barcode", PROD_BARCODE},
        {"foreignname", PROD_FOREIGN_NAME}, {"type", PROD_TYPE},    {"active", PROD_ACTIVE},
        {"category", PROD_CATEGORY}, {"warehouse", PROD_WH},        {"vat", PROD_VAT},
        {"manufname", PROD_MANUF},   {"manufcode", PROD_MANUF_CODE}, {"characteristics", PROD_CHARS},
        {"general", PROD_GENERAL}};
    for (const auto& [key, caption] : captions)
        list->setCaption(QString::fromUtf8(key), caption);
    QStringList types;
    tarvex::FillProdTypeCaptions(types);
    list->setPickList(QStringLiteral("type"), types);
    list->setPickList(QStringLiteral("active"), {tarvex::ACTIVE_Y_CAP, tarvex::ACTIVE_N_CAP});
    list->setEditButton(QStringLiteral("category"), true);
    list->setEditButton(QStringLiteral("warehouse"), true);
    list->setTypingBlocked(QStringLiteral("warehouse"), true);
    QStringList rates;
    ProductDM->GetFieldValues(QStringLiteral("value"), QStringLiteral("tax"), rates, true, QString(), QString());
    list->setPickList(QStringLiteral("vat"), rates);
    QStringList makers;
    ProductDM->GetFieldValues(QStringLiteral("manufname"), QStringLiteral("product"), makers, true, QString(), QString());
    list->setPickList(QStringLiteral("manufname"), makers);
    tarvex::TCustomNavigatorForm::SetSearchProps();
}

void TProductNavigatorForm::SearchVLEEditButtonClick(const QString& key)
{
    tarvex::SearchValueList* list = SearchVLE();
    if (key == QLatin1String("category")) {
        QString paths = list->value(key);
        if (m_categories && m_categories(paths))
            list->setValue(key, paths);
        return;
    }
    if (key != QLatin1String("warehouse") || !m_warehouses)
        return;
    const int choice = list->value(key).isEmpty() ? tarvex::ChangeOptionsChange : tarvex::dialogs().changeOptions();
    if (choice == tarvex::ChangeOptionsChange) {
        qint32 id = 0;
        QString name;
        if (m_warehouses(id, name)) {
            list->setValue(key, name);
            m_warehouseId = id;
        }
    } else if (choice == tarvex::ChangeOptionsRemove) {
        list->setValue(key, QString());
        m_warehouseId = 0;
    }
}

QString TProductNavigatorForm::ParseSQL()
{
    QMap<QString, QString> criteria;
    for (const QString& key : SearchVLE()->keys())
        criteria.insert(key, SearchVLE()->value(key));
    const ProductSearchResult result = ProductSearch(*ProductDM).parse(criteria, m_warehouseId);
    applyWarehouseCaptions(*ProductDM, result);
    m_categoryIgnored = result.categoryIgnored;
    for (auto it = result.params.cbegin(); it != result.params.cend(); ++it)
        ProductDM->ProductZQ->setParam(it.key(), it.value());
    return result.sql;
}

void TProductNavigatorForm::RememberCriteria(const QString& section)
{
    m_stateSection = section;
    const tarvex::RememberedState state(section);
    tarvex::SearchValueList* list = SearchVLE();
    for (const QString& key : state.keys())
        if (list->rowOf(key) >= 0)
            list->setValue(key, state.text(key));
    m_warehouseId = list->value(QStringLiteral("warehouse")).isEmpty() ? 0 : state.number(kWarehouseIdKey, 0);
}

void TProductNavigatorForm::noteCriteria()
{
    QList<QPair<QString, QString>> criteria;
    for (const QString& key : SearchVLE()->keys())
        if (!SearchVLE()->value(key).isEmpty())
            criteria << qMakePair(key, SearchVLE()->value(key));
    if (m_warehouseId > 0)
        criteria << qMakePair(kWarehouseIdKey, QString::number(m_warehouseId));
    tarvex::RememberedState(m_stateSection).replaceAll(criteria);
}

void TProductNavigatorForm::FindButtonClick()
{
    tarvex::TCustomNavigatorForm::FindButtonClick();
    if (!m_stateSection.isEmpty())
        noteCriteria();
    QueryDataSet* products = ProductDM->ProductZQ;
    const QString sql = ParseSQL();
    // A big list comes in name order from the server, a page at a time.
    const QString byName = QStringLiteral("name");
    const tarvex::ReadPlan plan = products->readPlan(sql, byName);
    // The whole catalogue takes a while: read on a worker, the list as it
    // was until the new one is complete.
    tarvex::QueryRows found;
    const bool done = m_workerBar->run(ProductDM->ZConnection()->database(),
                                       [&](QSqlDatabase db, const TProgress& progress) {
                                           progress(QStringLiteral("Proizvodi"), 0);
                                           found = QueryDataSet::readPlanned(db, plan, [&](int rows) {
                                               progress(QStringLiteral("Proizvodi"), rows);
                                           });
                                       });
    if (!done)
        return;
    // The criterion is left out as the rule says; the user is told why the
    // list is wider than asked.
    m_status->setText(m_categoryIgnored ? CAT_NOT_FOUND_IGNORED_INF : QString());
    m_status->setVisible(m_categoryIgnored);
    tarvex::BusyCursor busy;
    products->close();
    products->setSortedFields(byName);
    products->openWith(sql, std::move(found));
    products->first();
}

} // namespace products
