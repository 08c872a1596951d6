#pragma once
// Who the session's account is in the shop: one of four roles the server
// enforces with its grants (the database's schema creates them). Windows ask
// here what to offer, so an action the server would refuse is not offered.
// Each role holds the one below it:
//   Kasir           reads the catalogue, looks products up, prints labels;
//   Magacioner      + warehouses, stock rows, packaging and components;
//   Komercijalista  + products, prices, categories, attributes, rebates, taxes;
//   Administrator   + everything, the options and the staff accounts.

#include <QList>
#include <QSqlDatabase>
#include <QString>

namespace tarvex {

enum class StaffRole { Kasir, Magacioner, Komercijalista, Administrator };

// The server's name of the role: "tarvex_kasir" and so on.
QString roleAccount(StaffRole role);
// As a window shows it: "Kasir", "Magacioner", ...
QString roleCaption(StaffRole role);
// The role named `name` (server name or caption, any letter case); false
// for any other name.
bool roleFromName(const QString& name, StaffRole& role);
QList<StaffRole> allRoles();

// The role the session works under: its current role when that is one of
// ours; without one, an account that may write the database (the private
// server's owner, a shop's own administrator account) is an administrator,
// any other a kasir.
StaffRole sessionRole(const QSqlDatabase& db);

inline bool mayChangeStock(StaffRole role) { return role >= StaffRole::Magacioner; }
inline bool mayChangeCatalogue(StaffRole role) { return role >= StaffRole::Komercijalista; }
inline bool mayAdminister(StaffRole role) { return role == StaffRole::Administrator; }

} // namespace tarvex
