#pragma once
// The "–" of the tax, warehouse and attribute lists: a row others still need
// is refused with what holds it, any other is deleted only after the user
// said yes ("Ne" is the default), through the data module.

#include "QueryDataSet.h"

namespace products {

void AskAndDeleteReferenceRow(tarvex::QueryDataSet& dataSet);

} // namespace products
