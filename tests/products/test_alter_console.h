#pragma once
// The console for the alternatives and list window tests: the host's console
// with the recording product service, recording the print wizard runs with
// the grid they printed.

#include "Console.h"
#include "Productsnapin.h"
#include "RecordingProductService.h"

namespace altertest {

using namespace tarvex;
using tarvex::test::RecordingProductService;

// The module's console while it exists.
class TestConsole {
public:
    struct Wizard {
        QString name;
        QString parameters;
        QTableView* grid = nullptr;
    };

    explicit TestConsole(bool offerProducts = true) : m_kept(products::GlobalConsole)
    {
        if (offerProducts)
            console.addService(ComPtr<IInterface>(m_products.get()));
        console.setWizardRunner([this](const QString& name, const QString& parameters, QTableView* grid) {
            wizards << Wizard{name, parameters, grid};
            return true;
        });
        products::GlobalConsole = ComPtr<IConsole>(&console);
    }
    ~TestConsole() { products::GlobalConsole = m_kept; }

    RecordingProductService& products() { return *m_products.get(); }

    Console console;
    QList<Wizard> wizards;

private:
    ComPtr<RecordingProductService> m_products{new RecordingProductService};
    ComPtr<IConsole> m_kept;
};

} // namespace altertest
