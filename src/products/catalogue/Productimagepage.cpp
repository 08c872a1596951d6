#include "Productimagepage.h"

#include "Dialogs.h"
#include "Guarded.h"
#include "Productdmunit.h"
#include "Productresourcestring.h"
#include "Productscanneddocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace products {

TProductImagePage::TProductImagePage(std::function<bool()> applyFirst, QWidget* parent)
    : QWidget(parent), m_applyFirst(std::move(applyFirst))
{
    setObjectName(QStringLiteral("ImageTS"));
    m_image = new QLabel;
    m_image->setObjectName(QStringLiteral("Image"));
    m_image->setAlignment(Qt::AlignCenter);
    m_scroll = new QScrollArea(this);
    m_scroll->setWidgetResizable(true);
    m_scroll->setWidget(m_image);

    m_load = new QPushButton(QStringLiteral("Učitaj..."), this);
    m_load->setObjectName(QStringLiteral("LoadImageButton"));
    m_clear = new QPushButton(QStringLiteral("Očisti"), this);
    m_clear->setObjectName(QStringLiteral("ClearImageButton"));
    connect(m_load, &QPushButton::clicked, this, tarvex::guardedSlot([this] { LoadImageButtonClick(); }));
    connect(m_clear, &QPushButton::clicked, this, tarvex::guardedSlot([this] { ClearImageButtonClick(); }));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_load);
    buttons->addWidget(m_clear);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_scroll, 1);
    layout->addLayout(buttons);
}

qint64 TProductImagePage::productId() const
{
    return ProductDM->ProductZQ->fieldByName(QStringLiteral("productid")).asLargeInt();
}

void TProductImagePage::LoadProductImage()
{
    const qint64 id = productId();
    if (!showFile(ProductDM->GetProductImageFilePath(id)))
        showFile(ProductDM->GetProductImageFilePathNew(id));
}

bool TProductImagePage::showFile(const QString& path)
{
    if (!QFileInfo::exists(path))
        return false;
    QPixmap picture;
    // An unreadable file leaves the picture as it was.
    if (!picture.load(path))
        return true;
    m_picture = picture;
    m_shownFile = path;
    fitPicture();
    return true;
}

void TProductImagePage::clearPicture()
{
    m_picture = QPixmap();
    m_shownFile.clear();
    m_image->clear();
}

void TProductImagePage::fitPicture()
{
    if (m_picture.isNull())
        return;
    const QSize room = m_scroll->viewport()->size();
    m_image->setPixmap(m_picture.width() > room.width() || m_picture.height() > room.height()
                           ? m_picture.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                           : m_picture);
}

void TProductImagePage::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    fitPicture();
}

bool TProductImagePage::imageDirReady()
{
    const QString dir = ProductDM->GetProductImageDir();
    if (QFileInfo(dir).isDir())
        return true;
    tarvex::Dialogs& ask = tarvex::dialogs();
    if (ask.message(tarvex::MessageKind::Warning, IMG_DIR_WRN, tarvex::ButtonYes | tarvex::ButtonNo) ==
        tarvex::ButtonYes) {
        // One level only: a missing parent makes the copy below fail quietly.
        QDir().mkdir(dir);
        return true;
    }
    const QString picked = ask.browseFolder(IMG_DIR_TITLE, dir);
    if (picked.isEmpty() || !QFileInfo(picked).isDir())
        return false;
    ProductDM->SetProductImageDir(picked);
    return true;
}

void TProductImagePage::LoadImageButtonClick()
{
    if (m_applyFirst && !m_applyFirst())
        return;
    if (!imageDirReady())
        return;
    const QString chosen = tarvex::dialogs().openFileName(
        QString(), QString(),
        QStringLiteral("JPG Image (*.jpg *.jpeg);;JPEG Image File (*.jpg);;JPEG Image File (*.jpeg)"));
    if (chosen.isEmpty())
        return;
    CopyFileStampedNow(chosen, ProductDM->GetProductImageFilePath(productId()));
    LoadProductImage();
}

void TProductImagePage::ClearImageButtonClick()
{
    if (!tarvex::dialogs().confirmDelete(IMG_DEL_CONF))
        return;
    const qint64 id = productId();
    bool deleted = false;
    for (const QString& path : {ProductDM->GetProductImageFilePath(id), ProductDM->GetProductImageFilePathNew(id)}) {
        if (QFileInfo::exists(path)) {
            deleted = QFile::remove(path);
            break;
        }
    }
    if (!deleted)
        return;
    clearPicture();
    LoadProductImage();
}

} // namespace products
