#pragma once
// The frame of the small list windows of one product or category: what goes
// above the grid (a navigator, a row of them), the grid on the rows of a
// query in the middle, and a row of buttons below with "&Zatvori" last. The
// mouse wheel moves the grid row by row.

#include "DataSetModel.h"
#include "DialogWindow.h"

class QLayout;
class QPushButton;

namespace tarvex {
class DBGrid;
} // namespace tarvex

namespace products {

class TSmallListWindow : public tarvex::DialogWindow {
    Q_OBJECT
public:
    QPushButton* CloseButton() const { return m_close; }

protected:
    TSmallListWindow(const QString& title, QWidget* parent);

    // The grid on the rows with these columns. The named column takes the
    // width the others leave, and a click on a title sorts the rows (they
    // come as read until then); without one the last column stretches.
    tarvex::DBGrid* newGrid(tarvex::DataSet& rows, const QList<tarvex::DataSetModel::Column>& columns,
                            const QString& stretched = QString());
    // A button of the window that leaves Enter to the grid and the default.
    QPushButton* newButton(const QString& text);
    // From the top: `above` (none when null), the grid, then the `left`
    // buttons, a stretch, the `right` buttons and close (the default button
    // unless told otherwise). The grid has the focus.
    void layOut(QLayout* above, const QList<QWidget*>& left, const QList<QWidget*>& right, QSize size,
                bool closeIsDefault = true);
    tarvex::DBGrid* grid() const { return m_grid; }

private:
    tarvex::DBGrid* m_grid = nullptr;
    QPushButton* m_close = nullptr;
};

// A small list of the data module's current product: it remembers the
// product when it opens and prints under the window's title and its name.
class TProductListWindow : public TSmallListWindow {
    Q_OBJECT
public:
    QPushButton* PrintButton() const { return m_print; }
    qint32 productId() const { return m_productId; }
    const QString& productName() const { return m_productName; }

    void PrintButtonClick();
    // These lists print under their title alone.
    QString GetPrintHeader() const { return QString(); }

protected:
    TProductListWindow(const QString& title, QWidget* parent);
    // As for every small list, with "Š&tampaj" before close.
    void layOut(QLayout* above, QSize size, bool closeIsDefault);

private:
    QPushButton* m_print = nullptr;
    qint32 m_productId = 0;
    QString m_productName;
};

} // namespace products
