#include "Productrebatepage.h"

#include "DBControls.h"
#include "DBGrid.h"
#include "Pagegrid.h"
#include "PickListDelegate.h"
#include "Productcachedlists.h"
#include "Productdmunit.h"

#include <QVBoxLayout>

namespace products {

TProductRebatePage::TProductRebatePage(QWidget* parent)
    : QWidget(parent), m_newRows(std::make_unique<NewRowsOfProduct>(*ProductDM->ProductRebateZQ))
{
    setObjectName(QStringLiteral("RebateTS"));
    QueryDataSet& rebates = *ProductDM->ProductRebateZQ;
    const auto columns = tarvex::declareColumns(
        rebates, {{"quantity", "Količina", "0.###"}, {"rebate", "Rabat", "0.00##"}, {"rebatetype", "TR", ""}});
    m_grid = newPageGrid(this, QStringLiteral("RebateDBG"), rebates, columns, 90);
    auto* types = new tarvex::PickListDelegate(m_grid);
    types->setPickList(QStringLiteral("rebatetype"), {QStringLiteral("P"), QStringLiteral("I"), QStringLiteral("T")});

    m_navigator = new tarvex::DBNavigator(this);
    m_navigator->setObjectName(QStringLiteral("RebateNavigator"));
    m_navigator->setDataSet(&rebates);
    m_navigator->setVisibleButtons(tarvex::DBNavigator::All);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_navigator, 0, Qt::AlignLeft);
    layout->addWidget(m_grid, 1);
}

TProductRebatePage::~TProductRebatePage() = default;

} // namespace products
