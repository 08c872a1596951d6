#pragma once
// The frame of the warehouse inventory lists: two exclusion boxes (zero
// quantities, services) and "&Prikaži" on top, a read-only sortable grid on
// the window's query in the middle, "Š&tampaj" and "&Zatvori" below. The
// warehouse is fixed when the window opens; every "&Prikaži" reuses it.

#include "Reportwindow.h"

class QCheckBox;
class QHBoxLayout;
class QPushButton;

namespace tarvex {
class DBGrid;
class QueryDataSet;
} // namespace tarvex

namespace products {

class TInventoryWindow : public TReportWindow {
    Q_OBJECT
public:
    TInventoryWindow(const QString& caption, qint32 warehouseId, const QString& warehouseName,
                     QWidget* parent = nullptr);

    qint32 warehouseId() const { return m_warehouseId; }
    QCheckBox* ExcludeZeroAmountsCB() const { return m_excludeZero; }
    QCheckBox* ExcludeServicesCB() const { return m_excludeServices; }
    QPushButton* FindButton() const { return m_find; }
    QPushButton* PrintButton() const { return m_print; }
    QPushButton* CloseButton() const { return m_close; }
    tarvex::DBGrid* DBG() const { return m_grid; }
    tarvex::QueryDataSet* ZQ() const { return m_query; }

    // Lists the warehouse with the statement the window opens with.
    void OpenList();
    // Lists it again with the exclusions as the boxes say.
    void FindButtonClick();
    // Prints the grid through the console: the caption and "Datum <today>".
    void PrintButtonClick();
    QString GetPrintHeader() const;

protected:
    struct Column {
        const char* field;
        const char* label;
        const char* format;
    };
    // The grid's columns in order; other columns of the query stay hidden.
    void setColumns(const QList<Column>& columns);
    QHBoxLayout* bottomRow() const { return m_bottomRow; }

    virtual QString designStatement() const = 0;
    // Both exclusion texts filled in, or left empty.
    virtual QString runTimeStatement(bool excludeServices, bool excludeZero) const = 0;
    // After each opening of the query (totals).
    virtual void listOpened() {}

private:
    void openWith(const QString& sql);

    qint32 m_warehouseId;
    tarvex::QueryDataSet* m_query = nullptr;
    QCheckBox* m_excludeZero = nullptr;
    QCheckBox* m_excludeServices = nullptr;
    QPushButton* m_find = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_close = nullptr;
    tarvex::DBGrid* m_grid = nullptr;
    QHBoxLayout* m_bottomRow = nullptr;
};

} // namespace products
