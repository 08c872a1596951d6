#pragma once
// What the stock report window tests share: the console with recording
// services (the wizards it runs, the products and documents it is asked to
// open), a fixture with the host clock set and that console in place, a
// table's column read without moving the cursor and a click on a title.

#include "Clock.h"
#include "Console.h"
#include "DBGrid.h"
#include "DataSet.h"
#include "ProductDMFixture.h"
#include "Productsnapin.h"
#include "RecordingProductService.h"
#include "Siblingintf.h"
#include "test_refwindows.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <memory>

namespace stocktest {

using namespace tarvex;

// The display texts of one field, row by row, without moving the cursor.
inline QStringList column(DataSet& table, const char* field)
{
    QStringList values;
    for (int row = 0; row < table.recordCount(); ++row)
        values << table.displayTextAt(row, table.fieldByName(field).index());
    return values;
}

// A click on the field's title, aimed anew each time: the columns fit their
// content after every sort.
inline void clickTitle(DBGrid* grid, const char* field)
{
    const int column = grid->dataModel()->columnOf(grid->dataSet()->findField(field));
    grid->scrollTo(grid->model()->index(0, column));
    QHeaderView* header = grid->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, 5));
}

class RecordingDocuments final : public ComObject<IDocumentService, IID_IDocumentService> {
public:
    void Reserved3() override {}
    void OpenDocument(qint64 documentId) override { opened << documentId; }
    QList<qint64> opened;
};

struct Wizard {
    QString name;
    QString parameters;
    QTableView* grid = nullptr; // the print source while it ran
};

// The program's console, the module's while it lives; built again without a
// service when a test takes one away.
class ReportConsole {
public:
    ReportConsole() { offer(true, true); }
    ~ReportConsole() { products::GlobalConsole.reset(); }

    void offer(bool withProducts, bool withDocuments)
    {
        products::GlobalConsole.reset();
        m_console = std::make_unique<Console>();
        if (withProducts)
            m_console->addService(ComPtr<IInterface>(m_products.get()));
        if (withDocuments)
            m_console->addService(ComPtr<IInterface>(m_documents.get()));
        m_console->setWizardRunner([this](const QString& name, const QString& parameters, QTableView* grid) {
            wizards << Wizard{name, parameters, grid};
            return true;
        });
        products::GlobalConsole = ComPtr<IConsole>(m_console.get());
    }
    Console* operator->() const { return m_console.get(); }

private:
    ComPtr<test::RecordingProductService> m_products{new test::RecordingProductService};
    ComPtr<RecordingDocuments> m_documents{new RecordingDocuments};
    std::unique_ptr<Console> m_console;

public:
    test::RecordingProductService& products = *m_products.get();
    RecordingDocuments& documents = *m_documents.get();
    QList<Wizard> wizards;
};

// A report test at a fixed moment, with the recording console in place.
class ReportTest : public test::ProductDMTest {
protected:
    explicit ReportTest(const QDateTime& now, qint32 defaultWarehouse = 0)
        : m_now(now), m_defaultWarehouse(defaultWarehouse)
    {
    }
    void SetUp() override
    {
        hostClock().setNow(m_now);
        dm().SetDefWarehouseID(m_defaultWarehouse);
    }
    void TearDown() override
    {
        hostClock().reset();
        dm().Options = products::TProductOptions();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    ReportConsole console;

private:
    QDateTime m_now;
    qint32 m_defaultWarehouse;
};

} // namespace stocktest
