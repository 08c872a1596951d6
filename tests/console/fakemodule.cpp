// A snap-in module for the console's tests: a list, a search panel and an
// options page, with a log of what the console called.

#include "Tarvexinterfaces.h"

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QStandardItemModel>
#include <QTableView>
#include <utility>

using namespace tarvex;

namespace {

// What the console called, in order, appended to the file that
// TARVEX_FAKE_MODULE_LOG names: it outlives the module's unloading.
void logCall(const char* entry)
{
    QFile file(qEnvironmentVariable("TARVEX_FAKE_MODULE_LOG"));
    if (file.open(QIODevice::Append))
        file.write(entry);
}
IConsole* g_console = nullptr;

class FakeSnapin final : public ISnapin, public IViewer, public INavigable, public IOptionsTab {
public:
    ~FakeSnapin() { logCall("snapin freed;"); }
    HResult QueryInterface(const QUuid& iid, void** object) override
    {
        for (const auto& [offered, face] : {std::pair<QUuid, void*>{IID_IInterface, static_cast<ISnapin*>(this)},
                                            {IID_ISnapin, static_cast<ISnapin*>(this)},
                                            {IID_IViewer, static_cast<IViewer*>(this)},
                                            {IID_INavigable, static_cast<INavigable*>(this)},
                                            {IID_IOptionsTab, static_cast<IOptionsTab*>(this)}})
            if (offered == iid) {
                *object = face;
                AddRef();
                return kOk;
            }
        *object = nullptr;
        return kNoInterface;
    }
    int AddRef() override { return ++m_refs; }
    int Release() override
    {
        const int left = --m_refs;
        if (left == 0)
            delete this;
        return left;
    }
    // ISnapin
    QString GetName() override { return "Proba"; }
    QString GetDescription() override { return "Probni modul"; }
    QImage GetImage() override { return QImage(); }
    int GetSnapinType() override { return 4242; }
    // IViewer
    QWidget* GetFrame() override
    {
        if (!m_grid) {
            m_model.setHorizontalHeaderLabels({"Kod", "Ime"});
            m_model.appendRow({new QStandardItem("1"), new QStandardItem("Hleb")});
            m_grid = new QTableView;
            m_grid->setModel(&m_model);
        }
        return m_grid;
    }
    void FreeFrame() override { delete std::exchange(m_grid, nullptr); }
    void Load(ISnapin*) override { logCall("load;"); }
    void Show() override { logCall("show;"); g_console->SetActiveGrid(m_grid); }
    void Hide() override { logCall("hide;"); g_console->SetActiveGrid(nullptr); }
    QList<QAction*> GetActionList() override { return {}; }
    int GetViewerType() override { return 4242; }
    // INavigable
    QWidget* GetNavigatorFrame() override { return m_search ? m_search : (m_search = new QLabel("Pretraga")); }
    void DestroyNavigatorFrame() override { delete std::exchange(m_search, nullptr); }
    void ShowNavigator() override { logCall("navigator;"); }
    void HideNavigator() override {}
    // IOptionsTab
    QWidget* CreateFrame() override { logCall("createframe;"); return m_page = new QLabel("Opcije probe"); }
    void DestroyFrame() override { logCall("destroyframe;"); delete std::exchange(m_page, nullptr); }
    bool CheckValues() override { logCall("check;"); return true; }
    void Update() override { logCall("update;"); }
    QString GetTabCaption() override { return "Proba"; }

private:
    int m_refs = 0;
    QStandardItemModel m_model;
    QTableView* m_grid = nullptr;
    QLabel* m_search = nullptr;
    QLabel* m_page = nullptr;
};

class FakeFactory final : public ComObject<ISnapinFactory, IID_ISnapinFactory> {
public:
    HResult CreateSnapin(IConsole* console, ISnapin** snapin) override
    {
        g_console = console;
        if (!m_snapin)
            m_snapin = ComPtr<ISnapin>(new FakeSnapin);
        m_snapin->AddRef();
        *snapin = m_snapin.get();
        return kOk;
    }
    ~FakeFactory() override { logCall("factory freed;"); }

private:
    ComPtr<ISnapin> m_snapin;
};

ComPtr<ISnapinFactory> g_factory;

} // namespace

extern "C" Q_DECL_EXPORT void Initialize()
{
    logCall("initialize;");
    g_factory = ComPtr<ISnapinFactory>(new FakeFactory);
}

extern "C" Q_DECL_EXPORT void Finalize()
{
    g_factory.reset();
    logCall("finalize;");
}

extern "C" Q_DECL_EXPORT ISnapinFactory* GetSnapinFactory()
{
    g_factory->AddRef();
    return g_factory.get();
}
