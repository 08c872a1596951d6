#pragma once
// Database errors as the user reads them: a Serbian sentence naming the
// field by its label and saying what to do. The server's own text is no part
// of it: it is the error's detail, for support, behind the message box's
// "Detalji" button (databaseErrorDetail).
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
// wrong value, lost connection (told apart for a read and a write), full
// disk, conflict with another user's change, missing right; any other error
// by its code.
QString databaseErrorText(const DatabaseError& error);
// The detail for support: the server's code and text, and the statement.
QString databaseErrorDetail(int code, const QString& serverMessage, const QString& sql);

inline const QString DB_TOO_LONG_ERR = QStringLiteral("Tekst polja \"%1\" je predugačak. Skratite ga pa sačuvajte ponovo.");
inline const QString DB_DUPLICATE_ERR =
    QStringLiteral("Vrednost polja \"%1\" već postoji, a mora biti jedinstvena. Unesite drugu vrednost.");
inline const QString DB_DUPLICATE_ANY_ERR =
    QStringLiteral("Ova vrednost već postoji, a mora biti jedinstvena. Unesite drugu vrednost.");
inline const QString DB_PARENT_ROW_ERR =
    QStringLiteral("Zapis se ne može obrisati ni izmeniti jer se na njega pozivaju drugi podaci. Prvo uklonite ili "
                   "promenite te podatke.");
inline const QString DB_CHILD_ROW_ERR =
    QStringLiteral("Polje \"%1\" upućuje na podatak koji ne postoji (možda ga je neko upravo obrisao). Izaberite "
                   "postojeći podatak.");
inline const QString DB_CHILD_ROW_ANY_ERR =
    QStringLiteral("Zapis upućuje na podatak koji ne postoji (možda ga je neko upravo obrisao). Izaberite postojeći "
                   "podatak.");
inline const QString DB_CONNECTION_LOST_ERR =
    QStringLiteral("Veza sa bazom podataka je prekinuta. Izmena možda nije sačuvana: uneti podaci su ostali u "
                   "prozoru, a sledeća radnja ponovo uspostavlja vezu.");
// The same loss met by a read (a search, a report): nothing was being saved.
inline const QString DB_CONNECTION_LOST_READ_ERR =
    QStringLiteral("Veza sa bazom podataka je prekinuta, pa podaci nisu pročitani. Pokušajte ponovo: sledeća "
                   "radnja ponovo uspostavlja vezu.");
inline const QString DB_SERVER_AWAY_ERR =
    QStringLiteral("Server baze podataka i dalje nije dostupan. Radnja nije izvršena; pokušajte ponovo kada server "
                   "proradi.");
inline const QString DB_DISK_FULL_ERR =
    QStringLiteral("Na disku servera baze podataka nema slobodnog mesta, pa radnja nije izvršena. Oslobodite prostor "
                   "na tom disku (ili javite onome ko održava server), pa pokušajte ponovo.");
inline const QString DB_CONFLICT_ERR =
    QStringLiteral("Iste podatke je u isto vreme menjao još neko, pa radnja nije izvršena. Pokušajte ponovo za "
                   "nekoliko trenutaka.");
inline const QString DB_NO_RIGHT_ERR =
    QStringLiteral("Vaš nalog na serveru baze podataka nema pravo na ovu radnju. Ako vam je potrebna, zamolite "
                   "administratora da vam je dozvoli.");
// The refused right named: "%1" what the account tried, "%2" on what; "%3"
// DB_INPUT_KEPT_NOTE for a refused write of typed data, else empty.
inline const QString DB_NO_RIGHT_ON_ERR =
    QStringLiteral("Vaš nalog na serveru baze podataka nema pravo da %1: %2.%3 Ako vam je ta radnja potrebna, zamolite "
                   "administratora da vam je dozvoli.");
inline const QString DB_INPUT_KEPT_NOTE = QStringLiteral(" Uneti podaci su ostali u prozoru.");
inline const QString DB_NO_PRIVILEGE_ERR =
    QStringLiteral("Vaš nalog na serveru baze podataka nema pravo da %1. Ako vam je ta radnja potrebna, zamolite "
                   "administratora da vam je dozvoli.");
inline const QString DB_GENERIC_ERR =
    QStringLiteral("Baza podataka nije izvršila radnju (greška %1). Pokušajte ponovo; ako se greška ponovi, javite "
                   "se podršci i pošaljite tekst koji stoji pod \"Detalji\".");
inline const QString DB_DETAIL_FMT = QStringLiteral("Poruka servera (%1): %2");
inline const QString DB_DETAIL_SQL_FMT = QStringLiteral("Naredba: %1");
// Refused before the text reaches the server.
inline const QString CMN_FIELD_TOO_LONG_ERR = QStringLiteral("Polje \"%1\" može imati najviše %2 znakova (uneto %3).");

} // namespace tarvex
