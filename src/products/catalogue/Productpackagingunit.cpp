#include "Productpackagingunit.h"

#include "DBControls.h"
#include "DBGrid.h"
#include "Dialogs.h"
#include "Getproductunit.h"
#include "Modal.h"
#include "Productdmunit.h"
#include "Reportwindow.h"
#include "WheelToArrowFilter.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

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

TProductPackagingForm::TProductPackagingForm(QWidget* parent) : tarvex::DialogWindow(parent)
{
    setWindowTitle(QStringLiteral("Ambalaža"));
    new tarvex::WheelToArrowFilter(this);
    tarvex::QueryDataSet& product = *ProductDM->ProductZQ;
    if (product.isActive() && !product.isEmpty()) {
        m_productId = qint32(product.fieldByName(QStringLiteral("productid")).asLargeInt());
        m_productName = product.fieldByName(QStringLiteral("name")).asString();
    }

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
    m_navigator->setConfirmDelete(false);
    m_navigator->setDataSet(&rows);
    m_add = new QPushButton(QStringLiteral("Dodaj ambalažu"), this);
    m_add->setAutoDefault(false);
    connect(m_add, &QPushButton::clicked, this, [this] {
        try {
            AddPackagingButtonClick();
        } catch (const std::exception& e) {
            tarvex::dialogs().showException(e);
        }
    });

    m_grid = new tarvex::DBGrid(this);
    m_grid->setObjectName(QStringLiteral("ProductPackagingDBG"));
    m_grid->setDataSet(&rows);
    m_grid->dataModel()->setColumns({{QStringLiteral("productamount"), {}},
                                     {QStringLiteral("name"), {}},
                                     {QStringLiteral("packagingamount"), {}}});
    m_grid->horizontalHeader()->setStretchLastSection(false);
    TReportWindow::StretchColumn(m_grid, QStringLiteral("name"));
    tarvex::GridSorter::AddGrid(m_grid);
    // Rows stay in the order they were read and added until a title is clicked.
    m_grid->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);

    m_print = new QPushButton(QStringLiteral("Š&tampaj"), this);
    m_print->setAutoDefault(false);
    connect(m_print, &QPushButton::clicked, this, &TProductPackagingForm::PrintButtonClick);
    m_close = new QPushButton(QStringLiteral("&Zatvori"), this);
    m_close->setAutoDefault(false);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(m_navigator);
    top->addStretch();
    top->addWidget(m_add);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(m_print);
    bottom->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);
    resize(540, 320);
    m_grid->setFocus();
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
    rows.fieldByName(QStringLiteral("productid")).setValue(m_productId);
    rows.fieldByName(QStringLiteral("packagingid")).setValue(picked.productID);
    rows.fieldByName(QStringLiteral("productamount")).setValue(1);
    rows.fieldByName(QStringLiteral("packagingamount")).setValue(1);
    setPackagingName(rows.fieldByName(QStringLiteral("name")), picked.name);
    rows.post();
}

QString TProductPackagingForm::GetPrintHeader() const
{
    // These lists print under their title alone.
    return QString();
}

void TProductPackagingForm::PrintButtonClick()
{
    TReportWindow::PrintThroughConsole(
        m_grid, TReportWindow::PrintParameters(windowTitle() + QStringLiteral(" - ") + m_productName, GetPrintHeader()));
}

void ProductPackagingManage(QWidget* owner)
{
    auto* form = new TProductPackagingForm(owner);
    tarvex::execModal(*form);
}

} // namespace products
