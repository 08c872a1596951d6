#include "Reportfields.h"

#include "DataSet.h"
#include "MemoryTable.h"
#include "Rounding.h"

namespace products {

bool IsZeroQuantity(double value)
{
    return tarvex::BetterRoundTo(value, -6) == 0;
}

void AddNumberField(tarvex::MemoryTable& table, const QString& name, const QString& label, const QString& format)
{
    tarvex::Field& field = table.addField(name, tarvex::FieldType::Float);
    field.setDisplayLabel(label);
    field.setDisplayFormat(format);
}

void AddQuantityInOutFields(tarvex::MemoryTable& table)
{
    AddNumberField(table, QStringLiteral("amountin"), QStringLiteral("Kol. ulaz"), kStockQuantityFormat);
    AddNumberField(table, QStringLiteral("amountout"), QStringLiteral("Kol. izlaz"), kStockQuantityFormat);
    AddNumberField(table, QStringLiteral("amountbalance"), QStringLiteral("Kol. stanje"), kStockQuantityFormat);
}

void AddProductTextFields(tarvex::MemoryTable& table, int codeSize)
{
    using tarvex::FieldType;
    table.addField(QStringLiteral("name"), FieldType::String, 100).setDisplayLabel(QStringLiteral("Proizvod"));
    table.addField(QStringLiteral("code"), FieldType::String, codeSize).setDisplayLabel(QStringLiteral("Kod"));
    table.addField(QStringLiteral("unitname"), FieldType::String, 15).setDisplayLabel(QStringLiteral("JM"));
}

void CopyProductTextFields(const tarvex::DataSet& products, tarvex::MemoryTable& table)
{
    for (const QString& name : {QStringLiteral("name"), QStringLiteral("code"), QStringLiteral("unitname")})
        table.fieldByName(name).setValue(products.fieldByName(name).value());
}

} // namespace products
