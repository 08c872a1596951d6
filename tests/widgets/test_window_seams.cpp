#include "BusyCursor.h"
#include "DialogWindow.h"
#include "Modal.h"
#include "WheelToArrowFilter.h"

#include <QApplication>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <gtest/gtest.h>

using namespace tarvex;

TEST(WindowSeams, AModalHandlerDrivesTheWindowTheBusyCursorComesBackAndEachWheelTurnMovesOneRow)
{
    QDialog dialog;
    auto* ok = new QPushButton(QStringLiteral("U redu"), &dialog);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    bool sawVisible = false;
    ScopedModalHandler handler([&](QDialog& shown) {
        sawVisible = shown.isVisible() && shown.isModal();
        ok->click();
        return shown.result();
    });
    EXPECT_EQ(execModal(dialog), QDialog::Accepted);
    EXPECT_TRUE(sawVisible);
    EXPECT_FALSE(dialog.isVisible());

    // Dialog windows free themselves when closed.
    QPointer<DialogWindow> window = new DialogWindow;
    ScopedModalHandler reject([](QDialog& shown) {
        shown.reject();
        return int(QDialog::Rejected);
    });
    EXPECT_EQ(execModal(*window), QDialog::Rejected);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());

    // The busy cursor gives the previous one back, even on a failure.
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    try {
        BusyCursor busy;
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        throw std::runtime_error("query failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // Each wheel turn moves the grid by one row.
    QWidget gridWindow;
    auto* list = new QListWidget(&gridWindow);
    for (int i = 0; i < 10; ++i)
        list->addItem(QStringLiteral("Red %1").arg(i));
    auto* layout = new QVBoxLayout(&gridWindow);
    layout->addWidget(list);
    gridWindow.show();
    list->setFocus();
    list->setCurrentRow(5);

    auto turn = [&](int delta) {
        const QPointF at(10, 10);
        QWheelEvent wheel(at, list->viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(list->viewport(), &wheel);
    };
    {
        WheelToArrowFilter filter;
        turn(-360); // a big turn away is still one row
        EXPECT_EQ(list->currentRow(), 6);
        turn(120);
        turn(120);
        EXPECT_EQ(list->currentRow(), 4);
    }
    // Without the filter the wheel scrolls and leaves the current row alone.
    turn(-120);
    EXPECT_EQ(list->currentRow(), 4);
}

