#pragma once
// The shop the demo data describes: its category tree with the kind of
// products each leaf holds, its warehouses, and the words that names of
// products and partners are made of. Texts are UTF-8.

#include <vector>

namespace tarvex::demo {

enum class DemoUnit { Piece, Kilogram, Litre, Metre, Pack };

// The unit's name as the catalogue writes it ("kom", "kg", ...).
const char* unitName(DemoUnit unit);
// Whether quantities of the unit are sold in thousandths (cheese by weight).
bool isFractional(DemoUnit unit);

// A third-level category and the products it holds. A product name is
// noun, variant, brand, size (and a model number where the leaf has one).
struct LeafSpec {
    const char* middle;  // the second-level category it sits in
    const char* name;
    int weight;          // share of the catalogue; 0 for a promotion category
    char type;           // 'r' goods, 'u' service, 'p' made in the house
    int taxRate;         // 20, 10 or 0 percent
    DemoUnit unit;
    int minGross;        // retail price with VAT, whole dinars
    int maxGross;
    std::vector<const char*> nouns;
    std::vector<const char*> variants;
    std::vector<const char*> brands;
    std::vector<const char*> sizes;
    const char* model;   // prefix of a model number, or nullptr
    bool serialNumbers;  // stock tracked by serial number
};

struct TopSpec {
    const char* name;
    const char* codePrefix; // first letters of the product codes
    const char* kasaGroup;  // the cash-register group of its products
    std::vector<LeafSpec> leaves;
};

const std::vector<TopSpec>& shopCategories();

enum class WarehouseRole { Central, Wholesale, Retail, Reserve, Other };

struct WarehouseSpec {
    int id;
    const char* name;
    const char* code;
    WarehouseRole role;
    char priceType;   // 'm' retail, 'v' wholesale
    const char* city;
    const char* zip;
    const char* address;
    bool active;
    bool b2b;
};

// Identifiers 1 to 23 are the ones the stocks overview reads; 24 and 25 are
// closed.
const std::vector<WarehouseSpec>& shopWarehouses();

struct CountrySpec {
    const char* name;
    const char* eanPrefix; // three digits of the GS1 prefix
    int weight;
};
const std::vector<CountrySpec>& countries();

struct CitySpec {
    const char* name;
    const char* zip;
};
const std::vector<CitySpec>& cities();

const std::vector<const char*>& surnames();
const std::vector<const char*>& firstNames();
// A brand's product lines ("Classic", "Domaćinski", ...).
const std::vector<const char*>& productLines();
// Words firms are named after ("Agro", "Elektro", ...).
const std::vector<const char*>& firmWords();
// Legal forms with a "%1" for the name ("%1 d.o.o.", "STR %1", ...).
const std::vector<const char*>& firmForms();

} // namespace tarvex::demo
