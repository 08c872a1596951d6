#include "Reportfields.h"

#include "MemoryTable.h"
#include "Rounding.h"

namespace products {

bool IsZeroQuantity(double value)
{
    return tarvex::BetterRoundTo(value, -6) == 0;
}

void AddProductTextFields(tarvex::MemoryTable& table, int codeSize)
{
    using tarvex::FieldType;
    table.addField(QStringLiteral("name"), FieldType::String, 100).setDisplayLabel(QStringLiteral("Proizvod"));
    table.addField(QStringLiteral("code"), FieldType::String, codeSize).setDisplayLabel(QStringLiteral("Kod"));
    table.addField(QStringLiteral("unitname"), FieldType::String, 15).setDisplayLabel(QStringLiteral("JM"));
}

} // namespace products
