#pragma once
// The host's console for the window tests, the module's while it exists:
// recording product and document services (each offered or not), and the
// print wizard runs recorded with the grid they printed.

#include "Console.h"
#include "HostStrings.h"
#include "Productsnapin.h"
#include "RecordingProductService.h"
#include "Siblingintf.h"

#include <gtest/gtest.h>

namespace altertest {

using namespace tarvex;
using tarvex::test::RecordingProductService;

class RecordingDocuments final : public ComObject<IDocumentService, IID_IDocumentService> {
public:
    void Reserved3() override {}
    void OpenDocument(qint64 documentId) override { opened << documentId; }
    QList<qint64> opened;
};

class TestConsole {
public:
    struct Wizard {
        QString name;
        QString parameters;
        QTableView* grid = nullptr;
    };

    explicit TestConsole(bool offerProducts = true, bool offerDocuments = false) : m_kept(products::GlobalConsole)
    {
        if (offerProducts)
            console.addService(ComPtr<IInterface>(m_products.get()));
        if (offerDocuments)
            console.addService(ComPtr<IInterface>(m_documents.get()));
        console.setWizardRunner([this](const QString& name, const QString& parameters, QTableView* grid) {
            wizards << Wizard{name, parameters, grid};
            return true;
        });
        products::GlobalConsole = ComPtr<IConsole>(&console);
    }
    ~TestConsole() { products::GlobalConsole = m_kept; }

    RecordingProductService& products() { return *m_products.get(); }
    RecordingDocuments& documents() { return *m_documents.get(); }
    Console* operator->() { return &console; }

    // The one print asked for: the print wizard with the title and header,
    // on the grid when one is named.
    void expectPrint(const QString& title, const QString& header, const QTableView* grid = nullptr) const
    {
        ASSERT_EQ(wizards.size(), 1);
        EXPECT_EQ(wizards[0].name, CMN_PRINT_WIZ_NAME);
        EXPECT_EQ(wizards[0].parameters, "title:" + title + ";header:" + header);
        if (grid) {
            EXPECT_EQ(wizards[0].grid, grid);
        }
    }

    Console console;
    QList<Wizard> wizards;

private:
    ComPtr<RecordingProductService> m_products{new RecordingProductService};
    ComPtr<RecordingDocuments> m_documents{new RecordingDocuments};
    ComPtr<IConsole> m_kept;
};

} // namespace altertest
