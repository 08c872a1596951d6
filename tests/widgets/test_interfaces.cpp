#include "Productintf.h"
#include "Siblingintf.h"

#include <gtest/gtest.h>

using namespace tarvex;

// Other modules call by slot number; these are the numbers they rely on.
TEST(Interfaces, ConsoleSlotsHoldInTheVirtualTable)
{
    EXPECT_EQ(vtableSlot(&IInterface::QueryInterface), 0);
    EXPECT_EQ(vtableSlot(&IInterface::AddRef), 1);
    EXPECT_EQ(vtableSlot(&IInterface::Release), 2);
    EXPECT_EQ(vtableSlot(&IConsole::RunWizard), 4);
    EXPECT_EQ(vtableSlot(&IConsole::GetActiveGrid), 8);
    EXPECT_EQ(vtableSlot(&IConsole::FindService), 14);
    EXPECT_EQ(vtableSlot(&IConsole::SetActiveGrid), 26);
    EXPECT_EQ(vtableSlot(&ISnapinFactory::CreateSnapin), 3);
    EXPECT_EQ(vtableSlot(&IOptionsTab::CreateFrame), 3);
    EXPECT_EQ(vtableSlot(&IOptionsTab::GetTabCaption), 7);
}

TEST(Interfaces, ServiceOperationsKeepTheirOrder)
{
    using Pick = bool (IProductService::*)(TProductDesc&);
    using Search = TProductDescArr (IProductService::*)(const QString&, bool, bool);
    using ByBarcode = bool (IProductService::*)(const QString&, TProductDesc&);
    using ById = bool (IProductService::*)(qint32, qint32, TProductDesc&);
    using PickMany = bool (IProductService::*)(TProductDescArr&);
    EXPECT_EQ(vtableSlot(Pick(&IProductService::GetProduct)), 3);
    EXPECT_EQ(vtableSlot(Search(&IProductService::GetProduct)), 4);
    EXPECT_EQ(vtableSlot(ByBarcode(&IProductService::GetProduct)), 5);
    EXPECT_EQ(vtableSlot(ById(&IProductService::GetProduct)), 6);
    EXPECT_EQ(vtableSlot(&IProductService::GetProductAll), 7);
    EXPECT_EQ(vtableSlot(&IProductService::GetProductCurrency), 10);
    EXPECT_EQ(vtableSlot(&IProductService::GetProductAttribute), 11);
    EXPECT_EQ(vtableSlot(PickMany(&IProductService::GetProduct)), 12);
    EXPECT_EQ(vtableSlot(&IProductService::OpenProduct), 13);
    EXPECT_EQ(vtableSlot(&ITaxService::GetTax), 3);
    using Short = bool (IWarehouseService::*)(qint32&, QString&, bool);
    using Full = bool (IWarehouseService::*)(TWarehouseDesc&, bool);
    EXPECT_EQ(vtableSlot(Short(&IWarehouseService::GetWarehouse)), 3);
    EXPECT_EQ(vtableSlot(Full(&IWarehouseService::GetWarehouse)), 4);
    EXPECT_EQ(vtableSlot(&ICategoryPrService::GetCatPathsToIDs), 4);
}

TEST(Interfaces, SiblingServicesAreCalledInTheirSlots)
{
    EXPECT_EQ(vtableSlot(&ISecurityService::GetConnection), 5);
    EXPECT_EQ(vtableSlot(&ISecurityService::RefreshSession), 10);
    EXPECT_EQ(vtableSlot(&IDocumentService::OpenDocument), 4);
    EXPECT_EQ(vtableSlot(&ICurrencyService::GetCurrency), 3);
    EXPECT_EQ(vtableSlot(&IProductionService::ShowRawMaterials), 3);
    EXPECT_EQ(vtableSlot(&IDepreciationGroupService::GetGroup), 3);
    EXPECT_EQ(vtableSlot(&IObjectService::ShowObjects), 4);
}

namespace {

class Counted final : public ITaxService {
public:
    int refs = 0;
    HResult QueryInterface(const QUuid& iid, void** object) override
    {
        if (iid == IID_ITaxService || iid == IID_IInterface) {
            *object = static_cast<ITaxService*>(this);
            AddRef();
            return kOk;
        }
        *object = nullptr;
        return kNoInterface;
    }
    int AddRef() override { return ++refs; }
    int Release() override { return --refs; }
    bool GetTax(qint32&, QString&, double&, bool) override { return false; }
};

} // namespace

TEST(Interfaces, SmartPointerBalancesReferences)
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
}
