#pragma once
// The "Kategorije" group of the product editor: the product's categories as
// path strings ("Pića>Sokovi"), added from the category tree, removed by
// selection, and stored again as a whole. Also the details a product takes
// from the rebates of its categories.

#include "Productintf.h"

#include <QGroupBox>
#include <QSqlDatabase>

class QListWidget;
class QPushButton;

namespace products {

class TProductCategoriesGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit TProductCategoriesGroup(QWidget* parent = nullptr);

    QListWidget* CategoriesLB() const { return m_list; }
    QPushButton* AddButton() const { return m_add; }
    QPushButton* RemoveButton() const { return m_remove; }

    // The lines of the list, top to bottom.
    QStringList lines() const;
    // Appends the stored categories of the product, last linked first.
    void LoadCategories(qint64 productId);
    // Replaces the stored categories of the product with those of the list.
    static bool CategoriesExist(qint64 productId);

    // Picks categories and appends the ones the list lacks (letter case
    // aside); with only the lowest level allowed, a pick holding a category
    // that has sub-categories is refused as a whole.
    void AddButtonClick();
    // Removes the selected lines.
    void RemoveButtonClick();

signals:
    // The list now differs from what is stored.
    void categoriesEdited();

private:
    QListWidget* m_list = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_remove = nullptr;
};

} // namespace products
