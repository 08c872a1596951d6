#pragma once
// What every stock report window shares: it frees itself when closed, the
// mouse wheel moves its grid row by row while it is open, its caption names
// the warehouse, it prints its grid through the console's print wizard, and a
// double-click on a row can open the row's product or document in the module
// that owns it.

#include "Controlsoff.h"
#include "DialogWindow.h"

#include <QString>

class QCloseEvent;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QTableView;

namespace tarvex {
class DBGrid;
} // namespace tarvex

namespace products {

class TWorkerBar;

class TReportWindow : public tarvex::DialogWindow {
    Q_OBJECT
public:
    explicit TReportWindow(QWidget* parent = nullptr);

    // The design caption, then " - " and the warehouse name when there is one.
    static QString ReportCaption(const QString& caption, const QString& warehouseName);
    // "Datum yyyy-mm-dd" with the host clock's today.
    static QString TodayPrintHeader();
    // The print wizard's parameter string: "title:<title>;header:<header>".
    static QString PrintParameters(const QString& title, const QString& header);

    // Lends the grid to the console as its print source for the print wizard,
    // then gives the console back the grid it had. Nothing without a console.
    static void PrintThroughConsole(QTableView* grid, const QString& parameters);
    // Opens a product in the product service with the default warehouse; an
    // error box when no module offers the service.
    static void OpenProduct(qint64 productId);
    // Opens a document in the document module; nothing when it is missing.
    static void OpenDocument(qint64 documentId);
    // The column of the field takes the width the others leave, after every
    // refill too (names and partners are the long texts of a report).
    static void StretchColumn(tarvex::DBGrid* grid, const QString& fieldName);

    // The strip with "Prekini" while the window reads.
    TWorkerBar* WorkerBar() const { return m_workerBar; }

protected:
    // Makes the window's strip, which disables the controls while it runs.
    // Closing the window (or Escape) while it reads stops the reading and
    // keeps the window open.
    TWorkerBar* newWorkerBar(const QList<QWidget*>& busyControls);
    // A figure the report sums up (a total, a price), in bold.
    QLabel* newFigureLabel(const QString& text = QString());
    // Once the window closes, nothing being read.
    virtual void closing() {}
    void closeEvent(QCloseEvent* event) override;
    void done(int result) override;

private:
    TWorkerBar* m_workerBar = nullptr;
};

// The frame of the report lists: the report's choices and "&Prikaži" on top,
// a read-only grid in the middle, "Š&tampaj" and "&Zatvori" at the right
// below. Printing prints the grid under the caption and the window's print
// header; closing frees the window.
class TListReportWindow : public TReportWindow {
    Q_OBJECT
public:
    QPushButton* FindButton() const { return m_find; }
    QPushButton* PrintButton() const { return m_print; }
    QPushButton* CloseButton() const { return m_close; }
    tarvex::DBGrid* DBG() const { return m_grid; }

    // Reads what the window lists when it opens.
    virtual void OpenList() = 0;
    virtual void FindButtonClick() = 0;
    virtual QString GetPrintHeader() const = 0;
    void PrintButtonClick();

    // Shows the window (modal) before its first rows are read, so the strip
    // with "Prekini" is in view while the server answers, reads them, then
    // runs the window's modal loop.
    static void OpenModal(TListReportWindow* window);

protected:
    TListReportWindow(const QString& caption, const QString& warehouseName, QWidget* parent);
    // Builds the frame once the report's own choices are made: they lead the
    // top row (`choices`), "&Prikaži" follows them (the default button when
    // `findIsDefault`).
    void buildFrame(QHBoxLayout* choices, bool findIsDefault);
    QHBoxLayout* bottomRow() const { return m_bottomRow; }

private:
    QPushButton* m_find = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_close = nullptr;
    tarvex::DBGrid* m_grid = nullptr;
    QHBoxLayout* m_bottomRow = nullptr;
};

} // namespace products
