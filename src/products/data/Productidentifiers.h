#pragma once
// Generated product codes and barcodes, and the barcodes of product variants.
// Generated barcodes are EAN-13 codes beginning with 2 (in-store numbers).

#include <QDate>
#include <QSqlDatabase>
#include <QString>

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

} // namespace products
