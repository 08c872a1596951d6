#include "Productscanneddocument.h"

#include "Clock.h"
#include "Dialogs.h"
#include "Productdmunit.h"
#include "Productresourcestring.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace products {

namespace {

DocumentOpener& opener()
{
    static DocumentOpener current = [](const QString& path) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    };
    return current;
}

// Empty when the user neither created nor picked the folder.
QString documentPath(qint64 productId)
{
    const QString dir = ProductDM->GetScannedDocumentFilePath();
    return dir.isEmpty() ? QString() : ScannedDocumentPath(dir, productId);
}

} // namespace

DocumentOpener SetDocumentOpener(DocumentOpener replacement)
{
    DocumentOpener previous = std::move(opener());
    opener() = std::move(replacement);
    return previous;
}

void OpenDocument(const QString& path)
{
    if (opener())
        opener()(path);
}

QString ScannedDocumentPath(const QString& dir, qint64 productId)
{
    return dir + QDir::separator() + QStringLiteral("p") + QString::number(productId) + QStringLiteral(".pdf");
}

bool CopyFileStampedNow(const QString& source, const QString& target)
{
    if (QFileInfo(source).absoluteFilePath() == QFileInfo(target).absoluteFilePath())
        return false;
    if (!QFileInfo::exists(source))
        return false;
    if (QFileInfo::exists(target) && !QFile::remove(target))
        return false;
    if (!QFile::copy(source, target))
        return false;
    QFile copy(target);
    if (copy.open(QIODevice::ReadWrite))
        copy.setFileTime(tarvex::hostClock().now(), QFileDevice::FileModificationTime);
    return true;
}

void ScannedDocumentActionExecute(qint64 productId)
{
    const QString path = documentPath(productId);
    // Without a folder there is nowhere to look or to copy to.
    if (path.isEmpty())
        return;
    if (QFileInfo::exists(path)) {
        OpenDocument(path);
        return;
    }
    const QString chosen = tarvex::dialogs().openFileName(QStringLiteral("Učitaj PDF"), QString(),
                                                          QStringLiteral("PDF (*.pdf)"));
    if (chosen.isEmpty())
        return;
    if (CopyFileStampedNow(chosen, path))
        OpenDocument(path);
}

void ScannedDeleteActionExecute(qint64 productId)
{
    if (!tarvex::dialogs().confirmDelete(SCAN_DOC_DEL_CONF))
        return;
    const QString path = documentPath(productId);
    if (!path.isEmpty() && QFileInfo::exists(path))
        QFile::remove(path);
}

} // namespace products
