#include "Productregistration.h"

#include "Productdmunit.h"
#include "Productsnapin.h"

namespace products {

namespace {

tarvex::ComPtr<tarvex::ISnapinFactory> g_factory;

void dataModuleInitialize()
{
    ProductDM = new TProductDM;
    ProductDM->DataModuleCreate();
}

void dataModuleFinalize()
{
    delete ProductDM;
    ProductDM = nullptr;
}

void registrationInitialize()
{
    g_factory = tarvex::ComPtr<tarvex::ISnapinFactory>(new TProductSnapinFactory);
}

void registrationFinalize()
{
    g_factory.reset();
    GlobalConsole.reset();
}

// Start-up runs in this order, shut-down in the reverse one.
const PackageUnitInfo kUnits[] = {
    {"Productdmunit", &dataModuleInitialize, &dataModuleFinalize},
    {"Productregistration", &registrationInitialize, &registrationFinalize},
};
const PackageInfoTable kTable{int(std::size(kUnits)), kUnits};

} // namespace

tarvex::HResult TProductSnapinFactory::CreateSnapin(tarvex::IConsole* console, tarvex::ISnapin** snapin)
{
    if (!m_snapin)
        m_snapin = tarvex::ComPtr<tarvex::ISnapin>(new TProductSnapin(console));
    m_snapin->AddRef();
    *snapin = m_snapin.get();
    GlobalConsole = tarvex::ComPtr<tarvex::IConsole>(console);
    return tarvex::kOk;
}

} // namespace products

using namespace products;

void Initialize()
{
    for (int i = 0; i < kTable.count; ++i)
        kTable.units[i].initialize();
}

void Finalize()
{
    for (int i = kTable.count - 1; i >= 0; --i)
        kTable.units[i].finalize();
}

tarvex::ISnapinFactory* GetSnapinFactory()
{
    if (g_factory)
        g_factory->AddRef();
    return g_factory.get();
}

tarvex::ISnapinFactory* Productregistration_GetSnapinFactory()
{
    return GetSnapinFactory();
}

const PackageInfoTable* GetPackageInfoTable()
{
    return &kTable;
}
