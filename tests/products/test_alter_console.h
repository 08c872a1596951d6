#pragma once
// A console for the alternatives and list window tests: a product service
// whose picker answers with a scripted product (or a cancel), and the print
// wizard recorded with the grid it printed.

#include "Productsnapin.h"
#include "test_stockreports_console.h"

#include <optional>

namespace altertest {

using namespace tarvex;

class PickingService final : public stocktest::Counted<IProductService> {
public:
    bool GetProduct(TProductDesc& desc) override
    {
        ++picks;
        if (!answer)
            return false;
        desc = *answer;
        return true;
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

class Console final : public stocktest::Counted<IConsole> {
public:
    struct Wizard {
        QString name;
        QString parameters;
        QTableView* grid = nullptr;
    };

    QWidget* MainWindow() override { return nullptr; }
    void RunWizard(const QString& name, const QString& parameters) override { wizards << Wizard{name, parameters, active}; }
    void Reserved5() override {}
    void Reserved6() override {}
    void Reserved7() override {}
    QTableView* GetActiveGrid() override { return active; }
    void Reserved9() override {}
    void Reserved10() override {}
    void Reserved11() override {}
    void Reserved12() override {}
    void Reserved13() override {}
    bool FindService(const QUuid& iid, IInterface** service) override
    {
        IInterface* found = iid == IID_IProductService && offerProducts ? &products : nullptr;
        if (found)
            found->AddRef();
        *service = found;
        return found != nullptr;
    }
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
    void SetActiveGrid(QTableView* grid) override { active = grid; }

    bool offerProducts = true;
    PickingService products;
    QTableView* active = nullptr;
    QList<Wizard> wizards;
};

// Makes the console the module's console for its lifetime.
class ScopedConsole {
public:
    explicit ScopedConsole(Console& console) : m_kept(products::GlobalConsole)
    {
        products::GlobalConsole = ComPtr<IConsole>(&console);
    }
    ~ScopedConsole() { products::GlobalConsole = m_kept; }

private:
    ComPtr<IConsole> m_kept;
};

} // namespace altertest
