#pragma once
// "Izvoz proizvoda…": the catalogue written as an .xlsx sheet in the
// columns the import reads (titles as importFieldCaption gives them), so
// that a sheet exported, edited and imported again changes only what was
// edited.

#include "Reportprogress.h"

#include <QString>

namespace tarvex {
class Connection;
}

namespace products {

// Writes every product; returns how many. Throws TarvexError (File) when
// the file cannot be written.
int exportProducts(tarvex::Connection& connection, const QString& path, const TProgress& progress = {});

// A sheet written row by row (libxlsxwriter in its constant-memory mode).
class SheetWriter {
public:
    explicit SheetWriter(const QString& path);
    ~SheetWriter();
    SheetWriter(const SheetWriter&) = delete;
    SheetWriter& operator=(const SheetWriter&) = delete;

    void text(int row, int column, const QString& value);
    void number(int row, int column, double value);
    // A number with the price format ("#,##0.00##").
    void price(int row, int column, double value);
    // Writes the file; throws TarvexError (File) on failure.
    void close();

private:
    struct Book;
    Book* m_book;
    QString m_path;
};

} // namespace products
