#include "DemoModel.h"

namespace tarvex::demo {

int DemoModel::warehouseIndex(int warehouseId) const
{
    for (size_t i = 0; i < warehouses.size(); ++i)
        if (warehouses[i]->id == warehouseId)
            return int(i);
    return -1;
}

int DemoModel::addSlot(int product, int warehouse, qint64 targetMilli)
{
    const size_t width = warehouses.size();
    const size_t needed = products.size() * width;
    if (m_slotIndex.size() < needed)
        m_slotIndex.resize(needed, -1);
    int& index = m_slotIndex[size_t(product) * width + size_t(warehouse)];
    if (index >= 0)
        return index;
    DemoStockSlot slot;
    slot.product = product;
    slot.warehouse = warehouse;
    slot.targetMilli = targetMilli;
    index = int(stockSlots.size());
    stockSlots.push_back(slot);
    if (slotsByWarehouse.size() < width)
        slotsByWarehouse.resize(width);
    slotsByWarehouse[size_t(warehouse)].push_back(index);
    return index;
}

int DemoModel::slotOf(int product, int warehouse) const
{
    const size_t at = size_t(product) * warehouses.size() + size_t(warehouse);
    return at < m_slotIndex.size() ? m_slotIndex[at] : -1;
}

} // namespace tarvex::demo
