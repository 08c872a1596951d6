#pragma once
// Two years of trade in the demo shop: the opening stock, supplier receipts,
// transfers, sales and the rest of the eleven stock document kinds, with
// their lines and stock-card entries. The documents are simulated in date
// order against the running stock of every product in every warehouse, so
// nothing is issued that is not there and the stock rows written afterwards
// agree with both the document balance and the stock card.

#include "DemoModel.h"
#include "DemoRandom.h"
#include "DemoSql.h"

#include <QHash>
#include <QStringList>
#include <functional>
#include <vector>

namespace tarvex::demo {

class DemoDocuments {
public:
    DemoDocuments(DemoWriter& writer, DemoModel& model, quint32 seed);

    // Writes documents with about `lines` lines in all, dated from
    // model.firstDay to model.lastDay.
    // `progress` hears the share of the documents written (0-1) now and then.
    void write(qint64 lines, const std::function<void(double share)>& progress = {});

private:
    enum class Flow {
        Opening,          // G: opening stock, the first day
        RetailSale,       // M: a shop's daily sales
        Sale,             // R, V: invoice, delivery note
        CustomerReturn,   // R: a customer brings goods back (negative quantity)
        Receipt,          // K: goods from a supplier
        SupplierReturn,   // K: goods sent back to the supplier (negative quantity)
        Transfer,         // I: from one warehouse into another
        SupplierGiveBack, // W: the supplier hands goods back (negative quantity)
        Surplus,          // L: found at a stock count
        Shortage,         // F: missing at a stock count, written off
        Consumption,      // T: used by the shop itself
        Production,       // C: baked in the house
        Draft,            // R or K not posted yet
    };

    struct Variant {
        char kind;
        Flow flow;
        int share;   // share of all lines, in thousandths
        int minLines;
        int maxLines;
    };

    struct Planned {
        int day = 0;
        int variant = 0;
        int warehouse = 0;  // index into model.warehouses
        int inWarehouse = -1;
        int lines = 0;
    };

    struct Line {
        int slot = -1;   // the slot the line moves (the issuing one of a transfer)
        int inSlot = -1; // the receiving slot of a transfer
        qint64 quantityMilli = 0; // as the line stores it
        qint64 priceCents = 0;    // the line's price
    };

    static const std::vector<Variant>& variants();

    qint64 writeOpening(qint64 lines);
    std::vector<Planned> plan(qint64 lines);
    void chooseWarehouses(Planned& planned, Flow flow);
    int writeDocument(const Planned& planned);

    bool makeLine(const Planned& planned, const std::vector<int>& used, Line& line);
    bool makeTransferLine(const Planned& planned, const std::vector<int>& used, Line& line);
    void post(qint64 documentId, Flow flow, int direction, const Line& line);

    int pickStocked(int warehouse, const std::vector<int>& used);
    int pickAny(int warehouse, const std::vector<int>& used);
    int pickAny(const std::vector<int>& candidates, const std::vector<int>& used);
    int pickLow(int warehouse, const std::vector<int>& used);
    int pickLow(const std::vector<int>& candidates, const std::vector<int>& used);

    qint64 saleQuantity(const DemoProduct& product, bool wholesale);
    qint64 smallQuantity(const DemoProduct& product, int maxUnits);
    qint64 sellingPrice(const DemoStockSlot& slot) const;
    qint64 averagePrice(const DemoStockSlot& slot) const;
    void addStock(DemoStockSlot& slot, qint64 quantityMilli, qint64 valueCents);
    qint64 takeStock(DemoStockSlot& slot, qint64 quantityMilli);
    void card(qint64 documentId, const DemoStockSlot& slot, qint64 inMilli, qint64 outMilli, qint64 debit,
              qint64 credit, qint64 price);
    void writeHeader(qint64 documentId, const Planned& planned, const Variant& variant, int direction);
    QString documentNumber(char kind, int warehouse, int day);

    DemoWriter& m_writer;
    DemoModel& m_model;
    DemoRandom m_random;
    DemoInsert m_documents;
    DemoInsert m_items;
    DemoInsert m_cards;
    qint64 m_documentId = 0;
    qint64 m_itemId = 0;
    qint64 m_cardId = 0;
    int m_days = 0;
    QStringList m_dayTexts;
    QHash<QString, int> m_numbers;

    int m_central = 0;
    std::vector<int> m_retail;
    std::vector<int> m_storehouses; // central and wholesale
    std::vector<int> m_reserves;
    std::vector<int> m_others;
    std::vector<int> m_producedSlots; // house-made products in the central warehouse
};

} // namespace tarvex::demo
