// The import against the database: each rule of the editor on a row of its
// own, matching by code or barcode with the changes counted by field,
// categories made only when asked, all or nothing, "samo ispravni redovi",
// "Prekini", and the demo catalogue exported and imported back unchanged.

#include "test_import_support.h"

#include "DataSetErrors.h"
#include "DemoData.h"
#include "HostStrings.h"
#include "NumberText.h"
#include "Productexport.h"
#include "Productresourcestring.h"

#include <QSqlQuery>
#include <string_view>

using namespace products;

namespace tarvex::test {

namespace {

class ImportRules : public ProductDMTest {
protected:
    void SetUp() override
    {
        emptyTables(db());
        sql("INSERT INTO tax (taxid, name, value, status) VALUES (1, 'PDV20', 20, 'primary'), (2, 'PDV10', 10, "
            "'standard')");
        sql("INSERT INTO currency (code, status) VALUES ('RSD', 'primary'), ('EUR', 'standard')");
        sql("INSERT INTO categorypr (categoryprid, name, parentid) VALUES (1, 'Hrana', 0), (2, 'Voće', 1)");
        // Two products with EAN-13 barcodes.
        sql("INSERT INTO product (productid, code, barcode, name, unitname, taxid, price, pricecurrency, inputprice, "
            "inputpricecurrency, supplyprice, planprice, recommendedprice) VALUES "
            "(1, 'A1', '8600000000011', 'Jabuka', 'kg', 1, 100, 'RSD', 1, 'RSD', 1, 1, 1), "
            "(2, 'B1', '8600000000028', 'Kruška', 'kg', 2, 200, 'RSD', 1, 'RSD', 1, 1, 1)");
        sql("INSERT INTO productcategorypr (productid, categoryprid) VALUES (1, 2)");
        m_options.UniqueProductCode = true;
        m_options.UniqueProductBarcode = true;
    }

    ImportSettings csv(const QByteArray& text, bool createCategories = false, bool onlyValid = false)
    {
        ImportSettings settings = importSettings(writeFile(m_dir, QStringLiteral("import.csv"), text));
        settings.createCategories = createCategories;
        settings.onlyValid = onlyValid;
        return settings;
    }
    ImportOutcome check(const ImportSettings& settings) { return ProductImport(connection(), m_options).check(settings); }
    ImportOutcome run(const ImportSettings& settings, const TProgress& progress = {})
    {
        return ProductImport(connection(), m_options).run(settings, progress);
    }
    // Runs the import and says "Prekini" once the step has reached that many rows; gives the count then.
    int stoppedAt(const ImportSettings& settings, QStringView step, int rows)
    {
        int seen = 0;
        EXPECT_THROW(run(settings,
                         [&](const QString& now, int done) {
                             if (now == step && done >= rows) {
                                 seen = done;
                                 tarvex::Abort();
                             }
                         }),
                     SilentAbort);
        return seen;
    }
    static int count(const char* table) { return scalar(db(), QStringLiteral("SELECT COUNT(*) FROM ") + table).toInt(); }

    QTemporaryDir m_dir;
    TProductOptions m_options;
};

} // namespace

TEST_F(ImportRules, EveryRuleOfTheEditorRefusesItsRowWithTheFieldAndNothingIsWritten)
{
    const QByteArray longName(5000, 'x');
    const ImportSettings settings = csv(
        "Kod;Barkod;Ime;JM;PDV;Cena;Cena + PDV;Moneta ul. cene;Kategorije;Aktivan\n"
        "N1;;Sok: jabuka;kom;20;10;;;;da\n"                      // 2 name characters
        "N2;;Sok;kom;20;;;;;da\n"                                // 3 no price
        "N3;;Sok 3;kom;20;abc;;;;da\n"                           // 4 not a number
        "N4;8600000000019;Sok 4;kom;20;10;;;;da\n"               // 5 check digit
        "A1;8600000000028;Jabuka;kg;20;100;;;;da\n"              // 6 barcode of another product
        "N6;;Sok 6;kom;20;10;;;;da\n"                            // 7 fine
        "N6;;Sok 7;kom;20;10;;;;da\n"                            // 8 code twice in the file
        "N8;;Sok 8;kom;18;10;;;;da\n"                            // 9 unknown tax
        "N9;;Sok 9;kom;20;10;;;Hrana>Povrće;da\n"                // 10 unknown category
        "N10;;Sok 10;kom;20;10;;;Hrana>>Voće;da\n"               // 11 broken path
        "N11;;" + longName + ";kom;20;10;;;;da\n"                // 12 5 000 characters
        "N12;;Sok 12;kom;20;10;;XYZ;;da\n"                       // 13 unknown currency
        "N13;;Sok 13;kom;20;10;;;;možda\n"                       // 14 neither yes nor no
        "N14;;Sok 14;kom;20;10;13;;;da\n"                        // 15 price and price with tax disagree
        "N15;;Sok 15;;20;10;;;;da\n"                             // 16 no unit
        "N16;;Sok 16;kom;20;-5;;;;da\n");                        // 17 negative price
    const ImportOutcome outcome = check(settings);
    EXPECT_ROWS(refusalTexts(outcome),
              QStringList({"2 Ime: " + PROD_NAME_CHAR_ERR,
                           "3 Cena: " + CMN_FIELD_REQUIRED_ERR.arg("Cena"),
                           "4 Cena: " + ReadNumberText("abc").error,
                           "5 Barkod: Barkod \"8600000000019\" nema ispravnu kontrolnu cifru (EAN-13).",
                           "6 Barkod: \"8600000000028\" već ima proizvod \"Kruška\".",
                           "8 Kod: \"N6\" je već u redu 7.",
                           "9 PDV %: Nema poreza sa stopom 18 %.",
                           "10 Kategorije: Kategorija \"Hrana>Povrće\" ne postoji (da bi se napravila, označite "
                           "\"Napravi kategorije koje ne postoje\").",
                           "11 Kategorije: Putanja kategorije \"Hrana>>Voće\" nije ispravna.",
                           "12 Ime: Tekst ima 5000 znakova; najviše je 100.",
                           "13 Moneta ul. cene: Nepoznata moneta \"XYZ\".",
                           "14 Aktivan: \"možda\" nije ni \"da\" ni \"ne\".",
                           "15 Cena + PDV: Cena i Cena + PDV se ne slažu po stopi 20 %.",
                           "16 JM: " + CMN_FIELD_REQUIRED_ERR.arg("JM"),
                           "17 Cena: " + CMN_FIELD_INVALIDE_ERR.arg("Cena")}));
    EXPECT_EQ(outcome.added, 1);

    // All or nothing: the one good row waits for the others. Support reads
    // the counts in the log, never the file's path.
    const InstalledLog log;
    run(settings);
    EXPECT_EQ(count("product"), 2);
    EXPECT_TRUE(log.text().endsWith("Import refused, nothing written: 16 rows, 1 new, 0 changed, 0 unchanged, 15 refused\n"))
        << log.text().toStdString();
    EXPECT_FALSE(log.text().contains(m_dir.path())) << log.text().toStdString();
}

TEST_F(ImportRules, TheModuleOptionsAddTheirChecks)
{
    m_options.ProductCodeRequired = true;
    m_options.ManufacturerNameRequired = true;
    m_options.ProductCategoryRequired = true;
    m_options.UniqueProductNameCharsNum = 5;
    m_options.OnlyLowestProductCategoryAllowed = true;
    sql("INSERT INTO warehouse (warehouseid, name) VALUES (1, 'Glavni')");
    sql("INSERT INTO productwarehouse (productid, warehouseid, amount, price) VALUES (2, 1, 3, 200)");
    const ImportOutcome outcome = check(csv("Kod;Ime;JM;Porez;Cena;Ime proizvođača;Kategorije;Aktivan\n"
                                            ";Sok;kom;PDV20;10;Voćko;Hrana>Voće;da\n"
                                            "N2;Jabukovača;kom;PDV20;10;Voćko;Hrana>Voće;da\n"
                                            "N3;Čaj;kom;PDV20;10;;Hrana>Voće;da\n"
                                            "N4;Kafa;kom;PDV20;10;Voćko;;da\n"
                                            "N5;Med;kom;PDV20;10;Voćko;Hrana;da\n"
                                            "B1;Kruška;kg;PDV10;200;;Hrana>Voće;ne\n"));
    EXPECT_ROWS(refusalTexts(outcome),
              QStringList({"2 Kod: " + PROD_CODE_INVALIDE_ERR,
                           "3 Ime: Ime se poklapa sa proizvodom \"Jabuka\" u prvih 5 znakova.",
                           "4 Ime proizvođača: " + PROD_MANUF_NAME_INVALIDE_ERR,
                           "5 Kategorije: " + PROD_CAT_PR_INVALIDE_ERR,
                           "6 Kategorije: " + PROD_CAT_PR_LOWEST_ERR,
                           "7 Ime proizvođača: " + PROD_MANUF_NAME_INVALIDE_ERR,
                           "7 Aktivan: " + PROD_ACTIVE_INVALIDE_ERR}));
}

TEST_F(ImportRules, RowsMatchByCodeOrBarcodeChangeOnlyWhatDiffersAndTheRestAreNew)
{
    const ImportSettings settings =
        csv("Kod;Barkod;Ime;JM;PDV;Cena + PDV;Kategorije;Aktivan\n"
            "A1;8600000000011;Jabuka crvena;kg;20;132,00;Hrana>Voće;Da\n"   // by code: name and price
            "X9;8600000000028;Kruška;kg;10;220;;ne\n"                     // by barcode: code, categories none, active
            "N1;;\"Sok \"\"Zlatni\"\"\";kom;10;1.100,00;Hrana>Voće;da\n"); // new
    const ImportOutcome dry = check(settings);
    EXPECT_EQ(refusalTexts(dry), QStringList());
    EXPECT_EQ(std::tuple(dry.added, dry.changed, dry.unchanged), std::tuple(1, 2, 0));
    QStringList byField;
    for (const ImportField field : importFields()) {
        if (dry.changedByField[int(field)])
            byField << QStringLiteral("%1=%2").arg(importFieldCaption(field)).arg(dry.changedByField[int(field)]);
    }
    EXPECT_ROWS(byField, QStringList({"Ime=1", "Kod=1", "Cena + PDV=1", "Aktivan=1"}));
    EXPECT_EQ(text("SELECT name FROM product WHERE productid = 1"), "Jabuka"); // the dry run wrote nothing

    const ImportOutcome done = run(settings);
    EXPECT_TRUE(done.written);
    const QStringList columns{"name", "code", "active", "taxid", "price", "pricecurrency", "inputprice", "type"};
    // The price follows from the price with tax as the editor's field computes it.
    expectSameTable(rowsOf(db(), "SELECT name, code, active, taxid, CONCAT(ROUND(price, 6)), pricecurrency, inputprice, type "
                                 "FROM product ORDER BY productid"),
                    {"Jabuka crvena|A1|y|1|110.000000|RSD|1|r", "Kruška|X9|n|2|200.000000|RSD|1|r",
                     "Sok \"Zlatni\"|N1|y|2|1000.000000|RSD|1|r"},
                    columns);
    EXPECT_EQ(count("productcategorypr"), 2);
    EXPECT_EQ(text("SELECT COUNT(*) FROM productdetail d JOIN product p ON p.productid = d.productid WHERE p.code = "
                   "'N1'"),
              "1");
    // The same file again changes nothing.
    const ImportOutcome again = check(settings);
    EXPECT_EQ(std::tuple(again.added, again.changed, again.unchanged), std::tuple(0, 0, 3));
}

namespace {

// The matching and uniqueness rules row by row, as a save of one product
// asks the database: the reference the import's set-wise checks must agree
// with. Gives the refusals of those rules in the import's order.
QStringList rowByRowRefusals(Connection& connection, const QList<QStringList>& rows)
{
    auto ids = [&](const char* column, const QString& value) {
        QList<qint64> found;
        QSqlQuery q = connection.select(QStringLiteral("SELECT productid FROM product WHERE %1 = ? ORDER BY productid")
                                            .arg(QLatin1String(column)),
                                        {value});
        while (q.next())
            found << q.value(0).toLongLong();
        return found;
    };
    QStringList texts;
    QHash<qint64, int> matchedIn;
    QHash<QString, int> firstCode;
    QHash<QString, int> firstBarcode;
    for (int i = 0; i < rows.size(); ++i) {
        const int number = i + 2;
        // A code longer than its column is refused by itself and takes no part.
        const QString code = rows[i][0].size() <= 20 ? rows[i][0] : QString();
        const QString barcode = rows[i][1];
        QList<qint64> holders = code.isEmpty() ? QList<qint64>() : ids("code", code);
        QString field = "Kod";
        QString key = code;
        if (holders.isEmpty() && !barcode.isEmpty()) {
            holders = ids("barcode", barcode);
            field = "Barkod";
            key = barcode;
        }
        qint64 own = 0;
        if (holders.size() > 1)
            texts << QStringLiteral("%1 %2: Više proizvoda ima \"%3\"; red ne može da se upari.").arg(number).arg(field, key);
        else if (holders.size() == 1 && matchedIn.contains(holders[0]))
            texts << QStringLiteral("%1 : Isti proizvod je već u redu %2.").arg(number).arg(matchedIn[holders[0]]);
        else if (holders.size() == 1)
            matchedIn.insert(own = holders[0], number);
        for (const auto& [column, caption, value, first] :
             {std::tuple("code", "Kod", code, &firstCode), std::tuple("barcode", "Barkod", barcode, &firstBarcode)}) {
            if (value.isEmpty())
                continue;
            const QVariant other = connection.value(
                QStringLiteral("SELECT MIN(name) FROM product WHERE %1 = ? AND productid <> ?").arg(QLatin1String(column)),
                {value, own});
            if (!other.isNull())
                texts << QStringLiteral("%1 %2: \"%3\" već ima proizvod \"%4\".").arg(number).arg(caption, value, other.toString());
            // Equal as the collation compares them.
            const QString w = connection.value("SELECT HEX(WEIGHT_STRING(? COLLATE utf8mb4_unicode_ci))", {value}).toString();
            if (first->contains(w)) {
                const int earlier = first->value(w);
                const QString written = column == std::string_view("code") ? rows[earlier - 2][0] : rows[earlier - 2][1];
                texts << QStringLiteral("%1 %2: \"%3\" je već u redu %4.").arg(number).arg(caption, written).arg(earlier);
            } else {
                first->insert(w, number);
            }
        }
    }
    return texts;
}

} // namespace

TEST_F(ImportRules, SetWiseMatchingAndUniquenessAgreeWithTheRowByRowRules)
{
    // A catalogue kept before the codes were unique: D1 twice, one barcode
    // on two products, a code with a letter the collation folds.
    sql("INSERT INTO product (productid, code, barcode, name, unitname, taxid, price, pricecurrency, inputprice, "
        "inputpricecurrency, supplyprice, planprice, recommendedprice) VALUES "
        "(3, 'D1', '8600000000035', 'Dunja', 'kg', 1, 10, 'RSD', 1, 'RSD', 1, 1, 1), "
        "(4, 'D1', '8600000000042', 'Dinja', 'kg', 1, 10, 'RSD', 1, 'RSD', 1, 1, 1), "
        "(5, 'E1', '8600000000059', 'Efir', 'kg', 1, 10, 'RSD', 1, 'RSD', 1, 1, 1), "
        "(6, 'F1', '8600000000059', 'Feta', 'kg', 1, 10, 'RSD', 1, 'RSD', 1, 1, 1), "
        "(7, 'Čaj1', NULL, 'Čaj', 'kg', 1, 10, 'RSD', 1, 'RSD', 1, 1, 1)");
    QList<QStringList> rows = {
        {"A1", "8600000000011", "20", ""},                     // 2 its own product
        {"a1", "", "20", ""},                                  // 3 the same product again, its code in another case
        {"D1", "", "20", ""},                                  // 4 two products have the code
        {"E1", "8600000000059", "20", ""},                     // 5 its barcode is also another product's
        {"X1", "8600000000059", "20", ""},                     // 6 matched by a barcode two products have
        {"caj1", "", "20", ""},                                // 7 Čaj1 as the collation compares
        {"N1", "8600000000028", "20", ""},                     // 8 matched by barcode, its code changes
        {"B1", "8600000000011", "20", ""},                     // 9 another's barcode, also row 2's
        {"N2", "8600000000012", "20", ""},                     // 10 a wrong check digit, still a key
        {"n2", "", "18", ""},                                  // 11 unknown tax; N2 of row 10
        {"N3", "", "20", "Hrana>Nema"},                        // 12 unknown category
        {QString(25, 'K'), "8600000000073", "20", ""},         // 13 a code too long for its column
        {"N4", "8600000000073", "20", "Hrana>Voće"},          // 14 row 13's barcode
    };
    // A code many rows repeat: their numbers far longer than a list of 1 024 characters.
    for (int i = 0; i < 400; ++i)
        rows << QStringList({"Z1", "", "20", ""});
    QByteArray file = "Kod;Barkod;PDV;Kategorije;Ime;JM;Cena\n";
    for (int i = 0; i < rows.size(); ++i)
        file += (rows[i].join(';') + QStringLiteral(";Proizvod %1;kom;10\n").arg(i)).toUtf8();
    const QStringList expected = rowByRowRefusals(connection(), rows);
    ASSERT_GT(expected.size(), 400);

    QStringList setWise;
    const QStringList all = refusalTexts(check(csv(file)));
    for (const QString& text : all) {
        const auto rules = {"Više proizvoda ima", "Isti proizvod je već", "već ima proizvod", "je već u redu"};
        if (std::any_of(rules.begin(), rules.end(), [&](const char* rule) { return text.contains(QString::fromUtf8(rule)); }))
            setWise << text;
    }
    for (qsizetype i = 0; i < qMax(expected.size(), setWise.size()); ++i)
        ASSERT_EQ(setWise.value(i), expected.value(i)) << "refusal " << i;
}

TEST_F(ImportRules, CategoriesAreMadeOnlyWhenAskedAndOnlyForRowsWritten)
{
    const QByteArray file = "Kod;Ime;JM;PDV;Cena;Kategorije\n"
                            "N1;Šargarepa;kg;20;50;\"Hrana>Povrće>Korenasto;Hrana>Voće\"\n"
                            "N2;Kupus;kg;20;;Pića>Sokovi\n";
    const QString missing = QStringLiteral("Kategorije: Kategorija \"%1\" ne postoji (da bi se napravila, označite "
                                           "\"Napravi kategorije koje ne postoje\").");
    EXPECT_ROWS(refusalTexts(check(csv(file))),
              QStringList({"2 " + missing.arg("Hrana>Povrće>Korenasto"), "3 " + missing.arg("Pića>Sokovi")}));
    const ImportOutcome done = run(csv(file, true, true));
    EXPECT_TRUE(done.written);
    EXPECT_ROWS(refusalTexts(done), QStringList({"3 Cena: " + CMN_FIELD_REQUIRED_ERR.arg("Cena")}));
    EXPECT_ROWS(done.newCategories, QStringList({"Hrana>Povrće", "Hrana>Povrće>Korenasto"}));
    EXPECT_ROWS(rowsOf(db(), "SELECT c.name FROM productcategorypr l JOIN categorypr c ON c.categoryprid = "
                             "l.categoryprid JOIN product p ON p.productid = l.productid WHERE p.code = 'N1' ORDER BY c.name"),
                (QStringList{"Korenasto", "Voće"}));
    EXPECT_EQ(text("SELECT p.name FROM categorypr c JOIN categorypr p ON p.categoryprid = c.parentid WHERE c.name = "
                   "'Korenasto'"),
              QStringLiteral("Povrće"));
    EXPECT_EQ(count("categorypr"), 4); // "Pića>Sokovi" only for the refused row
    EXPECT_EQ(count("product"), 3);
}

TEST_F(ImportRules, PrekiniRollsTheWholeRunBackAndTheNextRunFindsNothingOfIt)
{
    QByteArray file = "Kod;Ime;JM;PDV;Cena;Kategorije\n";
    for (int i = 1; i <= 1200; ++i)
        file += QStringLiteral("P%1;Proizvod %1;kom;20;%1,5;Nova>Grupa %2\n").arg(i).arg(i % 3).toUtf8();
    const ImportSettings settings = csv(file, true);
    EXPECT_EQ(stoppedAt(settings, u"Upis", 1000), 1000);
    EXPECT_EQ(count("product"), 2);
    EXPECT_EQ(count("categorypr"), 2);
    EXPECT_EQ(count("productdetail"), 0);

    const ImportOutcome again = run(settings);
    EXPECT_EQ(std::tuple(again.added, again.changed, int(again.refusals.size())), std::tuple(1200, 0, 0));
    EXPECT_EQ(count("product"), 1202);
    EXPECT_EQ(count("categorypr"), 6);
    EXPECT_EQ(count("productcategorypr"), 1201);
}

TEST_F(ImportRules, AFaultOfTheFileOrAPrekiniWhileItIsReadLeavesNothingAndBlankRowsAreSkipped)
{
    // The file is read on a thread of its own while its first rows are
    // already checked and staged: a fault far down, or a stop midway, must
    // still leave nothing behind, and the reader must not outlive the run.
    QList<QStringList> rows = {{"Kod", "Ime", "JM", "PDV", "Cena"}};
    for (int i = 1; i <= 6000; ++i)
        rows << QStringList({QStringLiteral("P%1").arg(i), QStringLiteral("Proizvod %1").arg(i), "kom", "20", "#12.5"});
    QList<QStringList> withFormula = rows;
    withFormula << QStringList({"P6001", "Proizvod 6001", "kom", "20", "=E2*2"});
    ImportSettings settings = importSettings(writeWorkbook(m_dir, QStringLiteral("formula.xlsx"), withFormula));
    const QString formula = fileRefusal([&] { run(settings); });
    EXPECT_TRUE(formula.contains(QStringLiteral("Ćelija E6002 ima formulu"))) << formula.toStdString();
    EXPECT_EQ(count("product"), 2);

    settings.path = writeWorkbook(m_dir, QStringLiteral("good.xlsx"), rows);
    EXPECT_EQ(stoppedAt(settings, u"Čitanje i provera", 5000), 5000);
    EXPECT_EQ(count("product"), 2);
    const ImportOutcome done = run(settings);
    EXPECT_EQ(std::tuple(done.added, int(done.refusals.size()), done.written), std::tuple(6000, 0, true));

    // Rows with no value are skipped and counted, wherever they are.
    const ImportOutcome blanks = check(csv("Kod;Ime;JM;PDV;Cena\n;;;;\nB9;Sok;kom;20;5\n\n ; ;;;\nC9;Čaj;kom;20;5\n"));
    EXPECT_EQ(std::tuple(blanks.rows, blanks.blankRows, blanks.added), std::tuple(2, 3, 2));
    EXPECT_EQ(refusalTexts(blanks), QStringList());
}

class ImportRoundTrip : public ProductDMTest {
protected:
    static void SetUpTestSuite()
    {
        ProductDMTest::SetUpTestSuite();
        QSqlDatabase d = db();
        generateDemoData(d, DemoScale::tiny(), 29, QDate(2026, 12, 8));
    }
};

TEST_F(ImportRoundTrip, TheExportedDemoCatalogueImportsBackWithoutAChange)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("katalog.xlsx");
    const int exported = exportProducts(connection(), path);
    EXPECT_EQ(exported, scalar(db(), "SELECT COUNT(*) FROM product").toInt());
    const ImportSettings settings = importSettings(path);
    EXPECT_FALSE(settings.mapping.contains(ImportField::None));
    TProductOptions options;
    options.UniqueProductCode = true;
    const ImportOutcome outcome = ProductImport(connection(), options).run(settings);
    EXPECT_EQ(refusalTexts(outcome), QStringList());
    EXPECT_EQ(std::tuple(outcome.added, outcome.changed, outcome.unchanged), std::tuple(0, 0, exported));
}

} // namespace tarvex::test
