#pragma once
// The console: loads the snap-in modules, keeps the services other modules
// find by identifier, runs the wizards and remembers the grid they work on.

#include "Tarvexinterfaces.h"

#include <QList>
#include <QPointer>
#include <QTableView>
#include <QWidget>
#include <QString>
#include <functional>
#include <memory>

class QLibrary;

namespace tarvex {

class Console final : public IConsole {
public:
    // Runs a wizard by its host name; false when there is no such wizard.
    using WizardRunner = std::function<bool(const QString& name, const QString& parameters, QTableView* grid)>;

    Console();
    ~Console();
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    // Loads a module library: Initialize, then its factory's snap-in.
    // Throws a Configuration error naming the library and what failed.
    void loadModule(const QString& libraryPath);
    // Releases the snap-ins and factories, then finalizes and unloads the
    // modules, the last loaded first.
    void unloadModules();

    // A service the console itself offers (the sibling stand-ins).
    void addService(const ComPtr<IInterface>& service);
    void setWizardRunner(WizardRunner runner) { m_wizards = std::move(runner); }
    void setMainWindow(QWidget* window) { m_mainWindow = window; }

    QList<ComPtr<ISnapin>> snapins() const;

    // IConsole. The console lives as long as the program: references are
    // counted but never free it.
    HResult QueryInterface(const QUuid& iid, void** object) override;
    int AddRef() override { return ++m_refs; }
    int Release() override { return --m_refs; }
    QWidget* MainWindow() override { return m_mainWindow; }
    void RunWizard(const QString& name, const QString& parameters) override;
    void Reserved5() override {}
    void Reserved6() override {}
    void Reserved7() override {}
    QTableView* GetActiveGrid() override { return m_activeGrid; }
    void Reserved9() override {}
    void Reserved10() override {}
    void Reserved11() override {}
    void Reserved12() override {}
    void Reserved13() override {}
    bool FindService(const QUuid& iid, IInterface** service) override;
    void Reserved15() override {}
    void Reserved16() override {}
    void Reserved17() override {}
    void Reserved18() override {}
    void Reserved19() override {}
    void Reserved20() override {}
    void Reserved21() override {}
    void Reserved22() override {}
    void Reserved23() override {}
    void Reserved24() override {}
    void Reserved25() override {}
    void SetActiveGrid(QTableView* grid) override { m_activeGrid = grid; }

private:
    struct Module;

    std::vector<std::unique_ptr<Module>> m_modules;
    QList<ComPtr<IInterface>> m_services;
    WizardRunner m_wizards;
    QPointer<QWidget> m_mainWindow;
    QPointer<QTableView> m_activeGrid;
    int m_refs = 0;
};

} // namespace tarvex
