#include "Productfixedassetpage.h"

#include "DBControls.h"
#include "Dialogs.h"
#include "DisplayFormat.h"
#include "Guarded.h"
#include "Productdmunit.h"
#include "Productsnapin.h"
#include "Rounding.h"
#include "Siblingintf.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

namespace products {

namespace {

QueryDataSet& asset()
{
    return *ProductDM->FixedAssetZQ;
}

tarvex::Field& assetField(const char* name)
{
    return asset().fieldByName(QString::fromUtf8(name));
}

void editIfBrowsing()
{
    if (asset().state() == tarvex::DataSetState::Browse)
        asset().edit();
}

// A null date counts from the day dates are counted from.
QDate dateOrZero(const tarvex::Field& field)
{
    return field.isNull() ? QDate(1899, 12, 30) : field.asDate();
}

tarvex::DBEdit* boundEdit(QWidget* parent, const char* field)
{
    auto* edit = new tarvex::DBEdit(parent);
    edit->setObjectName(QString::fromUtf8(field) + QStringLiteral("DBE"));
    edit->bind(&asset(), QString::fromUtf8(field));
    return edit;
}

tarvex::DBComboBox* boundCombo(QWidget* parent, const char* field)
{
    auto* combo = new tarvex::DBComboBox(parent);
    combo->setObjectName(QString::fromUtf8(field) + QStringLiteral("DBCB"));
    combo->setEditable(true);
    combo->bind(&asset(), QString::fromUtf8(field));
    return combo;
}

QToolButton* ellipsis(QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setText(QStringLiteral("..."));
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

// A read-only edit on the button-face colour.
void shade(QLineEdit* edit)
{
    edit->setReadOnly(true);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    edit->setPalette(palette);
}

QWidget* row(QWidget* parent, std::initializer_list<QWidget*> widgets)
{
    auto* cell = new QWidget(parent);
    auto* layout = new QHBoxLayout(cell);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    bool first = true;
    for (QWidget* widget : widgets) {
        layout->addWidget(widget, first ? 1 : 0);
        first = false;
    }
    return cell;
}

// Caption and control, one pair a line.
class Form {
public:
    Form(QGroupBox* group) : m_group(group), m_layout(new QGridLayout(group)) { m_layout->setColumnStretch(1, 1); }
    void add(const QString& caption, QWidget* control)
    {
        auto* label = new QLabel(caption, m_group);
        label->setBuddy(control);
        m_layout->addWidget(label, m_row, 0);
        m_layout->addWidget(control, m_row++, 1);
    }
    void addWide(QWidget* control) { m_layout->addWidget(control, m_row++, 0, 1, 2); }
    void finish() { m_layout->setRowStretch(m_row, 1); }

private:
    QGroupBox* m_group;
    QGridLayout* m_layout;
    int m_row = 0;
};

} // namespace

TProductFixedAssetPage::TProductFixedAssetPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FixedAssetTS"));
    asset().declareField(QStringLiteral("depreciationpercent")).setDisplayFormat(QStringLiteral("0.##"));
    asset().declareField(QStringLiteral("permanentvalue")).setDisplayFormat(tarvex::AMOUNT_FORMAT);
    asset().declareField(QStringLiteral("depreciationtaxbasevalue")).setDisplayFormat(tarvex::AMOUNT_FORMAT);

    auto* general = new QGroupBox(QStringLiteral("Opšte"), this);
    Form generalForm(general);
    CatalogueNumberDBE = boundEdit(general, "cataloguenumber");
    InventoryNumberDBE = boundEdit(general, "inventorynumber");
    SerialNumberDBE = boundEdit(general, "serialnumber");
    for (tarvex::DBEdit* edit : {CatalogueNumberDBE, InventoryNumberDBE, SerialNumberDBE})
        edit->setMaxLength(50);
    LocationGroupDBCB = boundCombo(general, "locationgroup");
    LocationDBCB = boundCombo(general, "location");
    generalForm.add(QStringLiteral("Kataloški br."), CatalogueNumberDBE);
    generalForm.add(QStringLiteral("Inventarski br."), InventoryNumberDBE);
    generalForm.add(QStringLiteral("Serijski br."), SerialNumberDBE);
    generalForm.add(QStringLiteral("Lokacijska grupa"), LocationGroupDBCB);
    generalForm.add(QStringLiteral("Lokacija"), LocationDBCB);
    generalForm.finish();

    auto* depreciation = new QGroupBox(QStringLiteral("Amortizacija"), this);
    Form depreciationForm(depreciation);
    DepreciationStartDateDBE = boundEdit(depreciation, "depreciationstartdate");
    DepreciationStartDateB = ellipsis(depreciation);
    DepreciationEndDateDBE = boundEdit(depreciation, "depreciationenddate");
    DepreciationEndDateB = ellipsis(depreciation);
    for (tarvex::DBEdit* edit : {DepreciationStartDateDBE, DepreciationEndDateDBE})
        edit->setReadOnly(true);
    DepreciationPercentDBE = boundEdit(depreciation, "depreciationpercent");
    PermanentValueDBE = boundEdit(depreciation, "permanentvalue");
    DepreciationGroupPercentDBE = boundEdit(depreciation, "DepreciationGroupPercent");
    DepreciationGroupB = ellipsis(depreciation);
    DepreciationAccountingGroupPercentDBE = boundEdit(depreciation, "DepreciationAccountingGroupPercent");
    DepreciationAccountingGroupB = ellipsis(depreciation);
    for (tarvex::DBEdit* edit : {DepreciationGroupPercentDBE, DepreciationAccountingGroupPercentDBE})
        shade(edit);
    DepreciationTaxBaseValueDBE = boundEdit(depreciation, "depreciationtaxbasevalue");
    DepreciationCalculateB = new QPushButton(QStringLiteral("Kalkuliši"), depreciation);
    DepreciationCalculateB->setObjectName(QStringLiteral("DepreciationCalculateB"));
    depreciationForm.add(QStringLiteral("Početni datum"), row(depreciation, {DepreciationStartDateDBE, DepreciationStartDateB}));
    depreciationForm.add(QStringLiteral("Krajnji datum"), row(depreciation, {DepreciationEndDateDBE, DepreciationEndDateB}));
    depreciationForm.add(QStringLiteral("Procenat"),
                         row(depreciation, {DepreciationPercentDBE, new QLabel(QStringLiteral("%"), depreciation)}));
    depreciationForm.add(QStringLiteral("Preostala vrednost"), PermanentValueDBE);
    depreciationForm.add(QStringLiteral("Poreska amort. grupa - procenat"),
                         row(depreciation, {DepreciationGroupPercentDBE, DepreciationGroupB}));
    depreciationForm.add(QStringLiteral("Knjig. amort. grupa - proc."),
                         row(depreciation, {DepreciationAccountingGroupPercentDBE, DepreciationAccountingGroupB}));
    depreciationForm.add(QStringLiteral("Poreska osnovica"), DepreciationTaxBaseValueDBE);
    depreciationForm.addWide(DepreciationCalculateB);
    depreciationForm.finish();

    auto* purchase = new QGroupBox(QStringLiteral("Nabavka"), this);
    Form purchaseForm(purchase);
    WarrantyDateDBE = boundEdit(purchase, "warrantydate");
    WarrantyDateB = ellipsis(purchase);
    PurchaseDateDBE = boundEdit(purchase, "purchasedate");
    PurchaseDateB = ellipsis(purchase);
    ActivationDateDBE = boundEdit(purchase, "activationdate");
    ActivationDateB = ellipsis(purchase);
    purchaseForm.add(QStringLiteral("Datum garancije"), row(purchase, {WarrantyDateDBE, WarrantyDateB}));
    purchaseForm.add(QStringLiteral("Datum nabavke"), row(purchase, {PurchaseDateDBE, PurchaseDateB}));
    purchaseForm.add(QStringLiteral("Datum aktivacije"), row(purchase, {ActivationDateDBE, ActivationDateB}));
    purchaseForm.finish();

    connect(WarrantyDateB, &QToolButton::clicked, this, tarvex::guardedSlot([this] { WarrantyDateBClick(); }));
    connect(PurchaseDateB, &QToolButton::clicked, this, tarvex::guardedSlot([this] { PurchaseDateBClick(); }));
    connect(ActivationDateB, &QToolButton::clicked, this, tarvex::guardedSlot([this] { ActivationDateBClick(); }));
    connect(DepreciationStartDateB, &QToolButton::clicked, this, tarvex::guardedSlot([this] { DepreciationStartDateBClick(); }));
    connect(DepreciationEndDateB, &QToolButton::clicked, this, tarvex::guardedSlot([this] { DepreciationEndDateBClick(); }));
    connect(DepreciationGroupB, &QToolButton::clicked, this, tarvex::guardedSlot([this] { DepreciationGroupBClick(); }));
    connect(DepreciationAccountingGroupB, &QToolButton::clicked, this,
            tarvex::guardedSlot([this] { DepreciationAccountingGroupBClick(); }));
    connect(DepreciationCalculateB, &QPushButton::clicked, this, tarvex::guardedSlot([this] { DepreciationCalculateBClick(); }));

    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(general);
    left->addWidget(purchase);
    columns->addLayout(left, 1);
    columns->addWidget(depreciation, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addStretch();
}

void TProductFixedAssetPage::FillLocations()
{
    for (auto [column, combo] : {std::pair{"locationgroup", LocationGroupDBCB}, std::pair{"location", LocationDBCB}}) {
        QStringList values;
        ProductDM->GetFieldValues(QString::fromUtf8(column), QStringLiteral("fixedasset"), values, true, {}, {});
        combo->addItems(values);
    }
}

void TProductFixedAssetPage::OpenFixedAsset(qint64 productId)
{
    asset().close();
    asset().setParam(QStringLiteral("IDProduct"), productId);
    asset().open();
}

void TProductFixedAssetPage::ChangeDate(tarvex::Field& field, const QDate& date)
{
    QDate chosen = date;
    if (!tarvex::dialogs().getDate(chosen))
        return;
    editIfBrowsing();
    field.setValue(chosen);
}

void TProductFixedAssetPage::changeDateOf(const char* fieldName)
{
    tarvex::Field& field = assetField(fieldName);
    ChangeDate(field, field.isNull() ? QDate() : field.asDate());
}

void TProductFixedAssetPage::WarrantyDateBClick()
{
    changeDateOf("warrantydate");
}

void TProductFixedAssetPage::PurchaseDateBClick()
{
    changeDateOf("purchasedate");
}

void TProductFixedAssetPage::ActivationDateBClick()
{
    changeDateOf("activationdate");
}

void TProductFixedAssetPage::DepreciationStartDateBClick()
{
    changeDateOf("depreciationstartdate");
    tarvex::Field& start = assetField("depreciationstartdate");
    if (start.isNull())
        return;
    editIfBrowsing();
    const QDate date = start.asDate();
    const QDate firstOfMonth(date.year(), date.month(), 1);
    start.setValue(firstOfMonth);
    assetField("depreciationenddate").setValue(firstOfMonth);
}

void TProductFixedAssetPage::DepreciationEndDateBClick()
{
    changeDateOf("depreciationenddate");
    tarvex::Field& end = assetField("depreciationenddate");
    if (end.isNull())
        return;
    editIfBrowsing();
    const QDate date = end.asDate();
    end.setValue(QDate(date.year(), date.month(), 1));
}

void TProductFixedAssetPage::pickGroup(const QUuid& service, const char* idField, const char* percentField,
                                       bool alwaysPercent)
{
    tarvex::IInterface* found = nullptr;
    if (!GlobalConsole || !GlobalConsole->FindService(service, &found) || !found)
        return;
    auto groups = tarvex::ComPtr<tarvex::IDepreciationGroupService>::adopt(
        static_cast<tarvex::IDepreciationGroupService*>(found));
    qint64 id = 0;
    double percent = 0;
    if (!groups->GetGroup(id, percent))
        return;
    editIfBrowsing();
    assetField(idField).setValue(id);
    assetField(percentField).setValue(percent);
    tarvex::Field& yearly = assetField("depreciationpercent");
    if (alwaysPercent || tarvex::BetterRoundTo(yearly.asFloat(), -2) == 0)
        yearly.setValue(percent);
}

void TProductFixedAssetPage::DepreciationGroupBClick()
{
    pickGroup(tarvex::IID_IDepreciationGroupService, "depreciationgroupid", "DepreciationGroupPercent", false);
}

void TProductFixedAssetPage::DepreciationAccountingGroupBClick()
{
    pickGroup(tarvex::IID_IDepreciationAccountingGroupService, "depreciationaccountinggroupid",
              "DepreciationAccountingGroupPercent", true);
}

void TProductFixedAssetPage::DepreciationCalculateBClick()
{
    editIfBrowsing();
    const qint64 days = std::llabs(dateOrZero(assetField("depreciationstartdate"))
                                       .daysTo(dateOrZero(assetField("depreciationenddate"))));
    const int months = int(double(days) / 30.4375) + 1;
    double percent = tarvex::BetterRoundTo(100.0 / (months / 12.0), -2);
    if (percent > 100)
        percent = 100;
    assetField("depreciationpercent").setValue(percent);
}

} // namespace products
