// The editor's picture and scanned document: files named after the product
// in the option folders, shown, replaced and deleted at once; the document
// is taken in from a PDF on first use and opened with its program after.

#include "Productdetailunit.h"
#include "Productdmunit.h"
#include "Productimagepage.h"
#include "Productresourcestring.h"
#include "Productscanneddocument.h"
#include "ScriptedDialogs.h"
#include "test_editor_support.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QTabWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;

namespace {

// A picture file of the given width (the content tells its format).
QString writePicture(const QString& path, int width, QColor colour = Qt::darkCyan)
{
    QImage image(width, 40, QImage::Format_RGB32);
    image.fill(colour);
    EXPECT_TRUE(image.save(path, "PNG"));
    return path;
}

int shownWidth(TProductImagePage& page)
{
    return page.picture().width();
}

// Records the documents opened instead of starting a program.
struct RecordedOpener {
    RecordedOpener()
    {
        previous = SetDocumentOpener([this](const QString& path) { opened << path; });
    }
    ~RecordedOpener() { SetDocumentOpener(previous); }
    QStringList opened;
    DocumentOpener previous;
};

} // namespace

class EditorImages : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        m_dir = std::make_unique<QTemporaryDir>();
        images = m_dir->filePath(QStringLiteral("images"));
        scanned = m_dir->filePath(QStringLiteral("scanned"));
        QDir().mkdir(images);
        QDir().mkdir(scanned);
        dm().SetProductImageDir(images);
        dm().OptionStores()->setScanDocDir(scanned);
    }
    QString first() const { return images + QStringLiteral("/10.jpg"); }
    QString second() const { return images + QStringLiteral("/10_1.jpg"); }
    QString outside(const char* name) const { return m_dir->filePath(QString::fromUtf8(name)); }

    QString images;
    QString scanned;

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

TEST_F(EditorImages, TheFirstPictureShowsAndEachClearDeletesOneFile)
{
    ScriptedDialogs script;
    writePicture(first(), 120);
    writePicture(second(), 60, Qt::darkRed);
    showProduct(10);
    TProductDetailForm form;
    TProductImagePage& page = *form.ImageTS;
    EXPECT_EQ(page.shownFile(), first());
    EXPECT_EQ(shownWidth(page), 120);

    // Anything but Yes keeps the files.
    script.answer(ButtonNo);
    page.ClearImageButtonClick();
    EXPECT_TRUE(QFileInfo::exists(first()));

    script.answer(ButtonYes);
    page.ClearImageButtonClick();
    EXPECT_EQ(script.messages().last(), IMG_DEL_CONF);
    EXPECT_FALSE(QFileInfo::exists(first()));
    EXPECT_TRUE(QFileInfo::exists(second()));
    EXPECT_EQ(page.shownFile(), second());
    EXPECT_EQ(shownWidth(page), 60);

    script.answer(ButtonYes);
    page.ClearImageButtonClick();
    EXPECT_FALSE(QFileInfo::exists(second()));
    EXPECT_TRUE(page.shownFile().isEmpty());
    EXPECT_TRUE(page.picture().isNull());
    EXPECT_TRUE(page.Image()->pixmap().isNull());
}

TEST_F(EditorImages, LoadingSavesFirstThenCopiesOverThePicture)
{
    ScriptedDialogs script;
    writePicture(first(), 50);
    const QString chosen = writePicture(outside("nova.jpg"), 80);
    showProduct(10);
    TProductDetailForm form;
    TProductImagePage& page = *form.ImageTS;
    type(form.NameDBE, QStringLiteral("Mleko 2"));

    script.answer(chosen);
    page.LoadImageButtonClick();
    EXPECT_EQ(stored("SELECT name FROM product WHERE productid = 10").toString(), "Mleko 2");
    EXPECT_EQ(QImage(first()).width(), 80);
    EXPECT_TRUE(QFileInfo::exists(chosen));
    EXPECT_EQ(shownWidth(page), 80);

    // A cancelled file dialog changes nothing.
    script.answer(QString());
    page.LoadImageButtonClick();
    EXPECT_EQ(QImage(first()).width(), 80);
}

TEST_F(EditorImages, AMissingImageFolderIsCreatedOrPicked)
{
    ScriptedDialogs script;
    const QString chosen = writePicture(outside("slika.jpg"), 30);
    const QString missing = images + QStringLiteral("-nove");
    dm().SetProductImageDir(missing);
    showProduct(10);
    TProductDetailForm form;
    TProductImagePage& page = *form.ImageTS;

    // No, and no folder picked: nothing more is asked.
    script.answer(ButtonNo).answer(QString());
    page.LoadImageButtonClick();
    EXPECT_EQ(script.shown().last().what, "folder");
    EXPECT_EQ(script.shown().last().text, IMG_DIR_TITLE);
    EXPECT_FALSE(QFileInfo::exists(missing));

    // No, and an existing folder picked: it becomes the image folder.
    script.answer(ButtonNo).answer(images).answer(chosen);
    page.LoadImageButtonClick();
    EXPECT_EQ(dm().GetProductImageDir(), images);
    EXPECT_TRUE(QFileInfo::exists(first()));

    // Yes creates the folder.
    dm().SetProductImageDir(missing);
    script.answer(ButtonYes).answer(chosen);
    page.LoadImageButtonClick();
    EXPECT_TRUE(script.messages().contains(IMG_DIR_WRN));
    EXPECT_TRUE(QFileInfo::exists(missing + QStringLiteral("/10.jpg")));
    EXPECT_FALSE(script.pending());
}

TEST_F(EditorImages, TheScannedDocumentIsTakenInOnceThenOpenedDirectly)
{
    ScriptedDialogs script;
    RecordedOpener opener;
    const QString pdf = outside("racun.pdf");
    {
        QFile file(pdf);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("%PDF-1.4\n");
    }
    const QString document = scanned + QStringLiteral("/p10.pdf");
    showProduct(10);
    TProductDetailForm form;
    ASSERT_TRUE(form.ScannedDocumentAction->isEnabled());

    script.answer(QString());
    form.ScannedDocumentAction->trigger();
    EXPECT_EQ(script.shown().last().text, "Učitaj PDF");
    EXPECT_FALSE(QFileInfo::exists(document));
    EXPECT_TRUE(opener.opened.isEmpty());

    script.answer(pdf);
    form.ScannedDocumentAction->trigger();
    EXPECT_TRUE(QFileInfo::exists(document));
    EXPECT_EQ(opener.opened, QStringList{document});

    script.clear();
    form.ScannedDocumentAction->trigger();
    EXPECT_TRUE(script.shown().isEmpty());
    EXPECT_EQ(opener.opened, QStringList({document, document}));

    script.answer(ButtonNo);
    form.ScannedDeleteAction->trigger();
    EXPECT_EQ(script.messages().last(), SCAN_DOC_DEL_CONF);
    EXPECT_TRUE(QFileInfo::exists(document));
    script.answer(ButtonYes);
    form.ScannedDeleteAction->trigger();
    EXPECT_FALSE(QFileInfo::exists(document));
}
