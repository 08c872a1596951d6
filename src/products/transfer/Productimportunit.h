#pragma once
// "Datoteka > Uvoz proizvoda…": the window that shows a file's rows and the
// guessed format, lets the user map the columns to product fields and tick
// the two choices, then runs the dry run ("Proba") or the import ("Uvezi")
// on a worker with "Prekini", and lists the refused rows, which can be saved
// as a sheet. The reading, checking and writing are ProductImport's.
// "Izvoz proizvoda…" writes the catalogue in the same columns.

#include "Productimport.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace products {

class TWorkerBar;

class TProductImportForm : public QDialog {
    Q_OBJECT
public:
    explicit TProductImportForm(QWidget* parent = nullptr);

    QLineEdit* FileEdit = nullptr;
    QPushButton* FileButton = nullptr;
    QLabel* FormatLabel = nullptr;
    QComboBox* EncodingCombo = nullptr;
    QComboBox* SeparatorCombo = nullptr;
    QTableWidget* MappingTable = nullptr; // column title, field (a combo), first value
    QTableWidget* PreviewTable = nullptr;
    QCheckBox* CreateCategoriesCheck = nullptr;
    QCheckBox* OnlyValidCheck = nullptr;
    QPushButton* ProbaButton = nullptr;
    QPushButton* ImportButton = nullptr;
    QPushButton* SaveRefusedButton = nullptr;
    QPushButton* CloseButton = nullptr;
    QLabel* SummaryLabel = nullptr;
    QTableWidget* RefusalTable = nullptr; // row, field, message
    TWorkerBar* WorkerBar = nullptr;

    // The field chosen for a column of the file.
    QComboBox* fieldCombo(int column) const;
    const ImportOutcome& lastOutcome() const { return m_outcome; }

    void FileButtonClick();
    void ProbaButtonClick();
    void ImportButtonClick();
    void SaveRefusedButtonClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    void done(int result) override;

private:
    void openFile(const QString& path);
    void showPreview();
    // Nothing of a file shown before: no columns, preview, refusals or summary.
    void clearShown();
    void formatChanged();
    ImportSettings settings() const;
    // Runs the check or the import on the worker; false when stopped.
    bool runImport(bool write);
    void showOutcome();
    void updateButtons();

    QString m_path;
    ImportFormat m_format;
    QStringList m_header;
    ImportOutcome m_outcome;
    ImportSettings m_checked; // what the outcome shown was made from
    bool m_hasOutcome = false;
    bool m_filling = false;
};

// Opens the import window modally.
void ProductImportExecute();
// Asks for a file and writes the catalogue into it.
void ProductExportExecute();

} // namespace products
