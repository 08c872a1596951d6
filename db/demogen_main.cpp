// tarvex-demogen: fills a database with the demo shop.
//
//   tarvex-demogen --socket PATH [--user NAME] [--database NAME]
//                  [--scale tiny|small|large|huge] [--seed N] [--last-day YYYY-MM-DD] [--once]
//                  [--progress]
//
// Creates the database with the schema when it is missing and refuses to fill
// one that already has products. With --once the database is filled only the
// first time: a finished demo fill or data of its own is left alone, and a
// fill that stopped half-way is dropped and made again. With --progress it
// prints "progress N" lines (N of 100) as the fill goes on, for the console's
// start-up window.

#include "Connection.h"
#include "DemoData.h"
#include "DemoTarget.h"
#include "PrivateServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

using namespace tarvex;

namespace {

QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

int fail(const QString& message, int code = 1)
{
    QTextStream(stderr) << "tarvex-demogen: " << message << Qt::endl;
    return code;
}

void printReport(const DemoScale& scale, quint32 seed, const QString& database, const DemoReport& report)
{
    out() << "Demo data (" << scale.name << ", seed " << seed << ") in database " << database << ":" << Qt::endl;
    for (const auto& entry : report.rows)
        out() << "  " << entry.first.leftJustified(28, QLatin1Char('.')) << ' '
              << QString::number(entry.second).rightJustified(10) << Qt::endl;
    const QString seconds = QString::number(double(report.elapsedMs) / 1000.0, 'f', 1);
    out() << "  " << QStringLiteral("rows in all").leftJustified(28, QLatin1Char('.')) << ' '
          << QString::number(report.totalRows()).rightJustified(10) << Qt::endl;
    out() << "Made in " << seconds << " s." << Qt::endl;
    if (scale.name == QLatin1String("large") || scale.name == QLatin1String("huge"))
        out() << "BENCH demogen." << scale.name << ".seconds " << seconds << " s" << Qt::endl;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Fills a Tarvex database with the demo shop."));
    parser.addHelpOption();
    const QCommandLineOption socketOption(QStringLiteral("socket"), QStringLiteral("Server socket."),
                                          QStringLiteral("path"));
    const QCommandLineOption userOption(QStringLiteral("user"), QStringLiteral("User (default: you)."),
                                        QStringLiteral("name"));
    const QCommandLineOption databaseOption(QStringLiteral("database"), QStringLiteral("Database (default tarvex)."),
                                            QStringLiteral("name"), QStringLiteral("tarvex"));
    const QCommandLineOption scaleOption(QStringLiteral("scale"), QStringLiteral("tiny, small, large or huge."),
                                         QStringLiteral("scale"), QStringLiteral("small"));
    const QCommandLineOption seedOption(QStringLiteral("seed"), QStringLiteral("Seed (default 1)."),
                                        QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption lastDayOption(QStringLiteral("last-day"),
                                           QStringLiteral("Date of the newest documents (default today)."),
                                           QStringLiteral("yyyy-mm-dd"));
    const QCommandLineOption onceOption(QStringLiteral("once"),
                                        QStringLiteral("Fill only a new database; redo a fill that stopped."));
    const QCommandLineOption progressOption(QStringLiteral("progress"),
                                            QStringLiteral("Print \"progress N\" lines (N of 100) while filling."));
    parser.addOptions(
        {socketOption, userOption, databaseOption, scaleOption, seedOption, lastDayOption, onceOption, progressOption});
    parser.process(app);

    if (!parser.isSet(socketOption))
        return fail(QStringLiteral("--socket is required"), 2);
    bool seedOk = false;
    const quint32 seed = parser.value(seedOption).toUInt(&seedOk);
    if (!seedOk)
        return fail(QStringLiteral("--seed takes a whole number"), 2);
    QDate lastDay;
    if (parser.isSet(lastDayOption)) {
        lastDay = QDate::fromString(parser.value(lastDayOption), Qt::ISODate);
        if (!lastDay.isValid())
            return fail(QStringLiteral("--last-day takes a date as yyyy-mm-dd"), 2);
    }

    try {
        const DemoScale scale = DemoScale::named(parser.value(scaleOption));
        const QString database = parser.value(databaseOption);
        ConnectionSettings settings;
        settings.socket = parser.value(socketOption);
        settings.user = parser.isSet(userOption) ? parser.value(userOption) : PrivateServer(QString()).userName();
        QSqlDatabase db = openConnection(settings, QStringLiteral("demogen"));
        switch (prepareDemoTarget(db, database, parser.isSet(onceOption))) {
        case DemoTargetAction::KeepComplete:
            out() << "Database " << database << " already holds the " << demoFillScale(db)
                  << " demo data; kept as it is." << Qt::endl;
            return 0;
        case DemoTargetAction::KeepOwnData:
            out() << "Database " << database << " has data of its own; left alone." << Qt::endl;
            return 0;
        case DemoTargetAction::Refill:
            out() << "An earlier fill of " << database << " stopped half-way; making it again." << Qt::endl;
            break;
        case DemoTargetAction::Fill:
            break;
        }
        std::function<void(int)> progress;
        if (parser.isSet(progressOption)) {
            progress = [last = -1](int percent) mutable {
                if (percent == last)
                    return;
                last = percent;
                out() << "progress " << percent << Qt::endl;
            };
        }
        const DemoReport report = generateDemoData(db, scale, seed, lastDay, progress);
        printReport(scale, seed, database, report);
    } catch (const DemoDataError& e) {
        return fail(QString::fromUtf8(e.what()), 3);
    } catch (const std::exception& e) {
        return fail(QString::fromUtf8(e.what()));
    }
    return 0;
}
