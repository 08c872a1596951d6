#pragma once
// Errors of the dataset layer besides DatabaseError.

#include <QString>
#include <exception>
#include <stdexcept>

namespace tarvex {

class Field;

// A dataset used the wrong way: editing in browse state, an unknown field, a
// row without a key to write it back by.
class DataSetError : public std::runtime_error {
public:
    explicit DataSetError(const QString& message);
    QString message() const { return QString::fromStdString(what()); }
};

// A field's value refused: a required field left empty, a failed validation,
// a text that does not read as the field's type. Carries the text to show and
// the field, so a window can show the message and put the focus there.
class FieldError : public std::runtime_error {
public:
    FieldError(const QString& message, Field* field);
    QString message() const { return QString::fromStdString(what()); }
    Field* field() const { return m_field; }

private:
    Field* m_field;
};

// Stops an operation without any message: the host's error handling shows
// nothing for it (its text is empty).
class SilentAbort : public std::exception {
public:
    const char* what() const noexcept override { return ""; }
};

// Throws SilentAbort.
[[noreturn]] void Abort();

} // namespace tarvex
