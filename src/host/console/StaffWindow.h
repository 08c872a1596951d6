#pragma once
// "Alati > Korisnici": an administrator's list of the shop's staff accounts,
// with adding, a new password, locking and removing. The window only shows
// and asks; StaffAccounts does the work on the server.

#include "StaffAccounts.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace tarvex {

// Asks for a new account (name, role, password twice) or, with a fixed
// name, for a new password.
class StaffAccountDialog : public QDialog {
    Q_OBJECT
public:
    explicit StaffAccountDialog(const QString& fixedName = QString(), QWidget* parent = nullptr);

    QString name() const;
    StaffRole role() const;
    QString password() const;

    QLineEdit* nameEdit() const { return m_name; }
    QComboBox* roleBox() const { return m_role; }
    QLineEdit* passwordEdit() const { return m_password; }
    QLineEdit* repeatEdit() const { return m_repeat; }
    QPushButton* okButton() const { return m_ok; }

private:
    void check();

    QLineEdit* m_name;
    QComboBox* m_role;
    QLineEdit* m_password;
    QLineEdit* m_repeat;
    QPushButton* m_ok;
};

class StaffWindow : public QDialog {
    Q_OBJECT
public:
    explicit StaffWindow(Connection& connection, QWidget* parent = nullptr);

    QTableWidget* grid() const { return m_grid; }
    QPushButton* addButton() const { return m_add; }
    QPushButton* passwordButton() const { return m_password; }
    QPushButton* lockButton() const { return m_lock; }
    QPushButton* removeButton() const { return m_remove; }

private:
    void refresh();
    QString currentName() const;
    void updateButtons();
    // Runs an account action; a refusal is told and the list read again.
    void act(const std::function<void()>& action);
    void AddClick();
    void PasswordClick();
    void LockClick();
    void RemoveClick();

    StaffAccounts m_staff;
    QList<StaffAccount> m_accounts;
    QTableWidget* m_grid;
    QPushButton* m_add;
    QPushButton* m_password;
    QPushButton* m_lock;
    QPushButton* m_remove;
};

// Opens the window modally.
void StaffManage(Connection& connection, QWidget* parent = nullptr);

inline const QString STAFF_PASSWORDS_DIFFER_ERR = QStringLiteral("Lozinke se ne slažu: upišite istu lozinku dva puta.");
inline const QString STAFF_REMOVE_CNF = QStringLiteral("Ukloniti nalog \"%1\"? Taj korisnik više neće moći da se prijavi.");
inline const QString STAFF_LOCK_CNF = QStringLiteral("Zaključati nalog \"%1\"? Taj korisnik neće moći da se prijavi dok ga ne otključate.");
inline const QString STAFF_ADDED_INF = QStringLiteral("Nalog \"%1\" je napravljen (%2). Korisnik se sada može prijaviti.");
inline const QString STAFF_PASSWORD_SET_INF = QStringLiteral("Nova lozinka naloga \"%1\" je postavljena.");

} // namespace tarvex
