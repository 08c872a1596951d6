#pragma once
// Helpers of the window tests, beside the product fixture: reaching grid cells by
// field name, editing and double-clicking them as a user would.

#include "DBGrid.h"
#include "Modal.h"
#include "ProductDMFixture.h"
#include "Productviewerunit.h"

#include <QCoreApplication>
#include <QTest>
#include <cstdlib>
#include <cxxabi.h>
#include <functional>
#include <memory>
#include <string>
#include <typeinfo>
#include <gtest/gtest.h>

namespace tarvex::test {

// The product list window on the products the condition names, sorted by name.
inline std::unique_ptr<products::TProductViewerForm> productListWindow(const char* condition)
{
    openProducts(QString::fromUtf8(condition), QStringLiteral("name"));
    auto viewer = std::make_unique<products::TProductViewerForm>();
    viewer->resize(900, 400);
    viewer->show();
    return viewer;
}

// Window tests: every table emptied and no default tax or warehouse remembered
// before each, the closed windows' deferred deletes run after.
class WindowTest : public ProductDMTest {
protected:
    void SetUp() override
    {
        emptyTables(db());
        dm().SetDefaultTaxID(0);
        dm().SetDefWarehouseID(0);
    }
    void TearDown() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

inline QModelIndex cellOf(DBGrid* grid, const QString& fieldName, int row)
{
    const Field* field = grid->dataSet()->findField(fieldName);
    return grid->dataModel()->index(row, grid->dataModel()->columnOf(field));
}

// Types a text into a cell and leaves it, the way the cell editor does.
inline bool setCell(DBGrid* grid, const QString& fieldName, int row, const QString& text)
{
    return grid->dataModel()->setData(cellOf(grid, fieldName, row), text, Qt::EditRole);
}

inline QString cellText(DBGrid* grid, const QString& fieldName, int row)
{
    return cellOf(grid, fieldName, row).data(Qt::DisplayRole).toString();
}

// The texts of one column, top to bottom.
inline QStringList columnTexts(DBGrid* grid, const QString& fieldName)
{
    QStringList texts;
    for (int row = 0; row < grid->model()->rowCount(); ++row)
        texts << cellText(grid, fieldName, row);
    return texts;
}

inline void clickCell(DBGrid* grid, const QString& fieldName, int row, Qt::KeyboardModifiers modifiers = {})
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers,
                      grid->visualRect(cellOf(grid, fieldName, row)).center());
}

inline void doubleClickCell(DBGrid* grid, const QString& fieldName, int row)
{
    const QPoint at = grid->visualRect(cellOf(grid, fieldName, row)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
}

// The cell editor the grid has open, if any.
inline QWidget* openEditor(DBGrid* grid)
{
    for (QWidget* child : grid->viewport()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (child->isVisible())
            return child;
    return nullptr;
}

// A C++ type's name as written.
inline std::string typeName(const std::type_info& type)
{
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), std::free);
    return status == 0 ? std::string(name.get()) : std::string(type.name());
}

// Opens a window (open() runs its modal loop) and runs the step on it inside
// that loop; the step ends the window as a user does. The test fails, naming
// the window expected, when open() shows no window of that kind.
template <class Form>
void inModal(const std::function<void()>& open, const std::function<void(Form&)>& step)
{
    int shown = 0;
    ScopedModalHandler handler([&step, &shown](QDialog& dialog) {
        auto* form = dynamic_cast<Form*>(&dialog);
        if (!form) {
            ADD_FAILURE() << "expected window " << typeName(typeid(Form)) << ", shown "
                          << dialog.metaObject()->className();
            return int(QDialog::Rejected);
        }
        ++shown;
        step(*form);
        return dialog.result();
    });
    open();
    EXPECT_GT(shown, 0) << "no window " << typeName(typeid(Form)) << " was shown";
}

// UPDATE statements this session has run so far.
inline int updatesRun(QSqlDatabase db)
{
    QSqlQuery query(db);
    query.exec(QStringLiteral("SHOW SESSION STATUS LIKE 'Com_update'"));
    return query.next() ? query.value(1).toInt() : -1;
}

} // namespace tarvex::test
