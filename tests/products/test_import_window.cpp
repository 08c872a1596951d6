// The import window driven as a user drives it: the file chosen through the
// dialogs service's file dialog, the guessed format and mapping shown, one
// column's field changed by keys, "Proba", then "Uvezi" with "Samo ispravni
// redovi", and the refused rows saved as a sheet. Qt's warnings are faults.

#include "test_import_support.h"

#include "Productimportunit.h"
#include "Productresourcestring.h"
#include "ScriptedDialogs.h"
#include "test_user_paths.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

using namespace products;

namespace tarvex::test {

namespace {

QStringList column(const QTableWidget& table, int c)
{
    QStringList texts;
    for (int r = 0; r < table.rowCount(); ++r)
        texts << (table.item(r, c) ? table.item(r, c)->text() : QString());
    return texts;
}

class ImportWindow : public ProductDMTest {
protected:
    void SetUp() override
    {
        emptyTables(db());
        sql("INSERT INTO tax (taxid, name, value, status) VALUES (1, 'PDV20', 20, 'primary')");
        sql("INSERT INTO currency (code, status) VALUES ('RSD', 'primary')");
        sql("INSERT INTO product (productid, code, name, unitname, taxid, price, pricecurrency, inputprice, "
            "inputpricecurrency, supplyprice, planprice) VALUES (1, 'A1', 'Jabuka', 'kg', 1, 100, 'RSD', 1, 'RSD', 1, "
            "1)");
        dm().Options = TProductOptions();
        dm().Options.UniqueProductCode = true;
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(ImportWindow, AFileIsChosenMappedTriedAndImportedByClicks)
{
    const QString path = writeFile(m_dir, QStringLiteral("cenovnik.csv"),
                                   "Šifra,Naziv,JM,Cena,Napomena\n"
                                   "A1,Jabuka,kg,\"120,50\",domaća\n"
                                   "N1,Sok,kom,80,ceđen\n"
                                   "N2,Čaj: zeleni,kom,50,\n");
    ScriptedDialogs script;
    const QString refused = m_dir.filePath(QStringLiteral("odbijeni.xlsx"));
    script.answer(path).answer(refused);
    inWindow<TProductImportForm>(ProductImportExecute, [&](TProductImportForm& form) {
        click(form.FileButton);
        EXPECT_EQ(form.FileEdit->text(), path);
        EXPECT_EQ(form.FormatLabel->text(), "CSV tekst");
        EXPECT_EQ(form.EncodingCombo->currentText(), "UTF-8");
        EXPECT_EQ(form.SeparatorCombo->currentText(), "Zarez (,)");
        EXPECT_ROWS(column(*form.MappingTable, 0), QStringList({"Šifra", "Naziv", "JM", "Cena", "Napomena"}));
        EXPECT_ROWS(column(*form.MappingTable, 2), QStringList({"A1", "Jabuka", "kg", "120,50", "domaća"}));
        QStringList fields;
        for (int c = 0; c < 5; ++c)
            fields << form.fieldCombo(c)->currentText();
        EXPECT_ROWS(fields, QStringList({"Kod", "Ime", "JM", "Cena", "(ne uvozi se)"}));
        EXPECT_ROWS(column(*form.PreviewTable, 1), QStringList({"Jabuka", "Sok", "Čaj: zeleni"}));

        // "Napomena" goes into the foreign name: the user types into the closed combo.
        QComboBox* note = form.fieldCombo(4);
        note->setFocus();
        QTest::keyClicks(note, QStringLiteral("Str"));
        EXPECT_EQ(note->currentText(), "Strano ime");

        click(form.ProbaButton);
        EXPECT_EQ(form.SummaryLabel->text(),
                  "Redova: 3. Novih: 1, izmenjenih: 1, bez izmena: 0, odbijenih: 1. Izmene po poljima: Strano ime 1, "
                  "Cena 1.");
        EXPECT_ROWS(column(*form.RefusalTable, 0), QStringList({"4"}));
        EXPECT_ROWS(column(*form.RefusalTable, 1), QStringList({"Ime"}));
        EXPECT_EQ(text("SELECT COUNT(*) FROM product"), "1");

        // All or nothing refuses; with "Samo ispravni redovi" the good rows go in.
        click(form.ImportButton);
        EXPECT_EQ(script.messages().value(0),
                  "Ništa nije uvezeno: 1 redova ima greške (spisak je u prozoru). Ispravite ih, ili označite \"Samo "
                  "ispravni redovi\".");
        EXPECT_EQ(text("SELECT COUNT(*) FROM product"), "1");
        click(form.OnlyValidCheck);
        click(form.ImportButton);
        EXPECT_EQ(script.messages().value(1), "Uvoz je završen: 1 novih proizvoda, 1 izmenjenih.");
        EXPECT_ROWS(rowsOf(db(), "SELECT code, price, foreignname FROM product ORDER BY code"),
                    (QStringList{"A1|120.5|domaća", "N1|80|ceđen"}));

        click(form.SaveRefusedButton);
        QList<QStringList> saved;
        ImportFile::read(refused, ImportFile::guess(refused), [&](int, const QStringList& cells) {
            saved << cells;
            return true;
        });
        EXPECT_ROWS(saved, QList<QStringList>({{"Red", "Greške", "Šifra", "Naziv", "JM", "Cena", "Napomena"},
                                             {"4", "Ime: " + PROD_NAME_CHAR_ERR, "N2", "Čaj: zeleni", "kom", "50"}}));
    });
    EXPECT_FALSE(script.pending());
}

TEST_F(ImportWindow, AChosenMappingComesBackForTheSameHeaderAndAHostileFileIsToldNotPreviewed)
{
    const QString path = writeFile(m_dir, QStringLiteral("a.csv"), "Kod;Opis;Cena\nA1;x;5\n");
    const QString broken = writeFile(m_dir, QStringLiteral("b.xlsx"), "PK\x03\x04 broken");
    ScriptedDialogs script;
    script.answer(path).answer(path).answer(broken);
    inWindow<TProductImportForm>(ProductImportExecute, [&](TProductImportForm& form) {
        click(form.FileButton);
        QComboBox* description = form.fieldCombo(1);
        description->setFocus();
        QTest::keyClicks(description, QStringLiteral("Ime"));
        EXPECT_EQ(description->currentText(), "Ime");
        click(form.ProbaButton); // remembers the mapping
    });
    inWindow<TProductImportForm>(ProductImportExecute, [&](TProductImportForm& form) {
        click(form.FileButton);
        EXPECT_EQ(form.fieldCombo(1)->currentText(), "Ime");
        click(form.FileButton);
        EXPECT_EQ(form.MappingTable->rowCount(), 0);
        EXPECT_FALSE(form.ProbaButton->isEnabled());
    });
    ASSERT_EQ(script.messages().size(), 1);
    EXPECT_TRUE(script.messages().first().contains("oštećena ZIP arhiva")) << script.messages().first().toStdString();
}

} // namespace tarvex::test
