#include "DemoData.h"

#include "Connection.h"
#include "DemoCatalogue.h"
#include "DemoDocuments.h"
#include "DemoModel.h"
#include "DemoReference.h"
#include "DemoSql.h"

#include <QElapsedTimer>
#include <QSqlQuery>

namespace tarvex {

namespace {

const char* const kMarkerSection = "Demo";

QString markerValue(QSqlDatabase& db, const QString& name)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT value FROM dbinifile WHERE section = ? AND name = ?"));
    query.addBindValue(QLatin1String(kMarkerSection));
    query.addBindValue(name);
    if (!query.exec() || !query.next())
        return QString();
    return query.value(0).toString();
}

qint64 productCount(QSqlDatabase& db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM product")) || !query.next())
        throw DemoDataError(QStringLiteral("Baza nema tabelu proizvoda; prvo je napravite iz šeme."));
    return query.value(0).toLongLong();
}

void writeMarker(demo::DemoWriter& writer, const QString& name, const QString& value)
{
    writer.execute(QStringLiteral("REPLACE INTO dbinifile (section, name, value) VALUES (%1, %2, %3)")
                       .arg(quoteSqlText(QLatin1String(kMarkerSection)), quoteSqlText(name), quoteSqlText(value)));
}

} // namespace

DemoScale DemoScale::tiny()
{
    return {QStringLiteral("tiny"), 60, 20, 1500, 2};
}

DemoScale DemoScale::small()
{
    return {QStringLiteral("small"), 500, 120, 20000, 2};
}

DemoScale DemoScale::large()
{
    return {QStringLiteral("large"), 100000, 5000, 1000000, 2};
}

DemoScale DemoScale::huge()
{
    return {QStringLiteral("huge"), 1000000, 20000, 10000000, 2};
}

DemoScale DemoScale::named(const QString& name)
{
    if (name == QLatin1String("tiny"))
        return tiny();
    if (name == QLatin1String("small"))
        return small();
    if (name == QLatin1String("large"))
        return large();
    if (name == QLatin1String("huge"))
        return huge();
    throw DemoDataError(QStringLiteral("Nepoznata veličina demo podataka \"%1\" (tiny, small, large ili huge).").arg(name));
}

qint64 DemoReport::rowsOf(const QString& table) const
{
    for (const auto& entry : rows)
        if (entry.first == table)
            return entry.second;
    return 0;
}

qint64 DemoReport::totalRows() const
{
    qint64 total = 0;
    for (const auto& entry : rows)
        total += entry.second;
    return total;
}

DemoReport generateDemoData(QSqlDatabase& db, const DemoScale& scale, quint32 seed, QDate lastDay,
                            const std::function<void(int percent)>& progress)
{
    const auto done = [&](int percent) {
        if (progress)
            progress(percent);
    };
    QElapsedTimer timer;
    timer.start();
    if (productCount(db) > 0)
        throw DemoDataError(QStringLiteral("Baza već ima proizvode; demo podaci se unose samo u praznu bazu."));
    if (demoFillState(db) != DemoFillState::None)
        throw DemoDataError(QStringLiteral("Baza sadrži raniji unos demo podataka; prvo je obrišite."));

    demo::DemoModel model;
    model.lastDay = lastDay.isValid() ? lastDay : QDate::currentDate();
    model.firstDay = model.lastDay.addYears(-scale.years);

    demo::DeferredIndexes indexes(db, {QStringLiteral("product"), QStringLiteral("productcategorypr"),
                                       QStringLiteral("productwarehouse"), QStringLiteral("document"),
                                       QStringLiteral("documentitem"), QStringLiteral("docfinitem")});
    demo::DemoWriter writer(db);
    // Marked before the first row, so a fill stopped half-way is recognised.
    writeMarker(writer, QStringLiteral("Scale"), scale.name);
    writeMarker(writer, QStringLiteral("Seed"), QString::number(seed));
    writeMarker(writer, QStringLiteral("LastDay"), model.lastDay.toString(Qt::ISODate));
    writer.commit();
    indexes.drop();

    done(2);
    demo::DemoReference reference(writer, model, seed);
    reference.write(scale.partners);
    done(10);
    demo::DemoCatalogue catalogue(writer, model, reference, seed);
    catalogue.writeProducts(scale.products);
    done(25);
    // The documents are most of the work: 25 to 80.
    demo::DemoDocuments documents(writer, model, seed);
    documents.write(scale.documentLines, [&](double share) { done(25 + int(share * 55)); });
    catalogue.writeStockRows();
    writer.commit();
    done(85);
    indexes.restore();
    writeMarker(writer, QStringLiteral("Complete"), QStringLiteral("1"));
    writer.commit();
    done(95);

    // Fresh statistics, so the first reports on the new data plan well.
    execSql(db, QStringLiteral("ANALYZE TABLE product, productwarehouse, productcategorypr, document, documentitem, "
                               "docfinitem"));

    DemoReport report;
    report.rows = writer.rowCounts();
    report.elapsedMs = timer.elapsed();
    return report;
}

DemoFillState demoFillState(QSqlDatabase& db)
{
    if (markerValue(db, QStringLiteral("Complete")) == QLatin1String("1"))
        return DemoFillState::Complete;
    if (!markerValue(db, QStringLiteral("Scale")).isEmpty())
        return DemoFillState::Incomplete;
    return DemoFillState::None;
}

QString demoFillScale(QSqlDatabase& db)
{
    return markerValue(db, QStringLiteral("Scale"));
}

} // namespace tarvex
