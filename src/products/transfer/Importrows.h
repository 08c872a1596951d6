#pragma once
// Inside the import: a row's values as read and as they will be written,
// and the work shared by the checking and the writing.

#include "Productimport.h"

#include <QHash>
#include <QPair>
#include <QSqlQuery>
#include <QVariant>
#include <array>
#include <memory>
#include <optional>

namespace products {

// A number as the windows' number fields read it (ReadNumberText): false,
// with the reader's Serbian reason, when the text is no number or reads two ways.
bool readImportNumber(const QString& text, double& value, QString* error = nullptr);
// Yes or no as the check boxes' texts and the export write them.
bool readImportBoolean(const QString& text, bool& value);

// The product columns the import writes.
struct ProductValues {
    QString name, code, barcode, unit, foreignName, manufName, manufCode;
    qint64 taxId = 0;
    double taxValue = 0;
    double price = 0;
    QString priceCurrency;
    std::optional<double> inputPrice;
    QString inputPriceCurrency;
    std::optional<double> recommendedPrice;
    std::optional<double> supplyPrice;
    std::optional<double> planPrice;
    bool active = true;
    QString type;
    QVariant kasaPlu;
    // Existing categories as ids; a category still to be made as -(index+1)
    // into the import's list of new paths. Kept sorted.
    QList<qint64> categories;
};

struct ImportRow {
    int number = 0;
    // Trimmed cell per field; a field without a column is not given.
    std::array<QString, kImportFieldCount> text;
    quint32 given = 0;
    bool isGiven(ImportField field) const { return given & (1u << int(field)); }
    const QString& of(ImportField field) const { return text[size_t(field)]; }
    // Given with a value: an empty cell asks for nothing.
    bool isFilled(ImportField field) const { return isGiven(field) && !of(field).isEmpty(); }

    bool refused = false;
    qint64 productId = 0; // the matched product
    ProductValues values; // what the row asks for (given fields only)
    quint32 changes = 0;  // the fields that change a matched product
};

// The import's view of the database: taxes, currencies, categories.
struct ImportReferences {
    struct Tax {
        qint64 id;
        QString name;
        double value;
        bool primary;
    };
    QList<Tax> taxes;
    QStringList currencies;
    QString homeCurrency;
    qint64 defaultTaxId = 0;
};

} // namespace products

namespace tarvex {
class Connection;
}

namespace products {

class CategoryTree;

// Multi-row INSERTs: `columns` values per row, some thousand rows a statement.
class BatchInsert {
public:
    BatchInsert(tarvex::Connection& connection, QString head, int columns);
    void add(const QVariantList& row);
    void flush();

private:
    tarvex::Connection& m_connection;
    QString m_head;
    int m_columns;
    QVariantList m_values;
    int m_count = 0;
};

// One check (and, when asked, one write) of a file.
class ImportRun {
public:
    ImportRun(tarvex::Connection& connection, const TProductOptions& options, const ImportSettings& settings,
              const TProgress& progress);
    ~ImportRun();

    // Reads the file and checks every row against the rules and the database.
    void check();
    // Writes the rows that pass; inside the caller's transaction.
    void write();
    // The temporary tables of the file's keys gone: before a run and after it.
    void dropRowTables();

    ImportOutcome outcome;

private:
    void refuse(ImportRow& row, ImportField field, const QString& message);
    void refuseRow(ImportRow& row, const QString& message);
    void tell(const QString& step, int rows);

    // Reading and checking (Productimport.cpp).
    void checkMapping() const;
    void readRows();
    void loadReferences();
    void checkValues(ImportRow& row);
    void checkText(ImportRow& row, ImportField field, QString& target, int maxLength);
    void checkTax(ImportRow& row);
    void checkPrices(ImportRow& row);
    void checkCategories(ImportRow& row);
    // The products holding a row's code (or barcode): how many, the lowest id.
    struct Holders {
        qint64 first = 0;
        int count = 0;
    };
    // The file's keys staged in temporary tables as the rows are read.
    void createRowTables();
    void stageRow(const ImportRow& row);
    void finishStaging();
    std::vector<Holders> holders(const QString& column);
    void matchRows();
    void addOwnIds(const std::vector<size_t>& rows);
    void checkUnique(const QString& column, ImportField field, const std::vector<Holders>& holders);
    void checkNamePrefixes();
    void compareWithStored();
    void compareRow(ImportRow& row, ProductValues base, bool hasStock);
    void checkWhole(ImportRow& row, const ProductValues& stored, bool hasStock);
    ProductValues newProduct(const ImportRow& row) const;

    // Writing (Productimportwrite.cpp).
    QList<qint64> makeCategories();
    void insertProduct(ImportRow& row, const QList<qint64>& made);
    void updateProduct(ImportRow& row, const QList<qint64>& made);
    void writeCategories(qint64 productId, const QList<qint64>& categories, const QList<qint64>& made);
    void flushPending();
    int insertBatch();
    void insertNewRows(const QList<qint64>& made);

    tarvex::Connection& m_connection;
    TProductOptions m_options;
    ImportSettings m_settings;
    TProgress m_progress;
    std::vector<ImportRow> m_rows;
    QHash<int, size_t> m_byNumber;
    ImportReferences m_refs;
    std::unique_ptr<CategoryTree> m_tree;
    QHash<QString, int> m_newPathIndex; // path -> index in outcome.newCategories
    std::vector<Holders> m_byCode;       // per row, as m_rows
    std::vector<Holders> m_byBarcode;
    std::vector<bool> m_owned;           // the row is in importown
    std::unique_ptr<BatchInsert> m_staging;
    std::unique_ptr<QSqlQuery> m_insert;
    QHash<QString, std::shared_ptr<QSqlQuery>> m_updates;
    QList<ImportRow*> m_newRows;           // new products still to be inserted
    QList<qint64> m_made;                  // ids of the categories made
    int m_batch = 0;                       // new products per statement
    int m_idStep = 1;
    QList<qint64> m_details;               // new products still without their detail row
    QList<QPair<qint64, qint64>> m_links;  // their category links
};

} // namespace products
