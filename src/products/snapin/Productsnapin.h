#pragma once
// The product module's snap-in: its identity in the console, the list view
// and search panel it shows there, its options page, and the services other
// modules find through the console (products, taxes, warehouses, categories).

#include "Error.h"
#include "Pricelabelintf.h"
#include "Productintf.h"
#include "Productnavigatorunit.h"
#include "Productoptionstabunit.h"
#include "Productviewerunit.h"
#include "Tarvexinterfaces.h"

#include <QImage>
#include <QPointer>
#include <functional>

namespace products {

using tarvex::ComPtr;
using tarvex::HResult;
using tarvex::IConsole;

// The console of the latest snap-in request.
extern ComPtr<IConsole> GlobalConsole;

inline constexpr int kProductSnapinType = 1002;

// The list view in the console.
class TProductViewer final : public tarvex::ComObject<tarvex::IViewer, tarvex::IID_IViewer> {
public:
    explicit TProductViewer(IConsole* console) : m_console(console) {}
    ~TProductViewer() override;

    QWidget* GetFrame() override;
    void FreeFrame() override;
    // Connects the data module through the security service and reads the
    // options; does nothing while the connection is up.
    void Load(tarvex::ISnapin* snapin) override;
    void Show() override;
    void Hide() override;
    QList<QAction*> GetActionList() override;
    int GetViewerType() override { return kProductSnapinType; }

    TProductViewerForm* form() const { return m_form; }

private:
    IConsole* m_console;
    QPointer<TProductViewerForm> m_form;
};

// The search panel beside the list.
class TProductNavigator final : public tarvex::ComObject<tarvex::INavigable, tarvex::IID_INavigable> {
public:
    explicit TProductNavigator(IConsole* console) : m_console(console) {}
    ~TProductNavigator() override;

    QWidget* GetNavigatorFrame() override;
    void DestroyNavigatorFrame() override;
    // Prepares the search properties once, at the first showing with a live connection.
    void ShowNavigator() override;
    void HideNavigator() override;

    TProductNavigatorForm* form() const { return m_form; }

private:
    IConsole* m_console;
    QPointer<TProductNavigatorForm> m_form;
};

class TProductSnapin final : public tarvex::ISnapin,
                             public tarvex::IOptionsTab,
                             public tarvex::ICategoryPrService,
                             public tarvex::ITaxService,
                             public tarvex::IWarehouseService,
                             public tarvex::IProductService,
                             public tarvex::IPriceLabelService {
public:
    explicit TProductSnapin(IConsole* console);

    HResult QueryInterface(const QUuid& iid, void** object) override;
    int AddRef() override { return ++m_refs; }
    int Release() override;

    // ISnapin
    QString GetName() override;
    QString GetDescription() override;
    QImage GetImage() override { return m_image; }
    int GetSnapinType() override { return kProductSnapinType; }

    // IOptionsTab
    QWidget* CreateFrame() override;
    void DestroyFrame() override;
    bool CheckValues() override { return true; }
    void Update() override;
    QString GetTabCaption() override;

    // ICategoryPrService
    bool GetCategoryPr(QString& paths, tarvex::TIntArray& ids, bool oneOnly) override;
    void GetCatPathsToIDs(const QString& paths, tarvex::TIntArray& ids) override;

    // ITaxService
    bool GetTax(qint32& taxID, QString& name, double& value, bool byID) override;

    // IWarehouseService
    bool GetWarehouse(qint32& id, QString& name, bool byID) override;
    bool GetWarehouse(tarvex::TWarehouseDesc& desc, bool byID) override;

    // IProductService
    bool GetProduct(tarvex::TProductDesc& desc) override;
    tarvex::TProductDescArr GetProduct(const QString& value, bool byCode, bool byBarcode) override;
    bool GetProduct(const QString& barcode, tarvex::TProductDesc& desc) override;
    bool GetProduct(qint32 productID, qint32 warehouseID, tarvex::TProductDesc& desc) override;
    tarvex::TProductDescArr GetProductAll(qint32 warehouseID, tarvex::TDoubleArray& amounts) override;
    double GetProductPrice(qint32 productID, qint32 warehouseID) override;
    double GetProductAmount(qint32 productID, qint32 warehouseID) override;
    QString GetProductCurrency(qint32 productID) override;
    bool GetProductAttribute(const QString& barcode, tarvex::TProductDesc& desc, qint32& productAttributeID) override;
    bool GetProduct(tarvex::TProductDescArr& descs) override;
    void OpenProduct(qint32 productID, qint32 warehouseID) override;

    // IPriceLabelService (the console's price-label wizard)
    QList<tarvex::TPriceLabelDesc> GetPriceLabels(const QList<qint64>& productIds, qint64 warehouseId) override;

    TProductViewer* viewer() const { return static_cast<TProductViewer*>(m_viewer.get()); }
    TProductNavigator* navigator() const { return static_cast<TProductNavigator*>(m_navigator.get()); }

private:
    ~TProductSnapin();
    void load();

    int m_refs = 0;
    QImage m_image;
    ComPtr<tarvex::IViewer> m_viewer;
    ComPtr<tarvex::INavigable> m_navigator;
};

// The options page shown in the console's options dialog, or none.
extern QPointer<TProductOptionsTabFrame> OptionTab;

// The snap-in's icon: a small box with the module's letter.
QImage productSnapinImage();

// Thrown by a service whose window belongs to a part of the module not yet there.
class NotAvailableYet : public tarvex::TarvexError {
public:
    explicit NotAvailableYet(const QString& what);
};

} // namespace products
