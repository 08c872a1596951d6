// bench_dataset: opens the product list (the search panel's statement for one
// warehouse, no criteria) into a query dataset and sorts it by name, against
// a plain forward-only fetch of the same rows that reads every column.
//
//   TARVEX_BENCH_SOCKET, TARVEX_BENCH_USER, TARVEX_BENCH_DATABASE: the demo
//   database (tarvex-demogen, large scale).
//
// Prints BENCH dataset.open_sort.ms, dataset.open_sort.ratio and
// dataset.memory.mb (growth of the peak resident size while the dataset
// opens and sorts).

#include "Connection.h"
#include "DatabaseError.h"
#include "QueryDataSet.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlRecord>
#include <QTextStream>
#include <algorithm>

using namespace tarvex;

namespace {

QString productListSql(qint64 warehouseId)
{
    return QStringLiteral(
               "SELECT DISTINCT p.*,p.price * (1+t.value/100) AS pricewithvat, (pw.price + 0.0) AS wh_price, "
               "pw.price * (1+t.value/100) AS wh_pricewithvat, p.recommendedprice * (1+t.value/100) AS recommendedpricewithvat,"
               "(t.value+0.0) AS taxvalue,(pw.amount + 0.0) as primaryamount,(pw.reservedamount + 0.0) as reservedamount,"
               "(pw.reversedamount + 0.0) as reversedamount,(pw.amount - pw.reservedamount - pw.reversedamount) as freeamount,"
               "(pw.orderedamount + 0.0) as orderedamount FROM product AS p "
               "LEFT JOIN productcategorypr pc ON p.productid = pc.productid LEFT JOIN tax t ON p.taxid = t.taxid "
               "LEFT JOIN productwarehouse AS pw ON (p.productid = pw.productid AND pw.warehouseid = %1)"
               " LEFT JOIN productalter AS pa ON p.productid = pa.productid"
               " LEFT JOIN productdetail AS pd ON p.productid = pd.productid")
        .arg(warehouseId);
}

// A line of /proc/self/status in kB ("VmRSS", "VmHWM").
qint64 statusKb(const char* key)
{
    QFile file(QStringLiteral("/proc/self/status"));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray prefix = QByteArray(key) + ':';
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

// Milliseconds of a plain forward-only fetch that reads every column.
double plainFetch(Connection& connection, const QString& sql, qint64* rows)
{
    QElapsedTimer timer;
    timer.start();
    QSqlQuery query = connection.select(sql);
    const int columns = query.record().count();
    qint64 n = 0;
    qint64 filled = 0;
    while (query.next()) {
        for (int i = 0; i < columns; ++i)
            filled += query.value(i).isNull() ? 0 : 1;
        ++n;
    }
    *rows = n + (filled < 0 ? 1 : 0);
    return double(timer.nsecsElapsed()) / 1e6;
}

double openAndSort(Connection& connection, const QString& sql, qint64* rows, QString* firstName)
{
    QueryDataSet products(&connection, sql);
    products.setObjectName(QStringLiteral("ProductZQ"));
    products.declareField(QStringLiteral("active"), FieldType::Boolean);
    QElapsedTimer timer;
    timer.start();
    products.open();
    products.setSortedFields(QStringLiteral("name"));
    products.first();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    *rows = products.recordCount();
    *firstName = products.fieldByName(QStringLiteral("name")).asString();
    return ms;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QString socket = qEnvironmentVariable("TARVEX_BENCH_SOCKET");
    const QString user = qEnvironmentVariable("TARVEX_BENCH_USER");
    const QString database = qEnvironmentVariable("TARVEX_BENCH_DATABASE");
    if (socket.isEmpty() || database.isEmpty()) {
        out << "bench_dataset: TARVEX_BENCH_SOCKET and TARVEX_BENCH_DATABASE (and TARVEX_BENCH_USER) are not set; "
               "nothing measured"
            << Qt::endl;
        return 0;
    }
    try {
        ConnectionSettings settings;
        settings.socket = socket;
        settings.user = user;
        settings.database = database;
        Connection connection(settings);

        QSqlQuery primary = connection.select(QStringLiteral(
            "SELECT warehouseid FROM warehouse ORDER BY status = 'primary' DESC, warehouseid LIMIT 1"));
        const qint64 warehouse = primary.next() ? primary.value(0).toLongLong() : 1;
        const QString sql = productListSql(warehouse);

        // Warm the server's caches without filling the client's memory.
        connection.select(QStringLiteral("SELECT COUNT(*) FROM (%1) AS warm").arg(sql));

        qint64 datasetRows = 0;
        qint64 plainRows = 0;
        QString firstName;
        const qint64 before = statusKb("VmRSS");
        double datasetMs = openAndSort(connection, sql, &datasetRows, &firstName);
        const qint64 peak = statusKb("VmHWM");
        double plainMs = plainFetch(connection, sql, &plainRows);
        datasetMs = std::min(datasetMs, openAndSort(connection, sql, &datasetRows, &firstName));
        plainMs = std::min(plainMs, plainFetch(connection, sql, &plainRows));

        out << "rows: " << datasetRows << " (plain fetch " << plainRows << "), warehouse " << warehouse
            << ", first by name: " << firstName << Qt::endl;
        out << "BENCH dataset.open_sort.ms " << QString::number(datasetMs, 'f', 1) << " ms" << Qt::endl;
        out << "BENCH dataset.open_sort.ratio " << QString::number(datasetMs / plainMs, 'f', 2) << " x" << Qt::endl;
        out << "BENCH dataset.memory.mb " << QString::number(double(peak - before) / 1024.0, 'f', 1) << " MB" << Qt::endl;
    } catch (const DatabaseError& e) {
        QTextStream(stderr) << "bench_dataset: " << e.what() << Qt::endl;
        return 1;
    }
    return 0;
}
