#include "Categoryprattributeunit.h"

#include "Attributeunit.h"
#include "DBControls.h"
#include "DBGrid.h"
#include "Dialogs.h"
#include "Guarded.h"
#include "Modal.h"
#include "Productdmunit.h"
#include "Productresourcestring.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace products {

using tarvex::DBNavigator;

TCategoryPrAttributeForm::TCategoryPrAttributeForm(QWidget* parent) : TSmallListWindow(QStringLiteral("Atributi"), parent)
{
    tarvex::QueryDataSet& ds = *ProductDM->CategoryPrAttributeZQ;
    // A new row keeps the empty value the database gives it; the required
    // check would take that for a missing value and refuse every row added.
    ds.declareField(QStringLiteral("catattributevalue")).setRequired(false);

    m_navigator = new DBNavigator(this);
    m_navigator->setVisibleButtons(DBNavigator::First | DBNavigator::Prior | DBNavigator::Next | DBNavigator::Last |
                                   DBNavigator::Delete);
    m_navigator->setDataSet(&ds);
    m_add = newButton(QStringLiteral("Dodaj"));
    connect(m_add, &QPushButton::clicked, this, &TCategoryPrAttributeForm::AddButtonClick);

    newGrid(ds, {{QStringLiteral("catattribute"), {}}})->setEditTriggers(QAbstractItemView::NoEditTriggers);

    auto* header = new QHBoxLayout;
    header->addWidget(m_navigator, 1);
    header->addWidget(m_add);
    layOut(header, {}, {}, QSize(340, 260));
}

void TCategoryPrAttributeForm::AddButtonClick()
{
    tarvex::QueryDataSet& ds = *ProductDM->CategoryPrAttributeZQ;
    if (ds.recordCount() >= MaxAttributes) {
        tarvex::dialogs().error(CAT_MAX_ATTRIBUTE_ERR);
        return;
    }
    qint32 attributeId = 0;
    qint32 valueId = 0;
    QString attribute;
    QString value;
    bool required = false;
    if (!GetAttribute(attributeId, attribute, required, valueId, value, false))
        return;
    // The picked value is not kept: the row names the attribute only.
    const tarvex::QueryDataSet& category = *ProductDM->CategoryPrZQ;
    const QVariant categoryId = category.isActive() && !category.isEmpty()
                                    ? category.fieldByName(QStringLiteral("categoryprid")).value()
                                    : ds.param(QStringLiteral("idcategorypr"));
    tarvex::guarded([&] {
        try {
            ds.append();
            ds.fieldByName(QStringLiteral("categoryprid")).setValue(categoryId);
            ds.fieldByName(QStringLiteral("attributeprid")).setValue(attributeId);
            ds.fieldByName(QStringLiteral("catattribute")).setValue(attribute);
            ds.post();
        } catch (...) {
            // This window has no way to finish a refused row: drop it before
            // the message shows.
            if (ds.isEditing())
                ds.cancel();
            throw;
        }
    });
}

void CategoryPrAttributeManage(qint32 CategoryID)
{
    for (tarvex::QueryDataSet* ds : {ProductDM->CategoryPrZQ, ProductDM->CategoryPrAttributeZQ}) {
        ds->close();
        ds->setParam(QStringLiteral("idcategorypr"), CategoryID);
        ds->open();
        ds->first();
    }
    auto* form = new TCategoryPrAttributeForm;
    tarvex::execModal(*form);
}

} // namespace products
