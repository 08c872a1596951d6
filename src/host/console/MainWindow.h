#pragma once
// The console's main window: the snap-in's list in the middle, its search
// panel beside it, its actions on the tool bar and in a menu, and the
// options dialog with every module's page. It opens where, and as large as,
// the user left it (remembered in the state file, with the search panel's
// place and width).

#include "Console.h"
#include "StaffRole.h"

#include <QMainWindow>

#include <functional>

class QDockWidget;
class QLabel;

namespace tarvex {
class Connection;
}
class QMenu;
class QToolBar;

namespace tarvex {

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Console& console, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Shows the first snap-in's list and search panel.
    void showSnapin();
    QDockWidget* navigatorDock() const { return m_dock; }
    QMenu* snapinMenu() const { return m_snapinMenu; }
    QMenu* fileMenu() const { return m_fileMenu; }
    QAction* optionsAction() const { return m_options; }
    QAction* staffAction() const { return m_staff; }
    QLabel* sessionLabel() const { return m_session; }

    // Who works and how the link is kept, in the status bar; the options and
    // the staff accounts only for an administrator (the accounts only on a
    // shared server, where staff sign in).
    void setSession(Connection& connection, const QString& status, StaffRole role, bool sharedServer);
    QAction* logAction() const { return m_log; }

    // Opens a file with the desktop's program for it; tests put their own
    // in. Returns the one it replaces.
    using FileOpener = std::function<void(const QString& path)>;
    static FileOpener setFileOpener(FileOpener opener);

    // Pomoć > Dnevnik: the log file, or a word that there is none yet.
    void openLog();

    // The options dialog: one tab per module page; OK stores when every
    // page's values pass their check.
    void OptionsExecute();
    // Notes the window's place, size and panels in the state file (done
    // when it goes).
    void rememberLayout();

private:
    void releaseSnapin();

    Console& m_console;
    ComPtr<IViewer> m_viewer;
    ComPtr<INavigable> m_navigator;
    QDockWidget* m_dock = nullptr;
    QMenu* m_snapinMenu = nullptr;
    QMenu* m_fileMenu = nullptr;
    QAction* m_quit = nullptr;
    QAction* m_options = nullptr;
    QAction* m_staff = nullptr;
    QLabel* m_session = nullptr;
    Connection* m_connection = nullptr;
    QAction* m_log = nullptr;
};

} // namespace tarvex
