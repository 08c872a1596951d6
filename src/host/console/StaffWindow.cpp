#include "StaffWindow.h"

#include "Dialogs.h"
#include "Modal.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tarvex {

StaffAccountDialog::StaffAccountDialog(const QString& fixedName, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(fixedName.isEmpty() ? QStringLiteral("Novi korisnik") : QStringLiteral("Nova lozinka"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_name = new QLineEdit(fixedName, this);
    m_name->setReadOnly(!fixedName.isEmpty());
    m_role = new QComboBox(this);
    for (StaffRole role : allRoles())
        m_role->addItem(roleCaption(role), int(role));
    m_password = new QLineEdit(this);
    m_password->setEchoMode(QLineEdit::Password);
    m_repeat = new QLineEdit(this);
    m_repeat->setEchoMode(QLineEdit::Password);
    form->addRow(QStringLiteral("&Nalog:"), m_name);
    if (fixedName.isEmpty())
        form->addRow(QStringLiteral("&Uloga:"), m_role);
    else
        m_role->hide();
    form->addRow(QStringLiteral("&Lozinka:"), m_password);
    form->addRow(QStringLiteral("&Ponovite lozinku:"), m_repeat);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(QStringLiteral("U redu"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Otkaži"), QDialogButtonBox::RejectRole);
    connect(m_ok, &QPushButton::clicked, this, &StaffAccountDialog::check);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QString StaffAccountDialog::name() const
{
    return m_name->text().trimmed();
}

StaffRole StaffAccountDialog::role() const
{
    return StaffRole(m_role->currentData().toInt());
}

QString StaffAccountDialog::password() const
{
    return m_password->text();
}

void StaffAccountDialog::check()
{
    if (m_password->text() != m_repeat->text()) {
        dialogs().error(STAFF_PASSWORDS_DIFFER_ERR);
        m_repeat->clear();
        m_repeat->setFocus();
        return;
    }
    accept();
}

StaffWindow::StaffWindow(Connection& connection, QWidget* parent) : QDialog(parent), m_staff(connection)
{
    setWindowTitle(QStringLiteral("Korisnici"));
    resize(560, 380);
    auto* layout = new QVBoxLayout(this);
    m_grid = new QTableWidget(0, 3, this);
    m_grid->setHorizontalHeaderLabels({QStringLiteral("Nalog"), QStringLiteral("Uloga"), QStringLiteral("Zaključan")});
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->verticalHeader()->hide();
    layout->addWidget(m_grid);
    auto* row = new QHBoxLayout;
    m_add = new QPushButton(QStringLiteral("&Dodaj..."), this);
    m_password = new QPushButton(QStringLiteral("Nova &lozinka..."), this);
    m_lock = new QPushButton(QStringLiteral("&Zaključaj"), this);
    m_remove = new QPushButton(QStringLiteral("&Ukloni"), this);
    auto* close = new QPushButton(QStringLiteral("Zatvori"), this);
    for (QPushButton* button : {m_add, m_password, m_lock, m_remove})
        row->addWidget(button);
    row->addStretch();
    row->addWidget(close);
    layout->addLayout(row);
    connect(m_add, &QPushButton::clicked, this, &StaffWindow::AddClick);
    connect(m_password, &QPushButton::clicked, this, &StaffWindow::PasswordClick);
    connect(m_lock, &QPushButton::clicked, this, &StaffWindow::LockClick);
    connect(m_remove, &QPushButton::clicked, this, &StaffWindow::RemoveClick);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_grid, &QTableWidget::itemSelectionChanged, this, &StaffWindow::updateButtons);
    act([] {});
}

void StaffWindow::refresh()
{
    const QString kept = currentName();
    m_accounts = m_staff.list();
    m_grid->setRowCount(int(m_accounts.size()));
    for (int i = 0; i < m_accounts.size(); ++i) {
        const StaffAccount& account = m_accounts[i];
        m_grid->setItem(i, 0, new QTableWidgetItem(account.name));
        m_grid->setItem(i, 1, new QTableWidgetItem(roleCaption(account.role)));
        m_grid->setItem(i, 2, new QTableWidgetItem(account.locked ? QStringLiteral("da") : QString()));
        if (account.name == kept)
            m_grid->selectRow(i);
    }
    updateButtons();
}

QString StaffWindow::currentName() const
{
    const int row = m_grid->currentRow();
    return row >= 0 && row < m_accounts.size() && m_grid->selectionModel()->hasSelection() ? m_accounts[row].name
                                                                                            : QString();
}

void StaffWindow::updateButtons()
{
    const int row = m_grid->currentRow();
    const bool chosen = !currentName().isEmpty();
    m_password->setEnabled(chosen);
    m_remove->setEnabled(chosen);
    m_lock->setEnabled(chosen);
    m_lock->setText(chosen && m_accounts[row].locked ? QStringLiteral("&Otključaj") : QStringLiteral("&Zaključaj"));
}

void StaffWindow::act(const std::function<void()>& action)
{
    try {
        action();
    } catch (const std::exception& e) {
        dialogs().showException(e);
    }
    try {
        refresh();
    } catch (const std::exception& e) {
        dialogs().showException(e);
    }
}

void StaffWindow::AddClick()
{
    StaffAccountDialog dialog(QString(), this);
    if (execModal(dialog) != QDialog::Accepted)
        return;
    act([&] {
        m_staff.add(dialog.name(), dialog.password(), dialog.role());
        dialogs().information(STAFF_ADDED_INF.arg(dialog.name(), roleCaption(dialog.role())));
    });
    for (int i = 0; i < m_accounts.size(); ++i)
        if (m_accounts[i].name == dialog.name())
            m_grid->selectRow(i);
}

void StaffWindow::PasswordClick()
{
    const QString name = currentName();
    StaffAccountDialog dialog(name, this);
    if (execModal(dialog) != QDialog::Accepted)
        return;
    act([&] {
        m_staff.setPassword(name, dialog.password());
        dialogs().information(STAFF_PASSWORD_SET_INF.arg(name));
    });
}

void StaffWindow::LockClick()
{
    const QString name = currentName();
    const bool locked = m_accounts[m_grid->currentRow()].locked;
    if (!locked && !dialogs().confirm(STAFF_LOCK_CNF.arg(name)))
        return;
    act([&] { m_staff.setLocked(name, !locked); });
}

void StaffWindow::RemoveClick()
{
    const QString name = currentName();
    if (!dialogs().confirm(STAFF_REMOVE_CNF.arg(name)))
        return;
    act([&] { m_staff.remove(name); });
}

void StaffManage(Connection& connection, QWidget* parent)
{
    StaffWindow window(connection, parent);
    execModal(window);
}

} // namespace tarvex
