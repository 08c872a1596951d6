// Staff sign in to a shop's server over TLS: the "Prijava" window with each
// refusal in its own words, the settings that guard the password and the
// link, and an administrator's "Korisnici" window. A server of its own with
// a test CA, taking only encrypted TCP links on 127.0.0.1.

#include "Connection.h"
#include "DatabaseError.h"
#include "DatabaseErrorText.h"
#include "ListCompare.h"
#include "Migration.h"
#include "Modal.h"
#include "PrivateServer.h"
#include "Schema.h"
#include "ScriptedDialogs.h"
#include "ServerCertificates.h"
#include "SignIn.h"
#include "StaffAccounts.h"
#include "StaffWindow.h"
#include "ScratchHelpers.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace tarvex;

namespace {

const QString kDatabase = QStringLiteral("tarvex_security");
const QString kPassword = QStringLiteral("Lozinka-123");

void typeInto(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

class SecurityTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = std::make_unique<QTemporaryDir>();
        // The backup before an upgrade goes to the test's folder, not the user's.
        qputenv("XDG_DATA_HOME", s_dir->filePath(QStringLiteral("data")).toUtf8());
        s_certificates = std::make_unique<ServerCertificates>(s_dir->filePath(QStringLiteral("tls")));
        s_certificates->ensure({QStringLiteral("127.0.0.1")});
        ::close(test::loopbackSocket(s_port));  // a port free for the server
        s_server = std::make_unique<PrivateServer>(s_dir->filePath(QStringLiteral("server")), serverOptions(*s_certificates));
        s_server->start();
        // The shop's database and its staff, made as the server's owner.
        ConnectionSettings owner;
        owner.socket = s_server->socketPath();
        owner.user = s_server->userName();
        {
            QSqlDatabase db = openConnection(owner, QStringLiteral("owner"));
            createDatabase(db, kDatabase);
            execSql(db, QStringLiteral("USE ") + kDatabase);
            installSchema(db);
        }
        QSqlDatabase::removeDatabase(QStringLiteral("owner"));
        owner.database = kDatabase;
        s_owner = owner;
        Connection connection(owner);
        StaffAccounts staff(connection);
        staff.add(QStringLiteral("sef"), kPassword, StaffRole::Administrator);
        staff.add(QStringLiteral("kasa"), kPassword, StaffRole::Kasir);
        staff.add(QStringLiteral("zak"), kPassword, StaffRole::Magacioner);
        staff.setLocked(QStringLiteral("zak"), true);
        staff.add(QStringLiteral("ist"), kPassword, StaffRole::Komercijalista);
        connection.execute(QStringLiteral("ALTER USER 'ist'@'%' PASSWORD EXPIRE"));
    }
    static void TearDownTestSuite()
    {
        s_server->stop();
        s_server.reset();
        s_certificates.reset();
        s_dir.reset();
    }

    static PrivateServer::Options serverOptions(const ServerCertificates& certificates,
                                                const QString& cert = QString(), const QString& key = QString())
    {
        PrivateServer::Options options;
        options.durable = false;
        options.port = s_port;
        options.sslCa = certificates.caFile();
        options.sslCert = cert.isEmpty() ? certificates.certFile() : cert;
        options.sslKey = key.isEmpty() ? certificates.keyFile() : key;
        return options;
    }

    // What the console reads from a settings file naming this server.
    static StartupSettings shared(const QString& ssl = QStringLiteral("verify"))
    {
        StartupSettings settings;
        settings.settingsFile = s_dir->filePath(QStringLiteral("tarvex.ini"));
        settings.embedded = false;
        settings.signIn = true;
        settings.database = kDatabase;
        settings.connection.host = QStringLiteral("127.0.0.1");
        settings.connection.port = s_port;
        settings.connection.database = kDatabase;
        EXPECT_TRUE(parseTlsMode(ssl, settings.connection.tls.mode));
        settings.connection.tls.ca = s_certificates->caFile();
        return settings;
    }

    static std::unique_ptr<Connection> open(const StartupSettings& settings)
    {
        std::unique_ptr<PrivateServer> none;
        return openStartupDatabase(settings, {}, none);
    }

    // Signs in through the "Prijava" window with each (account, password)
    // in turn; `reasons` gets the refusal the window showed before each
    // next attempt, and after the last one when it was refused too.
    static std::unique_ptr<Connection> signInAs(StartupSettings& settings,
                                                const QList<std::pair<QString, QString>>& attempts,
                                                QStringList& reasons)
    {
        int pass = 0;
        ScopedModalHandler handler([&](QDialog& window) {
            auto& dialog = dynamic_cast<SignInDialog&>(window);
            if (pass > 0)
                reasons << (dialog.reasonLabel()->isVisible() ? dialog.reasonLabel()->text() : QString());
            if (pass == attempts.size())
                return int(QDialog::Rejected);
            typeInto(dialog.userEdit(), attempts[pass].first);
            typeInto(dialog.passwordEdit(), attempts[pass].second);
            ++pass;
            QTest::mouseClick(dialog.signInButton(), Qt::LeftButton);
            return dialog.result();
        });
        return signIn(settings, open);
    }

    static inline std::unique_ptr<QTemporaryDir> s_dir;
    static inline std::unique_ptr<ServerCertificates> s_certificates;
    static inline std::unique_ptr<PrivateServer> s_server;
    static inline int s_port = 0;
    static inline ConnectionSettings s_owner;  // the server's owner, on the shop's database
};

TEST_F(SecurityTest, SignInTellsEachRefusalAndOpensAnEncryptedSessionUnderTheRole)
{
    StartupSettings settings = shared();
    QStringList reasons;
    std::unique_ptr<Connection> session =
        signInAs(settings, {{QStringLiteral("kasa"), QStringLiteral("pogresna-lozinka")},
                            {QStringLiteral("zak"), kPassword},
                            {QStringLiteral("ist"), kPassword},
                            {QStringLiteral("kasa"), kPassword}},
                 reasons);
    EXPECT_ROWS(reasons, QStringList({SIGNIN_WRONG_PASSWORD_ERR.arg(QStringLiteral("kasa")),
                                      SIGNIN_LOCKED_ERR.arg(QStringLiteral("zak")),
                                      SIGNIN_EXPIRED_ERR.arg(QStringLiteral("ist"))}));
    ASSERT_TRUE(session);
    EXPECT_EQ(settings.connection.user, QStringLiteral("kasa"));
    EXPECT_TRUE(settings.connection.password.isEmpty()) << "the password is kept nowhere";
    EXPECT_EQ(sessionRole(session->database()), StaffRole::Kasir);
    EXPECT_FALSE(session->cipher().isEmpty());
    EXPECT_EQ(sessionStatusText(*session, settings, StaffRole::Kasir),
              QStringLiteral("Korisnik: kasa (Kasir) · Veza šifrovana (%1)").arg(session->cipher()));
    // The server, not only the window, keeps a kasir from writing.
    const auto write = [&] { session->execute(QStringLiteral("UPDATE product SET name = name WHERE 1 = 0")); };
    EXPECT_EQ(test::thrownCode(write), 1142) << "a kasir changed the catalogue";
    EXPECT_EQ(test::thrownText<DatabaseError>(write),
              DB_NO_RIGHT_ON_ERR.arg(QStringLiteral("menja podatke"), QStringLiteral("proizvodi"), DB_INPUT_KEPT_NOTE));

    // Giving up in the window opens nothing.
    reasons.clear();
    EXPECT_FALSE(signInAs(settings, {}, reasons));
}

TEST_F(SecurityTest, SettingsRefuseAReadablePasswordAndAPlainLink)
{
    const QString file = s_dir->filePath(QStringLiteral("tarvex.ini"));
    const auto read = [&] { readStartupSettings(file); };
    const QByteArray withPassword = "[Database]\nHost=127.0.0.1\nUser=kasa\nPassword=" + kPassword.toUtf8() + "\n";
    const auto owner = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    test::writeFile(file, withPassword, owner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    EXPECT_EQ(test::thrownText<StartupError>(read), STARTUP_PASSWORD_FILE_OPEN_ERR.arg(file));
    test::writeFile(file, withPassword, owner);
    const StartupSettings kept = readStartupSettings(file);
    EXPECT_EQ(kept.connection.password, kPassword);
    EXPECT_FALSE(kept.signIn);

    test::writeFile(file, "[Database]\nHost=127.0.0.1\nSsl=maybe\n", owner);
    EXPECT_EQ(test::thrownText<StartupError>(read),
              STARTUP_TLS_SETTING_FMT.arg(TLS_MODE_ERR.arg(QStringLiteral("maybe")), file));

    // A plain link to a server that takes only encrypted ones says so.
    StartupSettings plain = shared(QStringLiteral("off"));
    plain.connection.user = QStringLiteral("kasa");
    plain.connection.password = kPassword;
    EXPECT_EQ(test::thrownText<StartupError>([&] { open(plain); }),
              SIGNIN_TLS_NEEDED_ERR.arg(plain.serverText(), plain.settingsFile));
}

TEST_F(SecurityTest, AnAdministratorAddsAndLocksAKasirInKorisnici)
{
    ScriptedDialogs dialogs;
    StartupSettings settings = shared();
    QStringList reasons;
    std::unique_ptr<Connection> admin = signInAs(settings, {{QStringLiteral("sef"), kPassword}}, reasons);
    ASSERT_TRUE(admin);
    ASSERT_EQ(sessionRole(admin->database()), StaffRole::Administrator);

    QStringList rows;
    {
        ScopedModalHandler handler([&](QDialog& window) {
            if (auto* account = dynamic_cast<StaffAccountDialog*>(&window)) {
                typeInto(account->nameEdit(), QStringLiteral("nova"));
                account->roleBox()->setCurrentIndex(account->roleBox()->findText(QStringLiteral("Kasir")));
                typeInto(account->passwordEdit(), QStringLiteral("Nova-lozinka-1"));
                typeInto(account->repeatEdit(), QStringLiteral("Nova-lozinka-1"));
                QTest::mouseClick(account->okButton(), Qt::LeftButton);
                return account->result();
            }
            auto& staff = dynamic_cast<StaffWindow&>(window);
            QTest::mouseClick(staff.addButton(), Qt::LeftButton);
            QTableWidget* grid = staff.grid();
            for (int row = 0; row < grid->rowCount(); ++row)
                rows << grid->item(row, 0)->text() + QLatin1Char('|') + grid->item(row, 1)->text() + QLatin1Char('|') +
                            grid->item(row, 2)->text();
            // Lock the new account: chosen in the list, confirmed with "Da".
            const QList<QTableWidgetItem*> found = grid->findItems(QStringLiteral("nova"), Qt::MatchExactly);
            EXPECT_EQ(found.size(), 1);
            if (!found.isEmpty())
                grid->selectRow(found.first()->row());
            dialogs.answer(ButtonYes);
            QTest::mouseClick(staff.lockButton(), Qt::LeftButton);
            EXPECT_EQ(staff.lockButton()->text(), QStringLiteral("&Otključaj"));
            return int(QDialog::Accepted);
        });
        StaffManage(*admin);
    }
    // Account, role, locked.
    test::expectSameTable(rows,
                          {"ist|Komercijalista|", "kasa|Kasir|", "nova|Kasir|", "sef|Administrator|", "zak|Magacioner|da"},
                          {"account", "role", "locked"});
    ASSERT_GE(dialogs.messages().size(), 2);
    EXPECT_EQ(dialogs.messages()[0], STAFF_ADDED_INF.arg(QStringLiteral("nova"), QStringLiteral("Kasir")));
    EXPECT_EQ(dialogs.messages()[1], STAFF_LOCK_CNF.arg(QStringLiteral("nova")));

    // The lock in the window holds on the server; unlocked, the new kasir signs in under his role.
    StartupSettings kasir = shared();
    reasons.clear();
    EXPECT_FALSE(signInAs(kasir, {{QStringLiteral("nova"), QStringLiteral("Nova-lozinka-1")}}, reasons));
    EXPECT_ROWS(reasons, QStringList{SIGNIN_LOCKED_ERR.arg(QStringLiteral("nova"))});
    StaffAccounts(*admin).setLocked(QStringLiteral("nova"), false);
    std::unique_ptr<Connection> session =
        signInAs(kasir, {{QStringLiteral("nova"), QStringLiteral("Nova-lozinka-1")}}, reasons);
    ASSERT_TRUE(session);
    EXPECT_EQ(sessionRole(session->database()), StaffRole::Kasir);

    // Nobody removes or locks the account he works under.
    EXPECT_EQ(test::thrownText<StaffError>([&] { StaffAccounts(*admin).remove(QStringLiteral("sef")); }),
              STAFF_SELF_ERR);
}

// A database one version behind the program: a kasir is told who can bring
// it up, and nothing of it changes; the administrator's sign-in upgrades it.
TEST_F(SecurityTest, OnlyAnAdministratorUpgradesAnOlderDatabase)
{
    Connection shop(s_owner);
    const int newest = programSchemaVersion();
    shop.execute(QStringLiteral("DELETE FROM schemaversion"));
    recordSchemaVersion(shop.database(), newest - 1);
    ASSERT_EQ(databaseSchemaVersion(shop.database()), newest - 1);

    StartupSettings settings = shared();
    QStringList reasons;
    EXPECT_EQ(test::thrownText<SchemaVersionError>(
                  [&] { signInAs(settings, {{QStringLiteral("kasa"), kPassword}}, reasons); }),
              SCHEMA_NEEDS_ADMIN_ERR.arg(kDatabase).arg(newest - 1).arg(newest));
    EXPECT_EQ(databaseSchemaVersion(shop.database()), newest - 1);

    StartupSettings admin = shared();
    EXPECT_TRUE(signInAs(admin, {{QStringLiteral("sef"), kPassword}}, reasons));
    EXPECT_EQ(databaseSchemaVersion(shop.database()), newest);
}

// Last: the server is started again with a certificate for another name.
TEST_F(SecurityTest, ZCertificateForAnotherHostNameIsRefused)
{
    const QString cert = s_dir->filePath(QStringLiteral("other.pem"));
    const QString key = s_dir->filePath(QStringLiteral("other.key"));
    s_certificates->issue(QStringLiteral("other"), {QStringLiteral("other.example")}, cert, key);
    s_server->stop();
    s_server = std::make_unique<PrivateServer>(s_dir->filePath(QStringLiteral("server")),
                                               serverOptions(*s_certificates, cert, key));
    s_server->start();

    StartupSettings settings = shared(QStringLiteral("verify"));
    settings.connection.user = QStringLiteral("kasa");
    settings.connection.password = kPassword;
    EXPECT_EQ(test::thrownText<StartupError>([&] { open(settings); }),
              STARTUP_TLS_SETTING_FMT.arg(
                  TLS_HOST_NAME_ERR.arg(QStringLiteral("127.0.0.1:%1").arg(s_port), s_certificates->caFile()),
                  settings.settingsFile));
    // "required" only encrypts: the same server is taken.
    settings.connection.tls.mode = TlsMode::Required;
    EXPECT_FALSE(open(settings)->cipher().isEmpty());
}

} // namespace
