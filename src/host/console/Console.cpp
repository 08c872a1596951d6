#include "Console.h"

#include "Dialogs.h"
#include "Error.h"

#include <QLibrary>
#include <QTableView>

namespace tarvex {

// The exports a module library offers.
using ModuleProc = void (*)();
using FactoryProc = ISnapinFactory* (*)();

struct Console::Module {
    std::unique_ptr<QLibrary> library;
    ModuleProc finalize = nullptr;
    ComPtr<ISnapinFactory> factory;
    ComPtr<ISnapin> snapin;
};

Console::Console() = default;

Console::~Console()
{
    unloadModules();
}

void Console::loadModule(const QString& libraryPath)
{
    auto module = std::make_unique<Module>();
    module->library = std::make_unique<QLibrary>(libraryPath);
    auto fail = [&](const QString& what, const QString& detail = QString()) {
        throw TarvexError(ErrorKind::Configuration, QStringLiteral("Modul %1: %2").arg(libraryPath, what), detail);
    };
    if (!module->library->load())
        fail(QStringLiteral("biblioteka ne može da se učita"), module->library->errorString());
    auto initialize = reinterpret_cast<ModuleProc>(module->library->resolve("Initialize"));
    module->finalize = reinterpret_cast<ModuleProc>(module->library->resolve("Finalize"));
    auto getFactory = reinterpret_cast<FactoryProc>(module->library->resolve("GetSnapinFactory"));
    if (!initialize || !module->finalize || !getFactory)
        fail(QStringLiteral("nema ulaznih tačaka Initialize, Finalize i GetSnapinFactory"));
    initialize();
    // The factory comes with a reference for the caller.
    module->factory = ComPtr<ISnapinFactory>::adopt(getFactory());
    if (!module->factory) {
        module->finalize();
        fail(QStringLiteral("nema fabrike"));
    }
    ISnapin* snapin = nullptr;
    if (module->factory->CreateSnapin(this, &snapin) != kOk || !snapin) {
        module->factory.reset();
        module->finalize();
        fail(QStringLiteral("fabrika nije dala modul"));
    }
    module->snapin = ComPtr<ISnapin>::adopt(snapin);
    m_modules.push_back(std::move(module));
}

void Console::unloadModules()
{
    m_activeGrid = nullptr;
    while (!m_modules.empty()) {
        std::unique_ptr<Module> module = std::move(m_modules.back());
        m_modules.pop_back();
        module->snapin.reset();
        module->factory.reset();
        module->finalize();
        module->library->unload();
    }
}

void Console::addService(const ComPtr<IInterface>& service)
{
    m_services << service;
}

QList<ComPtr<ISnapin>> Console::snapins() const
{
    QList<ComPtr<ISnapin>> list;
    for (const auto& module : m_modules)
        list << module->snapin;
    return list;
}

HResult Console::QueryInterface(const QUuid& iid, void** object)
{
    if (iid == IID_IConsole || iid == IID_IInterface) {
        *object = static_cast<IConsole*>(this);
        AddRef();
        return kOk;
    }
    *object = nullptr;
    return kNoInterface;
}

void Console::RunWizard(const QString& name, const QString& parameters)
{
    if (!m_wizards || !m_wizards(name, parameters, m_activeGrid))
        dialogs().error(QStringLiteral("Čarobnjak \"%1\" nije dostupan.").arg(name));
}

bool Console::FindService(const QUuid& iid, IInterface** service)
{
    *service = nullptr;
    void* found = nullptr;
    for (const ComPtr<IInterface>& own : m_services) {
        if (own->QueryInterface(iid, &found) == kOk && found) {
            *service = static_cast<IInterface*>(found);
            return true;
        }
    }
    for (const auto& module : m_modules) {
        if (module->snapin->QueryInterface(iid, &found) == kOk && found) {
            *service = static_cast<IInterface*>(found);
            return true;
        }
    }
    return false;
}

} // namespace tarvex
