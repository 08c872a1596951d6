#pragma once
// A console for the report window tests: records what the reports ask of it
// (the print wizard and its print source) and offers the recording product
// service and a document service that records the documents it was asked to
// open. Also the column reader the report tests share.

#include "DataSet.h"
#include "Productintf.h"
#include "RecordingProductService.h"
#include "Siblingintf.h"
#include "Tarvexinterfaces.h"

#include <QList>
#include <QPair>
#include <QTableView>

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

template <class I>
class Counted : public I {
public:
    HResult QueryInterface(const QUuid&, void** object) override
    {
        *object = nullptr;
        return kNoInterface;
    }
    int AddRef() override { return ++refs; }
    int Release() override { return --refs; }
    int refs = 0;
};

class DocumentService final : public Counted<IDocumentService> {
public:
    void Reserved3() override {}
    void OpenDocument(qint64 documentId) override { opened << documentId; }
    QList<qint64> opened;
};

class Console final : public Counted<IConsole> {
public:
    struct Wizard {
        QString name;
        QString parameters;
        QTableView* grid = nullptr; // the print source while it ran
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
        IInterface* found = nullptr;
        if (iid == IID_IDocumentService && offerDocuments)
            found = &documents;
        else if (iid == IID_IProductService && offerProducts)
            found = &products;
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

    bool offerDocuments = true;
    bool offerProducts = true;
    DocumentService documents;

private:
    // Counted by the module's references, kept by the console.
    ComPtr<test::RecordingProductService> m_products{new test::RecordingProductService};

public:
    test::RecordingProductService& products = *m_products.get();
    QTableView* active = nullptr;
    QList<Wizard> wizards;
};

} // namespace stocktest
