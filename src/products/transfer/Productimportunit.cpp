#include "Productimportunit.h"

#include "BusyCursor.h"
#include "Connection.h"
#include "Dialogs.h"
#include "Guarded.h"
#include "Modal.h"
#include "Productdmunit.h"
#include "Productexport.h"
#include "Workerbar.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace products {

namespace {

const QString IMP_TITLE_CAP = QStringLiteral("Uvoz proizvoda");
const QString IMP_FILTER = QStringLiteral("Tabele (*.xlsx *.csv *.txt);;Sve datoteke (*)");
const QString IMP_NOT_MAPPED_CAP = QStringLiteral("(ne uvozi se)");
const QString IMP_REFUSED_ERR = QStringLiteral(
    "Ništa nije uvezeno: %1 redova ima greške (spisak je u prozoru). Ispravite ih, ili označite \"Samo ispravni "
    "redovi\".");
const QString IMP_DONE_INF = QStringLiteral("Uvoz je završen: %1 novih proizvoda, %2 izmenjenih.");
const QString IMP_STOPPED_INF = QStringLiteral("Uvoz je prekinut; ništa nije upisano.");
const QString EXP_DONE_INF = QStringLiteral("Izvezeno proizvoda: %1.");
constexpr int kPreviewRows = 20;

QTableWidgetItem* cell(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

} // namespace

TProductImportForm::TProductImportForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(IMP_TITLE_CAP);
    FileEdit = new QLineEdit(this);
    FileEdit->setReadOnly(true);
    FileButton = new QPushButton(QStringLiteral("..."), this);
    FormatLabel = new QLabel(this);
    EncodingCombo = new QComboBox(this);
    EncodingCombo->addItems({QStringLiteral("UTF-8"), QStringLiteral("Windows-1250")});
    SeparatorCombo = new QComboBox(this);
    SeparatorCombo->addItems({QStringLiteral("Tačka-zarez (;)"), QStringLiteral("Zarez (,)"), QStringLiteral("Tabulator")});
    MappingTable = new QTableWidget(0, 3, this);
    MappingTable->setHorizontalHeaderLabels({QStringLiteral("Kolona"), QStringLiteral("Polje"), QStringLiteral("Primer")});
    MappingTable->horizontalHeader()->setStretchLastSection(true);
    PreviewTable = new QTableWidget(this);
    PreviewTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    CreateCategoriesCheck = new QCheckBox(QStringLiteral("Napravi kategorije koje ne postoje"), this);
    OnlyValidCheck = new QCheckBox(QStringLiteral("Samo ispravni redovi"), this);
    ProbaButton = new QPushButton(QStringLiteral("&Proba"), this);
    ImportButton = new QPushButton(QStringLiteral("&Uvezi"), this);
    SaveRefusedButton = new QPushButton(QStringLiteral("Sačuvaj odbijene redove..."), this);
    CloseButton = new QPushButton(QStringLiteral("&Zatvori"), this);
    SummaryLabel = new QLabel(this);
    SummaryLabel->setWordWrap(true);
    RefusalTable = new QTableWidget(0, 3, this);
    RefusalTable->setHorizontalHeaderLabels({QStringLiteral("Red"), QStringLiteral("Polje"), QStringLiteral("Poruka")});
    RefusalTable->horizontalHeader()->setStretchLastSection(true);
    RefusalTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    WorkerBar = new TWorkerBar(this);
    WorkerBar->setBusyControls({FileButton, EncodingCombo, SeparatorCombo, MappingTable, ProbaButton, ImportButton,
                                SaveRefusedButton, CreateCategoriesCheck, OnlyValidCheck, CloseButton});
    for (QPushButton* button : {FileButton, ProbaButton, ImportButton, SaveRefusedButton, CloseButton})
        button->setAutoDefault(false);

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(QStringLiteral("Datoteka:"), this));
    fileRow->addWidget(FileEdit, 1);
    fileRow->addWidget(FileButton);
    auto* formatRow = new QHBoxLayout;
    formatRow->addWidget(FormatLabel);
    formatRow->addWidget(new QLabel(QStringLiteral("Kodna strana:"), this));
    formatRow->addWidget(EncodingCombo);
    formatRow->addWidget(new QLabel(QStringLiteral("Razdvajač:"), this));
    formatRow->addWidget(SeparatorCombo);
    formatRow->addStretch();
    auto* tables = new QHBoxLayout;
    tables->addWidget(MappingTable, 2);
    tables->addWidget(PreviewTable, 3);
    auto* choices = new QHBoxLayout;
    choices->addWidget(CreateCategoriesCheck);
    choices->addWidget(OnlyValidCheck);
    choices->addStretch();
    choices->addWidget(ProbaButton);
    choices->addWidget(ImportButton);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(WorkerBar);
    bottom->addStretch();
    bottom->addWidget(SaveRefusedButton);
    bottom->addWidget(CloseButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fileRow);
    layout->addLayout(formatRow);
    layout->addLayout(tables, 2);
    layout->addLayout(choices);
    layout->addWidget(SummaryLabel);
    layout->addWidget(RefusalTable, 1);
    layout->addLayout(bottom);
    resize(1100, 700);

    connect(FileButton, &QPushButton::clicked, this, tarvex::guardedSlot([this] { FileButtonClick(); }));
    connect(ProbaButton, &QPushButton::clicked, this, tarvex::guardedSlot([this] { ProbaButtonClick(); }));
    connect(ImportButton, &QPushButton::clicked, this, tarvex::guardedSlot([this] { ImportButtonClick(); }));
    connect(SaveRefusedButton, &QPushButton::clicked, this, tarvex::guardedSlot([this] { SaveRefusedButtonClick(); }));
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::close);
    for (QComboBox* combo : {EncodingCombo, SeparatorCombo})
        connect(combo, &QComboBox::currentIndexChanged, this, [this] { formatChanged(); });
    updateButtons();
}

QComboBox* TProductImportForm::fieldCombo(int column) const
{
    return qobject_cast<QComboBox*>(MappingTable->cellWidget(column, 1));
}

void TProductImportForm::FileButtonClick()
{
    const QString path = tarvex::dialogs().openFileName(IMP_TITLE_CAP, m_path, IMP_FILTER);
    if (!path.isEmpty())
        openFile(path);
}

void TProductImportForm::openFile(const QString& path)
{
    m_path = path;
    FileEdit->setText(QDir::toNativeSeparators(path));
    m_hasOutcome = false;
    // Nothing of the file before stays on show while this one is refused.
    clearShown();
    m_format = ImportFile::guess(path);
    m_filling = true;
    EncodingCombo->setCurrentIndex(m_format.encoding == ImportEncoding::Utf8 ? 0 : 1);
    SeparatorCombo->setCurrentIndex(m_format.separator == u',' ? 1 : m_format.separator == u'\t' ? 2 : 0);
    m_filling = false;
    showPreview();
}

void TProductImportForm::formatChanged()
{
    if (m_filling || m_path.isEmpty())
        return;
    m_format.encoding = EncodingCombo->currentIndex() == 1 ? ImportEncoding::Windows1250 : ImportEncoding::Utf8;
    const int separator = SeparatorCombo->currentIndex();
    m_format.separator = separator == 1 ? QLatin1Char(',') : separator == 2 ? QLatin1Char('\t') : QLatin1Char(';');
    m_hasOutcome = false;
    tarvex::guarded([this] { showPreview(); });
}

void TProductImportForm::clearShown()
{
    m_header.clear();
    MappingTable->setRowCount(0);
    PreviewTable->clear();
    PreviewTable->setRowCount(0);
    PreviewTable->setColumnCount(0);
    RefusalTable->setRowCount(0);
    SummaryLabel->clear();
    updateButtons();
}

void TProductImportForm::showPreview()
{
    FormatLabel->setText(m_format.spreadsheet ? QStringLiteral("Radna sveska (.xlsx)") : QStringLiteral("CSV tekst"));
    EncodingCombo->setEnabled(!m_format.spreadsheet);
    SeparatorCombo->setEnabled(!m_format.spreadsheet);
    clearShown();
    const QList<QStringList> rows = importPreview(m_path, m_format, kPreviewRows + 1);
    if (rows.isEmpty())
        return;
    m_header = rows.first();
    std::optional<QList<ImportField>> mapping;
    if (ProductDM && ProductDM->OptionStores())
        mapping = ImportMappingMemory(ProductDM->OptionStores()->local()).recall(m_header);
    const QList<ImportField> fields = mapping ? *mapping : guessImportMapping(m_header);

    MappingTable->setRowCount(int(m_header.size()));
    for (int c = 0; c < m_header.size(); ++c) {
        MappingTable->setItem(c, 0, cell(m_header[c]));
        auto* combo = new QComboBox(MappingTable);
        combo->addItem(IMP_NOT_MAPPED_CAP, int(ImportField::None));
        for (const ImportField field : importFields())
            combo->addItem(importFieldCaption(field), int(field));
        combo->setCurrentIndex(combo->findData(int(fields.value(c, ImportField::None))));
        connect(combo, &QComboBox::currentIndexChanged, this, [this] {
            m_hasOutcome = false;
            updateButtons();
        });
        MappingTable->setCellWidget(c, 1, combo);
        MappingTable->setItem(c, 2, cell(rows.size() > 1 ? rows[1].value(c) : QString()));
    }
    PreviewTable->setColumnCount(int(m_header.size()));
    PreviewTable->setHorizontalHeaderLabels(m_header);
    PreviewTable->setRowCount(int(rows.size()) - 1);
    for (int r = 1; r < rows.size(); ++r) {
        for (int c = 0; c < m_header.size(); ++c)
            PreviewTable->setItem(r - 1, c, cell(rows[r].value(c)));
    }
    updateButtons();
}

ImportSettings TProductImportForm::settings() const
{
    ImportSettings s;
    s.path = m_path;
    s.format = m_format;
    for (int c = 0; c < MappingTable->rowCount(); ++c)
        s.mapping << ImportField(fieldCombo(c)->currentData().toInt());
    s.createCategories = CreateCategoriesCheck->isChecked();
    s.onlyValid = OnlyValidCheck->isChecked();
    return s;
}

bool TProductImportForm::runImport(bool write)
{
    const ImportSettings s = settings();
    if (ProductDM->OptionStores())
        ImportMappingMemory(ProductDM->OptionStores()->local()).remember(m_header, s.mapping);
    const TProductOptions options = ProductDM->Options;
    ImportOutcome outcome;
    const bool finished =
        WorkerBar->run(ProductDM->connection().database(), [&](QSqlDatabase db, const TProgress& progress) {
            tarvex::Connection& connection = *tarvex::Connection::working(db);
            ProductImport import(connection, options);
            outcome = write ? import.run(s, progress) : import.check(s, progress);
        });
    if (!finished)
        return false;
    m_outcome = outcome;
    m_checked = s;
    m_hasOutcome = true;
    showOutcome();
    return true;
}

void TProductImportForm::ProbaButtonClick()
{
    runImport(false);
}

void TProductImportForm::ImportButtonClick()
{
    if (!runImport(true)) {
        tarvex::dialogs().information(IMP_STOPPED_INF);
        return;
    }
    if (!m_outcome.written) {
        tarvex::dialogs().error(IMP_REFUSED_ERR.arg(m_outcome.refusedRows().size()));
        return;
    }
    // The list shows the new and changed products.
    if (ProductDM->ProductZQ->isActive())
        ProductDM->ProductZQ->refresh();
    tarvex::dialogs().information(IMP_DONE_INF.arg(m_outcome.added).arg(m_outcome.changed));
}

void TProductImportForm::SaveRefusedButtonClick()
{
    if (!m_hasOutcome || m_outcome.refusals.isEmpty())
        return;
    QString target = tarvex::dialogs().saveFileName(QStringLiteral("Odbijeni redovi"),
                                                    QFileInfo(m_path).completeBaseName() + QStringLiteral("-odbijeni.xlsx"),
                                                    QStringLiteral("Radna sveska (*.xlsx)"));
    if (target.isEmpty())
        return;
    if (!target.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive))
        target += QStringLiteral(".xlsx");
    tarvex::BusyCursor busy;
    saveRefusedRows(target, m_checked, m_outcome);
}

void TProductImportForm::showOutcome()
{
    QStringList changedFields;
    for (const ImportField field : importFields()) {
        if (const int n = m_outcome.changedByField[int(field)])
            changedFields << QStringLiteral("%1 %2").arg(importFieldCaption(field)).arg(n);
    }
    QString summary = QStringLiteral("Redova: %1. Novih: %2, izmenjenih: %3, bez izmena: %4, odbijenih: %5.")
                          .arg(m_outcome.rows)
                          .arg(m_outcome.added)
                          .arg(m_outcome.changed)
                          .arg(m_outcome.unchanged)
                          .arg(m_outcome.refusedRows().size());
    if (!changedFields.isEmpty())
        summary += QStringLiteral(" Izmene po poljima: ") + changedFields.join(QStringLiteral(", ")) + QLatin1Char('.');
    if (!m_outcome.newCategories.isEmpty())
        summary += QStringLiteral(" Nove kategorije: %1.").arg(m_outcome.newCategories.size());
    if (m_outcome.blankRows)
        summary += QStringLiteral(" Praznih redova preskočeno: %1.").arg(m_outcome.blankRows);
    if (m_outcome.written)
        summary += QStringLiteral(" Upisano.");
    SummaryLabel->setText(summary);
    RefusalTable->setRowCount(int(m_outcome.refusals.size()));
    for (int i = 0; i < m_outcome.refusals.size(); ++i) {
        const ImportRefusal& r = m_outcome.refusals[i];
        RefusalTable->setItem(i, 0, cell(QString::number(r.row)));
        RefusalTable->setItem(i, 1, cell(r.field));
        RefusalTable->setItem(i, 2, cell(r.message));
    }
    updateButtons();
}

void TProductImportForm::updateButtons()
{
    const bool hasFile = !m_header.isEmpty();
    ProbaButton->setEnabled(hasFile);
    ImportButton->setEnabled(hasFile);
    SaveRefusedButton->setEnabled(m_hasOutcome && !m_outcome.refusals.isEmpty());
}

void TProductImportForm::closeEvent(QCloseEvent* event)
{
    // Closed while running: the run stops (and rolls back) first.
    if (WorkerBar->stopForClose()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TProductImportForm::done(int result)
{
    if (WorkerBar->stopForClose())
        return;
    QDialog::done(result);
}

void ProductImportExecute()
{
    TProductImportForm form;
    tarvex::execModal(form);
}

void ProductExportExecute()
{
    QString path = tarvex::dialogs().saveFileName(QStringLiteral("Izvoz proizvoda"), QStringLiteral("proizvodi.xlsx"),
                                                  QStringLiteral("Radna sveska (*.xlsx)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive))
        path += QStringLiteral(".xlsx");
    int count = 0;
    {
        tarvex::BusyCursor busy;
        count = exportProducts(ProductDM->connection(), path);
    }
    tarvex::dialogs().information(EXP_DONE_INF.arg(count));
}

} // namespace products
