#include "Productkasaunit.h"

#include "Connection.h"
#include "DBControls.h"
#include "Dialogs.h"
#include "Format.h"
#include "Guarded.h"
#include "Productdmunit.h"
#include "Productresourcestring.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSqlQuery>
#include <QVBoxLayout>

namespace products {

namespace {

QueryDataSet& product()
{
    return *ProductDM->ProductZQ;
}

tarvex::Field& productField(const char* name)
{
    return product().fieldByName(QString::fromUtf8(name));
}

QSqlDatabase database()
{
    return ProductDM->ZConnection()->database();
}

void editIfBrowsing()
{
    if (product().state() == tarvex::DataSetState::Browse)
        product().edit();
}

QPushButton* actionButton(QAction* action, QWidget* parent)
{
    auto* button = new QPushButton(action->text(), parent);
    button->setEnabled(action->isEnabled());
    QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
    QObject::connect(action, &QAction::changed, button, [button, action] { button->setEnabled(action->isEnabled()); });
    return button;
}

} // namespace

TProductKasaPage::TProductKasaPage(QAction* addDefaultWarehouse, QAction* addOtherWarehouse, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("KasaTS"));
    auto* group = new QGroupBox(QStringLiteral("Kasa"), this);
    m_plu = new tarvex::DBEdit(group);
    m_plu->setObjectName(QStringLiteral("KasaPLUDBE"));
    m_plu->bind(&product(), QStringLiteral("kasaplu"));
    m_plu->setReadOnly(true);
    // Read-only on the button-face colour; a bound edit takes the field's
    // read-only state when it refreshes, so it is locked again then.
    QPalette palette = m_plu->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    m_plu->setPalette(palette);
    auto relock = [this] { m_plu->setReadOnly(true); };
    connect(&product(), &tarvex::DataSet::modelReset, m_plu, relock);
    connect(&product(), &tarvex::DataSet::stateChanged, m_plu, relock);
    connect(&product(), &tarvex::DataSet::currentRowChanged, m_plu, relock);
    connect(&product(), &tarvex::DataSet::rowChanged, m_plu, relock);

    m_group = new QComboBox(group);
    m_group->setObjectName(QStringLiteral("KasaGroupCB"));
    m_sort = new tarvex::DBEdit(group);
    m_sort->setObjectName(QStringLiteral("KasaSortDBE"));
    m_sort->bind(&product(), QStringLiteral("kasasort"));
    connect(m_group, &QComboBox::activated, this, tarvex::guardedSlot([this] { KasaGroupCBChange(); }));

    m_autoPlu = new QAction(QStringLiteral("Auto PLU"), this);
    m_clearPlu = new QAction(QStringLiteral("Izbriši PLU"), this);
    m_autoPluVireo = new QAction(QStringLiteral("Auto PLU (Vireo)"), this);
    connect(m_autoPlu, &QAction::triggered, this, tarvex::guardedSlot([this] { AutoPLUExecute(); }));
    connect(m_clearPlu, &QAction::triggered, this, tarvex::guardedSlot([this] { ClearPLUExecute(); }));
    connect(m_autoPluVireo, &QAction::triggered, this, tarvex::guardedSlot([this] { AutoPLUVireoExecute(); }));

    auto* grid = new QGridLayout(group);
    auto label = [group](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, group);
        l->setBuddy(buddy);
        return l;
    };
    grid->addWidget(label(QStringLiteral("PLU"), m_plu), 0, 0);
    grid->addWidget(m_plu, 0, 1);
    grid->addWidget(label(QStringLiteral("Grupa"), m_group), 1, 0);
    grid->addWidget(m_group, 1, 1);
    grid->addWidget(label(QStringLiteral("R.b."), m_sort), 2, 0);
    grid->addWidget(m_sort, 2, 1);
    auto* pluButtons = new QVBoxLayout;
    for (QAction* action : {m_autoPlu, m_clearPlu, m_autoPluVireo})
        pluButtons->addWidget(actionButton(action, group));
    grid->addLayout(pluButtons, 0, 2, 3, 1);
    grid->setColumnStretch(1, 1);
    m_plu->setMaximumWidth(160);
    m_sort->setMaximumWidth(160);

    auto* warehouses = new QGroupBox(QStringLiteral("Magacini"), this);
    auto* warehouseButtons = new QVBoxLayout(warehouses);
    warehouseButtons->addWidget(actionButton(addDefaultWarehouse, warehouses));
    warehouseButtons->addWidget(actionButton(addOtherWarehouse, warehouses));

    auto* columns = new QHBoxLayout;
    columns->addWidget(group, 2, Qt::AlignTop);
    columns->addWidget(warehouses, 1, Qt::AlignTop);
    columns->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addStretch();
}

void TProductKasaPage::LoadKasaGroups()
{
    m_group->addItem(QString());
    QSqlQuery query = tarvex::selectSql(database(), QStringLiteral("SELECT kasagroupid,name FROM kasagroup"));
    while (query.next())
        m_group->addItem(query.value(1).toString(), query.value(0).toLongLong());
}

void TProductKasaPage::GetKasaGroup()
{
    const qint64 id = productField("kasagroupid").asLargeInt();
    if (id < 1) {
        m_group->setCurrentIndex(0);
        return;
    }
    for (int i = 1; i < m_group->count(); ++i) {
        if (m_group->itemData(i).toLongLong() == id) {
            m_group->setCurrentIndex(i);
            return;
        }
    }
    m_group->setCurrentIndex(-1);
}

void TProductKasaPage::FreeKasaGroups()
{
    m_group->clear();
}

void TProductKasaPage::KasaGroupCBChange()
{
    SetKasaGroup();
    SetKasaSort();
}

void TProductKasaPage::SetKasaGroup()
{
    editIfBrowsing();
    const QVariant id = m_group->currentData();
    if (id.isValid())
        productField("kasagroupid").setValue(id.toLongLong());
    else
        productField("kasagroupid").clear();
}

void TProductKasaPage::SetKasaSort()
{
    const tarvex::Field& group = productField("kasagroupid");
    if (group.isNull() || group.asLargeInt() <= 0)
        return;
    editIfBrowsing();
    QSqlQuery query = tarvex::selectSql(
        database(), QStringLiteral("SELECT MAX(kasasort) AS maxkasasort FROM product WHERE kasagroupid = ?"),
        {group.asLargeInt()});
    // No product in the group yet: the maximum is null and counts as 0.
    const qint64 highest = query.next() ? query.value(0).toLongLong() : 0;
    productField("kasasort").setValue(highest + 1);
}

void TProductKasaPage::takeFreePlu(bool vireo)
{
    if (!productField("kasaplu").isNull())
        return;
    QStringList plus;
    ProductDM->GetPLUs(plus, 1, vireo);
    if (plus.size() != 1) {
        if (vireo)
            tarvex::dialogs().warning(PROD_PLU_NOT_CNG_WRN);
        return;
    }
    editIfBrowsing();
    productField("kasaplu").setValue(plus.first().toLongLong());
    // Free now; the save takes another if some workstation takes it first.
    ProductDM->Generated.plu = plus.first().toLongLong();
    ProductDM->Generated.pluVireo = vireo;
}

void TProductKasaPage::AutoPLUExecute()
{
    takeFreePlu(false);
}

void TProductKasaPage::AutoPLUVireoExecute()
{
    takeFreePlu(true);
}

void TProductKasaPage::ClearPLUExecute()
{
    const qint64 id = productField("productid").asLargeInt();
    if (productField("kasaplu").isNull() || id <= 0)
        return;
    if (tarvex::selectSql(database(), QStringLiteral("SELECT productid FROM kasatableitem WHERE productid = ?"), {id})
            .next()) {
        tarvex::dialogs().error(PROD_NOT_CHANGE_PLU_ERR);
        return;
    }
    editIfBrowsing();
    productField("kasaplu").clear();
}

} // namespace products
