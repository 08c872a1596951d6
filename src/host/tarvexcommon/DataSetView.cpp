// The dataset's view: its rows in the sort order and through the filter.
#include "DataSet.h"

#include "FilterExpression.h"
#include "RowOrder.h"

#include <utility>

namespace tarvex {

void DataSet::setSortedFields(const QString& fields)
{
    if (!isActive()) {
        m_sortedFields = fields;
        return;
    }
    checkBrowseMode();
    std::unique_ptr<RowOrder> order;
    if (!fields.trimmed().isEmpty())
        order = std::make_unique<RowOrder>(fields, [this](const QString& n) { return findField(n); });
    if (order)
        order->setStore(m_store.get());
    m_sortedFields = fields;
    m_order = std::move(order);
    rebuildView();
}

void DataSet::setFilter(const QString& expression)
{
    if (isActive() && m_filtered) {
        checkBrowseMode();
        std::unique_ptr<FilterExpression> filter;
        if (!expression.trimmed().isEmpty())
            filter = std::make_unique<FilterExpression>(expression, [this](const QString& n) { return findField(n); });
        m_filter = std::move(filter);
        m_filterText = expression;
        rebuildView();
        return;
    }
    m_filterText = expression;
}

void DataSet::setFiltered(bool on)
{
    if (on == m_filtered)
        return;
    if (!isActive()) {
        m_filtered = on;
        return;
    }
    checkBrowseMode();
    std::unique_ptr<FilterExpression> filter;
    if (on && !m_filterText.trimmed().isEmpty())
        filter = std::make_unique<FilterExpression>(m_filterText, [this](const QString& n) { return findField(n); });
    m_filtered = on;
    m_filter = std::move(filter);
    rebuildView();
}

bool DataSet::rowPassesFilter(const DataRow& row) const
{
    return !m_filter || m_filter->matches(rowValues(row));
}

void DataSet::applyViewOrder()
{
    m_view.clear();
    m_view.reserve(m_rows.size());
    for (const auto& row : m_rows) {
        if (row->status != DataRow::Status::Deleted && rowPassesFilter(*row))
            m_view.push_back(row.get());
    }
    if (m_order && !rowsComeOrdered())
        m_order->sort(m_view);
}

int DataSet::viewIndexOf(const DataRow* row) const
{
    for (size_t i = 0; i < m_view.size(); ++i) {
        if (m_view[i] == row)
            return int(i);
    }
    return -1;
}

void DataSet::rebuildView()
{
    // Only compared: the row may be gone from the storage by now.
    const DataRow* current = std::as_const(*this).currentRowData();
    applyViewOrder();
    const int at = viewIndexOf(current);
    const int n = int(m_view.size());
    m_current = at >= 0 ? at : (n == 0 ? -1 : 0);
    m_bof = at <= 0;
    m_eof = n == 0;
    notifyReset();
}

} // namespace tarvex
