#pragma once
// Signing in to a shop's shared server: the "Prijava" window asks for the
// staff member's own account and password; the console then works as that
// account, under the role the server gives it. The password lives only as
// long as the session is being opened: it is written nowhere.

#include "StaffRole.h"
#include "Startup.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tarvex {

class SignInDialog : public QDialog {
    Q_OBJECT
public:
    explicit SignInDialog(const QString& server, const QString& user, QWidget* parent = nullptr);

    QString user() const;
    QString password() const;
    // After a refusal: the password goes, the name stays, the reason shows.
    void refused(const QString& reason);

    QLineEdit* userEdit() const { return m_user; }
    QLineEdit* passwordEdit() const { return m_password; }
    QPushButton* signInButton() const { return m_signIn; }
    QLabel* reasonLabel() const { return m_reason; }

private:
    QLineEdit* m_user;
    QLineEdit* m_password;
    QPushButton* m_signIn;
    QLabel* m_reason;
};

// The status bar's words for the session: who, under which role, and
// whether the link is encrypted.
QString sessionStatusText(Connection& connection, const StartupSettings& settings, StaffRole role);
inline const QString SESSION_USER_FMT = QStringLiteral("Korisnik: %1 (%2)");
inline const QString SESSION_LOCAL_INF = QStringLiteral("Podaci na ovom računaru");
inline const QString SESSION_ENCRYPTED_FMT = QStringLiteral("Veza šifrovana (%1)");
inline const QString SESSION_PLAIN_WRN = QStringLiteral("Veza NIJE šifrovana");

// Asks for an account and its password until `open` takes them. Returns null
// when the user gives up. A refusal of the account (wrong password, a locked
// account, an expired password) is shown in the window and asked again;
// every other failure is thrown.
std::unique_ptr<Connection> signIn(StartupSettings& settings,
                                   const std::function<std::unique_ptr<Connection>(const StartupSettings&)>& open);

} // namespace tarvex
