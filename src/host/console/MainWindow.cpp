#include "MainWindow.h"

#include "Consolemenu.h"
#include "Dialogs.h"
#include "LogFile.h"
#include "Modal.h"
#include "OkCancelRow.h"
#include "RememberedState.h"
#include "StaffWindow.h"

#include <QAction>
#include <QDesktopServices>
#include <QDialog>
#include <QDockWidget>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

namespace tarvex {

namespace {
const QString kStateSection = QStringLiteral("MainWindow");
const QString kGeometryKey = QStringLiteral("Geometry");
const QString kDocksKey = QStringLiteral("Docks");
} // namespace

MainWindow::MainWindow(Console& console, QWidget* parent) : QMainWindow(parent), m_console(console)
{
    setWindowTitle(QStringLiteral("Tarvex"));
    resize(1200, 760);
    restoreGeometry(RememberedState(kStateSection).bytes(kGeometryKey));
    m_console.setMainWindow(this);

    QMenu* file = m_fileMenu = menuBar()->addMenu(QStringLiteral("&Datoteka"));
    QAction* quit = file->addAction(QStringLiteral("&Izlaz"));
    m_quit = quit;
    quit->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    connect(quit, &QAction::triggered, this, &QWidget::close);
    m_snapinMenu = menuBar()->addMenu(QStringLiteral("&Modul"));
    QMenu* tools = menuBar()->addMenu(QStringLiteral("&Alati"));
    m_options = tools->addAction(QStringLiteral("&Opcije..."));
    connect(m_options, &QAction::triggered, this, &MainWindow::OptionsExecute);
    m_staff = tools->addAction(QStringLiteral("&Korisnici..."));
    m_staff->setVisible(false);
    connect(m_staff, &QAction::triggered, this, [this] {
        if (m_connection)
            StaffManage(*m_connection, this);
    });
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Pomoć"));
    m_log = help->addAction(QStringLiteral("&Dnevnik"));
    connect(m_log, &QAction::triggered, this, &MainWindow::openLog);

    m_dock = new QDockWidget(QStringLiteral("Pretraga"), this);
    m_dock->setObjectName(QStringLiteral("SearchDock"));  // names it in the remembered layout
    m_dock->setFeatures(QDockWidget::DockWidgetMovable);
    addDockWidget(Qt::LeftDockWidgetArea, m_dock);
    m_session = new QLabel(this);
    statusBar()->addPermanentWidget(m_session);
}

void MainWindow::setSession(Connection& connection, const QString& status, StaffRole role, bool sharedServer)
{
    m_connection = &connection;
    m_session->setText(status);
    m_options->setEnabled(mayAdminister(role));
    m_staff->setVisible(sharedServer);
    m_staff->setEnabled(mayAdminister(role));
}

namespace {

MainWindow::FileOpener& fileOpener()
{
    static MainWindow::FileOpener current = [](const QString& path) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    };
    return current;
}

} // namespace

MainWindow::FileOpener MainWindow::setFileOpener(FileOpener opener)
{
    FileOpener previous = std::move(fileOpener());
    fileOpener() = std::move(opener);
    return previous;
}

void MainWindow::openLog()
{
    const QString written = logFilePath();
    const QString path = written.isEmpty() ? defaultLogFilePath() : written;
    if (!QFileInfo::exists(path)) {
        dialogs().information(QStringLiteral("Dnevnik još ne postoji: %1").arg(path));
        return;
    }
    fileOpener()(path);
}

MainWindow::~MainWindow()
{
    rememberLayout();
    releaseSnapin();
    m_console.setMainWindow(nullptr);
}

void MainWindow::releaseSnapin()
{
    if (m_viewer) {
        m_viewer->Hide();
        if (QWidget* frame = centralWidget())
            frame->setParent(nullptr);
        m_viewer->FreeFrame();
        m_viewer.reset();
    }
    if (m_navigator) {
        m_navigator->HideNavigator();
        if (QWidget* frame = m_dock->widget())
            frame->setParent(nullptr);
        m_navigator->DestroyNavigatorFrame();
        m_navigator.reset();
    }
}

void MainWindow::showSnapin()
{
    const QList<ComPtr<ISnapin>> snapins = m_console.snapins();
    if (snapins.isEmpty()) {
        setCentralWidget(new QLabel(QStringLiteral("Nijedan modul nije učitan."), this));
        return;
    }
    const ComPtr<ISnapin>& snapin = snapins.first();
    setWindowTitle(QStringLiteral("Tarvex - ") + snapin->GetName());
    m_snapinMenu->setTitle(QStringLiteral("&") + snapin->GetName());

    m_viewer = snapin.query<IViewer>(IID_IViewer);
    m_navigator = snapin.query<INavigable>(IID_INavigable);
    if (m_viewer) {
        m_viewer->Load(snapin.get());
        QWidget* frame = m_viewer->GetFrame();
        setCentralWidget(frame);
        // The list shows its actions on its own tool bar; the menu lists them too.
        const QList<QAction*> actions = m_viewer->GetActionList();
        bool fileActions = false;
        for (QAction* action : actions) {
            if (action->property(kConsoleMenuProperty).toString() == QLatin1String("file")) {
                m_fileMenu->insertAction(m_quit, action);
                fileActions = true;
                continue;
            }
            if (action->isSeparator())
                m_snapinMenu->addSeparator();
            else
                m_snapinMenu->addAction(action);
        }
        if (fileActions)
            m_fileMenu->insertSeparator(m_quit);
        m_viewer->Show();
    }
    if (m_navigator) {
        m_dock->setWidget(m_navigator->GetNavigatorFrame());
        // Wide enough for a category path in the value column.
        resizeDocks({m_dock}, {qMax(m_dock->widget()->sizeHint().width(), 420)}, Qt::Horizontal);
        m_navigator->ShowNavigator();
    }
    // The search panel as the user left it: its place and width.
    restoreState(RememberedState(kStateSection).bytes(kDocksKey));
}

void MainWindow::rememberLayout()
{
    RememberedState(kStateSection).replaceAll({{kGeometryKey, QString::fromLatin1(saveGeometry().toBase64())},
                                               {kDocksKey, QString::fromLatin1(saveState().toBase64())}});
}

void MainWindow::OptionsExecute()
{
    struct Page {
        ComPtr<IOptionsTab> tab;
        QWidget* frame;
    };
    QList<Page> pages;
    QDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("Opcije"));
    auto* tabs = new QTabWidget(&dialog);
    for (const ComPtr<ISnapin>& snapin : m_console.snapins()) {
        ComPtr<IOptionsTab> tab = snapin.query<IOptionsTab>(IID_IOptionsTab);
        if (!tab)
            continue;
        QWidget* frame = tab->CreateFrame();
        if (!frame)
            continue;
        tabs->addTab(frame, tab->GetTabCaption());
        pages << Page{tab, frame};
    }
    if (pages.isEmpty()) {
        dialogs().information(QStringLiteral("Nijedan modul nema opcije."));
        return;
    }
    const tarvex::OkCancelRow buttons = tarvex::makeOkCancelRow(&dialog);
    connect(buttons.ok, &QPushButton::clicked, &dialog, [&] {
        for (const Page& page : pages)
            if (!page.tab->CheckValues())
                return;
        for (const Page& page : pages)
            page.tab->Update();
        dialog.accept();
    });
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(tabs);
    layout->addLayout(buttons.layout);
    // The pages belong to their modules: hand them back before the dialog
    // goes, also when a page's store fails.
    struct GiveBack {
        QList<Page>& pages;
        ~GiveBack()
        {
            for (const Page& page : pages) {
                page.frame->setParent(nullptr);
                page.tab->DestroyFrame();
            }
        }
    } giveBack{pages};
    execModal(dialog);
}

} // namespace tarvex
