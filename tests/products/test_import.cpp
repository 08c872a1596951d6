// The catalogue import on the data side: files read and refused, each rule
// of the editor applied to rows, matching and changes counted, all or
// nothing, "Prekini", and the round trip through the export.

#include "test_import_support.h"

#include "Productexport.h"

using namespace products;

namespace tarvex::test {

namespace {

// The rows read, and into `numbers` their numbers in the file.
QList<QStringList> rowsOf(const QString& path, const ImportFormat& format, QList<int>* numbers = nullptr)
{
    QList<QStringList> rows;
    ImportFile::read(path, format, [&](int number, const QStringList& cells) {
        if (numbers)
            *numbers << number;
        rows << cells;
        return true;
    });
    return rows;
}

} // namespace

TEST(ImportFiles, CsvEncodingSeparatorAndQuotesAreGuessedAndReadAsRfc4180)
{
    QTemporaryDir dir;
    // What the file is, its bytes, then the encoding, separator and rows read.
    const std::tuple<const char*, QByteArray, ImportEncoding, QChar, QList<QStringList>> cases[] = {
        {"utf8 semicolon, quotes with separator, doubled quotes and a line break",
         "Ime;Cena\r\n\"Sok; jabuka\";\"1.234,56\"\r\n\"Reč \"\"A\"\"\nnovi red\";5\r\n", ImportEncoding::Utf8,
         QLatin1Char(';'),
         {{"Ime", "Cena"}, {"Sok; jabuka", "1.234,56"}, {QStringLiteral("Reč \"A\"\nnovi red"), "5"}}},
        {"windows-1250 comma, last line without its end",
         "Ime,JM\n\x8A" "argarepa,kg\n\xC8" "aj,kom", ImportEncoding::Windows1250, QLatin1Char(','),
         {{"Ime", "JM"}, {QStringLiteral("Šargarepa"), "kg"}, {QStringLiteral("Čaj"), "kom"}}},
        {"utf8 with its mark, tabs, an empty last field",
         "\xEF\xBB\xBFKod\tIme\tJM\nA1\tSo\xC4\x8Divo\t\n", ImportEncoding::Utf8, QLatin1Char('\t'),
         {{"Kod", "Ime", "JM"}, {"A1", QStringLiteral("Sočivo"), ""}}},
    };
    for (const auto& [name, bytes, encoding, separator, rows] : cases) {
        SCOPED_TRACE(name);
        const QString path = writeFile(dir, QStringLiteral("f.csv"), bytes);
        const ImportFormat format = ImportFile::guess(path);
        EXPECT_FALSE(format.spreadsheet);
        EXPECT_EQ(format.encoding, encoding);
        EXPECT_EQ(format.separator, separator);
        EXPECT_EQ(rowsOf(path, format), rows);
    }
}

TEST(ImportFiles, AWorkbookIsReadWithNumbersAsWrittenSparseCellsAndRowNumbers)
{
    QTemporaryDir dir;
    const QString path = writeWorkbook(dir, QStringLiteral("a.xlsx"),
                                       {{"Ime", "Cena", "Kod"}, {QStringLiteral("Šljive"), "#1234.5", "K1"},
                                        {}, {"Kruške", "1.234,50", ""}});
    const ImportFormat format = ImportFile::guess(path);
    EXPECT_TRUE(format.spreadsheet);
    QList<int> numbers;
    const QList<QStringList> rows = rowsOf(path, format, &numbers);
    EXPECT_ROWS(numbers, QList<int>({1, 2, 4}));
    // A number cell comes as it is typed here, with the decimal comma.
    EXPECT_ROWS(rows, QList<QStringList>({{"Ime", "Cena", "Kod"}, {QStringLiteral("Šljive"), "1234,5", "K1"},
                                        {QStringLiteral("Kruške"), "1.234,50"}}));
}

TEST(ImportFiles, ASheetLargerThanOneReadPieceLosesNoCell)
{
    // Inline strings (as the export writes them) and shared strings, each
    // sheet far beyond the 64 KB pieces the part is read in.
    QTemporaryDir dir;
    QList<QStringList> rows;
    for (int i = 0; i < 4000; ++i)
        rows << QStringList({QStringLiteral("Proizvod broj %1 sa dužim imenom").arg(i), QString::number(i) + ",25"});
    const QString inlined = dir.filePath(QStringLiteral("inline.xlsx"));
    {
        SheetWriter sheet(inlined);
        for (int i = 0; i < rows.size(); ++i) {
            sheet.text(i, 0, rows[i][0]);
            sheet.number(i, 1, i + 0.25);
        }
        sheet.close();
    }
    for (int i = 0; i < rows.size(); ++i)
        rows[i][1] = QStringLiteral("#%1.25").arg(i);
    const QString shared = writeWorkbook(dir, QStringLiteral("shared.xlsx"), rows);
    for (int i = 0; i < rows.size(); ++i)
        rows[i][1] = QStringLiteral("%1,25").arg(i);
    for (const QString& path : {shared, inlined}) {
        SCOPED_TRACE(path.toStdString());
        const QList<QStringList> read = rowsOf(path, ImportFile::guess(path));
        ASSERT_EQ(read.size(), rows.size());
        for (int i = 0; i < rows.size(); ++i)
            ASSERT_EQ(read[i], rows[i]) << "row " << i;
    }
}

TEST(ImportFiles, ASheetFromAnotherWriterReadsWhateverItsPrefixesAndEntities)
{
    // Prefixed elements, entities and character references, a cell without
    // its reference, a shared string split in runs with a phonetic hint.
    QTemporaryDir dir;
    const QString path = writeWorkbook(dir, QStringLiteral("x.xlsx"), {{"Ime", "Kod"}, {"Sok", "K1"}});
    replaceSheetXml(path,
                    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<x:worksheet xmlns:x=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><x:sheetData>"
                    "<x:row r=\"1\"><x:c r=\"A1\" t=\"inlineStr\"><x:is><x:t>Ime</x:t></x:is></x:c>"
                    "<x:c r=\"C1\" t=\"s\"><x:v>0</x:v></x:c></x:row>"
                    "<x:row r=\"3\"><x:c t=\"inlineStr\"><x:is><x:r><x:t>Sok &amp; </x:t></x:r><x:r><x:t>"
                    "&#x10C;aj</x:t></x:r><x:rPh><x:t>skip</x:t></x:rPh></x:is></x:c><x:c><x:v>1.5E-3</x:v></x:c>"
                    "<x:c r=\"C3\" t=\"str\"><x:v>&lt;K1&gt;</x:v></x:c></x:row>"
                    "</x:sheetData></x:worksheet>");
    QList<int> numbers;
    const QList<QStringList> rows = rowsOf(path, ImportFile::guess(path), &numbers);
    EXPECT_ROWS(numbers, QList<int>({1, 3}));
    // Shared string 0 of the workbook written first is "Ime".
    EXPECT_ROWS(rows, QList<QStringList>({{"Ime", "", "Ime"}, {QStringLiteral("Sok & Čaj"), "0,0015", "<K1>"}}));

    // What the sheet holds, its XML, and what the refusal says.
    const std::tuple<const char*, QByteArray, QString> cases[] = {
        {"an entity declared (it could grow without end)",
         "<?xml version=\"1.0\"?><!DOCTYPE w [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;\">]>"
         "<worksheet><sheetData><row r=\"1\"><c t=\"inlineStr\"><is><t>&b;</t></is></c></row></sheetData>"
         "</worksheet>",
         "deklaracije entiteta nisu dozvoljene"},
        {"tags that do not close", "<worksheet><sheetData><row r=\"1\"><c><v>1</v></row></sheetData></worksheet>",
         "nije ispravan XML (red 1"},
        {"an error value", "<worksheet><sheetData><row r=\"2\"><c r=\"B2\" t=\"e\"><v>#DIV/0!</v></c></row>"
                           "</sheetData></worksheet>",
         "Ćelija B2 ima grešku (#DIV/0!)"},
        {"a formula in a cell without its reference",
         "<worksheet><sheetData><row r=\"4\"><c><v>1</v></c><c><f>A4*2</f><v>2</v></c></row></sheetData></worksheet>",
         "Ćelija B4 ima formulu"},
    };
    for (const auto& [name, xml, expected] : cases) {
        SCOPED_TRACE(name);
        replaceSheetXml(path, xml);
        const QString text = fileRefusal([&] { rowsOf(path, ImportFile::guess(path)); });
        EXPECT_TRUE(text.contains(expected)) << text.toStdString();
    }
}

TEST(ImportFiles, HostileFilesAreRefusedWithAReasonTheUserCanActOn)
{
    QTemporaryDir dir;
    QStringList wide;
    for (int i = 0; i < 200; ++i)
        wide << QStringLiteral("K%1").arg(i);

    // What the file is, how it is made, and what the refusal says.
    const std::tuple<const char*, std::function<QString()>, QString> cases[] = {
        {"a broken zip", [&] { return writeFile(dir, "broken.xlsx", "PK\x03\x04 not really a zip archive"); },
         "oštećena ZIP arhiva"},
        {"a 1 GB file",
         [&] {
             const QString path = writeFile(dir, "huge.csv", "");
             QFile::resize(path, 1024LL * 1024 * 1024);
             return path;
         },
         "prevelika (1.024 MB)"},
        {"UTF-16", [&] { return writeFile(dir, "u16.csv", QByteArray("\xFF\xFEI\0m\0e\0", 8)); }, "UTF-16"},
        {"a formula", [&] { return writeWorkbook(dir, "f.xlsx", {{"Ime", "Cena"}, {"Sok", "=1+2"}}); },
         "Ćelija B2 ima formulu"},
        {"merged cells",
         [&] {
             return writeWorkbook(dir, "m.xlsx", {{"Ime", "Cena"}, {"Sok", "5"}}, [](lxw_worksheet* s) {
                 worksheet_merge_range(s, 2, 0, 2, 1, "spojeno", nullptr);
             });
         },
         "spojene ćelije (A3:B3)"},
        {"200 columns", [&] { return writeFile(dir, "wide.csv", wide.join(';').toUtf8()); }, "Red 1 ima 200 kolona"},
        {"200 columns in a workbook", [&] { return writeWorkbook(dir, "wide.xlsx", {wide}); },
         "više od 100 kolona"},
        {"an unclosed quote", [&] { return writeFile(dir, "q.csv", "Ime\n\"Sok\n"); }, "Navodnik otvoren u redu 2"},
        {"an empty file", [&] { return writeFile(dir, "e.csv", ""); }, "Datoteka je prazna."},
    };
    for (const auto& [name, make, expected] : cases) {
        SCOPED_TRACE(name);
        const QString path = make();
        const QString text = fileRefusal([&] { ImportFile::read(path, ImportFile::guess(path), [](int, auto&) { return true; }); });
        EXPECT_TRUE(text.contains(expected)) << text.toStdString();
    }

    // Text that is not UTF-8 where UTF-8 was chosen, and not Windows-1250 where that was.
    const QString latin = writeFile(dir, "latin.csv", "Ime\n\x8A" "argarepa\n");
    ImportFormat utf8;
    EXPECT_TRUE(fileRefusal([&] { rowsOf(latin, utf8); }).contains("nije ispravan UTF-8 tekst (bajt 5)"));
    ImportFormat cp1250;
    cp1250.encoding = ImportEncoding::Windows1250;
    EXPECT_TRUE(fileRefusal([&] { rowsOf(writeFile(dir, "x.csv", "Ime\n\x98\n"), cp1250); })
                    .contains("ne postoji u kodnoj strani Windows-1250"));

    // A file another program writes while it is read.
    const QString changing = writeFile(dir, "changing.csv", "Ime\nA\nB\nC\n");
    const QString changed = fileRefusal([&] {
        ImportFile::read(changing, ImportFile::guess(changing), [&](int row, const QStringList&) {
            if (row == 2)
                writeFile(dir, "changing.csv", "Ime\nA\nB\nC\nD\n");
            return true;
        });
    });
    EXPECT_TRUE(changed.contains("izmenjena dok je čitana")) << changed.toStdString();
}

TEST(ImportMapping, TitlesSuggestFieldsAndAChosenMappingIsRememberedPerHeader)
{
    const QStringList header = {"Šifra", "Naziv", "EAN", "Cena + PDV", "Kategorija", "Napomena", "Cena"};
    EXPECT_ROWS(guessImportMapping(header),
              QList<ImportField>({ImportField::Code, ImportField::Name, ImportField::Barcode, ImportField::PriceWithVat,
                                  ImportField::Categories, ImportField::None, ImportField::Price}));
    QTemporaryDir dir;
    TIniFile settings(dir.filePath("tarvex.ini"));
    ImportMappingMemory memory(settings);
    EXPECT_FALSE(memory.recall(header).has_value());
    QList<ImportField> chosen = guessImportMapping(header);
    chosen[5] = ImportField::ForeignName;
    memory.remember(header, chosen);
    EXPECT_EQ(memory.recall(header), chosen);
    EXPECT_FALSE(memory.recall(QStringList(header.mid(1))).has_value());
}

} // namespace tarvex::test
