#pragma once
// The catalogue import: rows of a file become products, each row through
// the same rules as the editor's save. A row matches an existing product by
// its code, or else by its barcode, and changes it; the other rows are new
// products. Stock never comes in (it is the documents').
//
// check() is the dry run: it reads and checks everything and writes
// nothing. run() does the same inside one transaction and writes, all rows
// or none (or, with onlyValid, the rows without a fault); a progress call
// that throws (the window's "Prekini") rolls everything back.

#include "Importfile.h"
#include "Importmapping.h"
#include "Productoptions.h"
#include "Reportprogress.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace tarvex {
class Connection;
}

namespace products {

struct ImportSettings {
    QString path;
    ImportFormat format;
    QList<ImportField> mapping; // per column of the file
    bool createCategories = false; // "Napravi kategorije koje ne postoje"
    bool onlyValid = false;        // "samo ispravni redovi"
};

struct ImportRefusal {
    int row = 0;    // the row's number in the file (the header is 1)
    QString field;  // the field's caption; empty for the row as a whole
    QString message;
};

struct ImportOutcome {
    QStringList header;
    int rows = 0;      // rows with data
    int blankRows = 0; // rows without any, skipped
    int added = 0;
    int changed = 0;
    int unchanged = 0;
    // Changed products per field (indexed by ImportField).
    QList<int> changedByField = QList<int>(kImportFieldCount, 0);
    QList<ImportRefusal> refusals; // in row order
    QStringList newCategories;     // paths made (or to be made by the run)
    bool written = false;          // run() committed

    QList<int> refusedRows() const;
};

class ProductImport {
public:
    ProductImport(tarvex::Connection& connection, const TProductOptions& options);

    ImportOutcome check(const ImportSettings& settings, const TProgress& progress = {});
    ImportOutcome run(const ImportSettings& settings, const TProgress& progress = {});

private:
    tarvex::Connection& m_connection;
    TProductOptions m_options;
};

// The first rows of the file (the header among them), for a preview.
QList<QStringList> importPreview(const QString& path, const ImportFormat& format, int rows);

// Writes the refused rows as an .xlsx sheet: the row number, the fields and
// messages, then the row's cells as the file has them (read again).
void saveRefusedRows(const QString& target, const ImportSettings& settings, const ImportOutcome& outcome);

} // namespace products
