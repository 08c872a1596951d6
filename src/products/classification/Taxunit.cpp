#include "Taxunit.h"

#include "DBControls.h"
#include "DBGrid.h"
#include "Guarded.h"
#include "PickingLists.h"
#include "Productdmunit.h"
#include "Referencedelete.h"
#include "WheelToArrowFilter.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

namespace products {

using tarvex::DBGrid;
using tarvex::DBNavigator;
using tarvex::QueryDataSet;

namespace {

const QString kPrimary = QStringLiteral("primary");

// The columns as the list shows them.
void describeFields(QueryDataSet& taxes)
{
    taxes.declareField(QStringLiteral("name")).setDisplayLabel(QStringLiteral("Ime"));
    taxes.declareField(QStringLiteral("description")).setDisplayLabel(QStringLiteral("Opis"));
    tarvex::Field& value = taxes.declareField(QStringLiteral("value"));
    value.setDisplayLabel(QStringLiteral("Vrednost"));
    value.setDisplayFormat(QStringLiteral("0.00"));
    taxes.declareField(QStringLiteral("status")).setDisplayLabel(QStringLiteral("Status"));
}

} // namespace

TTaxForm::TTaxForm(QWidget* parent) : tarvex::PickingListWindow(parent)
{
    setWindowTitle(QStringLiteral("Porezi"));
    new tarvex::WheelToArrowFilter(this);

    m_navigator = new DBNavigator(this);
    m_default = new QPushButton(QStringLiteral("Podrazumevani"), this);
    m_default->setAutoDefault(false);
    connect(m_default, &QPushButton::clicked, this, &TTaxForm::DefaultButtonClick);

    m_grid = new DBGrid(this);
    addPickingGrid(m_grid);

    auto* header = new QHBoxLayout;
    header->addWidget(m_navigator, 1);
    header->addWidget(m_default);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addWidget(m_grid, 1);
    layout->addLayout(newButtonRow());
    resize(460, 360);

    FormCreate();
}

QueryDataSet& TTaxForm::taxes() const
{
    return *ProductDM->TaxZQ;
}

void TTaxForm::FormCreate()
{
    QueryDataSet& ds = taxes();
    describeFields(ds);
    ds.close();
    ds.open();
    m_navigator->setDataSet(&ds);
    m_navigator->setDeleteHandler([rows = &ds] { AskAndDeleteReferenceRow(*rows); });
    tarvex::showSortableColumns(m_grid, ds,
                                {QStringLiteral("name"), QStringLiteral("description"), QStringLiteral("value")});
    // The default rate is shown only here: its row on silver.
    m_grid->dataModel()->setRowPainter(
        tarvex::DataSetModel::rowsWhere(QStringLiteral("status"), kPrimary, QColor(0xC0, 0xC0, 0xC0)));
    m_grid->setFocus();
    setPicking(false);
}

bool TTaxForm::hasPick() const
{
    return !taxes().isEmpty();
}

void TTaxForm::DefaultButtonClick()
{
    QueryDataSet& ds = taxes();
    tarvex::guarded([&] {
        if (ds.isEmpty() || ds.fieldByName(QStringLiteral("status")).asString() == kPrimary)
            return;
        ds.checkBrowseMode();
        const qint64 id = ds.fieldByName(QStringLiteral("taxid")).asLargeInt();
        ProductDM->MakePrimary(ds, QStringLiteral("taxid"), id);
        ProductDM->SetDefaultTaxID(qint32(id));
    });
}

bool GetTax(qint32& TaxID, QString& Name, double& Value, bool ByID)
{
    QueryDataSet& ds = *ProductDM->TaxZQ;
    if (ByID) {
        // A rate changed meanwhile is seen at once.
        if (!tarvex::locateAfresh(ds, QStringLiteral("taxid"), TaxID))
            return false;
    } else {
        if (!tarvex::pickIn<TTaxForm>() || ds.isEmpty())
            return false;
        TaxID = qint32(ds.fieldByName(QStringLiteral("taxid")).asLargeInt());
    }
    Name = ds.fieldByName(QStringLiteral("name")).asString();
    Value = ds.fieldByName(QStringLiteral("value")).asFloat();
    return true;
}

void TaxManage()
{
    tarvex::administerIn<TTaxForm>();
}

} // namespace products
