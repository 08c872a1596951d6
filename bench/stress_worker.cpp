// One workstation of tarvex-stress: a process of its own that saves new
// products through the data module's save path, as the editor does.

#include "stress.h"

#include "Clock.h"
#include "Connection.h"
#include "DatabaseError.h"
#include "Productcachedlists.h"
#include "Productdmunit.h"
#include "Productsave.h"

#include <QDateTime>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <QTextStream>
#include <cstdio>

namespace stress {

using products::TProductDM;
using tarvex::Connection;
using tarvex::DatabaseError;

namespace {

bool wants(const QString& kind, const char* what)
{
    return kind == QLatin1String(what) || kind == QLatin1String("mixed");
}

// A new product as the editor starts it, with what the kind asks for.
void startProduct(TProductDM& dm, const WorkerConfig& config, const QString& name)
{
    tarvex::QueryDataSet& product = *dm.ProductZQ;
    product.close();
    product.setSql(TProductDM::productDesignSql());
    product.open();
    product.append();
    product.fieldByName(QStringLiteral("name")).setValue(name);
    product.fieldByName(QStringLiteral("unitname")).setValue(QStringLiteral("kom"));
    product.fieldByName(QStringLiteral("pricecurrency")).setValue(QStringLiteral("RSD"));
    product.fieldByName(QStringLiteral("inputpricecurrency")).setValue(QStringLiteral("RSD"));

    tarvex::QueryDataSet& detail = *dm.ProductDetailZQ;
    detail.close();
    detail.setParam(QStringLiteral("productid"), -1);
    detail.open();
    detail.append();
    detail.fieldByName(QStringLiteral("model")).setValue(name);
    products::OpenRebate(-1);
    {
        products::NewRowsOfProduct owned(*dm.ProductRebateZQ);
        dm.ProductRebateZQ->append();
        dm.ProductRebateZQ->fieldByName(QStringLiteral("quantity")).setValue(10.0);
        dm.ProductRebateZQ->post();
    }

    if (wants(config.kind, "plu")) {
        QStringList plus;
        dm.GetPLUs(plus, 1, false);
        if (!plus.isEmpty()) {
            product.fieldByName(QStringLiteral("kasaplu")).setValue(plus.first().toLongLong());
            dm.Generated.plu = plus.first().toLongLong();
            dm.Generated.pluVireo = false;
        }
    }
    tarvex::QueryDataSet& variants = *dm.ProductAttributeZQ;
    variants.close();
    variants.setParam(QStringLiteral("idproduct"), -1);
    variants.open();
    if (wants(config.kind, "variant")) {
        variants.append();
        variants.fieldByName(QStringLiteral("productid")).setValue(0);
        variants.fieldByName(QStringLiteral("attributeprid1")).setValue(1);
        variants.fieldByName(QStringLiteral("prodattribute")).setValue(QStringLiteral("Boja"));
        variants.fieldByName(QStringLiteral("prodattributevalue")).setValue(QStringLiteral("Crvena"));
        variants.fieldByName(QStringLiteral("prodattbarcode"))
            .setValue(dm.GenerateAttributeBarcode(tarvex::hostClock().now(), 1));
        variants.post();
    }
    // The time a user spends between the generated values and the save.
    if (config.thinkMs > 0)
        QThread::msleep(unsigned(config.thinkMs));
}

products::ProductsaveInput saveInput()
{
    products::ProductsaveInput input;
    input.categories = QStringList{QStringLiteral("Stres")};
    return input;
}

// Waits for the server to come back and opens the session again.
bool reconnect(Connection& connection)
{
    for (int i = 0; i < 600; ++i) {
        try {
            connection.reconnect();
            return true;
        } catch (const std::exception&) {
            QThread::msleep(100);
        }
    }
    return false;
}

} // namespace

int runWorker(const WorkerConfig& config)
{
    QTemporaryDir settingsDir;
    Connection connection(config.settings);
    TProductDM dm;
    dm.setLocalSettings(settingsDir.filePath(QStringLiteral("stress.ini")), settingsDir.path());
    dm.SetZConnection(&connection);
    dm.DataModuleCreate();
    products::ProductDM = &dm;
    dm.SetDefaultTaxID(1);
    dm.Options.AutoProductCodeFormat = QStringLiteral("{c}{c}{c}{c}{c}{c}");
    dm.Options.AutoProductCode = wants(config.kind, "code");
    dm.Options.AutoProductBarcode = wants(config.kind, "barcode");
    // Typed clashes stay refused; a generated one must never reach the check.
    dm.Options.UniqueProductCode = true;
    dm.Options.UniqueProductBarcode = true;

    QFile journal(config.journal);
    if (!journal.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return 3;
    QTextStream log(&journal);

    // Every workstation starts at the same moment.
    while (QDateTime::currentMSecsSinceEpoch() < config.startAt)
        QThread::msleep(5);

    int saved = 0;
    int refused = 0;
    int abandoned = 0;
    qint64 previous = 0;
    for (int i = 0; config.saves <= 0 || i < config.saves; ++i) {
        if (config.saves <= 0 && QFile::exists(config.stopFile))
            break;
        const QString name = config.tag + QStringLiteral("W%1-%2").arg(config.worker).arg(i);
        bool done = false;
        try {
            startProduct(dm, config, name);
        } catch (const DatabaseError&) {
            if (!connection.isConnected() && !connection.ping() && !reconnect(connection))
                return 4;
            --i;
            continue;
        }
        for (int attempt = 0; attempt < 50 && !done; ++attempt) {
            try {
                products::Productsave(dm).write(saveInput());
                done = true;
            } catch (const DatabaseError& e) {
                if (e.isConnectionLost() || !connection.isConnected()) {
                    if (!reconnect(connection))
                        return 4;
                    continue;  // the same save again, as the user would
                }
                if (e.code() == 1213 || e.code() == 1205)
                    continue;
                std::fprintf(stderr, "worker %d: %s\n", config.worker, e.what());
                break;
            } catch (const std::exception& e) {
                // A check refused a value: nobody typed any here.
                std::fprintf(stderr, "worker %d refused: %s\n", config.worker, e.what());
                break;
            }
        }
        if (!done) {
            ++(config.saves > 0 ? refused : abandoned);
            dm.ProductZQ->cancel();
            continue;
        }
        ++saved;
        const qint64 id = dm.ProductZQ->fieldByName(QStringLiteral("productid")).asLargeInt();
        log << name << '\t' << id << '\n';
        log.flush();
        // Groups are joined outside the product's save; the killed-server
        // stream leaves them out.
        if (wants(config.kind, "group") && config.saves > 0) {
            if (previous > 0) {
                // Joining again after a lost answer joins nothing new.
                for (bool joined = false; !joined;) {
                    try {
                        dm.JoinAlternativeGroup(qint32(id), qint32(previous));
                        joined = true;
                    } catch (const DatabaseError& e) {
                        if (!(e.isConnectionLost() || !connection.isConnected()) || !reconnect(connection))
                            throw;
                    }
                }
                previous = 0;
            } else {
                previous = id;
            }
        }
    }
    std::printf("%d %d %d\n", saved, refused, abandoned);
    products::ProductDM = nullptr;
    return 0;
}

} // namespace stress
