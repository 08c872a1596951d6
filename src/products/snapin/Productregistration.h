#pragma once
// The module's entry: start-up and shut-down in their order (the data module
// first and last), and the factory that hands the console its snap-in.

#include "Tarvexinterfaces.h"

namespace products {

class TProductSnapinFactory final : public tarvex::ComObject<tarvex::ISnapinFactory, tarvex::IID_ISnapinFactory> {
public:
    // The same snap-in for every request; the console of the latest one is kept.
    tarvex::HResult CreateSnapin(tarvex::IConsole* console, tarvex::ISnapin** snapin) override;

private:
    tarvex::ComPtr<tarvex::ISnapin> m_snapin;
};

// One unit's start-up and shut-down step.
struct PackageUnitInfo {
    const char* unit;
    void (*initialize)();
    void (*finalize)();
};

struct PackageInfoTable {
    int count;
    const PackageUnitInfo* units;
};

} // namespace products

extern "C" {
Q_DECL_EXPORT void Initialize();
Q_DECL_EXPORT void Finalize();
// The factory with a reference for the caller.
Q_DECL_EXPORT tarvex::ISnapinFactory* GetSnapinFactory();
Q_DECL_EXPORT tarvex::ISnapinFactory* Productregistration_GetSnapinFactory();
Q_DECL_EXPORT const products::PackageInfoTable* GetPackageInfoTable();
}
