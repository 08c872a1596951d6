#include "Productpackagingunit.h"

#include "DBControls.h"
#include "DBGrid.h"
#include "Dialogs.h"
#include "Getproductunit.h"
#include "Guarded.h"
#include "Modal.h"
#include "Productdmunit.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace products {

namespace {

tarvex::QueryDataSet& packaging()
{
    return *ProductDM->ProductPackagingZQ;
}

// The packaging name is the packaging product's, never typed in the grid,
// but a new row takes it from the picked product.
void setPackagingName(tarvex::Field& name, const QString& text)
{
    name.setReadOnly(false);
    try {
        name.setValue(text);
    } catch (...) {
        name.setReadOnly(true);
        throw;
    }
    name.setReadOnly(true);
}

} // namespace

TProductPackagingForm::TProductPackagingForm(QWidget* parent)
    : TProductListWindow(QStringLiteral("Ambalaža"), parent)
{
    tarvex::QueryDataSet& rows = packaging();
    tarvex::Field& amount = rows.declareField(QStringLiteral("productamount"));
    amount.setDisplayLabel(QStringLiteral("Količina"));
    amount.setDisplayFormat(QStringLiteral("0.######"));
    tarvex::Field& packagingAmount = rows.declareField(QStringLiteral("packagingamount"));
    packagingAmount.setDisplayLabel(QStringLiteral("Količina ambalaže"));
    packagingAmount.setDisplayFormat(QStringLiteral("0.######"));
    tarvex::Field& name = rows.declareField(QStringLiteral("name"));
    name.setDisplayLabel(QStringLiteral("Naziv ambalaže"));
    name.setReadOnly(true);

    m_navigator = new tarvex::DBNavigator(this);
    m_navigator->setVisibleButtons(tarvex::DBNavigator::First | tarvex::DBNavigator::Prior | tarvex::DBNavigator::Next |
                                   tarvex::DBNavigator::Last | tarvex::DBNavigator::Delete | tarvex::DBNavigator::Post |
                                   tarvex::DBNavigator::Cancel);
    m_navigator->setDataSet(&rows);
    m_add = newButton(QStringLiteral("Dodaj ambalažu"));
    connect(m_add, &QPushButton::clicked, this, tarvex::guardedSlot([this] { AddPackagingButtonClick(); }));

    newGrid(rows,
            {{QStringLiteral("productamount"), {}}, {QStringLiteral("name"), {}}, {QStringLiteral("packagingamount"), {}}},
            QStringLiteral("name"))
        ->setObjectName(QStringLiteral("ProductPackagingDBG"));

    auto* top = new QHBoxLayout;
    top->addWidget(m_navigator);
    top->addStretch();
    top->addWidget(m_add);
    layOut(top, QSize(540, 320), false);
}

void TProductPackagingForm::AddPackagingButtonClick()
{
    tarvex::TProductDesc picked;
    if (!ProductGet(picked))
        return;
    tarvex::QueryDataSet& rows = packaging();
    if (rows.state() == tarvex::DataSetState::Insert)
        rows.cancel();
    for (int row = 0; row < rows.recordCount(); ++row)
        if (rows.valueAt(row, rows.fieldByName(QStringLiteral("packagingid")).index()).toLongLong() == picked.productID)
            return;
    rows.append();
    rows.fieldByName(QStringLiteral("productid")).setValue(productId());
    rows.fieldByName(QStringLiteral("packagingid")).setValue(picked.productID);
    rows.fieldByName(QStringLiteral("productamount")).setValue(1);
    rows.fieldByName(QStringLiteral("packagingamount")).setValue(1);
    setPackagingName(rows.fieldByName(QStringLiteral("name")), picked.name);
    rows.post();
}

void ProductPackagingManage(QWidget* owner)
{
    auto* form = new TProductPackagingForm(owner);
    tarvex::execModal(*form);
}

} // namespace products
