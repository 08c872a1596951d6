#pragma once
// The frame of the warehouse inventory lists: two exclusion boxes (zero
// quantities, services) and "&Prikaži" on top, a read-only sortable grid on
// the window's query in the middle, "Š&tampaj" and "&Zatvori" below. The
// warehouse is fixed when the window opens; every "&Prikaži" reuses it. The
// rows are read on a worker: a slow server leaves the program answering,
// and "Prekini" keeps the list as it was.

#include "DataSetModel.h"
#include "Reportwindow.h"

class QCheckBox;

namespace tarvex {
class QueryDataSet;
} // namespace tarvex

namespace products {

class TInventoryWindow : public TListReportWindow {
    Q_OBJECT
public:
    TInventoryWindow(const QString& caption, qint32 warehouseId, const QString& warehouseName,
                     QWidget* parent = nullptr);

    qint32 warehouseId() const { return m_warehouseId; }
    QCheckBox* ExcludeZeroAmountsCB() const { return m_excludeZero; }
    QCheckBox* ExcludeServicesCB() const { return m_excludeServices; }
    tarvex::QueryDataSet* ZQ() const { return m_query; }

    // Lists the warehouse with both exclusions.
    void OpenList() override;
    // Lists it again with the exclusions as the boxes say.
    void FindButtonClick() override;
    // "Datum <today>".
    QString GetPrintHeader() const override;

protected:
    // The grid's columns in order; other columns of the query stay hidden.
    void setColumns(const QList<tarvex::DeclaredColumn>& columns);
    // A double-click opens the row's product ("productid") in the product
    // editor; an empty list passes 0, for which the product service opens
    // nothing.
    void opensRowProduct();

    virtual QString statement(bool excludeServices, bool excludeZero) const = 0;
    // After each opening of the query (totals).
    virtual void listOpened() {}

private:
    void openWith(const QString& sql);

    qint32 m_warehouseId;
    tarvex::QueryDataSet* m_query = nullptr;
    QCheckBox* m_excludeZero = nullptr;
    QCheckBox* m_excludeServices = nullptr;
};

} // namespace products
