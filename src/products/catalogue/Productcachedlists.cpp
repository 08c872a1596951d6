#include "Productcachedlists.h"
#include "Productsave.h"

#include "Productdmunit.h"
#include "WriteRetry.h"

namespace products {

namespace {

// Controls follow the dataset again however the work ends.
class SuspendedControls {
public:
    explicit SuspendedControls(tarvex::DataSet& rows) : m_rows(rows) { m_rows.disableControls(); }
    ~SuspendedControls() { m_rows.enableControls(); }
    SuspendedControls(const SuspendedControls&) = delete;
    SuspendedControls& operator=(const SuspendedControls&) = delete;

private:
    tarvex::DataSet& m_rows;
};

} // namespace

void OpenCachedList(tarvex::QueryDataSet& rows, qint64 productId, const QString& sortFields)
{
    SuspendedControls suspended(rows);
    rows.close();
    rows.setParam(QStringLiteral("idproduct"), productId);
    rows.open();
    // A row typed in or moved goes to its place in the list's order.
    rows.setKeepSorted(true);
    rows.setSortedFields(sortFields);
    rows.first();
}

void ApplyCachedList(tarvex::QueryDataSet& rows, qint64 productId)
{
    // The list's rows go in together, under the write policy.
    tarvex::writeTransaction(*ProductDM->ZConnection(), [&] { Productsave::applyCachedList(rows, productId); },
                             QStringLiteral("Product list rows"));
}

NewRowsOfProduct::NewRowsOfProduct(tarvex::QueryDataSet& rows) : m_rows(rows), m_previous(rows.events().onNewRecord)
{
    m_rows.events().onNewRecord = [previous = m_previous](tarvex::DataSet& row) {
        if (previous)
            previous(row);
        const tarvex::Field& product = ProductDM->ProductZQ->fieldByName(QStringLiteral("productid"));
        row.fieldByName(QStringLiteral("productid")).setValue(product.isNull() ? 0 : product.asLargeInt());
    };
}

NewRowsOfProduct::~NewRowsOfProduct()
{
    m_rows.events().onNewRecord = m_previous;
}

void WorkingOperationApply(qint64 productId)
{
    ApplyCachedList(*ProductDM->ProductWorkingOperationZQ, productId);
}

void OpenPackaging(qint64 productId)
{
    OpenCachedList(*ProductDM->ProductPackagingZQ, productId);
}

void PackagingApply(qint64 productId)
{
    ApplyCachedList(*ProductDM->ProductPackagingZQ, productId);
}

void OpenRebate(qint64 productId)
{
    OpenCachedList(*ProductDM->ProductRebateZQ, productId, QStringLiteral("quantity"));
}

void RebateApply(qint64 productId)
{
    ApplyCachedList(*ProductDM->ProductRebateZQ, productId);
}

} // namespace products
