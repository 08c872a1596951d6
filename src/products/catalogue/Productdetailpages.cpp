// The product editor's controls: the general tab with its names and codes,
// prices, categories and warehouses, the details tab, the cash-register and
// attribute pages, and the extra bottom buttons.

#include "Productdetailunit.h"

#include "DBControls.h"
#include "Productattributesunit.h"
#include "Productcategoriesunit.h"
#include "Productdmunit.h"
#include "Productfixedassetpage.h"
#include "Productimagepage.h"
#include "Productkasaunit.h"
#include "Productrebatepage.h"
#include "Productwarehousesunit.h"
#include "Productworkoperationspage.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace products {

namespace {

using tarvex::DBCheckBox;
using tarvex::DBComboBox;
using tarvex::DBEdit;
using tarvex::DBMemo;

DBEdit* boundEdit(QWidget* parent, tarvex::DataSet* dataSet, const QString& field, const QString& name)
{
    auto* edit = new DBEdit(parent);
    edit->setObjectName(name);
    edit->bind(dataSet, field);
    return edit;
}

// A read-only edit on the button-face colour.
void shade(QLineEdit* edit)
{
    edit->setReadOnly(true);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    edit->setPalette(palette);
}

QLabel* labelFor(QWidget* parent, const QString& text, QWidget* buddy)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

QToolButton* pickButton(QWidget* parent, const QString& name)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(QStringLiteral("..."));
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

// A currency edit with its optional pick button, as one cell.
QWidget* withButton(QWidget* parent, QLineEdit* edit, QToolButton* button)
{
    auto* cell = new QWidget(parent);
    auto* row = new QHBoxLayout(cell);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    row->addWidget(edit, 1);
    if (button)
        row->addWidget(button);
    return cell;
}

} // namespace

void TProductDetailForm::lockEdit(DBEdit* edit)
{
    shade(edit);
    // A bound edit takes the field's read-only state whenever it refreshes;
    // these stay locked whatever the field says.
    tarvex::DataSet* dataSet = edit->link().dataSet();
    auto relock = [edit] { edit->setReadOnly(true); };
    connect(dataSet, &tarvex::DataSet::modelReset, edit, relock);
    connect(dataSet, &tarvex::DataSet::stateChanged, edit, relock);
    connect(dataSet, &tarvex::DataSet::currentRowChanged, edit, relock);
    connect(dataSet, &tarvex::DataSet::rowChanged, edit, relock);
}

void TProductDetailForm::buildGeneralTab()
{
    Warehouses = new TProductWarehousesGroup(GeneralTS());
    Categories = new TProductCategoriesGroup(GeneralTS());
    auto* left = new QVBoxLayout;
    left->addWidget(buildNamesGroup());
    left->addWidget(Categories, 1);
    auto* groups = new QHBoxLayout;
    groups->addLayout(left, 1);
    groups->addWidget(buildPricesGroup(), 1);
    auto* layout = new QVBoxLayout(GeneralTS());
    layout->addLayout(groups);
    layout->addWidget(Warehouses, 1);
}

QWidget* TProductDetailForm::buildNamesGroup()
{
    tarvex::DataSet* product = ProductDM->ProductZQ;
    auto* group = new QGroupBox(QStringLiteral("Imena i kodovi"), GeneralTS());
    NameDBE = boundEdit(group, product, QStringLiteral("name"), QStringLiteral("NameDBE"));
    CodeDBE = boundEdit(group, product, QStringLiteral("code"), QStringLiteral("CodeDBE"));
    BarcodeDBE = boundEdit(group, product, QStringLiteral("barcode"), QStringLiteral("BarcodeDBE"));
    ForeignNameDBE = boundEdit(group, product, QStringLiteral("foreignname"), QStringLiteral("ForeignNameDBE"));
    TypeDBCB = new DBComboBox(group);
    TypeDBCB->setObjectName(QStringLiteral("TypeDBCB"));
    ActiveDBCB = new DBCheckBox(QStringLiteral("Aktivan"), group);
    ActiveDBCB->setObjectName(QStringLiteral("ActiveDBCB"));
    ActiveDBCB->bind(product, QStringLiteral("active"), QStringLiteral("y"), QStringLiteral("n"));
    SerialNumbersDBCB = new DBCheckBox(QStringLiteral("Serijski brojevi"), group);
    SerialNumbersDBCB->setObjectName(QStringLiteral("SerialNumbersDBCB"));
    SerialNumbersDBCB->bind(product, QStringLiteral("serialnumbers"));
    ManufNameDBCB = new DBComboBox(group);
    ManufNameDBCB->setObjectName(QStringLiteral("ManufNameDBCB"));
    ManufNameDBCB->setEditable(true);
    ManufSeriesDBCB = new DBComboBox(group);
    ManufSeriesDBCB->setObjectName(QStringLiteral("ManufSeriesDBCB"));
    ManufSeriesDBCB->setEditable(true);
    ManufCodeDBE = boundEdit(group, product, QStringLiteral("manufcode"), QStringLiteral("ManufCodeDBE"));

    auto* checks = new QHBoxLayout;
    checks->addWidget(ActiveDBCB);
    checks->addWidget(SerialNumbersDBCB);
    checks->addStretch();

    auto* grid = new QGridLayout(group);
    int row = 0;
    auto add = [&](const QString& caption, QWidget* control) {
        grid->addWidget(labelFor(group, caption, control), row, 0);
        grid->addWidget(control, row++, 1);
    };
    add(QStringLiteral("Ime*"), NameDBE);
    add(QStringLiteral("Kod"), CodeDBE);
    add(QStringLiteral("Barkod"), BarcodeDBE);
    add(QStringLiteral("Strano ime"), ForeignNameDBE);
    add(QStringLiteral("Tip"), TypeDBCB);
    grid->addLayout(checks, row++, 1);
    add(QStringLiteral("Ime proizvođača"), ManufNameDBCB);
    add(QStringLiteral("Serija proizvođača"), ManufSeriesDBCB);
    add(QStringLiteral("Kod proizvođača"), ManufCodeDBE);
    // The scanned document: open (or take in) and delete.
    ScannedDocumentAction = new QAction(QStringLiteral("Sken. dok."), this);
    ScannedDeleteAction = new QAction(QStringLiteral("X"), this);
    ScannedDeleteAction->setToolTip(QStringLiteral("Izbriši skenirani dokument"));
    auto* scannedButton = new QPushButton(ScannedDocumentAction->text(), group);
    scannedButton->setObjectName(QStringLiteral("ScannedDocumentButton"));
    auto* deleteButton = new QToolButton(group);
    deleteButton->setObjectName(QStringLiteral("ScannedDeleteButton"));
    deleteButton->setDefaultAction(ScannedDeleteAction);
    connect(scannedButton, &QPushButton::clicked, ScannedDocumentAction, &QAction::trigger);
    connect(ScannedDocumentAction, &QAction::changed, scannedButton,
            [this, scannedButton] { scannedButton->setEnabled(ScannedDocumentAction->isEnabled()); });
    AlternativesAction = new QAction(QStringLiteral("Zamene..."), this);
    auto* alternativesButton = new QPushButton(AlternativesAction->text(), group);
    alternativesButton->setObjectName(QStringLiteral("AlternativesButton"));
    connect(alternativesButton, &QPushButton::clicked, AlternativesAction, &QAction::trigger);
    connect(AlternativesAction, &QAction::changed, alternativesButton,
            [this, alternativesButton] { alternativesButton->setEnabled(AlternativesAction->isEnabled()); });
    auto* documents = new QHBoxLayout;
    documents->addWidget(alternativesButton);
    documents->addStretch();
    documents->addWidget(scannedButton);
    documents->addWidget(deleteButton);
    grid->addLayout(documents, row++, 1);
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(1, 1);
    return group;
}

QWidget* TProductDetailForm::buildPricesGroup()
{
    tarvex::DataSet* product = ProductDM->ProductZQ;
    auto* group = new QGroupBox(QStringLiteral("Cene"), GeneralTS());
    auto edit = [&](const char* field, const char* name) {
        return boundEdit(group, product, QString::fromUtf8(field), QString::fromUtf8(name));
    };
    InPriceDBE = edit("inputprice", "InPriceDBE");
    InPriceCurrDBE = edit("inputpricecurrency", "InPriceCurrDBE");
    InPriceCurrB = pickButton(group, QStringLiteral("InPriceCurrB"));
    SupplyPriceDBE = edit("supplyprice", "SupplyPriceDBE");
    SupplyPriceCurrDBE = edit("pricecurrency", "SupplyPriceCurrDBE");
    RebateDBE = edit("rebate", "RebateDBE");
    PlanPriceDBE = edit("planprice", "PlanPriceDBE");
    DBEdit* planCurrency = edit("pricecurrency", "PlanPriceCurrDBE");
    ExciseDBE = edit("excise", "ExciseDBE");
    PriceDBE = edit("price", "PriceDBE");
    PriceCurrDBE = edit("pricecurrency", "PriceCurrDBE");
    PriceCurrB = pickButton(group, QStringLiteral("PriceCurrB"));
    PriceVATDBE = edit("pricewithvat", "PriceVATDBE");
    TaxEdit = new QLineEdit(group);
    TaxEdit->setObjectName(QStringLiteral("TaxEdit"));
    ChangeTaxButton = pickButton(group, QStringLiteral("ChangeTaxButton"));
    UnitNameDBE = edit("unitname", "UnitNameDBE");
    RecommendedPriceWithVATDBE = edit("recommendedpricewithvat", "RecommendedPriceWithVATDBE");
    DBEdit* recommendedCurrency = edit("pricecurrency", "RecommendedCurrDBE");
    RecommendedRebateDBE = edit("recommendedrebate", "RecommendedRebateDBE");
    RatePriceE = new QLineEdit(group);
    RatePriceE->setObjectName(QStringLiteral("RatePriceE"));
    PriceFormulaDBE = edit("priceformula", "PriceFormulaDBE");
    CalcButton = new QPushButton(QStringLiteral("Kalkuliši"), group);
    for (DBEdit* currency : {InPriceCurrDBE, SupplyPriceCurrDBE, planCurrency, PriceCurrDBE, recommendedCurrency})
        lockEdit(currency);
    shade(TaxEdit);
    shade(RatePriceE);

    auto* grid = new QGridLayout(group);
    auto put = [&](int row, int column, const QString& caption, QWidget* control) {
        QLabel* label = labelFor(group, caption, control);
        grid->addWidget(label, row, column);
        grid->addWidget(control, row, column + 1);
        return label;
    };
    InPriceL = put(0, 0, QStringLiteral("Ul. cena*"), InPriceDBE);
    InPriceCurrL = put(0, 2, QStringLiteral("Moneta ul. cene*"), withButton(group, InPriceCurrDBE, InPriceCurrB));
    SupplyPriceL = put(1, 0, QStringLiteral("Nabavna cena*"), SupplyPriceDBE);
    SupplyPriceCurrL = put(1, 2, QStringLiteral("Moneta"), SupplyPriceCurrDBE);
    RebateL = put(2, 0, QStringLiteral("Rabat"), RebateDBE);
    put(2, 2, QStringLiteral("Akciza"), ExciseDBE);
    put(3, 0, QStringLiteral("Planska cena*"), PlanPriceDBE);
    put(3, 2, QStringLiteral("Moneta"), planCurrency);
    put(4, 0, QStringLiteral("Cena*"), PriceDBE);
    put(4, 2, QStringLiteral("Moneta cene*"), withButton(group, PriceCurrDBE, PriceCurrB));
    put(5, 0, QStringLiteral("Cena + PDV"), PriceVATDBE);
    put(5, 2, QStringLiteral("Oznaka poreza*"), withButton(group, TaxEdit, ChangeTaxButton));
    put(6, 0, QStringLiteral("Prep. cena + PDV"), RecommendedPriceWithVATDBE);
    put(6, 2, QStringLiteral("Moneta"), recommendedCurrency);
    put(7, 0, QStringLiteral("Prep. rabat"), RecommendedRebateDBE);
    put(7, 2, QStringLiteral("JM"), UnitNameDBE);
    RatePriceL = put(8, 0, QStringLiteral("Cena po kursu"), RatePriceE);
    PriceFormulaL = put(8, 2, QStringLiteral("Formula cene"), withButton(group, PriceFormulaDBE, nullptr));
    grid->addWidget(CalcButton, 9, 3);
    grid->setRowStretch(10, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    // Shown only by the rate-price option; the formula is never shown here.
    for (QWidget* hidden : {static_cast<QWidget*>(RatePriceL), static_cast<QWidget*>(RatePriceE),
                            static_cast<QWidget*>(PriceFormulaL), PriceFormulaDBE->parentWidget(),
                            static_cast<QWidget*>(CalcButton)})
        hidden->hide();
    return group;
}

void TProductDetailForm::buildDetailsTab()
{
    tarvex::DataSet* detail = ProductDM->ProductDetailZQ;
    DetailsTS = new QWidget(PageControl());
    DetailsTS->setObjectName(QStringLiteral("DetailsTS"));
    PageControl()->addTab(DetailsTS, QStringLiteral("Detalji"));

    struct Entry {
        const char* caption;
        const char* field;
    };
    // Three columns of label and edit, read top to bottom.
    const Entry columns[3][9] = {
        {{"Model", "model"},
         {"Garancija", "warranty"},
         {"Zemlja porekla", "originalcountry"},
         {"Zemlja izvoza", "exportcountry"},
         {"Zemlja uvoza", "importcountry"},
         {"Masa", "mass"},
         {"JM mase", "massunitname"},
         {"Bruto masa", "massgross"},
         {"Tarifni broj", "tariffnumber"}},
        {{"Komercijalno pakovanje", "commercialpackage"},
         {"Barkod komercijalnog pakovanja", "commercialpackagebarcode"},
         {"Transportno pakovanje", "transportpackage"},
         {"Barkod transportnog pakovanja", "transportpackagebarcode"},
         {"Minimalna količina za poručivanje", "minimalorderquantity"},
         {"Akcijski rabat", "additionalrebate"},
         {"Maksimalni rabat", "maxrebate"},
         {"Maks. rabat u maloprodaji", "maxretailrebate"},
         {"Broj dana valute", "valutedays"}},
        {{"Druga JM", "secondunitname"},
         {"Koef. druge JM", "secondunitnamecoefficient"},
         {"Cena druge JM", "secondunitnameprice"},
         {"Web cena + PDV", "webpricewithvat"},
         {"B2B cena", "b2bprice"},
         {"Bonus", "bonus"},
         {nullptr, nullptr},
         {nullptr, nullptr},
         {nullptr, nullptr}},
    };
    auto* grid = new QGridLayout;
    for (int column = 0; column < 3; ++column) {
        for (int row = 0; row < 9; ++row) {
            const Entry& entry = columns[column][row];
            if (!entry.field)
                continue;
            const QString field = QString::fromUtf8(entry.field);
            DBEdit* edit = boundEdit(DetailsTS, detail, field, field + QStringLiteral("DBE"));
            grid->addWidget(labelFor(DetailsTS, QString::fromUtf8(entry.caption), edit), row, column * 2);
            grid->addWidget(edit, row, column * 2 + 1);
        }
        grid->setColumnStretch(column * 2 + 1, 1);
    }
    auto* checks = new QHBoxLayout;
    for (const Entry& entry : {Entry{"B2B", "b2b"}, Entry{"Web", "web"}, Entry{"Akcijska cena", "specialprice"}}) {
        auto* box = new DBCheckBox(QString::fromUtf8(entry.caption), DetailsTS);
        box->setObjectName(QString::fromUtf8(entry.field) + QStringLiteral("DBCB"));
        box->bind(detail, QString::fromUtf8(entry.field));
        checks->addWidget(box);
    }
    checks->addStretch();
    grid->addLayout(checks, 6, 4, 3, 2);

    auto* memos = new QGridLayout;
    int column = 0;
    for (const Entry& entry : {Entry{"Opis", "description"}, Entry{"Karakteristike", "characteristics"},
                               Entry{"Specifikacije", "specification"}}) {
        auto* memo = new DBMemo(DetailsTS);
        const QString field = QString::fromUtf8(entry.field);
        memo->setObjectName(field + QStringLiteral("DBM"));
        memo->bind(detail, field);
        memos->addWidget(labelFor(DetailsTS, QString::fromUtf8(entry.caption), memo), 0, column);
        memos->addWidget(memo, 1, column++);
    }
    LoadDetailsFromCategory = new QAction(QStringLiteral("Učitaj iz kat."), this);
    auto* loadButton = new QPushButton(LoadDetailsFromCategory->text(), DetailsTS);
    loadButton->setObjectName(QStringLiteral("LoadDetailsFromCategoryButton"));
    connect(loadButton, &QPushButton::clicked, LoadDetailsFromCategory, &QAction::trigger);
    connect(LoadDetailsFromCategory, &QAction::changed, loadButton,
            [this, loadButton] { loadButton->setEnabled(LoadDetailsFromCategory->isEnabled()); });
    auto* buttons = new QHBoxLayout;
    ProductRaws = new QAction(QStringLiteral("Sirovine..."), this);
    ProductPackaging = new QAction(QStringLiteral("Ambalaža ..."), this);
    ProductProducts = new QAction(QStringLiteral("Proizvodi..."), this);
    for (QAction* action : {ProductRaws, ProductPackaging, ProductProducts}) {
        auto* button = new QPushButton(action->text(), DetailsTS);
        connect(button, &QPushButton::clicked, action, &QAction::trigger);
        connect(action, &QAction::changed, button, [action, button] { button->setEnabled(action->isEnabled()); });
        buttons->addWidget(button);
    }
    buttons->addStretch();
    buttons->addWidget(loadButton);
    auto* layout = new QVBoxLayout(DetailsTS);
    layout->addLayout(grid);
    layout->addLayout(memos, 1);
    layout->addLayout(buttons);
}

void TProductDetailForm::buildRebateTab()
{
    RebateTS = new TProductRebatePage(PageControl());
    PageControl()->addTab(RebateTS, QStringLiteral("Rabat"));
}

void TProductDetailForm::buildImageTab()
{
    ImageTS = new TProductImagePage([this] { return runApply(); }, PageControl());
    PageControl()->addTab(ImageTS, QStringLiteral("Slika"));
}

void TProductDetailForm::buildKasaTab()
{
    KasaTS = new TProductKasaPage(Warehouses->KasaAddDefaultProductWarehouse(),
                                  Warehouses->KasaAddOtherProductWarehouse(), PageControl());
    PageControl()->addTab(KasaTS, QStringLiteral("Kasa"));
}

void TProductDetailForm::buildAttributeTabs()
{
    // Both forms are built; the start shows the one the options ask for.
    AttributesTS = new TProductAttributesPage(PageControl());
    PageControl()->addTab(AttributesTS, QStringLiteral("Atributi"));
    AttributesDescTS = new TProductAttributesDescPage(PageControl());
    PageControl()->addTab(AttributesDescTS, QStringLiteral("Atributi"));
    PageControl()->setTabVisible(PageControl()->indexOf(AttributesDescTS), false);
}

void TProductDetailForm::buildWorkOperationsTab()
{
    // Shown for manufactured products only.
    WorkOperationsTS = new TProductWorkOperationsPage(PageControl());
    PageControl()->addTab(WorkOperationsTS, QStringLiteral("Radne operacije"));
    PageControl()->setTabVisible(PageControl()->indexOf(WorkOperationsTS), false);
}

void TProductDetailForm::buildFixedAssetTab()
{
    // Shown for fixed assets only.
    FixedAssetTS = new TProductFixedAssetPage(PageControl());
    PageControl()->addTab(FixedAssetTS, QStringLiteral("Osnovno sredstvo"));
    PageControl()->setTabVisible(PageControl()->indexOf(FixedAssetTS), false);
}

void TProductDetailForm::buildBottomPanel()
{
    ProductCopy = new QAction(QStringLiteral("Kop&iraj"), this);
    ProductCopyButton = new QPushButton(ProductCopy->text(), BottomPanel());
    ProductCopyButton->setObjectName(QStringLiteral("ProductCopyButton"));
    connect(ProductCopyButton, &QPushButton::clicked, ProductCopy, &QAction::trigger);
    connect(ProductCopy, &QAction::changed, ProductCopyButton,
            [this] { ProductCopyButton->setEnabled(ProductCopy->isEnabled()); });
    ObjectButton = new QPushButton(QStringLiteral("O&bjekti"), BottomPanel());
    ObjectButton->setObjectName(QStringLiteral("ObjectButton"));
    if (auto* buttons = qobject_cast<QHBoxLayout*>(BottomPanel()->layout())) {
        buttons->insertWidget(0, ProductCopyButton);
        buttons->insertWidget(1, ObjectButton);
    }
}

} // namespace products
