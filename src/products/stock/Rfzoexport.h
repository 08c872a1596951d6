#pragma once
// The stock report for the health insurance fund (RFZO): one line of XML
// with the company's number, the organisational unit, the date and, for each
// product in stock linked to one of the chosen categories, its code (JKL)
// and its quantity on hand with three decimals.

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>

namespace tarvex {
class DataSet;
}

namespace products {

// "&" "<" ">" and '"' as XML entities ("&" first).
QString RfzoEscape(const QString& text);

// The pairs <JKL>code</JKL><StanjeZaliha>0.000</StanjeZaliha> of the rows of
// the list (fields code, amountbalance, productid) in its current order
// whose balance is above 0 at six decimals and whose product is linked
// directly to one of the categories (identifiers joined with ","). The list
// ends on its first row.
QString RfzoItems(QSqlDatabase db, tarvex::DataSet& list, const QString& categories);

// The warehouse's own organisational unit, or its identifier when it has
// none; "1" for all warehouses or all retail warehouses (identifier 0 or
// below).
QString RfzoOrganizationUnit(QSqlDatabase db, qint32 warehouseId);

// The whole report; partner and date go in as given.
QString RfzoReport(const QString& partner, const QString& organizationUnit, const QString& date,
                   const QString& items);

// The name the save dialog proposes: "rfzo_", the moment as yyyymmddhhnnss,
// "_" and the company number.
QString RfzoFileName(const QDateTime& now, const QString& companyNumber);

// Creates or overwrites the file with the text in UTF-8 without a
// byte-order mark. Throws a File error when it cannot.
void WriteRfzoFile(const QString& path, const QString& text);

} // namespace products
