#pragma once
// The console's main window: the snap-in's list in the middle, its search
// panel beside it, its actions on the tool bar and in a menu, and the
// options dialog with every module's page.

#include "Console.h"

#include <QMainWindow>

#include <functional>

class QDockWidget;
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
    QMenu* fileMenu() const { return m_fileMenu; }
    QMenu* snapinMenu() const { return m_snapinMenu; }
    QAction* optionsAction() const { return m_options; }
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

private:
    void releaseSnapin();

    Console& m_console;
    ComPtr<IViewer> m_viewer;
    ComPtr<INavigable> m_navigator;
    QDockWidget* m_dock = nullptr;
    QMenu* m_fileMenu = nullptr;
    QMenu* m_snapinMenu = nullptr;
    QAction* m_options = nullptr;
    QAction* m_log = nullptr;
};

} // namespace tarvex
