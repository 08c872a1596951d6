#pragma once
// A product's scanned document: one PDF file "p<id>.pdf" in the scanned-
// document folder, opened with the program the system associates with it.
// The file changes at once, whatever the editor later saves or discards.

#include <QString>
#include <functional>

namespace products {

// Opens a file with its associated program.
using DocumentOpener = std::function<void(const QString& path)>;
// Replaces how documents are opened (tests); returns the previous way.
DocumentOpener SetDocumentOpener(DocumentOpener opener);
void OpenDocument(const QString& path);

// The document's path in `dir`.
QString ScannedDocumentPath(const QString& dir, qint64 productId);
// Opens the product's document; without one, asks for a PDF, copies it in
// and opens the copy.
void ScannedDocumentActionExecute(qint64 productId);
// Deletes the product's document once the user confirms.
void ScannedDeleteActionExecute(qint64 productId);

// Copies `source` over `target` (replacing it) and dates the copy now;
// false when the copy failed.
bool CopyFileStampedNow(const QString& source, const QString& target);

} // namespace products
