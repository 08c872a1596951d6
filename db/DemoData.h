#pragma once
// Demo data: a realistic Serbian shop with its catalogue, warehouses and two
// years of stock documents, generated deterministically into an empty
// database made from db/schema.sql. The same seed, scale and last day give
// byte-identical data.
//
// The stock rows agree with the documents: productwarehouse.amount of every
// product and warehouse equals both the document balance (posted documents
// of the eleven stock kinds) and the stock-card balance (docfinitem).

#include "Error.h"

#include <QDate>
#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QString>
#include <functional>

namespace tarvex {

struct DemoScale {
    QString name;
    int products = 0;
    int partners = 0;
    qint64 documentLines = 0;
    int years = 2; // documents reach back this far from the last day

    static DemoScale tiny();  // for tests: 60 products, 1 500 lines
    static DemoScale small(); // 500 products, 20 000 lines
    static DemoScale large(); // 100 000 products, 1 000 000 lines
    static DemoScale huge();  // 1 000 000 products, 10 000 000 lines
    // "tiny", "small", "large" or "huge"; throws DemoDataError otherwise.
    static DemoScale named(const QString& name);
};

struct DemoReport {
    QList<QPair<QString, qint64>> rows; // rows written per table, in writing order
    qint64 elapsedMs = 0;

    qint64 rowsOf(const QString& table) const;
    qint64 totalRows() const;
};

// A fill refused: the database is not one to fill, or the scale is unknown.
class DemoDataError : public tarvex::TarvexError {
public:
    explicit DemoDataError(const QString& message) : tarvex::TarvexError(tarvex::ErrorKind::Configuration, message) {}
};

// Fills the connection's current database. The last day defaults to today.
// Throws DemoDataError when the database already has products and
// DatabaseError when a statement fails.
// `progress`, when given, hears how much of the fill is done (0-100).
DemoReport generateDemoData(QSqlDatabase& db, const DemoScale& scale, quint32 seed, QDate lastDay = QDate(),
                            const std::function<void(int percent)>& progress = {});

// Whether a demo fill was made in the database: the generator marks its start
// and its end in dbinifile, section 'Demo'.
enum class DemoFillState {
    None,       // no demo fill was ever started here
    Incomplete, // started and never finished (stopped half-way)
    Complete,
};
DemoFillState demoFillState(QSqlDatabase& db);
// The scale name of the fill recorded in the database, or empty.
QString demoFillScale(QSqlDatabase& db);

} // namespace tarvex
