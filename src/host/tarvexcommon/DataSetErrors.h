#pragma once
// Errors of the dataset layer besides DatabaseError.

#include "Error.h"

#include <QString>

namespace tarvex {

class Field;

// A dataset used the wrong way (editing in browse state, an unknown field, a
// row without a key to write it back by: Internal, the English detail says
// which) or an action a rule refuses (Validation, the text says why).
class DataSetError : public TarvexError {
public:
    // A refusal told to the user.
    explicit DataSetError(const QString& userText);
    DataSetError(ErrorKind kind, const QString& userText, const QString& detail);
};

// A field's value refused: a required field left empty, a failed validation,
// a text that does not read as the field's type. Carries the text to show and
// the field, so a window can show the message and put the focus there.
class FieldError : public TarvexError {
public:
    FieldError(const QString& userText, Field* field);
    Field* field() const { return m_field; }

private:
    Field* m_field;
};

// Stops an operation without any message: the host's error handling shows
// nothing for it (its user text is empty).
class SilentAbort : public TarvexError {
public:
    SilentAbort();
};

// Throws SilentAbort.
[[noreturn]] void Abort();

// The dataset layer's texts for the user; the English detail names the dataset.
inline const QString DS_CLOSED_ERR = QStringLiteral("Podaci nisu otvoreni; radnja nije izvršena.");
inline const QString DS_NO_FIELD_ERR = QStringLiteral("Polje \"%1\" ne postoji u ovim podacima.");
inline const QString DS_NOT_EDITING_ERR = QStringLiteral("Podaci nisu u izmeni; vrednost nije upisana.");
inline const QString DS_FIELD_READ_ONLY_ERR = QStringLiteral("Polje \"%1\" se ne može menjati.");
inline const QString DS_READ_ONLY_ERR = QStringLiteral("Ovi podaci se mogu samo pregledati, ne i menjati.");
inline const QString DS_ROW_GONE_ERR = QStringLiteral("Zapis više ne postoji; osvežite prikaz.");
inline const QString DS_EMPTY_DELETE_ERR = QStringLiteral("Nema zapisa za brisanje.");
inline const QString DS_PENDING_ERR =
    QStringLiteral("Ima nesačuvanih izmena; sačuvajte ih ili odustanite od njih pa pokušajte ponovo.");
inline const QString DS_FILTER_ERR = QStringLiteral("Uslov \"%1\" nije ispravan.");
inline const QString DS_ORDER_ERR = QStringLiteral("Redosled \"%1\" nije ispravan.");
inline const QString DS_NO_CONNECTION_ERR = QStringLiteral("Nema veze sa bazom podataka.");
inline const QString DS_NO_TABLE_ERR = QStringLiteral("Tabela \"%1\" ne postoji.");

} // namespace tarvex
