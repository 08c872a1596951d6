// What a staff member's role lets the windows offer: a kasir reads the
// catalogue, opens a product read-only and prints, and is offered no
// change, no delete and no new rate, on a session the server holds to it.

#include "DBControls.h"
#include "Productdetailunit.h"
#include "Productviewerunit.h"
#include "Productwarehousesunit.h"
#include "ScratchHelpers.h"
#include "StaffAccounts.h"
#include "Taxunit.h"
#include "test_editor_support.h"

#include <QAction>
#include <QPushButton>
#include <QToolButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;

namespace {

class StaffRights : public EditorTest {
protected:
    // The data module works as a new account of the role until the end of the test.
    void signInAs(StaffRole role)
    {
        const QString name = QStringLiteral("prava_%1").arg(int(role));
        sql(QStringLiteral("DROP USER IF EXISTS '%1'@'%'").arg(name)); // left by a run before
        StaffAccounts(connection()).add(name, QStringLiteral("Lozinka-123"), role);
        ConnectionSettings settings = database().settings();
        settings.user = name;
        settings.password = QStringLiteral("Lozinka-123");
        m_session = std::make_unique<Connection>(settings);
        dm().SetZConnection(m_session.get());
    }
    void TearDown() override
    {
        EditorTest::TearDown();
        dm().SetZConnection(&connection());
        m_session.reset();
    }
    std::unique_ptr<Connection> m_session;
};

TEST_F(StaffRights, AKasirReadsAndPrintsButIsOfferedNoChange)
{
    signInAs(StaffRole::Kasir);
    EXPECT_EQ(dm().role(), StaffRole::Kasir);
    openProduct(10);
    TProductViewerForm viewer;
    EXPECT_FALSE(viewer.ProductAdd->isEnabled()) << "Novi";
    EXPECT_FALSE(viewer.ProductDelete->isEnabled()) << "Izbriši";
    EXPECT_TRUE(viewer.ProductEdit->isEnabled()) << "Uredi opens to read";

    inModal<TProductDetailForm>([&] { OpenProductDetail(&viewer); }, [](TProductDetailForm& form) {
        QTest::keyClicks(form.NameDBE, QStringLiteral("X"));
        EXPECT_EQ(form.NameDBE->text(), QStringLiteral("Mleko"));
        EXPECT_TRUE(form.OKButton()->isHidden());
        EXPECT_TRUE(form.ApplyButton()->isHidden());
        EXPECT_FALSE(form.CustomOK()->isEnabled());
        EXPECT_EQ(form.CancelButton()->text(), QStringLiteral("&Zatvori"));
        EXPECT_TRUE(form.Warehouses->PrintButton()->isEnabled()) << "printing only reads";
        EXPECT_TRUE(form.Warehouses->PriceLabelsButton()->isEnabled()) << "labels only read";
        EXPECT_FALSE(form.ChangeTaxButton->isEnabled());
        QTest::mouseClick(form.CancelButton(), Qt::LeftButton);
    });
    EXPECT_EQ(text("SELECT name FROM product WHERE productid = 10"), QStringLiteral("Mleko"));

    // The tax rates: no new rate and no delete.
    inModal<TTaxForm>(TaxManage, [](TTaxForm& form) {
        for (auto button : {DBNavigator::Insert, DBNavigator::Delete})
            EXPECT_FALSE(form.TaxNavigator()->button(button)->isEnabled()) << "navigator button " << int(button);
    });
}

TEST_F(StaffRights, AMagacionerKeepsWarehousesButNotTheCatalogue)
{
    signInAs(StaffRole::Magacioner);
    EXPECT_EQ(dm().role(), StaffRole::Magacioner);
    EXPECT_FALSE(dm().mayChangeCatalogue());
    EXPECT_TRUE(dm().mayChangeStock());
    EXPECT_TRUE(dm().ProductZQ->isReadOnly());
    EXPECT_FALSE(dm().WarehouseZQ->isReadOnly());
    // The server agrees with what the windows offer.
    const auto update = [this](const QString& table) {
        return thrownCode([&] { m_session->execute("UPDATE " + table + " SET name = name WHERE 1 = 0"); });
    };
    EXPECT_EQ(update(QStringLiteral("warehouse")), 0);
    EXPECT_EQ(update(QStringLiteral("product")), 1142);
}

} // namespace
