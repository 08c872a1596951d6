#include "QtDialogs.h"

#include "SerbianTexts.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

namespace tarvex {

namespace {

QWidget* parentWindow() { return QApplication::activeWindow(); }

struct ButtonMap {
    MessageButton ours;
    QMessageBox::StandardButton qt;
};

const ButtonMap kButtons[] = {
    {ButtonOk, QMessageBox::Ok},       {ButtonCancel, QMessageBox::Cancel}, {ButtonYes, QMessageBox::Yes},
    {ButtonNo, QMessageBox::No},       {ButtonAbort, QMessageBox::Abort},   {ButtonRetry, QMessageBox::Retry},
    {ButtonIgnore, QMessageBox::Ignore},
};

} // namespace

void QtDialogs::errorWithDetails(const QString& text, const QString& details)
{
    // Through message(), so a service built on this one sees every box.
    m_details = details;
    (void)message(MessageKind::Error, text, ButtonOk);
    m_details.clear();
}

int QtDialogs::message(MessageKind kind, const QString& text, int buttons)
{
    const QString details = std::exchange(m_details, QString());
    QMessageBox box(parentWindow());
    switch (kind) {
    case MessageKind::Error:
        box.setIcon(QMessageBox::Critical);
        box.setWindowTitle(QStringLiteral("Greška"));
        break;
    case MessageKind::Warning:
        box.setIcon(QMessageBox::Warning);
        box.setWindowTitle(QStringLiteral("Upozorenje"));
        break;
    case MessageKind::Information:
        box.setIcon(QMessageBox::Information);
        box.setWindowTitle(QStringLiteral("Informacija"));
        break;
    case MessageKind::Confirmation:
        box.setIcon(QMessageBox::Question);
        box.setWindowTitle(QStringLiteral("Potvrda"));
        break;
    }
    box.setText(text);
    // Behind a "details" button, for whoever reports the error.
    if (!details.isEmpty())
        box.setDetailedText(details);
    QMessageBox::StandardButtons standard;
    for (const ButtonMap& b : kButtons)
        if (buttons & b.ours)
            standard |= b.qt;
    if (!standard)
        standard = QMessageBox::Ok;
    box.setStandardButtons(standard);
    // Serbian captions on the buttons.
    const std::pair<QMessageBox::StandardButton, const char*> captions[] = {
        {QMessageBox::Ok, "U redu"}, {QMessageBox::Cancel, "Odustani"}, {QMessageBox::Yes, "Da"},
        {QMessageBox::No, "Ne"},     {QMessageBox::Abort, "Prekini"},   {QMessageBox::Retry, "Ponovi"},
        {QMessageBox::Ignore, "Zanemari"}};
    for (const auto& [button, caption] : captions)
        if (QAbstractButton* b = box.button(button))
            b->setText(QString::fromUtf8(caption));
    if ((buttons & DefaultNo) && box.button(QMessageBox::No))
        box.setDefaultButton(QMessageBox::No);
    const int pressed = box.exec();
    for (const ButtonMap& b : kButtons)
        if (pressed == b.qt)
            return b.ours;
    return (buttons & ButtonCancel) ? ButtonCancel : (buttons & ButtonNo) ? ButtonNo : ButtonOk;
}

bool QtDialogs::inputQuery(const QString& title, const QString& prompt, QString& value)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parentWindow(), title, prompt, QLineEdit::Normal, value, &ok);
    if (ok)
        value = text;
    return ok;
}

bool QtDialogs::getDate(QDate& date)
{
    QDialog dialog(parentWindow());
    dialog.setWindowTitle(QStringLiteral("Izbor datuma"));
    auto* calendar = new QCalendarWidget(&dialog);
    makeSerbian(calendar);
    calendar->setSelectedDate(date.isValid() ? date : QDate::currentDate());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("U redu"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Odustani"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(calendar, &QCalendarWidget::activated, &dialog, &QDialog::accept);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(calendar);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    date = calendar->selectedDate();
    return true;
}

QString QtDialogs::browseFolder(const QString& title, const QString& startFolder)
{
    return QFileDialog::getExistingDirectory(parentWindow(), title, startFolder);
}

QString QtDialogs::openFileName(const QString& title, const QString& startPath, const QString& filter)
{
    return QFileDialog::getOpenFileName(parentWindow(), title, startPath, filter);
}

QString QtDialogs::saveFileName(const QString& title, const QString& startPath, const QString& filter)
{
    return QFileDialog::getSaveFileName(parentWindow(), title, startPath, filter);
}

int QtDialogs::changeOptions()
{
    QMessageBox box(parentWindow());
    box.setIcon(QMessageBox::Question);
    box.setWindowTitle(QStringLiteral("Izmena"));
    box.setText(QStringLiteral("Šta želite da uradite sa postojećom vrednošću?"));
    QPushButton* change = box.addButton(QStringLiteral("Promeni"), QMessageBox::AcceptRole);
    QPushButton* remove = box.addButton(QStringLiteral("Ukloni"), QMessageBox::DestructiveRole);
    QPushButton* keep = box.addButton(QStringLiteral("Zadrži"), QMessageBox::RejectRole);
    box.setDefaultButton(change);
    box.setEscapeButton(keep);
    box.exec();
    if (box.clickedButton() == change)
        return ChangeOptionsChange;
    if (box.clickedButton() == remove)
        return ChangeOptionsRemove;
    return ChangeOptionsKeep;
}

} // namespace tarvex
