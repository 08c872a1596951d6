#pragma once
// Generated product codes and barcodes, and the barcodes of product variants.
// Generated barcodes are EAN-13 codes beginning with 2 (in-store numbers).

#include <QDate>
#include <QSet>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

namespace tarvex {
class Connection;
}

namespace products {

// The running number: rows in product + 1 (so it may repeat after deletions;
// the uniqueness checks catch that when they are switched on).
qint64 runningProductNumber(QSqlDatabase db);

// The code for a running number from a template: each "{c}" is a digit
// position filled from the right (unfilled positions show 0, surplus digits
// go in front of the leftmost position); every other character, "/" and "."
// included, is copied as it stands.
QString formatProductCode(const QString& codeTemplate, qint64 number);

// Empty when the template holds no "{c}".
QString GetNewProductCode(QSqlDatabase db, const QString& codeTemplate);
// "2", the running number in 11 digits, the check digit; empty when the
// code template holds no "{c}".
QString GetNewProductBarcode(QSqlDatabase db, const QString& codeTemplate);

// The five-digit part of a variant barcode: a number below 99999, padded
// with zeros on the right (42 becomes 42000).
QString variantNumberText(qint64 value);
// A variant barcode no variant has yet: "2", yy, five digits from the random
// source, the date and N, mm, dd, the check digit.
QString GenerateAttributeBarcode(QSqlDatabase db, const QDate& date, qint32 n);

// What the module generated for the product being edited, so that a save
// can tell a value the user did not type from one the user typed.
struct GeneratedIdentifiers {
    QString code;
    QString barcode;
    QVariant plu;           // null when no PLU came from the pool
    bool pluVireo = false;  // from the four-digit range
    QSet<QString> variantBarcodes;
    void clearProduct()
    {
        code.clear();
        barcode.clear();
        plu = QVariant();
        pluVireo = false;
    }
};

// Names of the identifier lock rows.
inline const char* const kProductIdentifiers = "product";
inline const char* const kAlternativeGroups = "productalter";
inline const char* const kVariantBarcodes = "productattribute";

// Takes the lock row of one kind of identifier for the rest of the current
// transaction: every workstation that gives out such identifiers takes it
// first, so what one finds free stays free until it commits. Must come
// before any other read of the transaction (the snapshot starts there).
void lockIdentifiers(tarvex::Connection& connection, const char* name);

// The first code of the template, from the running number upward, that no
// product other than `productId` has; empty without "{c}".
QString nextFreeProductCode(tarvex::Connection& connection, const QString& codeTemplate, qint64 productId);
// The same for generated product barcodes.
QString nextFreeProductBarcode(tarvex::Connection& connection, const QString& codeTemplate, qint64 productId);
// Whether a product other than `productId` holds the value in the column.
bool productValueTaken(tarvex::Connection& connection, const QString& column, const QVariant& value, qint64 productId);
bool variantBarcodeTaken(tarvex::Connection& connection, const QString& barcode);

} // namespace products
