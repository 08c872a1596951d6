#pragma once
// The product editor's page "Slika": the product's picture, a JPEG file named
// after the product's id in the image folder (or, failing that, the second
// name "<id>_1.jpg"), loaded from a file and deleted here. Nothing of it is
// saved with the product; the files change at once.

#include <QPixmap>
#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;
class QScrollArea;

namespace products {

class TProductImagePage : public QWidget {
    Q_OBJECT
public:
    // `applyFirst` saves the editor's pending changes before a picture loads;
    // false (the apply refused) stops the load.
    explicit TProductImagePage(std::function<bool()> applyFirst, QWidget* parent = nullptr);

    QLabel* Image() const { return m_image; }
    QPushButton* LoadImageButton() const { return m_load; }
    QPushButton* ClearImageButton() const { return m_clear; }
    // The file the picture shown was read from; empty when none is shown.
    const QString& shownFile() const { return m_shownFile; }
    // The picture as read, before it is fitted into the page.
    const QPixmap& picture() const { return m_picture; }

    // Shows the product's picture when there is one on disk; otherwise the
    // control keeps what it showed.
    void LoadProductImage();
    void LoadImageButtonClick();
    // Deletes one picture file (the first name before the second).
    void ClearImageButtonClick();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    qint64 productId() const;
    bool showFile(const QString& path);
    void clearPicture();
    void fitPicture();
    // The image folder, created or picked when missing; false when the user gives up.
    bool imageDirReady();

    std::function<bool()> m_applyFirst;
    QScrollArea* m_scroll = nullptr;
    QLabel* m_image = nullptr;
    QPushButton* m_load = nullptr;
    QPushButton* m_clear = nullptr;
    QPixmap m_picture;
    QString m_shownFile;
};

} // namespace products
