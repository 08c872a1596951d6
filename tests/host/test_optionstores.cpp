#include "DBIniFile.h"
#include "IniFile.h"
#include "TestServer.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace tarvex;
using namespace tarvex::test;

namespace {

const QString kSerbian = QStringLiteral("Direktorijum skeniranih dokumenata: čćžšđ ČĆŽŠĐ");

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

// ------------------------------------------------------------ database store

class DBIniFileTest : public DatabaseTest {
protected:
    void SetUp() override { QSqlQuery(db()).exec(QStringLiteral("DELETE FROM dbinifile")); }
    int rows() { return scalar(db(), QStringLiteral("SELECT COUNT(*) FROM dbinifile")).toInt(); }
};

TEST_F(DBIniFileTest, MissingKeysGiveTheDefaults)
{
    TDBIniFile ini(db());
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("Product"), QStringLiteral("UniqueProductCode"), true));
    EXPECT_FALSE(ini.ReadBool(QStringLiteral("Product"), QStringLiteral("AutoProductCode"), false));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Product"), QStringLiteral("AutoProductCodeFormat"),
                             QStringLiteral("{c}{c}{c}{c}{c}")),
              QStringLiteral("{c}{c}{c}{c}{c}"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Product"), QStringLiteral("UniqueProductNameCharsNum"), 0), 0);
    EXPECT_EQ(ini.ReadFloat(QStringLiteral("Product"), QStringLiteral("Rate"), 1.5), 1.5);
    EXPECT_FALSE(ini.ValueExists(QStringLiteral("Product"), QStringLiteral("AutoProductCode")));
    EXPECT_FALSE(ini.SectionExists(QStringLiteral("Product")));
}

TEST_F(DBIniFileTest, WritesInsertThenUpdateOneRow)
{
    TDBIniFile ini(db());
    ini.WriteString(QStringLiteral("Product"), QStringLiteral("DefaultProductUnitName"), QStringLiteral("kom"));
    ini.WriteString(QStringLiteral("Product"), QStringLiteral("DefaultProductUnitName"), kSerbian);
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(ini.ReadString(QStringLiteral("Product"), QStringLiteral("DefaultProductUnitName"), QString()), kSerbian);

    ini.WriteInteger(QStringLiteral("Product"), QStringLiteral("UniqueProductNameCharsNum"), 25);
    ini.WriteBool(QStringLiteral("Product"), QStringLiteral("UniqueProductCode"), false);
    ini.WriteFloat(QStringLiteral("Document"), QStringLiteral("Rate"), 117.25);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Product"), QStringLiteral("UniqueProductNameCharsNum"), 0), 25);
    EXPECT_FALSE(ini.ReadBool(QStringLiteral("Product"), QStringLiteral("UniqueProductCode"), true));
    EXPECT_EQ(ini.ReadFloat(QStringLiteral("Document"), QStringLiteral("Rate"), 0.0), 117.25);
    // Stored as plain text with a point, readable by any workstation.
    EXPECT_EQ(scalar(db(), QStringLiteral("SELECT value FROM dbinifile WHERE name = 'Rate'")).toString(),
              QStringLiteral("117.25"));
    EXPECT_EQ(scalar(db(), QStringLiteral("SELECT value FROM dbinifile WHERE name = 'UniqueProductCode'")).toString(),
              QStringLiteral("0"));
}

TEST_F(DBIniFileTest, TextValuesKeepQuotesBackslashesAndEmptiness)
{
    TDBIniFile ini(db());
    const QString path = QStringLiteral("C:\\Program Files\\O'Reilly\\");
    ini.WriteString(QStringLiteral("Product"), QStringLiteral("ImageDir"), path);
    EXPECT_EQ(ini.ReadString(QStringLiteral("Product"), QStringLiteral("ImageDir"), QString()), path);
    // An empty stored value is a value, not a missing key.
    ini.WriteString(QStringLiteral("Product"), QStringLiteral("DefaultProductUnitName"), QString());
    EXPECT_TRUE(ini.ValueExists(QStringLiteral("Product"), QStringLiteral("DefaultProductUnitName")));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Product"), QStringLiteral("DefaultProductUnitName"), QStringLiteral("x")),
              QString());
    QSqlQuery(db()).exec(QStringLiteral("INSERT INTO dbinifile VALUES ('Product', 'Nothing', NULL)"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Product"), QStringLiteral("Nothing"), QStringLiteral("x")), QString());
}

TEST_F(DBIniFileTest, ValuesOfTheWrongKindFallBackToTheDefault)
{
    TDBIniFile ini(db());
    ini.WriteString(QStringLiteral("S"), QStringLiteral("Number"), QStringLiteral("12abc"));
    ini.WriteString(QStringLiteral("S"), QStringLiteral("Flag"), QStringLiteral("maybe"));
    ini.WriteString(QStringLiteral("S"), QStringLiteral("Yes"), QStringLiteral("True"));
    ini.WriteString(QStringLiteral("S"), QStringLiteral("No"), QStringLiteral(" n "));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("S"), QStringLiteral("Number"), 7), 7);
    EXPECT_EQ(ini.ReadFloat(QStringLiteral("S"), QStringLiteral("Number"), 2.5), 2.5);
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("S"), QStringLiteral("Flag"), true));
    EXPECT_FALSE(ini.ReadBool(QStringLiteral("S"), QStringLiteral("Flag"), false));
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("S"), QStringLiteral("Yes"), false));
    EXPECT_FALSE(ini.ReadBool(QStringLiteral("S"), QStringLiteral("No"), true));
}

TEST_F(DBIniFileTest, SectionsAndKeysIgnoreLetterCaseAndEraseApart)
{
    TDBIniFile ini(db());
    ini.WriteBool(QStringLiteral("Product"), QStringLiteral("AttributeStock"), true);
    ini.WriteBool(QStringLiteral("Product"), QStringLiteral("AttributeDesc"), true);
    ini.WriteString(QStringLiteral("CompanyInfo"), QStringLiteral("Number"), QStringLiteral("101"));
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("product"), QStringLiteral("ATTRIBUTESTOCK"), false));
    ini.WriteBool(QStringLiteral("PRODUCT"), QStringLiteral("attributestock"), false);
    EXPECT_EQ(rows(), 3);
    EXPECT_EQ(ini.ReadSection(QStringLiteral("Product")),
              QStringList({QStringLiteral("AttributeDesc"), QStringLiteral("AttributeStock")}));

    ini.DeleteKey(QStringLiteral("Product"), QStringLiteral("AttributeDesc"));
    EXPECT_FALSE(ini.ValueExists(QStringLiteral("Product"), QStringLiteral("AttributeDesc")));
    ini.EraseSection(QStringLiteral("Product"));
    EXPECT_FALSE(ini.SectionExists(QStringLiteral("Product")));
    EXPECT_EQ(ini.ReadString(QStringLiteral("CompanyInfo"), QStringLiteral("Number"), QString()), QStringLiteral("101"));
}

// ------------------------------------------------------------ settings file

class IniFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("console.ini")); }
};

TEST_F(IniFileTest, MissingFileReadsDefaultsAndFirstWriteCreatesIt)
{
    TIniFile ini(path());
    EXPECT_FALSE(ini.ReadBool(QStringLiteral("Product"), QStringLiteral("ProductHideInPrices"), false));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Document"), QStringLiteral("DefWarehouseName"), QString()), QString());
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Product"), QStringLiteral("X"), -3), -3);
    EXPECT_FALSE(QFile::exists(path()));

    ini.WriteBool(QStringLiteral("Product"), QStringLiteral("ProductHideInPrices"), true);
    ini.WriteString(QStringLiteral("Document"), QStringLiteral("DefWarehouseName"), QStringLiteral("Glavni"));
    EXPECT_EQ(fileBytes(path()), QByteArray("[Product]\nProductHideInPrices=1\n\n[Document]\nDefWarehouseName=Glavni\n"));
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("product"), QStringLiteral("producthideinprices"), false));
}

TEST_F(IniFileTest, SerbianTextAndOddKeysAreStoredAsWritten)
{
    TIniFile ini(path());
    ini.WriteString(QStringLiteral("Proizvod"), QStringLiteral("Šifra/Skener dir"), kSerbian);
    ini.WriteString(QStringLiteral("Proizvod"), QStringLiteral("List"), QStringLiteral("a, b, c"));
    ini.WriteString(QStringLiteral("Proizvod"), QStringLiteral("Padded"), QStringLiteral("  x = y  "));
    ini.WriteFloat(QStringLiteral("Proizvod"), QStringLiteral("Rate"), 0.1);

    const QByteArray bytes = fileBytes(path());
    EXPECT_TRUE(bytes.contains((QStringLiteral("Šifra/Skener dir=") + kSerbian).toUtf8())) << bytes.constData();
    EXPECT_TRUE(bytes.contains("Rate=0.1\n"));

    TIniFile again(path());
    EXPECT_EQ(again.ReadString(QStringLiteral("Proizvod"), QStringLiteral("šifra/skener DIR"), QString()), kSerbian);
    EXPECT_EQ(again.ReadString(QStringLiteral("Proizvod"), QStringLiteral("List"), QString()), QStringLiteral("a, b, c"));
    EXPECT_EQ(again.ReadString(QStringLiteral("Proizvod"), QStringLiteral("Padded"), QString()),
              QStringLiteral("  x = y  "));
    EXPECT_EQ(again.ReadFloat(QStringLiteral("Proizvod"), QStringLiteral("Rate"), 0.0), 0.1);
    EXPECT_EQ(again.ReadSection(QStringLiteral("Proizvod")),
              QStringList({QStringLiteral("Šifra/Skener dir"), QStringLiteral("List"), QStringLiteral("Padded"),
                           QStringLiteral("Rate")}));
}

TEST_F(IniFileTest, UpdatesInPlaceAndKeepsWhatItDoesNotOwn)
{
    writeBytes(path(), QByteArray("\xEF\xBB\xBF; workstation settings\r\n"
                                  "[Product]\r\n"
                                  "ImageDir=/srv/slike\r\n"
                                  "Other=keep\r\n"
                                  "\r\n"
                                  "; next\r\n"
                                  "[Document]\r\n"
                                  "DefWarehouseName=Stari\r\n"));
    TIniFile ini(path());
    EXPECT_EQ(ini.ReadString(QStringLiteral("Product"), QStringLiteral("ImageDir"), QString()), QStringLiteral("/srv/slike"));
    ini.WriteString(QStringLiteral("Product"), QStringLiteral("imagedir"), QStringLiteral("/srv/nove slike"));
    ini.WriteString(QStringLiteral("Product"), QStringLiteral("ScanDocDir"), QStringLiteral("/srv/skenirano"));
    ini.DeleteKey(QStringLiteral("Document"), QStringLiteral("DefWarehouseName"));
    EXPECT_EQ(fileBytes(path()), QByteArray("; workstation settings\r\n"
                                            "[Product]\r\n"
                                            "ImageDir=/srv/nove slike\r\n"
                                            "Other=keep\r\n"
                                            "ScanDocDir=/srv/skenirano\r\n"
                                            "\r\n"
                                            "; next\r\n"
                                            "[Document]\r\n"));
    ini.EraseSection(QStringLiteral("Product"));
    EXPECT_FALSE(ini.SectionExists(QStringLiteral("Product")));
    EXPECT_TRUE(ini.SectionExists(QStringLiteral("document")));
    EXPECT_EQ(ini.ReadSections(), QStringList({QStringLiteral("Document")}));
}

TEST_F(IniFileTest, EntriesAnIniLineCannotHoldAreRefused)
{
    TIniFile ini(path());
    EXPECT_THROW(ini.WriteString(QStringLiteral("S"), QStringLiteral("a=b"), QStringLiteral("v")), std::invalid_argument);
    EXPECT_THROW(ini.WriteString(QStringLiteral("S"), QStringLiteral(";k"), QStringLiteral("v")), std::invalid_argument);
    EXPECT_THROW(ini.WriteString(QStringLiteral("S"), QStringLiteral(""), QStringLiteral("v")), std::invalid_argument);
    EXPECT_THROW(ini.WriteString(QStringLiteral("S]"), QStringLiteral("k"), QStringLiteral("v")), std::invalid_argument);
    EXPECT_THROW(ini.WriteString(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("line\nbreak")),
                 std::invalid_argument);
    EXPECT_FALSE(QFile::exists(path()));
    TIniFile unwritable(dir.filePath(QStringLiteral("no/such/dir/x.ini")));
    EXPECT_THROW(unwritable.WriteBool(QStringLiteral("S"), QStringLiteral("k"), true), std::runtime_error);
}

TEST(IniFilePath, ExecutableExtensionBecomesIni)
{
    EXPECT_EQ(IniFilePathForExecutable(QStringLiteral("/opt/tarvex/console")), QStringLiteral("/opt/tarvex/console.ini"));
    EXPECT_EQ(IniFilePathForExecutable(QStringLiteral("/opt/tarvex/console.exe")),
              QStringLiteral("/opt/tarvex/console.ini"));
    EXPECT_EQ(IniFilePathForExecutable(QStringLiteral("/opt/tar.vex/console")), QStringLiteral("/opt/tar.vex/console.ini"));
    EXPECT_EQ(DefaultIniFilePath(), QCoreApplication::applicationFilePath() + QStringLiteral(".ini"));
}
