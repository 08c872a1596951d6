#pragma once
// The module's options page: shown in the console's options dialog and in
// the module's own options window. It reads from the stores, not from memory,
// and writes back to the stores and to the data module's options.

#include "Productoptions.h"

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace products {

class TProductOptionsTabFrame : public QWidget {
    Q_OBJECT
public:
    TProductOptionsTabFrame(ProductOptionStores& stores, TProductOptions& options, QWidget* parent = nullptr);

    void OptionsToControls();
    void ControlsToOptions();

    int helpContext() const { return 15015; }

    QLineEdit* imageDirEdit() const { return m_imageDir; }
    QPushButton* browseButton() const { return m_browse; }
    QLineEdit* scanDocDirEdit() const { return m_scanDir; }
    QPushButton* scannedDocumentsDirectoryButton() const { return m_scanBrowse; }
    QCheckBox* uniqueProductNameCB() const { return m_uniqueName; }
    QSpinBox* uniqueProductNameChars() const { return m_uniqueNameChars; }
    QLineEdit* defaultUnitEdit() const { return m_defaultUnit; }
    QLineEdit* codeFormatEdit() const { return m_codeFormat; }
    // The check box of a Boolean option by its key.
    QCheckBox* checkBox(const QString& key) const;

private:
    struct BoolOption {
        QString key;
        QString section;
        bool local;
        bool defaultValue;
        QCheckBox* box;
    };
    QCheckBox* addBool(const QString& key, const QString& caption, bool defaultValue, bool local = false);
    void UniqueProductNameCBClick();
    void BrowseButtonClick();
    void ScannedDocumentsDirectoryButtonClick();

    ProductOptionStores& m_stores;
    TProductOptions& m_options;
    QList<BoolOption> m_bools;
    QLineEdit* m_imageDir = nullptr;
    QPushButton* m_browse = nullptr;
    QLineEdit* m_scanDir = nullptr;
    QPushButton* m_scanBrowse = nullptr;
    QCheckBox* m_uniqueName = nullptr;
    QSpinBox* m_uniqueNameChars = nullptr;
    QLineEdit* m_defaultUnit = nullptr;
    QLineEdit* m_codeFormat = nullptr;
};

} // namespace products
