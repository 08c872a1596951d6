// A snap-in module for the console's tests: a list, a search panel and an
// options page, with a log of what the console called.

#include "Tarvexinterfaces.h"

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QStandardItemModel>
#include <QTableView>

using namespace tarvex;

namespace {

// What the console called, in order, appended to the file that
// TARVEX_FAKE_MODULE_LOG names: it outlives the module's unloading.
struct CallLog {
    CallLog& operator+=(const QString& entry)
    {
        QFile file(qEnvironmentVariable("TARVEX_FAKE_MODULE_LOG"));
        if (file.open(QIODevice::Append))
            file.write(entry.toUtf8());
        return *this;
    }
} g_log;
IConsole* g_console = nullptr;

class FakeSnapin final : public ISnapin, public IViewer, public INavigable, public IOptionsTab {
public:
    HResult QueryInterface(const QUuid& iid, void** object) override
    {
        if (iid == IID_IInterface || iid == IID_ISnapin)
            *object = static_cast<ISnapin*>(this);
        else if (iid == IID_IViewer)
            *object = static_cast<IViewer*>(this);
        else if (iid == IID_INavigable)
            *object = static_cast<INavigable*>(this);
        else if (iid == IID_IOptionsTab)
            *object = static_cast<IOptionsTab*>(this);
        else {
            *object = nullptr;
            return kNoInterface;
        }
        AddRef();
        return kOk;
    }
    int AddRef() override { return ++m_refs; }
    int Release() override
    {
        const int left = --m_refs;
        if (left == 0) {
            g_log += QStringLiteral("snapin freed;");
            delete this;
        }
        return left;
    }
    // ISnapin
    QString GetName() override { return QStringLiteral("Proba"); }
    QString GetDescription() override { return QStringLiteral("Probni modul"); }
    QImage GetImage() override { return QImage(); }
    int GetSnapinType() override { return 4242; }
    // IViewer
    QWidget* GetFrame() override
    {
        if (!m_grid) {
            m_model.setHorizontalHeaderLabels({QStringLiteral("Kod"), QStringLiteral("Ime")});
            m_model.appendRow({new QStandardItem(QStringLiteral("1")), new QStandardItem(QStringLiteral("Hleb"))});
            m_grid = new QTableView;
            m_grid->setModel(&m_model);
        }
        return m_grid;
    }
    void FreeFrame() override
    {
        delete m_grid;
        m_grid = nullptr;
    }
    void Load(ISnapin*) override { g_log += QStringLiteral("load;"); }
    void Show() override
    {
        g_log += QStringLiteral("show;");
        g_console->SetActiveGrid(m_grid);
    }
    void Hide() override
    {
        g_log += QStringLiteral("hide;");
        g_console->SetActiveGrid(nullptr);
    }
    QList<QAction*> GetActionList() override { return {}; }
    int GetViewerType() override { return 4242; }
    // INavigable
    QWidget* GetNavigatorFrame() override
    {
        if (!m_search)
            m_search = new QLabel(QStringLiteral("Pretraga"));
        return m_search;
    }
    void DestroyNavigatorFrame() override
    {
        delete m_search;
        m_search = nullptr;
    }
    void ShowNavigator() override { g_log += QStringLiteral("navigator;"); }
    void HideNavigator() override {}
    // IOptionsTab
    QWidget* CreateFrame() override
    {
        g_log += QStringLiteral("createframe;");
        m_page = new QLabel(QStringLiteral("Opcije probe"));
        return m_page;
    }
    void DestroyFrame() override
    {
        g_log += QStringLiteral("destroyframe;");
        delete m_page;
        m_page = nullptr;
    }
    bool CheckValues() override
    {
        g_log += QStringLiteral("check;");
        return true;
    }
    void Update() override { g_log += QStringLiteral("update;"); }
    QString GetTabCaption() override { return QStringLiteral("Proba"); }

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
    ~FakeFactory() override { g_log += QStringLiteral("factory freed;"); }

private:
    ComPtr<ISnapin> m_snapin;
};

ComPtr<ISnapinFactory> g_factory;

} // namespace

extern "C" Q_DECL_EXPORT void Initialize()
{
    g_log += QStringLiteral("initialize;");
    g_factory = ComPtr<ISnapinFactory>(new FakeFactory);
}

extern "C" Q_DECL_EXPORT void Finalize()
{
    g_factory.reset();
    g_log += QStringLiteral("finalize;");
}

extern "C" Q_DECL_EXPORT ISnapinFactory* GetSnapinFactory()
{
    g_factory->AddRef();
    return g_factory.get();
}
