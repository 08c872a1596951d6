#include "Productintf.h"
#include "Siblingintf.h"

#include <gtest/gtest.h>

using namespace tarvex;

namespace {

// Counts its references and lives on the stack: the last release frees nothing.
class Counted final : public ComObject<ITaxService, IID_ITaxService> {
public:
    int refs = 0;
    int AddRef() override { return ++refs; }
    int Release() override { return --refs; }
    bool GetTax(qint32&, QString&, double&, bool) override { return false; }
};

} // namespace

TEST(Interfaces, SmartPointerBalancesReferencesAndSlotsHoldInTheVirtualTable)
{
    Counted object;
    {
        ComPtr<ITaxService> a(&object);
        EXPECT_EQ(object.refs, 1);
        ComPtr<ITaxService> b = a;
        EXPECT_EQ(object.refs, 2);
        ComPtr<IInterface> base = a.query<IInterface>(IID_IInterface);
        EXPECT_EQ(object.refs, 3);
        EXPECT_FALSE(a.query<IProductService>(IID_IProductService));
        EXPECT_EQ(object.refs, 3);
        ComPtr<ITaxService> moved = std::move(b);
        EXPECT_EQ(object.refs, 3);
    }
    EXPECT_EQ(object.refs, 0);

    // Other modules call by slot number; these are the numbers they rely on.
    using Pick = bool (IProductService::*)(TProductDesc&);
    using Search = TProductDescArr (IProductService::*)(const QString&, bool, bool);
    using ByBarcode = bool (IProductService::*)(const QString&, TProductDesc&);
    using ById = bool (IProductService::*)(qint32, qint32, TProductDesc&);
    using PickMany = bool (IProductService::*)(TProductDescArr&);
    using Short = bool (IWarehouseService::*)(qint32&, QString&, bool);
    using Full = bool (IWarehouseService::*)(TWarehouseDesc&, bool);
    const std::pair<int, int> numbers[] = {
        {vtableSlot(&IInterface::QueryInterface), 0}, {vtableSlot(&IInterface::AddRef), 1},
        {vtableSlot(&IInterface::Release), 2}, {vtableSlot(&IConsole::RunWizard), 4},
        {vtableSlot(&IConsole::GetActiveGrid), 8}, {vtableSlot(&IConsole::FindService), 14},
        {vtableSlot(&IConsole::SetActiveGrid), 26}, {vtableSlot(&ISnapinFactory::CreateSnapin), 3},
        {vtableSlot(&IOptionsTab::CreateFrame), 3}, {vtableSlot(&IOptionsTab::GetTabCaption), 7},
        {vtableSlot(Pick(&IProductService::GetProduct)), 3}, {vtableSlot(Search(&IProductService::GetProduct)), 4},
        {vtableSlot(ByBarcode(&IProductService::GetProduct)), 5}, {vtableSlot(ById(&IProductService::GetProduct)), 6},
        {vtableSlot(&IProductService::GetProductAll), 7}, {vtableSlot(&IProductService::GetProductCurrency), 10},
        {vtableSlot(&IProductService::GetProductAttribute), 11}, {vtableSlot(PickMany(&IProductService::GetProduct)), 12},
        {vtableSlot(&IProductService::OpenProduct), 13}, {vtableSlot(&ITaxService::GetTax), 3},
        {vtableSlot(Short(&IWarehouseService::GetWarehouse)), 3}, {vtableSlot(Full(&IWarehouseService::GetWarehouse)), 4},
        {vtableSlot(&ICategoryPrService::GetCatPathsToIDs), 4}, {vtableSlot(&ISecurityService::GetConnection), 5},
        {vtableSlot(&ISecurityService::RefreshSession), 10}, {vtableSlot(&IDocumentService::OpenDocument), 4},
        {vtableSlot(&ICurrencyService::GetCurrency), 3}, {vtableSlot(&IProductionService::ShowRawMaterials), 3},
        {vtableSlot(&IDepreciationGroupService::GetGroup), 3}, {vtableSlot(&IObjectService::ShowObjects), 4},
    };
    for (size_t i = 0; i < std::size(numbers); ++i)
        EXPECT_EQ(numbers[i].first, numbers[i].second) << "entry " << i;
}
