#pragma once
// Saving the product the editor shows: the checks, in one order for apply,
// OK and the close check, and the writes as one transaction. The product,
// its detail, stock rows, working operations, variants, fixed asset,
// packaging, rebates and category links go in together or not at all; after
// a failure every dataset is as the user left it and a second save tries the
// whole again. Generated identifiers the user did not touch are replaced
// under the identifier lock when another workstation took them meanwhile.
//
// A save whose commit was cut off with the connection is settled by the
// next save: the token it wrote on the product tells whether it committed.

#include <QString>
#include <QStringList>
#include <optional>

namespace tarvex {
class QueryDataSet;
}

namespace products {

class TProductDM;

struct ProductsaveInput {
    // The text in the name edit, compared with the loaded name under the
    // name lock; null when there is no edit.
    QString typedName;
    // The category list as the user left it (its lines), when it differs
    // from what is stored.
    std::optional<QStringList> categories;
};

class Productsave {
public:
    explicit Productsave(TProductDM& dm);

    // The message of the first check that fails, empty when all pass:
    // name characters, name lock, required texts, deactivation with stock
    // (only a product stored as active and now inactive: one already
    // inactive saves whatever its stock), required category.
    QString check(const ProductsaveInput& input) const;
    // Writes everything pending in one transaction (retried on deadlock).
    // Throws on failure, leaving the datasets as they were.
    void write(const ProductsaveInput& input);

    // Gives rows still without a product (0) the product's id, then writes
    // the cached changes.
    static void applyCachedList(tarvex::QueryDataSet& rows, qint64 productId);

private:
    void settleInDoubt();
    void writeOnce(const ProductsaveInput& input);
    void replaceTakenIdentifiers();
    void replaceTakenVariantBarcodes();
    void saveCategories(qint64 productId, const QStringList& lines);

    TProductDM& m_dm;
    QString m_token;  // written by the last attempt
};

} // namespace products
