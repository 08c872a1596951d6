// The editor's pages of stock and record keeping: the warehouses group with
// its recount, the cash-register page (groups, sort numbers, PLUs), the
// fixed-asset page, and the picture and scanned document kept as files.

#include "DBGrid.h"
#include "HostStrings.h"
#include "Modal.h"
#include "Productdmunit.h"
#include "Productfixedassetpage.h"
#include "Productimagepage.h"
#include "Productkasaunit.h"
#include "Productresourcestring.h"
#include "Productscanneddocument.h"
#include "Productsnapin.h"
#include "Productwarehousesunit.h"
#include "ScratchHelpers.h"
#include "Siblingintf.h"
#include "UserDriving.h"
#include "test_alter_console.h"
#include "test_editor_support.h"
#include "test_workerstop.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;

namespace {

QVariant productValue(const char* field)
{
    const Field& f = ProductDM->ProductZQ->fieldByName(field);
    return f.isNull() ? QVariant() : f.value();
}

// The product's cash-register group and sort number, as the window holds them.
void expectKasaPlace(const QVariant& group, const QVariant& sort)
{
    EXPECT_EQ(productValue("kasagroupid").toString(), group.toString());
    EXPECT_EQ(productValue("kasasort").toString(), sort.toString());
}

Field& asset(const char* name)
{
    return ProductDM->FixedAssetZQ->fieldByName(QString::fromUtf8(name));
}

// The asset row in edit state with a value, as the user leaves it.
void setAsset(const char* name, const QVariant& value)
{
    ProductDM->FixedAssetZQ->edit();
    asset(name).setValue(value);
}

void pickGroup(TProductDetailForm& form, int index)
{
    form.KasaTS->KasaGroupCB()->setCurrentIndex(index);
    emit form.KasaTS->KasaGroupCB()->activated(index);
}

// A depreciation-group module that hands out one group.
template <const QUuid& Iid>
class GroupPicker final : public ComObject<IDepreciationGroupService, Iid> {
public:
    GroupPicker(qint64 id, double percent) : m_id(id), m_percent(percent) {}
    bool GetGroup(qint64& id, double& percent) override
    {
        id = m_id;
        percent = m_percent;
        return true;
    }

private:
    qint64 m_id;
    double m_percent;
};

// A picture file of the given width (the content tells its format).
QString writePicture(const QString& path, int width, QColor colour = Qt::darkCyan)
{
    QImage image(width, 40, QImage::Format_RGB32);
    image.fill(colour);
    EXPECT_TRUE(image.save(path, "PNG"));
    return path;
}

// Records the documents opened instead of starting a program.
struct RecordedOpener {
    RecordedOpener() { previous = SetDocumentOpener([this](const QString& path) { opened << path; }); }
    ~RecordedOpener() { SetDocumentOpener(previous); }
    QStringList opened;
    DocumentOpener previous;
};

} // namespace

using EditorWarehouses = EditorTest;

TEST_F(EditorWarehouses, RowsShowTheirColumnsTotalMinimumAndOnlyTheLocalDefaultAndTheRecountFixesAmounts)
{
    sql("INSERT INTO productwarehouse (productid, warehouseid, amount, reservedamount, reversedamount, price, "
        "minstock, place) VALUES (10, 1, 5, 1, 0.5, 100, 5, 'A1'), (10, 2, 5.5, 0, 0, 90, 5, NULL)");
    openProduct(10);
    {
        TProductDetailForm form;
        DBGrid& grid = *form.Warehouses->WarehouseDBG();
        ASSERT_EQ(grid.model()->rowCount(), 2);
        // By warehouse name: Drugi, Glavni.
        const auto cell = [&grid](int row, int column) { return grid.model()->index(row, column).data().toString(); };
        EXPECT_EQ(cell(0, 0), "Drugi");
        EXPECT_EQ(cell(1, 4), "3,5");
        EXPECT_EQ(cell(1, 7), "120,00");
        for (int column = 0; column < 11; ++column)
            EXPECT_EQ(bool(grid.model()->flags(grid.model()->index(0, column)) & Qt::ItemIsEditable), column >= 8)
                << column;
        EXPECT_EQ(form.Warehouses->TotalLabel()->text(), "Ukupna slobodna količina: 9");

        // Minimum 5 reaches amount 5 (Glavni) but not 5.5 (Drugi).
        EXPECT_FALSE(grid.model()->index(0, 0).data(Qt::BackgroundRole).value<QColor>().isValid());
        EXPECT_EQ(grid.model()->index(1, 3).data(Qt::BackgroundRole).value<QColor>(), QColor(255, 128, 128));

        // An edited row is posted by apply.
        ASSERT_TRUE(grid.model()->setData(grid.model()->index(1, 10), "B7", Qt::EditRole));
        EXPECT_TRUE(form.CustomApply()->isEnabled());
        form.ApplyButton()->click();
        EXPECT_EQ(text("SELECT place FROM productwarehouse WHERE productid = 10 AND warehouseid = 1"), "B7");

        // Five rows in view, on the first page.
        form.show();
        ASSERT_TRUE(grid.isVisible());
        EXPECT_GE(grid.viewport()->height(), 5 * grid.verticalHeader()->defaultSectionSize());

        // The card buttons open the product's cards, owned by the editor.
        QStringList opened;
        ScopedModalHandler cards([&](QDialog& dialog) {
            EXPECT_EQ(dialog.parentWidget(), &form);
            opened << QString::fromUtf8(dialog.metaObject()->className());
            return int(QDialog::Rejected);
        });
        form.Warehouses->WareHistoryButton()->click();
        form.Warehouses->StockButton()->click();
        EXPECT_ROWS(opened, (QStringList{"products::TWareHistoryForm", "products::TStockHistoryForm"}));
        EXPECT_TRUE(script.messages().isEmpty()) << script.messages().join('\n').toStdString();

        // Only the local default warehouse is listed, when the name is one.
        TProductWarehousesGroup& group = *form.Warehouses;
        dm().Options.OnlyLocalDefaultWarehouseProds = true;
        dm().Options.DefWarehouseName = QStringLiteral("Nepostojeći");
        group.OpenWarehouses();
        EXPECT_EQ(dm().ProductWarehouseZQ->recordCount(), 2);
        dm().Options.DefWarehouseName = QStringLiteral("glavni");
        group.OpenWarehouses();
        ASSERT_EQ(dm().ProductWarehouseZQ->recordCount(), 1);
        EXPECT_EQ(dm().ProductWarehouseZQ->fieldByName("name").asString(), "Glavni");
        EXPECT_EQ(group.TotalLabel()->text(), "Ukupna slobodna količina: 3,5");
        // A null minimum marks a row without stock.
        dm().Options.OnlyLocalDefaultWarehouseProds = false;
        sql("UPDATE productwarehouse SET minstock = NULL, amount = 0 WHERE warehouseid = 2");
        sql("UPDATE productwarehouse SET minstock = NULL, amount = 0.5 WHERE warehouseid = 1");
        group.OpenWarehouses();
        EXPECT_TRUE(TProductWarehousesGroup::belowMinimum(*dm().ProductWarehouseZQ, 0));
        EXPECT_FALSE(TProductWarehousesGroup::belowMinimum(*dm().ProductWarehouseZQ, 1));
    }

    // The recount rewrites only amounts that differ from the documents.
    // Glavni: +8 received, -2.5 sold, 1 moved to Drugi; an unposted document does not count.
    sql("INSERT INTO document (documentid, documentdate, documenttype, number, direction, warehouseid, inwarehouseid, "
        "status) VALUES (1, '2024-01-05', 'K', '1', 1, 1, NULL, 'p'), (2, '2024-01-06', 'R', '2', -1, 1, NULL, 'p'), "
        "(3, '2024-01-07', 'I', '3', -1, 1, 2, 'p'), (4, '2024-01-08', 'K', '4', 1, 1, NULL, 'o')");
    sql("INSERT INTO documentitem (documentid, productid, quantity) VALUES (1, 10, 8), (2, 10, 2.5), (3, 10, 1), "
        "(4, 10, 100)");
    // Drugi's stored amount equals its count (1) after rounding to 6 decimals.
    sql("UPDATE productwarehouse SET amount = 1.0000000004 WHERE warehouseid = 2");
    dm().Options.CheckProductAmounts = true;
    openProduct(10);
    TProductWarehousesGroup group;
    const auto amounts = [] { return rowsOf(db(), "SELECT amount FROM productwarehouse ORDER BY warehouseid"); };
    group.OpenWarehouses();
    EXPECT_ROWS(amounts(), (QStringList{"4.5", "1.0000000004"}));
    // The grid shows the corrected amounts.
    ASSERT_TRUE(dm().ProductWarehouseZQ->locate("warehouseid", 1));
    EXPECT_DOUBLE_EQ(dm().ProductWarehouseZQ->fieldByName("amount").asFloat(), 4.5);
    EXPECT_EQ(group.TotalLabel()->text(), "Ukupna slobodna količina: 4");

    // The count waits on locked documents until "Prekini": the amounts stay
    // as stored, shown as stored, and the group works on.
    sql("UPDATE productwarehouse SET amount = 7 WHERE warehouseid = 1");
    group.show();
    const workerstop::Stop stop = workerstop::stopWhileLocked(
        db(), "document", *group.RecountBar(), "Stanje iz dokumenata", [&] { group.OpenWarehouses(); },
        [&] { EXPECT_FALSE(group.WareHistoryButton()->isEnabled()); });
    EXPECT_TRUE(stop.clicked);
    EXPECT_ROWS(amounts(), (QStringList{"7", "1.0000000004"}));
    ASSERT_TRUE(dm().ProductWarehouseZQ->locate("warehouseid", 1));
    EXPECT_DOUBLE_EQ(dm().ProductWarehouseZQ->fieldByName("amount").asFloat(), 7);
    EXPECT_EQ(group.TotalLabel()->text(), "Ukupna slobodna količina: 6,5");
    EXPECT_TRUE(group.WareHistoryButton()->isEnabled());
    group.OpenWarehouses();
    EXPECT_ROWS(amounts(), (QStringList{"4.5", "1.0000000004"}));
}

using EditorKasa = EditorTest;

TEST_F(EditorKasa, AGroupPutsTheProductLastAutoPluTakesTheLowestFreeNumberOnceAndAFullVireoRangeWarns)
{
    sql("INSERT INTO kasagroup (kasagroupid, name) VALUES (1, 'Piće'), (2, 'Hrana')");
    // Group 1 holds sort numbers 1, 2 and 7; PLUs 1 and 2 are taken.
    sql("INSERT INTO product (productid, name, unitname, taxid, pricecurrency, kasagroupid, kasasort, kasaplu) "
        "VALUES (11, 'Sok', 'kom', 1, 'RSD', 1, 1, 1), (12, 'Voda', 'kom', 1, 'RSD', 1, 2, 2), "
        "(13, 'Pivo', 'kom', 1, 'RSD', 1, 7, NULL)");
    openProduct(10);
    {
        TProductDetailForm form;
        QComboBox* groups = form.KasaTS->KasaGroupCB();
        ASSERT_EQ(groups->count(), 3);
        EXPECT_EQ(groups->itemText(0), "");
        EXPECT_EQ(groups->itemText(1), "Piće");
        EXPECT_EQ(groups->currentIndex(), 0);
        EXPECT_TRUE(form.KasaTS->KasaPLUDBE()->isReadOnly());

        pickGroup(form, 1);
        EXPECT_EQ(dm().ProductZQ->state(), DataSetState::Edit);
        expectKasaPlace(1, 8);
        EXPECT_EQ(form.KasaTS->KasaSortDBE()->text(), "8");
        // An empty group starts at 1.
        pickGroup(form, 2);
        expectKasaPlace(2, 1);
        pickGroup(form, 1);
        pickGroup(form, 0);
        expectKasaPlace(QVariant(), 8);
        form.ApplyButton()->click();
        EXPECT_EQ(script.messages(), QStringList());
        EXPECT_ROWS(rowsOf(db(), "SELECT kasagroupid, kasasort FROM product WHERE productid = 10"), QStringList{"-|8"});
    }
    {
        openProduct(12);
        TProductDetailForm form;
        EXPECT_EQ(form.KasaTS->KasaGroupCB()->currentText(), "Piće");
        // Already in the group: it counts itself.
        pickGroup(form, 1);
        expectKasaPlace(1, 8);
        form.CancelButton()->click();
    }
    // A group that is not there selects nothing.
    sql("UPDATE product SET kasagroupid = 99 WHERE productid = 10");
    openProduct(10);
    TProductDetailForm form;
    EXPECT_EQ(form.KasaTS->KasaGroupCB()->currentIndex(), -1);
    expectKasaPlace(99, 8);

    // Auto PLU takes the lowest free number once, not on a restaurant table.
    form.KasaTS->AutoPLU()->trigger();
    EXPECT_EQ(form.KasaTS->KasaPLUDBE()->text(), "3");
    form.ApplyButton()->click();
    EXPECT_EQ(column("kasaplu").toInt(), 3);
    // A product that has a PLU keeps it, with either action.
    form.KasaTS->AutoPLU()->trigger();
    form.KasaTS->AutoPLUVireo()->trigger();
    EXPECT_EQ(productValue("kasaplu").toInt(), 3);
    EXPECT_EQ(dm().ProductZQ->state(), DataSetState::Browse);
    EXPECT_TRUE(script.messages().isEmpty());

    sql("INSERT INTO kasatableitem (productid, quantity) VALUES (10, 2)");
    form.KasaTS->ClearPLU()->trigger();
    EXPECT_ROWS(script.messages(), QStringList{PROD_NOT_CHANGE_PLU_ERR});
    EXPECT_EQ(script.shown().value(0).kind, MessageKind::Error);
    EXPECT_EQ(productValue("kasaplu").toInt(), 3);
    sql("DELETE FROM kasatableitem");
    form.KasaTS->ClearPLU()->trigger();
    EXPECT_TRUE(productValue("kasaplu").isNull());
    form.ApplyButton()->click();
    EXPECT_EQ(text("SELECT IFNULL(kasaplu, 'null') FROM product WHERE productid = 10"), "null");
    EXPECT_EQ(script.messages().size(), 1);

    // Every four-digit PLU taken: the Vireo range warns, the ordinary one goes on silently.
    sql("INSERT INTO product (name, unitname, taxid, pricecurrency, kasaplu) "
        "SELECT CONCAT('P', seq), 'kom', 1, 'RSD', seq FROM seq_3_to_9999");
    script.clear();
    form.KasaTS->AutoPLUVireo()->trigger();
    EXPECT_ROWS(script.messages(), QStringList{PROD_PLU_NOT_CNG_WRN});
    EXPECT_EQ(script.shown().value(0).kind, MessageKind::Warning);
    EXPECT_TRUE(productValue("kasaplu").isNull());
    EXPECT_EQ(dm().ProductZQ->state(), DataSetState::Browse);
    form.KasaTS->AutoPLU()->trigger();
    EXPECT_EQ(productValue("kasaplu").toInt(), 10000);
    EXPECT_EQ(script.messages().size(), 1);
}

using EditorFixedAsset = EditorTest;

TEST_F(EditorFixedAsset, CancelKeepsAnEditedAssetForTheCloseCheckDatesSnapToTheirMonthAndGroupsComeFromSiblingModules)
{
    sql("INSERT INTO depreciationgroup (depreciationgroupid, percent) VALUES (3, 15)");
    sql("INSERT INTO depreciationaccountinggroup (depreciationaccountinggroupid, percent) VALUES (4, 12.5)");
    sql("INSERT INTO product (productid, name, unitname, taxid, pricecurrency, type) VALUES "
        "(30, 'Viljuškar', 'kom', 1, 'RSD', 'o')");
    sql("INSERT INTO fixedasset (productid, inventorynumber, location, depreciationstartdate, "
        "depreciationenddate, depreciationpercent, depreciationgroupid, depreciationaccountinggroupid) VALUES "
        "(30, 'INV-1', 'Magacin A', '2020-01-01', '2024-12-01', 0, 3, 4)");
    openProduct(30);
    for (const char* number : {"INV-2", "INV-3"}) {
        TProductDetailForm form;
        ASSERT_TRUE(pageShown(form.PageControl(), form.FixedAssetTS));
        EXPECT_EQ(form.FixedAssetTS->InventoryNumberDBE->text(), "INV-1");
        EXPECT_EQ(form.FixedAssetTS->DepreciationGroupPercentDBE->text(), "15");
        EXPECT_EQ(form.FixedAssetTS->LocationDBCB->findText("Magacin A"), 0);
        setAsset("inventorynumber", QString::fromUtf8(number));
        // Cancel leaves the asset edited, so the close check asks: No drops it, Yes saves it.
        const bool keep = number == std::string("INV-3");
        script.clear();
        script.answer(keep ? ButtonYes : ButtonNo);
        form.CustomCancel()->trigger();
        EXPECT_ROWS(script.messages(), QStringList{CMN_SAVE_CHANGES_PROMT});
        EXPECT_EQ(ProductDM->FixedAssetZQ->state(), DataSetState::Browse);
        EXPECT_EQ(text("SELECT inventorynumber FROM fixedasset WHERE productid = 30"), keep ? "INV-3" : "INV-1");
    }
    // Dates snap to their month, the percentage follows the months, groups come from sibling modules.
    TProductDetailForm form;
    TProductFixedAssetPage& page = *form.FixedAssetTS;
    // The date picked (none cancels and changes nothing), the dates then and
    // the percentage their months give.
    using Button = QToolButton* TProductFixedAssetPage::*;
    const Button start = &TProductFixedAssetPage::DepreciationStartDateB;
    const Button end = &TProductFixedAssetPage::DepreciationEndDateB;
    struct Pick { Button button; QDate answer, start, end; double percent; };
    const Pick picks[] = {
        {nullptr, {}, {2020, 1, 1}, {2024, 12, 1}, 20},          // 60 months
        {start, {2021, 3, 17}, {2021, 3, 1}, {2021, 3, 1}, 100}, // one month gives 1200
        {end, {2023, 3, 28}, {2021, 3, 1}, {2023, 3, 1}, 50},    // 24 months
        {end, {2022, 1, 5}, {2021, 3, 1}, {2022, 1, 1}, 100},    // 11 months give 109.09
        {end, {}, {2021, 3, 1}, {2022, 1, 1}, 100},
    };
    script.clear();
    for (const Pick& pick : picks) {
        if (pick.button) {
            script.answer(pick.answer);
            click(page.*pick.button);
        }
        EXPECT_EQ(asset("depreciationstartdate").asDate(), pick.start);
        EXPECT_EQ(asset("depreciationenddate").asDate(), pick.end);
        click(page.DepreciationCalculateB);
        EXPECT_EQ(asset("depreciationpercent").asFloat(), pick.percent);
    }
    EXPECT_EQ(script.shown().value(0).text, "2020-01-01"); // the start date offered
    script.answer(QDate(2019, 5, 20));
    click(page.PurchaseDateB);
    form.CustomApply()->trigger();
    EXPECT_ROWS(rowsOf(db(), "SELECT depreciationstartdate, depreciationenddate, depreciationpercent, purchasedate "
                             "FROM fixedasset WHERE productid = 30"),
                QStringList{"2021-03-01|2022-01-01|100|2019-05-20"});

    // Without the group modules the buttons do nothing.
    script.clear();
    click(page.DepreciationGroupB);
    click(page.DepreciationAccountingGroupB);
    EXPECT_EQ(ProductDM->FixedAssetZQ->state(), DataSetState::Browse);
    EXPECT_TRUE(script.messages().isEmpty());

    altertest::TestConsole scoped(false);
    scoped.console.addService(ComPtr<IInterface>(new GroupPicker<IID_IDepreciationGroupService>(5, 15)));
    scoped.console.addService(ComPtr<IInterface>(new GroupPicker<IID_IDepreciationAccountingGroupService>(6, 15)));
    // The tax group sets the percentage only where there is none.
    setAsset("depreciationpercent", 0);
    click(page.DepreciationGroupB);
    EXPECT_EQ(asset("depreciationgroupid").asLargeInt(), 5);
    EXPECT_EQ(page.DepreciationGroupPercentDBE->text(), "15");
    EXPECT_EQ(asset("depreciationpercent").asFloat(), 15);
    setAsset("depreciationpercent", 10);
    click(page.DepreciationGroupB);
    EXPECT_EQ(asset("depreciationpercent").asFloat(), 10);
    // The accounting group always does.
    click(page.DepreciationAccountingGroupB);
    EXPECT_EQ(asset("depreciationaccountinggroupid").asLargeInt(), 6);
    EXPECT_EQ(asset("DepreciationAccountingGroupPercent").asFloat(), 15);
    EXPECT_EQ(asset("depreciationpercent").asFloat(), 15);
}

using EditorImages = EditorTest;

TEST_F(EditorImages, TheFirstPictureShowsEachClearDeletesOneFileTheScannedDocumentIsTakenInOnceAndLoadingSavesFirst)
{
    QTemporaryDir dir;
    const QString images = dir.filePath(QStringLiteral("images"));
    const QString scanned = dir.filePath(QStringLiteral("scanned"));
    QDir().mkdir(images);
    QDir().mkdir(scanned);
    dm().SetProductImageDir(images);
    dm().OptionStores()->setScanDocDir(scanned);
    const QString first = images + QStringLiteral("/10.jpg");
    const QString second = images + QStringLiteral("/10_1.jpg");
    writePicture(first, 120);
    writePicture(second, 60, Qt::darkRed);
    openProduct(10);
    TProductDetailForm form;
    TProductImagePage& page = *form.ImageTS;
    EXPECT_EQ(page.shownFile(), first);
    EXPECT_EQ(page.picture().width(), 120);

    // Anything but Yes keeps the files.
    script.answer(ButtonNo);
    click(page.ClearImageButton());
    EXPECT_TRUE(QFileInfo::exists(first));

    script.answer(ButtonYes);
    click(page.ClearImageButton());
    EXPECT_EQ(script.messages().last(), IMG_DEL_CONF);
    EXPECT_FALSE(QFileInfo::exists(first));
    EXPECT_TRUE(QFileInfo::exists(second));
    EXPECT_EQ(page.shownFile(), second);
    EXPECT_EQ(page.picture().width(), 60);

    script.answer(ButtonYes);
    click(page.ClearImageButton());
    EXPECT_FALSE(QFileInfo::exists(second));
    EXPECT_TRUE(page.shownFile().isEmpty());
    EXPECT_TRUE(page.picture().isNull());
    EXPECT_TRUE(page.Image()->pixmap().isNull());

    // The scanned document is taken in from a PDF once, then opened directly.
    RecordedOpener opener;
    const QString pdf = dir.filePath("racun.pdf");
    writeFile(pdf, "%PDF-1.4\n");
    const QString document = scanned + QStringLiteral("/p10.pdf");
    ASSERT_TRUE(form.ScannedDocumentAction->isEnabled());

    script.answer(QString());
    form.ScannedDocumentAction->trigger();
    EXPECT_EQ(script.shown().last().text, "Učitaj PDF");
    EXPECT_FALSE(QFileInfo::exists(document));
    EXPECT_TRUE(opener.opened.isEmpty());

    script.answer(pdf);
    form.ScannedDocumentAction->trigger();
    EXPECT_TRUE(QFileInfo::exists(document));
    EXPECT_ROWS(opener.opened, QStringList{document});

    script.clear();
    form.ScannedDocumentAction->trigger();
    EXPECT_TRUE(script.shown().isEmpty());
    EXPECT_ROWS(opener.opened, QStringList({document, document}));

    script.answer(ButtonNo);
    form.ScannedDeleteAction->trigger();
    EXPECT_EQ(script.messages().last(), SCAN_DOC_DEL_CONF);
    EXPECT_TRUE(QFileInfo::exists(document));
    script.answer(ButtonYes);
    form.ScannedDeleteAction->trigger();
    EXPECT_FALSE(QFileInfo::exists(document));

    // Loading saves first, then copies the chosen file over the picture.
    writePicture(first, 50);
    const QString chosen = writePicture(dir.filePath("nova.jpg"), 80);
    type(form.NameDBE, QStringLiteral("Mleko 2"));
    script.answer(chosen);
    click(page.LoadImageButton());
    EXPECT_EQ(column("name"), "Mleko 2");
    EXPECT_EQ(QImage(first).width(), 80);
    EXPECT_TRUE(QFileInfo::exists(chosen));
    EXPECT_EQ(page.picture().width(), 80);
    // A cancelled file dialog changes nothing.
    script.answer(QString());
    click(page.LoadImageButton());
    EXPECT_EQ(QImage(first).width(), 80);

    // A missing folder: No, and no folder picked: nothing more is asked.
    const QString missing = images + QStringLiteral("-nove");
    dm().SetProductImageDir(missing);
    script.answer(ButtonNo).answer(QString());
    click(page.LoadImageButton());
    EXPECT_EQ(script.shown().last().what, "folder");
    EXPECT_EQ(script.shown().last().text, IMG_DIR_TITLE);
    EXPECT_FALSE(QFileInfo::exists(missing));
    // No, and an existing folder picked: it becomes the image folder.
    QFile::remove(first);
    script.answer(ButtonNo).answer(images).answer(chosen);
    click(page.LoadImageButton());
    EXPECT_EQ(dm().GetProductImageDir(), images);
    EXPECT_TRUE(QFileInfo::exists(first));
    // Yes creates the folder.
    dm().SetProductImageDir(missing);
    script.answer(ButtonYes).answer(chosen);
    click(page.LoadImageButton());
    EXPECT_TRUE(script.messages().contains(IMG_DIR_WRN));
    EXPECT_TRUE(QFileInfo::exists(missing + QStringLiteral("/10.jpg")));
    EXPECT_FALSE(script.pending());
}
