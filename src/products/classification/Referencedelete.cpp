#include "Referencedelete.h"

#include "Dialogs.h"
#include "Productdmunit.h"

namespace products {

void AskAndDeleteReferenceRow(tarvex::QueryDataSet& ds)
{
    if (!ds.isActive() || ds.isEmpty())
        return;
    // Asked first so the user is not asked in vain; asked again, under the
    // row's lock, by the delete itself.
    const QString refusal = ProductDM->DeleteRefusal(ds);
    if (!refusal.isEmpty()) {
        tarvex::dialogs().error(refusal);
        return;
    }
    if (tarvex::dialogs().confirmDelete(ProductDM->DeleteQuestion(ds)))
        ProductDM->DeleteReferenceRow(ds);
}

} // namespace products
