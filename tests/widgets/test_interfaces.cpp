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

TEST(Interfaces, IdentifiersAreTheOnesOtherModulesAskFor)
{
    EXPECT_EQ(IID_IProductService, QUuid(QStringLiteral("{0C33E181-9974-44A7-86FB-422B454F6ED8}")));
    EXPECT_EQ(IID_ITaxService, QUuid(QStringLiteral("{BBD30C79-B1E1-4D25-9647-0688B708AC02}")));
    EXPECT_EQ(IID_IWarehouseService, QUuid(QStringLiteral("{AB67CF11-68E8-4231-95E5-96D5A1D9F173}")));
    EXPECT_EQ(IID_ICategoryPrService, QUuid(QStringLiteral("{B5D10788-CBBB-49B0-A5C9-501B4FAF7E43}")));
    EXPECT_EQ(IID_IOptionsTab, QUuid(QStringLiteral("{29280858-1CC9-415D-B0E5-4668E3CCEC11}")));
    EXPECT_EQ(IID_INavigable, QUuid(QStringLiteral("{AAFF7BDF-545F-48E3-9486-9655678906C3}")));
    EXPECT_EQ(IID_IViewer, QUuid(QStringLiteral("{308DC058-773F-4EB7-A04E-6772C8A35D60}")));
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
    EXPECT_EQ(IID_ISecurityService, QUuid(QStringLiteral("{3495C3AC-F17F-440C-8571-96AAA091CAF2}")));
    EXPECT_EQ(IID_IDocumentService, QUuid(QStringLiteral("{F0D1EC42-35DC-4A4C-A783-CBC6F7FFD556}")));
    EXPECT_EQ(IID_ICurrencyService, QUuid(QStringLiteral("{D8BF9324-78F4-4730-B506-A74DE8E004EC}")));
    EXPECT_EQ(IID_IProductionService, QUuid(QStringLiteral("{80E938BB-F858-4EDD-BF7C-D40618E8B05E}")));
    EXPECT_EQ(IID_IDepreciationGroupService, QUuid(QStringLiteral("{C78A2D04-DE79-4DAD-8075-FB8E88A1E741}")));
    EXPECT_EQ(IID_IDepreciationAccountingGroupService, QUuid(QStringLiteral("{933AD56D-2354-4DBF-A4E1-E1F177ABE00A}")));
    EXPECT_EQ(IID_IObjectService, QUuid(QStringLiteral("{416CA5C8-75BA-435A-B157-B12DBFEF43E2}")));
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
