#pragma once
// Database errors as the user reads them: a Serbian sentence naming the
// field by its label, with the server's own text kept below as a detail.
// Labels are learnt from the datasets' fields (table and column → label) as
// they open or get their captions, so a message about a column names the
// label the user sees in the window.

#include <QString>

namespace tarvex {

class DatabaseError;

void rememberFieldLabel(const QString& table, const QString& column, const QString& label);
// The label of the column, or empty when no dataset gave it one.
QString rememberedFieldLabel(const QString& table, const QString& column);

// The message for the error: too long, duplicate, foreign key, missing or
// wrong value, lost connection; any other error by its code.
QString databaseErrorText(const DatabaseError& error);

inline const QString DB_TOO_LONG_ERR = QStringLiteral("Tekst polja \"%1\" je predugačak.");
inline const QString DB_DUPLICATE_ERR = QStringLiteral("Vrednost polja \"%1\" već postoji, a mora biti jedinstvena.");
inline const QString DB_DUPLICATE_ANY_ERR = QStringLiteral("Ova vrednost već postoji, a mora biti jedinstvena.");
inline const QString DB_PARENT_ROW_ERR =
    QStringLiteral("Zapis se ne može obrisati ni izmeniti jer se na njega pozivaju drugi podaci.");
inline const QString DB_CHILD_ROW_ERR = QStringLiteral("Polje \"%1\" upućuje na podatak koji ne postoji.");
inline const QString DB_CHILD_ROW_ANY_ERR = QStringLiteral("Zapis upućuje na podatak koji ne postoji.");
inline const QString DB_CONNECTION_LOST_ERR =
    QStringLiteral("Veza sa bazom podataka je prekinuta. Izmena možda nije sačuvana: uneti podaci su ostali u "
                   "prozoru, a sledeća radnja ponovo uspostavlja vezu.");
inline const QString DB_SERVER_AWAY_ERR =
    QStringLiteral("Server baze podataka i dalje nije dostupan. Radnja nije izvršena; pokušajte ponovo kada server "
                   "proradi.");
// The server refused a statement the signed-in role has no right to.
inline const QString DB_NO_RIGHT_TABLE_ERR =
    QStringLiteral("Vaša uloga nema pravo da %1 podatke u tabeli \"%2\". Izmena nije sačuvana; uneti podaci su ostali "
                   "u prozoru. Ako vam ta radnja treba, obratite se administratoru (Alati > Korisnici).");
inline const QString DB_NO_RIGHT_ERR =
    QStringLiteral("Vaša uloga nema pravo na ovu radnju. Ako vam treba, obratite se administratoru (Alati > Korisnici).");
inline const QString DB_RIGHT_INSERT_CAP = QStringLiteral("dodaje");
inline const QString DB_RIGHT_UPDATE_CAP = QStringLiteral("menja");
inline const QString DB_RIGHT_DELETE_CAP = QStringLiteral("briše");
inline const QString DB_RIGHT_SELECT_CAP = QStringLiteral("čita");
inline const QString DB_GENERIC_ERR = QStringLiteral("Greška baze podataka (%1).");
inline const QString DB_DETAIL_FMT = QStringLiteral("Poruka servera (%1): %2");
// Refused before the text reaches the server.
inline const QString CMN_FIELD_TOO_LONG_ERR = QStringLiteral("Polje \"%1\" može imati najviše %2 znakova (uneto %3).");

} // namespace tarvex
