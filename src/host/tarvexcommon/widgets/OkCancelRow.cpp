#include "OkCancelRow.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace tarvex {

OkCancelRow makeOkCancelRow(QDialog* dialog, CancelPlace place)
{
    OkCancelRow row;
    row.layout = new QHBoxLayout;
    row.layout->addStretch();
    // Made in the order they stand: Tab goes left to right.
    auto add = [&](QPushButton*& button, const QString& text) {
        button = new QPushButton(text, dialog);
        row.layout->addWidget(button);
    };
    if (place == CancelPlace::BeforeOk)
        add(row.cancel, QStringLiteral("&Otkaži"));
    add(row.ok, QStringLiteral("&U redu"));
    if (place == CancelPlace::AfterOk)
        add(row.cancel, QStringLiteral("&Otkaži"));
    row.ok->setDefault(true);
    QObject::connect(row.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return row;
}

} // namespace tarvex
