// Qt's own windows speak Serbian: standard buttons (an input dialog's too), the
// file dialog, and the date picker's calendar (Serbian Latin, weeks from Monday).

#include "ListCompare.h"
#include "QtDialogs.h"
#include "SerbianTexts.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace tarvex;

TEST(SerbianTexts, QtDialogsShowSerbianButtonsAndLabelsAndTheDatePickerSerbianLatinMonthsAndDays)
{
    ASSERT_TRUE(installSerbianTexts());
    EXPECT_TRUE(installSerbianTexts()); // once is enough

    QDialogButtonBox box;
    for (const auto& [button, text] : {std::pair{QDialogButtonBox::Ok, "U redu"}, {QDialogButtonBox::Cancel, "Odustani"},
                                       {QDialogButtonBox::Yes, "&Da"}, {QDialogButtonBox::No, "&Ne"},
                                       {QDialogButtonBox::Open, "Otvori"}})
        EXPECT_EQ(box.addButton(button)->text(), text);

    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    files.setAcceptMode(QFileDialog::AcceptOpen);
    files.show();
    EXPECT_EQ(files.findChild<QLabel*>("lookInLabel")->text(), "Traži u:");
    EXPECT_EQ(files.findChild<QLabel*>("fileNameLabel")->text(), "&Ime datoteke:");
    EXPECT_EQ(files.findChild<QLabel*>("fileTypeLabel")->text(), "Vrsta datoteka:");
    QStringList captions;
    for (const QPushButton* b : files.findChildren<QPushButton*>())
        captions << b->text();
    captions.sort();
    EXPECT_ROWS(captions, QStringList({"&Otvori", "Odustani"}));

    QtDialogs service;
    QStringList month;
    QString weekday;
    Qt::DayOfWeek first = Qt::Sunday;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* calendar = dialog->findChild<QCalendarWidget*>();
        if (!calendar) {
            ADD_FAILURE() << "the date picker has no calendar";
            dialog->reject();
            return;
        }
        first = calendar->firstDayOfWeek();
        weekday = calendar->locale().dayName(1);
        for (QToolButton* b : calendar->findChildren<QToolButton*>())
            month << b->text();
        dialog->reject();
    });
    QDate date(2024, 12, 31);
    EXPECT_FALSE(service.getDate(date));
    EXPECT_TRUE(month.contains("decembar")) << month.join('|').toStdString();
    EXPECT_EQ(weekday, "ponedeljak");
    EXPECT_EQ(first, Qt::Monday);
}

