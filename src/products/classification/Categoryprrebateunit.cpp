#include "Categoryprrebateunit.h"

#include "DBControls.h"
#include "DBGrid.h"
#include "Modal.h"
#include "Productdmunit.h"

#include <QHBoxLayout>
#include <QKeyEvent>

namespace products {

using tarvex::DBNavigator;

TCategoryPrRebateForm::TCategoryPrRebateForm(QWidget* parent) : TSmallListWindow(QStringLiteral("Rabat"), parent)
{
    tarvex::QueryDataSet& ds = *ProductDM->CategoryPrZQ;

    m_navigator = new DBNavigator(this);
    m_navigator->setVisibleButtons(DBNavigator::Post | DBNavigator::Cancel);
    m_navigator->setDataSet(&ds);
    newGrid(ds, {{QStringLiteral("maxrebate"), {}},
                 {QStringLiteral("maxmargin"), {}},
                 {QStringLiteral("webrebate"), {}},
                 {QStringLiteral("b2brebate"), {}}})
        ->installEventFilter(this);

    auto* top = new QHBoxLayout;
    top->addWidget(m_navigator);
    layOut(top, {}, {}, QSize(420, 170));
}

bool TCategoryPrRebateForm::eventFilter(QObject* watched, QEvent* event)
{
    // CategoryPrRebateDBGKeyDown: no deleting the row, no moving to or
    // appending another one.
    if (watched == grid() && event->type() == QEvent::KeyPress) {
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
