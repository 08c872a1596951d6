#pragma once
// Choosing the database a demo fill goes into, and leaving alone the ones it
// must not touch.

#include <QSqlDatabase>
#include <QString>

namespace tarvex {

enum class DemoTargetAction {
    Fill,         // the database is ready and empty: fill it
    Refill,       // as Fill, after dropping a demo fill that stopped half-way
    KeepComplete, // it holds a finished demo fill (only with `once`)
    KeepOwnData,  // it has data that no demo fill made (only with `once`)
};

// Makes `name` the connection's current database. A missing database is
// created with the schema, and so is the schema of one without tables.
//
// Without `once`, a database that has products or a demo fill makes it throw
// DemoDataError. With `once` (fill a database the first time only), a
// finished demo fill and data of its own are kept, and a demo fill that
// stopped half-way is dropped and the database made again.
DemoTargetAction prepareDemoTarget(QSqlDatabase& connection, const QString& name, bool once);

} // namespace tarvex
