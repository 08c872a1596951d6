#include "Categoryprrebateunit.h"

#include "DBControls.h"
#include "DBGrid.h"
#include "Modal.h"
#include "Productdmunit.h"
#include "WheelToArrowFilter.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace products {

using tarvex::DBGrid;
using tarvex::DBNavigator;

TCategoryPrRebateForm::TCategoryPrRebateForm(QWidget* parent) : tarvex::DialogWindow(parent)
{
    setWindowTitle(QStringLiteral("Rabat"));
    new tarvex::WheelToArrowFilter(this);
    tarvex::QueryDataSet& ds = *ProductDM->CategoryPrZQ;

    m_navigator = new DBNavigator(this);
    m_navigator->setVisibleButtons(DBNavigator::Post | DBNavigator::Cancel);
    m_navigator->setDataSet(&ds);
    m_grid = new DBGrid(this);
    m_grid->setDataSet(&ds);
    m_grid->dataModel()->setColumns({{QStringLiteral("maxrebate"), {}},
                                     {QStringLiteral("maxmargin"), {}},
                                     {QStringLiteral("webrebate"), {}},
                                     {QStringLiteral("b2brebate"), {}}});
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->installEventFilter(this);

    m_close = new QPushButton(QStringLiteral("&Zatvori"), this);
    m_close->setDefault(true);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_navigator);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);
    resize(420, 170);
    m_grid->setFocus();
}

bool TCategoryPrRebateForm::eventFilter(QObject* watched, QEvent* event)
{
    // CategoryPrRebateDBGKeyDown: no deleting the row, no moving to or
    // appending another one.
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool ctrlDelete = key->key() == Qt::Key_Delete && (key->modifiers() & Qt::ControlModifier);
        if (ctrlDelete || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Down)
            return true;
    }
    return tarvex::DialogWindow::eventFilter(watched, event);
}

void CategoryPrRebateManage(qint32 CategoryID)
{
    tarvex::QueryDataSet& ds = *ProductDM->CategoryPrZQ;
    ds.close();
    ds.setParam(QStringLiteral("idcategorypr"), CategoryID);
    ds.open();
    ds.first();
    auto* form = new TCategoryPrRebateForm;
    tarvex::execModal(*form);
}

} // namespace products
