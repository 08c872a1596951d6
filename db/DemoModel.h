#pragma once
// What the parts of the demo generator hand each other: the products made,
// the warehouses, the partners, and the running stock of every product in
// every warehouse that keeps it. Quantities are whole thousandths of the
// unit and money whole para (cents), so every sum is exact and the numbers
// written to the database are the same on every machine.

#include "DemoShop.h"

#include <QDate>
#include <QString>
#include <QtGlobal>
#include <vector>

namespace tarvex::demo {

constexpr qint64 kMilli = 1000; // thousandths in one unit

struct DemoProduct {
    qint64 id = 0;
    char type = 'r';
    DemoUnit unit = DemoUnit::Piece;
    int taxRate = 20;
    qint64 priceCents = 0;  // selling price without VAT
    qint64 costCents = 0;   // supply price
    qint64 targetMilli = 0; // the stock a shop likes to keep of it
    bool stocked() const { return type != 'u'; }
};

// The stock of one product in one warehouse.
struct DemoStockSlot {
    int product = 0;   // index into DemoModel::products
    int warehouse = 0; // index into DemoModel::warehouses
    qint64 targetMilli = 0;
    qint64 quantityMilli = 0;
    qint64 valueCents = 0; // value at average supply price
};

struct DemoModel {
    QDate firstDay; // the opening stock's date
    QDate lastDay;

    std::vector<const WarehouseSpec*> warehouses;
    std::vector<DemoProduct> products;
    std::vector<DemoStockSlot> stockSlots;
    std::vector<std::vector<int>> slotsByWarehouse;

    // Partners: suppliers take identifiers 1..suppliers, customers the next
    // `customers` identifiers.
    int suppliers = 0;
    int customers = 0;
    std::vector<QString> partnerNames; // by identifier - 1

    int warehouseIndex(int warehouseId) const;

    // Registers that a product is kept in a warehouse; returns the slot.
    int addSlot(int product, int warehouse, qint64 targetMilli);
    // The slot of a product in a warehouse, or -1.
    int slotOf(int product, int warehouse) const;

private:
    std::vector<int> m_slotIndex; // products x warehouses, -1 when none
};

} // namespace tarvex::demo
