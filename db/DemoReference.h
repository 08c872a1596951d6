#pragma once
// The reference data a shop has before its first product: tax rates,
// currencies with exchange lists, warehouses, cash-register groups,
// depreciation groups, the attribute catalogue, the category tree and the
// business partners.

#include "DemoModel.h"
#include "DemoRandom.h"
#include "DemoSql.h"

#include <QtGlobal>
#include <vector>

namespace tarvex::demo {

class DemoReference {
public:
    DemoReference(DemoWriter& writer, DemoModel& model, quint32 seed);

    // Writes everything; `partners` business partners, a fifth of them
    // suppliers.
    void write(int partners);

    qint64 taxId(int rate) const;
    // The leaf category of shopCategories()[top].leaves[leaf].
    qint64 leafCategoryId(int top, int leaf) const;
    const std::vector<qint64>& promotionCategoryIds() const { return m_promotions; }
    int kasaGroupId(int top) const { return top + 1; }
    // The largest rebate the leaf's category allows, in percent.
    int leafMaxRebate(int top, int leaf) const;

private:
    void writeTaxes();
    void writeCurrencies();
    void writeWarehouses();
    void writeKasaGroups();
    void writeDepreciationGroups();
    void writeAttributes();
    void writeCategories();
    void writeCategoryAttributes();
    void writePartners(int partners);

    DemoWriter& m_writer;
    DemoModel& m_model;
    DemoRandom m_random;
    std::vector<std::vector<qint64>> m_leafIds;      // [top][leaf]
    std::vector<std::vector<int>> m_leafMaxRebates;  // [top][leaf]
    std::vector<qint64> m_promotions;
};

} // namespace tarvex::demo
