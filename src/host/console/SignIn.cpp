#include "SignIn.h"

#include "LogCategories.h"
#include "Modal.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvex {

SignInDialog::SignInDialog(const QString& server, const QString& user, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Prijava"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Server: %1").arg(server), this));
    auto* form = new QFormLayout;
    m_user = new QLineEdit(user, this);
    m_user->setObjectName(QStringLiteral("KorisnikEdit"));
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("LozinkaEdit"));
    m_password->setEchoMode(QLineEdit::Password);
    form->addRow(QStringLiteral("&Korisnik:"), m_user);
    form->addRow(QStringLiteral("&Lozinka:"), m_password);
    layout->addLayout(form);
    m_reason = new QLabel(this);
    m_reason->setWordWrap(true);
    m_reason->setStyleSheet(QStringLiteral("color: #a00000"));
    m_reason->hide();
    layout->addWidget(m_reason);
    auto* buttons = new QDialogButtonBox(this);
    m_signIn = buttons->addButton(QStringLiteral("Prijavi se"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Otkaži"), QDialogButtonBox::RejectRole);
    m_signIn->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    (user.isEmpty() ? m_user : m_password)->setFocus();
    setMinimumWidth(360);
}

QString SignInDialog::user() const
{
    return m_user->text().trimmed();
}

QString SignInDialog::password() const
{
    return m_password->text();
}

void SignInDialog::refused(const QString& reason)
{
    m_password->clear();
    m_reason->setText(reason);
    m_reason->show();
    m_password->setFocus();
}

QString sessionStatusText(Connection& connection, const StartupSettings& settings, StaffRole role)
{
    const QString who = SESSION_USER_FMT.arg(connection.userName(), roleCaption(role));
    if (settings.embedded || !settings.connection.socket.isEmpty())
        return who + QStringLiteral(" · ") + SESSION_LOCAL_INF;
    const QString cipher = connection.cipher();
    return who + QStringLiteral(" · ") + (cipher.isEmpty() ? SESSION_PLAIN_WRN : SESSION_ENCRYPTED_FMT.arg(cipher));
}

std::unique_ptr<Connection> signIn(StartupSettings& settings,
                                   const std::function<std::unique_ptr<Connection>(const StartupSettings&)>& open)
{
    SignInDialog dialog(settings.serverText(), settings.connection.user);
    for (;;) {
        if (execModal(dialog) != QDialog::Accepted)
            return nullptr;
        StartupSettings attempt = settings;
        attempt.connection.user = dialog.user();
        attempt.connection.password = dialog.password();
        try {
            std::unique_ptr<Connection> connection = open(attempt);
            settings.connection.user = attempt.connection.user;
            qCInfo(lcSecurity).noquote() << QStringLiteral("Signed in to %1").arg(settings.serverText());
            return connection;
        } catch (const SignInRefused& e) {
            dialog.refused(e.userText());
        }
    }
}

} // namespace tarvex
