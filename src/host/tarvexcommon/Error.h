#pragma once
// The one base of every error the project throws. It carries what the user
// reads (Serbian, shown in the message box), the technical detail (English
// or the server's own text, for logs and the box's details) and a kind, so
// handlers can tell a lost connection from a refused value without knowing
// every class.

#include <QString>
#include <exception>
#include <string>

namespace tarvex {

enum class ErrorKind {
    Database,       // the server refused a statement
    ConnectionLost, // the session died, or no server answers
    Validation,     // a value or an action the rules refuse
    File,           // a file could not be read or written
    Configuration,  // settings, start-up, a module or a part of one missing
    Abort,          // stop the action without a message
    Internal,       // a part of the program used another the wrong way
};

class TarvexError : public std::exception {
public:
    TarvexError(ErrorKind kind, const QString& userText, const QString& detail = QString());

    ErrorKind kind() const { return m_kind; }
    // The sentence the message box shows; empty for a silent abort.
    virtual QString userText() const { return m_userText; }
    const QString& detail() const { return m_detail; }
    // For logs: the detail, or the user's text when there is none.
    const char* what() const noexcept override { return m_what.c_str(); }

private:
    ErrorKind m_kind;
    QString m_userText;
    QString m_detail;
    std::string m_what;
};

// A part of the program used another the wrong way: the user reads that the
// action failed, the detail says how.
class InternalError : public TarvexError {
public:
    explicit InternalError(const QString& detail);
};

// The texts shown for errors that carry no sentence of their own.
inline const QString ERR_INTERNAL_ERR = QStringLiteral("Došlo je do greške u programu; radnja nije izvršena.");
inline const QString ERR_UNEXPECTED_FMT = QStringLiteral("Neočekivana greška: %1");

} // namespace tarvex
