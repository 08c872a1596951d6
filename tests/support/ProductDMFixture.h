#pragma once
// A product data module on the test suite's fresh database, with the
// workstation's settings file and program folder in a temporary folder.
// It is the module's global ProductDM while the suite runs.

#include "Connection.h"
#include "Productdmunit.h"
#include "TestServer.h"

#include <QTemporaryDir>
#include <memory>

namespace tarvex::test {

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
    static void sql(const QString& statement)
    {
        QSqlDatabase d = db();
        execSql(d, statement);
    }

private:
    static inline std::unique_ptr<QTemporaryDir> s_dir;
    static inline std::unique_ptr<Connection> s_connection;
    static inline std::unique_ptr<products::TProductDM> s_dm;
};

} // namespace tarvex::test
