#include "DBIniFile.h"
#include "Error.h"
#include "IniFile.h"
#include "ScratchHelpers.h"
#include "TestServer.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tarvex;
using namespace tarvex::test;

namespace {

const QString kSerbian = "Direktorijum skeniranih dokumenata: čćžšđ ČĆŽŠĐ";

} // namespace

class OptionStoreTest : public DatabaseTest {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath("console.ini"); }
    QString stored(const QString& name) { return scalar(db(), "SELECT value FROM dbinifile WHERE name = '" + name + "'").toString(); }
};

TEST_F(OptionStoreTest, MissingKeysOrFilesReadAsDefaultsWritesAreStoredAsPlainValuesAndLinesAndWhatIsNotOwnedIsKept)
{
    // Missing keys and files read as defaults, plain values read back: the
    // product options' own stores (test_product_data, test_productdm_lookups).
    TDBIniFile ini(db());
    EXPECT_FALSE(ini.ValueExists("Product", "UniqueProductCode"));
    ini.WriteString("S", "Number", "12abc");
    ini.WriteString("S", "No", " n ");
    EXPECT_EQ(ini.ReadInteger("S", "Number", 7), 7);
    EXPECT_EQ(ini.ReadFloat("S", "Number", 2.5), 2.5);
    EXPECT_TRUE(ini.ReadBool("S", "Number", true));
    EXPECT_FALSE(ini.ReadBool("S", "No", true));

    ini.WriteString("Product", "DefaultProductUnitName", "kom");
    ini.WriteString("PRODUCT", "defaultproductunitname", kSerbian); // same key: letter case is ignored
    ini.WriteInteger("Product", "UniqueProductNameCharsNum", 25);
    ini.WriteBool("Product", "UniqueProductCode", false);
    ini.WriteFloat("Document", "Rate", 117.25);
    EXPECT_EQ(scalar(db(), "SELECT COUNT(*) FROM dbinifile WHERE section <> 'S'").toInt(), 4);
    EXPECT_EQ(ini.ReadString("Product", "DefaultProductUnitName", QString()), kSerbian);
    EXPECT_EQ(ini.ReadFloat("Document", "Rate", 0.0), 117.25);
    EXPECT_EQ(stored("Rate"), "117.25");
    EXPECT_EQ(stored("UniqueProductCode"), "0");

    // Empty values, quotes and sections keep their meaning.
    ini.WriteString("Product", "ImageDir", "C:\\Program Files\\O'Reilly\\");
    EXPECT_EQ(ini.ReadString("Product", "ImageDir", QString()), "C:\\Program Files\\O'Reilly\\");
    // An empty stored value (or NULL) is a value, not a missing key.
    ini.WriteString("Product", "DefaultProductUnitName", QString());
    QSqlQuery(db()).exec("INSERT INTO dbinifile VALUES ('Product', 'Nothing', NULL)");
    EXPECT_EQ(ini.ReadString("Product", "DefaultProductUnitName", "x"), "");
    EXPECT_EQ(ini.ReadString("Product", "Nothing", "x"), "");
    EXPECT_ROWS(ini.ReadSection("Product"), QStringList({"DefaultProductUnitName", "ImageDir", "Nothing",
                                                       "UniqueProductCode", "UniqueProductNameCharsNum"}));

    ini.WriteString("CompanyInfo", "Number", "101");
    ini.DeleteKey("Product", "ImageDir");
    EXPECT_FALSE(ini.ValueExists("Product", "ImageDir"));
    ini.EraseSection("product");
    EXPECT_FALSE(ini.SectionExists("Product"));
    EXPECT_EQ(ini.ReadString("CompanyInfo", "Number", QString()), "101");

    // The ini file: writes make a plain file, entries a line cannot hold are refused.
    TIniFile local(path());
    // Entries an ini line cannot hold are refused; nothing is written yet.
    for (const auto& [section, key] : {std::pair{"S", "a=b"}, {"S", ";k"}, {"S]", "k"}})
        EXPECT_THROW(local.WriteString(section, key, "v"), InternalError) << section << key;
    EXPECT_THROW(local.WriteString("S", "k", "line\nbreak"), TarvexError);
    EXPECT_FALSE(QFile::exists(path()));
    local.WriteBool("Product", "ProductHideInPrices", true);
    local.WriteString("Document", "DefWarehouseName", "Glavni");
    local.WriteFloat("product", "Rate", 0.1);
    EXPECT_EQ(fileBytes(path()), "[Product]\nProductHideInPrices=1\nRate=0.1\n\n[Document]\nDefWarehouseName=Glavni\n");
    EXPECT_TRUE(local.ReadBool("PRODUCT", "producthideinprices", false));
    EXPECT_EQ(local.ReadFloat("Product", "Rate", 0.0), 0.1);

    local.WriteString("Proizvod", "Šifra/Skener dir", kSerbian);
    local.WriteString("Proizvod", "List", "a, b, c");
    local.WriteString("Proizvod", "Padded", "  x = y  ");
    EXPECT_TRUE(fileBytes(path()).contains(("Šifra/Skener dir=" + kSerbian + "\n").toUtf8()));
    for (const auto& [key, value] : {std::pair{"šifra/skener DIR", kSerbian}, {"List", QString("a, b, c")},
                                     {"Padded", QString("  x = y  ")}})
        EXPECT_EQ(local.ReadString("Proizvod", QString::fromUtf8(key), QString()), value) << key;
    EXPECT_ROWS(local.ReadSection("Proizvod"), QStringList({"Šifra/Skener dir", "List", "Padded"}));

    EXPECT_THROW(TIniFile(dir.filePath("no/such/x.ini")).WriteBool("S", "k", true), TarvexError);
    // A file that is there but cannot be read reads as defaults and is never overwritten.
    ASSERT_TRUE(QDir(dir.path()).mkdir("unreadable.ini"));
    TIniFile unreadable(dir.filePath("unreadable.ini"));
    EXPECT_EQ(unreadable.ReadInteger("S", "k", 4), 4);
    EXPECT_THROW(unreadable.WriteInteger("S", "k", 5), TarvexError);

    // The executable's extension becomes ".ini".
    for (const auto& [program, ini] : {std::pair{"/opt/tarvex/console", "/opt/tarvex/console.ini"},
                                       {"/opt/tarvex/console.exe", "/opt/tarvex/console.ini"},
                                       {"/opt/tar.vex/console", "/opt/tar.vex/console.ini"}})
        EXPECT_EQ(IniFilePathForExecutable(program), ini);

    // A file of the user's updates in place and keeps what it does not own.
    const QString kept = dir.filePath("kept.ini");
    writeFile(kept, "\xEF\xBB\xBF; workstation\r\n[Product]\r\nImageDir=/srv/slike\r\nOther=keep\r\n\r\n"
                    "; next\r\n[Document]\r\nDefWarehouseName=Stari\r\n");
    TIniFile other(kept);
    EXPECT_EQ(other.ReadString("Product", "ImageDir", QString()), "/srv/slike");
    other.WriteString("Product", "imagedir", "/srv/nove slike");
    other.WriteString("Product", "ScanDocDir", "/srv/skenirano");
    other.DeleteKey("Document", "DefWarehouseName");
    EXPECT_EQ(fileBytes(kept), "; workstation\r\n[Product]\r\nImageDir=/srv/nove slike\r\nOther=keep\r\n"
                               "ScanDocDir=/srv/skenirano\r\n\r\n; next\r\n[Document]\r\n");
    other.EraseSection("Product");
    EXPECT_ROWS(other.ReadSections(), QStringList({"Document"}));
}
