#pragma once
// The console for the alternatives and list window tests: the host's console
// with a product service whose picker answers with a scripted product (or a
// cancel), recording the print wizard runs with the grid they printed.

#include "Console.h"
#include "Productsnapin.h"

#include <optional>

namespace altertest {

using namespace tarvex;

class PickingService final : public ComObject<IProductService, IID_IProductService> {
public:
    bool GetProduct(TProductDesc& desc) override
    {
        ++picks;
        if (answer)
            desc = *answer;
        return bool(answer);
    }
    TProductDescArr GetProduct(const QString&, bool, bool) override { return {}; }
    bool GetProduct(const QString&, TProductDesc&) override { return false; }
    bool GetProduct(qint32, qint32, TProductDesc&) override { return false; }
    TProductDescArr GetProductAll(qint32, TDoubleArray&) override { return {}; }
    double GetProductPrice(qint32, qint32) override { return 0; }
    double GetProductAmount(qint32, qint32) override { return 0; }
    QString GetProductCurrency(qint32) override { return {}; }
    bool GetProductAttribute(const QString&, TProductDesc&, qint32&) override { return false; }
    bool GetProduct(TProductDescArr&) override { return false; }
    void OpenProduct(qint32, qint32) override {}

    // The product the user picks; none: the user cancels.
    void pick(qint32 productId)
    {
        answer = TProductDesc{};
        answer->productID = productId;
    }
    std::optional<TProductDesc> answer;
    int picks = 0;
};

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

    PickingService& products() { return *m_products.get(); }

    Console console;
    QList<Wizard> wizards;

private:
    ComPtr<PickingService> m_products{new PickingService};
    ComPtr<IConsole> m_kept;
};

} // namespace altertest
