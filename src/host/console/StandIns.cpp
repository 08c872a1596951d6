#include "StandIns.h"

#include "Connection.h"
#include "Dialogs.h"
#include "Format.h"
#include "QueryDialogs.h"

#include <QSqlQuery>

namespace tarvex {

QString SecurityStandIn::GetUserName()
{
    return m_connection.userName();
}

void SecurityStandIn::RefreshSession()
{
    if (!m_connection.ping())
        m_connection.reconnect();
}

bool CurrencyStandIn::GetCurrency(QString& code)
{
    const QVariantList row = pickRow(m_connection.database(),
                                     QStringLiteral("SELECT code, name, status FROM currency ORDER BY code"),
                                     {QStringLiteral("Oznaka"), QStringLiteral("Naziv"), QStringLiteral("Status")},
                                     QStringLiteral("Valute"));
    if (row.isEmpty())
        return false;
    code = row.first().toString();
    return true;
}

void DocumentStandIn::OpenDocument(qint64 documentId)
{
    QSqlQuery header = m_connection.select(
        QStringLiteral("SELECT d.documenttype, d.number, d.documentdate, IF(d.partnername IS NULL, "
                       "CONCAT(p.name,''), d.partnername), d.status FROM document AS d LEFT JOIN partner AS p "
                       "ON d.partnerid = p.partnerid WHERE d.documentid = ?"),
        {documentId});
    if (!header.next()) {
        dialogs().information(QStringLiteral("Dokument %1 ne postoji.").arg(documentId));
        return;
    }
    const QString title = header.value(0).toString() + QLatin1Char('-') + header.value(1).toString();
    const QString text = QStringLiteral("Datum: %1   Partner: %2   Status: %3")
                             .arg(header.value(2).toDate().toString(Qt::ISODate), header.value(3).toString(),
                                  header.value(4).toString());
    showRows(m_connection.database(),
             QStringLiteral("SELECT CONCAT(p.code,''), CONCAT(p.name,''), di.quantity, di.price FROM "
                            "documentitem AS di LEFT JOIN product AS p ON di.productid = p.productid WHERE "
                            "di.documentid = ? ORDER BY di.documentitemid"),
             {QStringLiteral("Kod"), QStringLiteral("Naziv"), QStringLiteral("Količina"), QStringLiteral("Cena")},
             QStringLiteral("Dokument ") + title, text, {documentId});
}

void ProductionStandIn::ShowRawMaterials(qint64 productId)
{
    showRows(m_connection.database(),
             QStringLiteral("SELECT CONCAT(p.code,''), CONCAT(p.name,''), c.quantity, CONCAT(p.unitname,'') "
                            "FROM component AS c LEFT JOIN product AS p ON c.rawid = p.productid WHERE "
                            "c.productid = ? ORDER BY p.name"),
             {QStringLiteral("Kod"), QStringLiteral("Sirovina"), QStringLiteral("Količina"), QStringLiteral("JM")},
             QStringLiteral("Sirovine"), QString(), {productId});
}

template <const QUuid& iid>
bool DepreciationGroupStandIn<iid>::GetGroup(qint64& id, double& percent)
{
    const QString key = m_table + QStringLiteral("id");
    const QVariantList row =
        pickRow(m_connection.database(),
                QStringLiteral("SELECT %1, percent, description FROM %2 ORDER BY percent").arg(key, m_table),
                {QStringLiteral("Šifra"), QStringLiteral("Stopa (%)"), QStringLiteral("Opis")}, m_caption);
    if (row.isEmpty())
        return false;
    id = row[0].toLongLong();
    percent = row[1].toDouble();
    return true;
}

template class DepreciationGroupStandIn<IID_IDepreciationGroupService>;
template class DepreciationGroupStandIn<IID_IDepreciationAccountingGroupService>;

void ObjectStandIn::ShowObjects(const QString& condition, const QString& title)
{
    dialogs().information(QStringLiteral("%1\n\nUslov: %2").arg(title, condition));
}

} // namespace tarvex
