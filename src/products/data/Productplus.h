#pragma once
// The cash-register PLUs that products hold (product.kasaplu), read for the
// host's pool of free PLUs.

#include "PluPool.h"

namespace products {

class TProductPlus final : public tarvex::IPluHolders {
public:
    QList<qint64> TakenPLUs(const QSqlDatabase& db, qint64 first, qint64 last) const override;
};

} // namespace products
