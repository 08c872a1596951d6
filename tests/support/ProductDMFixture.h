#pragma once
// A product data module on the test suite's fresh database, with the
// workstation's settings file and program folder in a temporary folder.
// It is the module's global ProductDM while the suite runs. With it, an
// emptied database and readable texts in failure messages.

#include "Connection.h"
#include "Productdmunit.h"
#include "SqlText.h"
#include "TestServer.h"

#include <QTemporaryDir>
#include <memory>

namespace tarvex::test {

// Every table emptied, so that no test sees the rows of one before.
inline void emptyTables(const QSqlDatabase& db)
{
    static const QStringList tables = rowsOf(db, QStringLiteral("SELECT table_name FROM information_schema.tables "
                                                                "WHERE table_schema = DATABASE() AND table_type = "
                                                                "'BASE TABLE'"));
    EXPECT_GT(tables.size(), 20);
    // In any order: the foreign keys wait until every table is empty.
    execSql(db, QStringLiteral("SET SESSION foreign_key_checks = 0"));
    for (const QString& table : tables)
        execSql(db, QStringLiteral("DELETE FROM ") + table);
    execSql(db, QStringLiteral("SET SESSION foreign_key_checks = 1"));
}

// The module's product list and its fields, the list on the products a
// condition names (sorted, when a field is given), and on one product.
inline QueryDataSet& productZQ() { return *products::ProductDM->ProductZQ; }
inline Field& P(const char* name) { return productZQ().fieldByName(QString::fromUtf8(name)); }
inline void openProducts(const QString& condition, const QString& sortedBy = QString())
{
    productZQ().setSql(ChangeSQLCondition(products::TProductDM::productDesignSql(), condition));
    if (!sortedBy.isEmpty())
        productZQ().setSortedFields(sortedBy);
    productZQ().open();
}
inline void openProduct(qint64 id) { openProducts(QStringLiteral("p.productid = %1").arg(id)); }

class ProductDMTest : public DatabaseTest {
protected:
    static void SetUpTestSuite()
    {
        DatabaseTest::SetUpTestSuite();
        s_dir = std::make_unique<QTemporaryDir>();
        s_connection = std::make_unique<Connection>(db());
        s_dm = std::make_unique<products::TProductDM>();
        s_dm->setLocalSettings(s_dir->filePath(QStringLiteral("tarvex.ini")), s_dir->path());
        s_dm->SetZConnection(s_connection.get());
        s_dm->DataModuleCreate();
        products::ProductDM = s_dm.get();
    }
    static void TearDownTestSuite()
    {
        products::ProductDM = nullptr;
        s_dm.reset();
        s_connection.reset();
        s_dir.reset();
        DatabaseTest::TearDownTestSuite();
    }
    static products::TProductDM& dm() { return *s_dm; }
    static Connection& connection() { return *s_connection; }
    static QString tempPath() { return s_dir->path(); }
    // Runs a statement on the suite's database.
    static void sql(const QString& statement) { execSql(db(), statement); }
    // The first value a statement reads, as text.
    static QString text(const QString& statement) { return scalar(db(), statement).toString(); }

private:
    static inline std::unique_ptr<QTemporaryDir> s_dir;
    static inline std::unique_ptr<Connection> s_connection;
    static inline std::unique_ptr<products::TProductDM> s_dm;
};

} // namespace tarvex::test
