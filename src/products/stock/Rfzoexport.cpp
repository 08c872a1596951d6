#include "Rfzoexport.h"

#include "Connection.h"
#include "Controlsoff.h"
#include "DataSet.h"
#include "DisplayFormat.h"
#include "Error.h"
#include "Format.h"
#include "Rounding.h"

#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>

namespace products {

namespace {

const QString RFZO_SAVE_ERR = QStringLiteral("Datoteka \"%1\" nije sačuvana.");

const QString kReportFormat = QStringLiteral(
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><PregledStanjaZaliha><ZUStanjeZaliha><Partner>%s</Partner>"
    "<OrganizacioneJedinice><OrganizacionaJedinica>%s</OrganizacionaJedinica><Datumi><Datum Datum=\"%s\">%s"
    "</Datum></Datumi></OrganizacioneJedinice></ZUStanjeZaliha></PregledStanjaZaliha>");

const QString kLinkSql =
    QStringLiteral("SELECT * FROM productcategorypr WHERE productid = ? AND categoryprid IN (%s)");
const QString kWarehouseSql = QStringLiteral("SELECT * FROM warehouse WHERE warehouseid = ?");

} // namespace

QString RfzoEscape(const QString& text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('&'), QStringLiteral("&amp;"));
    escaped.replace(QLatin1Char('<'), QStringLiteral("&lt;"));
    escaped.replace(QLatin1Char('>'), QStringLiteral("&gt;"));
    escaped.replace(QLatin1Char('"'), QStringLiteral("&quot;"));
    return escaped;
}

QString RfzoItems(QSqlDatabase db, tarvex::DataSet& list, const QString& categories)
{
    QString items;
    const tarvex::Field& code = list.fieldByName(QStringLiteral("code"));
    const tarvex::Field& balance = list.fieldByName(QStringLiteral("amountbalance"));
    const tarvex::Field& productId = list.fieldByName(QStringLiteral("productid"));
    // The categories' ids bound one by one, after the product's.
    QVariantList categoryIds;
    QStringList marks;
    for (const QString& id : categories.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        marks << QStringLiteral("?");
        categoryIds << id.trimmed().toLongLong();
    }
    const QString linkSql = tarvex::Format(kLinkSql, {marks.join(QLatin1Char(','))});
    TControlsOff off(list);
    for (list.first(); !list.eof(); list.next()) {
        const double onHand = balance.asFloat();
        if (tarvex::BetterRoundTo(onHand, -6) <= 0)
            continue;
        QSqlQuery linked = tarvex::selectSql(db, linkSql, QVariantList{productId.asLargeInt()} + categoryIds);
        if (!linked.next())
            continue;
        // The fund reads the quantity with a full stop and three decimals.
        items += QStringLiteral("<JKL>") + RfzoEscape(code.asString()) + QStringLiteral("</JKL><StanjeZaliha>") +
                 RfzoEscape(tarvex::FloatToText(onHand, 3)) +
                 QStringLiteral("</StanjeZaliha>");
    }
    list.first();
    return items;
}

QString RfzoOrganizationUnit(QSqlDatabase db, qint32 warehouseId)
{
    if (warehouseId <= 0)
        return QStringLiteral("1");
    QSqlQuery warehouse = tarvex::selectSql(db, kWarehouseSql, {warehouseId});
    if (warehouse.next()) {
        const QString unit = warehouse.value(warehouse.record().indexOf(QStringLiteral("organizationunit"))).toString();
        if (!unit.isEmpty())
            return unit;
    }
    return QString::number(warehouseId);
}

QString RfzoReport(const QString& partner, const QString& organizationUnit, const QString& date,
                   const QString& items)
{
    return tarvex::Format(kReportFormat, {partner, organizationUnit, date, items});
}

QString RfzoFileName(const QDateTime& now, const QString& companyNumber)
{
    return QStringLiteral("rfzo_") + now.toString(QStringLiteral("yyyyMMddHHmmss")) + QLatin1Char('_') +
           companyNumber;
}

void WriteRfzoFile(const QString& path, const QString& text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw tarvex::TarvexError(tarvex::ErrorKind::File, RFZO_SAVE_ERR.arg(path), file.errorString());
    const QByteArray bytes = text.toUtf8();
    const bool written = file.write(bytes) == bytes.size();
    const QString error = file.errorString();
    file.close();
    if (!written)
        throw tarvex::TarvexError(tarvex::ErrorKind::File, RFZO_SAVE_ERR.arg(path), error);
}

} // namespace products
