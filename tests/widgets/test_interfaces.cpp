#include "Productintf.h"
#include "Siblingintf.h"

#include <gtest/gtest.h>

using namespace tarvex;

namespace {

// Counts its references and lives on the stack: the last release frees nothing.
class Counted final : public ComObject<ITaxService, IID_ITaxService> {
public:
    int refs = 0;
    int AddRef() override { return ++refs; }
    int Release() override { return --refs; }
    bool GetTax(qint32&, QString&, double&, bool) override { return false; }
};

} // namespace

TEST(Interfaces, SmartPointerBalancesReferences)
{
    Counted object;
    {
        ComPtr<ITaxService> a(&object);
        EXPECT_EQ(object.refs, 1);
        ComPtr<ITaxService> b = a;
        EXPECT_EQ(object.refs, 2);
        ComPtr<IInterface> base = a.query<IInterface>(IID_IInterface);
        EXPECT_EQ(object.refs, 3);
        EXPECT_FALSE(a.query<IProductService>(IID_IProductService));
        EXPECT_EQ(object.refs, 3);
        ComPtr<ITaxService> moved = std::move(b);
        EXPECT_EQ(object.refs, 3);
    }
    EXPECT_EQ(object.refs, 0);
}
