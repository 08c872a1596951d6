#include "Productrebatepage.h"

#include "DBControls.h"
#include "DBGrid.h"
#include "PickListDelegate.h"
#include "Productcachedlists.h"
#include "Productdmunit.h"

#include <QHeaderView>
#include <QVBoxLayout>

namespace products {

TProductRebatePage::TProductRebatePage(QWidget* parent)
    : QWidget(parent), m_newRows(std::make_unique<NewRowsOfProduct>(*ProductDM->ProductRebateZQ))
{
    setObjectName(QStringLiteral("RebateTS"));
    QueryDataSet& rebates = *ProductDM->ProductRebateZQ;
    struct Column {
        const char* field;
        const char* caption;
        const char* format;
    };
    QList<tarvex::DataSetModel::Column> columns;
    for (const Column& column : {Column{"quantity", "Količina", "0.###"}, Column{"rebate", "Rabat", "0.00##"},
                                 Column{"rebatetype", "TR", ""}}) {
        tarvex::Field& field = rebates.declareField(QString::fromUtf8(column.field));
        field.setDisplayLabel(QString::fromUtf8(column.caption));
        field.setDisplayFormat(QString::fromUtf8(column.format));
        columns.append({field.fieldName(), QString()});
    }

    m_grid = new tarvex::DBGrid(this);
    m_grid->setObjectName(QStringLiteral("RebateDBG"));
    m_grid->setDataSet(&rebates);
    m_grid->dataModel()->setColumns(columns);
    m_grid->horizontalHeader()->setMinimumSectionSize(90);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->verticalHeader()->setDefaultSectionSize(22);
    m_grid->verticalHeader()->hide();
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
