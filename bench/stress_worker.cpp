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

// Where a workstation's server went away under it: the console restarts
// its private server and goes on; here the tool restarts it, and the
// workstation waits for it the same way, up to a minute.
bool serverBack(const tarvex::ConnectionSettings& settings)
{
    for (int i = 0; i < 600; ++i) {
        try {
            const QString name = QStringLiteral("stress-revive");
            {
                QSqlDatabase db = tarvex::openConnection(settings, name);
                db.close();
            }
            QSqlDatabase::removeDatabase(name);
            return true;
        } catch (const std::exception&) {
            QThread::msleep(100);
        }
    }
    return false;
}

// What the user sees: one press of a button either goes through or ends in
// a message. A refused press is pressed again, up to five times in all.
class User {
public:
    explicit User(int worker) : m_worker(worker) {}
    template <class Press>
    bool press(const char* what, Press action)
    {
        for (int attempt = 0; attempt < kPresses; ++attempt) {
            try {
                action();
                return true;
            } catch (const std::exception& e) {
                ++messages;
                std::fprintf(stderr, "worker %d, %s: %s\n", m_worker, what,
                             qPrintable(QString::fromUtf8(e.what()).section(QLatin1Char('\n'), 0, 0)));
                QThread::msleep(200);  // the user reads the message
            }
        }
        ++givenUp;
        return false;
    }
    int messages = 0;
    int givenUp = 0;

private:
    static constexpr int kPresses = 5;
    int m_worker;
};

// The name of a product's copy: the run's tag, "K", the rest of the name.
QString copyName(const WorkerConfig& config, const QString& name)
{
    return config.tag + QStringLiteral("K") + name.mid(config.tag.size());
}

} // namespace

int runWorker(const WorkerConfig& config)
{
    QTemporaryDir settingsDir;
    Connection connection(config.settings);
    if (config.reviveServer)
        connection.setServerReviver([settings = config.settings] { return serverBack(settings); });
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

    User user(config.worker);
    int saved = 0;
    qint64 previous = 0;
    for (int i = 0; config.saves <= 0 || i < config.saves; ++i) {
        if (config.saves <= 0 && QFile::exists(config.stopFile))
            break;
        const QString name = config.tag + QStringLiteral("W%1-%2").arg(config.worker).arg(i);
        // Opening the editor reads; a refused read is told like any other.
        if (!user.press("open", [&] { startProduct(dm, config, name); }))
            continue;
        // Exactly what "U redu" does; the program's own retries and no more.
        if (!user.press("save", [&] { products::Productsave(dm).write(saveInput()); })) {
            dm.ProductZQ->cancel();
            continue;
        }
        ++saved;
        const qint64 id = dm.ProductZQ->fieldByName(QStringLiteral("productid")).asLargeInt();
        log << "p\t" << name << '\t' << id << '\n';
        log.flush();
        // Every tenth product is copied, as the editor's "Kopiraj" does.
        if (wants(config.kind, "copy") && i % 10 == 9) {
            const QString copy = copyName(config, name);
            qint32 copyId = 0;
            if (user.press("copy", [&] {
                    copyId = dm.CopyProduct(qint32(id), {QStringLiteral("name=") + copy, QStringLiteral("kasaplu=NULL"),
                                                         QStringLiteral("barcode=NULL"), QStringLiteral("code=NULL")});
                })) {
                log << "c\t" << copy << '\t' << copyId << '\n';
                log.flush();
            }
        }
        // Every second product joins the one before in a substitute group.
        if (wants(config.kind, "group")) {
            if (previous > 0) {
                if (user.press("group", [&] { dm.JoinAlternativeGroup(qint32(id), qint32(previous)); })) {
                    log << "g\t" << id << '\t' << previous << '\n';
                    log.flush();
                }
                previous = 0;
            } else {
                previous = id;
            }
        }
    }
    std::printf("%d %d %d\n", saved, user.messages, user.givenUp);
    products::ProductDM = nullptr;
    return 0;
}

} // namespace stress
