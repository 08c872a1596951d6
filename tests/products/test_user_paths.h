#pragma once
// The ground of the tests that drive windows as a user does: the editor
// tests' shop with four more products, windows opened in their own modal
// loops, the real message boxes answered from a timer, and every Qt warning
// a window gives while it is driven counted as a fault.

#include "Productdetailunit.h"
#include "QtWarnings.h"
#include "UserDriving.h"
#include "Workerbar.h"
#include "test_editor_support.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <gtest/gtest.h>

namespace tarvex::test {

// Clicks into a bound edit and types over its text.
inline void typeOver(QWidget* edit, const QString& text)
{
    click(edit);
    edit->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    typeText(text);
}

// Runs `then` once no worker of the window reads any more. From a timer: a
// worker's own event loop has ended before, as it does for the user.
inline void whenRead(QWidget& window, std::function<void()> then)
{
    const QPointer<QWidget> shown(&window);
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, shown, then] {
        if (shown)
            for (const products::TWorkerBar* bar : shown->findChildren<products::TWorkerBar*>())
                if (bar->isRunning())
                    return;
        timer->stop();
        timer->deleteLater();
        then();
    });
    timer->start();
}

// Opens the window in its own modal loop; the step drives it. The window
// must be gone afterwards, and Qt must have had nothing to warn about.
template <class Form>
void inWindow(const std::function<void()>& open, const std::function<void(Form&)>& step)
{
    const QtWarnings warnings;
    bool ran = false;
    onModal([&](QWidget& window) {
        // A window reading its first rows is driven once they are in.
        whenRead(window, [&, shown = QPointer<QWidget>(&window)] {
            if (!shown)
                return;
            step(dynamic_cast<Form&>(*shown));
            ran = true;
            if (shown && shown->isVisible())
                static_cast<QDialog&>(*shown).done(QDialog::Rejected);
        });
    });
    open();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(ran) << "no window " << typeName(typeid(Form)) << " was driven";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(warnings.seen().isEmpty()) << warnings.text().toStdString();
}

class UserPaths : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        sql("INSERT INTO product (productid, name, unitname, taxid, price, pricecurrency, type, active) VALUES "
            "(20, 'Sto', 'kom', 1, 300, 'RSD', 'p', 'y'), (21, 'Stolica', 'kom', 1, 90, 'RSD', 'r', 'y'),"
            "(22, 'Klupa', 'kom', 1, 120, 'RSD', 'r', 'y'), (23, 'Polica', 'kom', 1, 80, 'RSD', 'r', 'y')");
        sql("INSERT INTO productworkingoperation (productid, machinetype, machinenumber, description, sort) VALUES "
            "(20, 'Strug', 'S-1', 'Seći', 1), (20, 'Brusilica', 'B-7', '', 2)");
    }
    static void inEditor(qint64 productId, const std::function<void(products::TProductDetailForm&)>& step)
    {
        openProduct(productId);
        inWindow<products::TProductDetailForm>([] { products::OpenProductDetail(nullptr); }, step);
    }

    LiveDialogs live;
};

} // namespace tarvex::test
