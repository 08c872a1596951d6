#include "Productcategoriesunit.h"

#include "Categorytree.h"
#include "Categoryunit.h"
#include "Connection.h"
#include "Dialogs.h"
#include "Format.h"
#include "Guarded.h"
#include "Productdmunit.h"
#include "Productresourcestring.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QSqlQuery>
#include <QVBoxLayout>

namespace products {

namespace {

QSqlDatabase database()
{
    return ProductDM->ZConnection()->database();
}

QSqlQuery select(const QString& sql, const QVariantList& values)
{
    return tarvex::selectSql(database(), sql, values);
}

} // namespace

TProductCategoriesGroup::TProductCategoriesGroup(QWidget* parent) : QGroupBox(QStringLiteral("Kategorije"), parent)
{
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("CategoriesLB"));
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_add = new QPushButton(QStringLiteral("Dodaj"), this);
    m_add->setObjectName(QStringLiteral("CategoryAddButton"));
    m_remove = new QPushButton(QStringLiteral("Izbaci"), this);
    m_remove->setObjectName(QStringLiteral("CategoryRemoveButton"));
    connect(m_add, &QPushButton::clicked, this, tarvex::guardedSlot([this] { AddButtonClick(); }));
    connect(m_remove, &QPushButton::clicked, this, tarvex::guardedSlot([this] { RemoveButtonClick(); }));

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_add);
    buttons->addWidget(m_remove);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
}

QStringList TProductCategoriesGroup::lines() const
{
    QStringList result;
    for (int i = 0; i < m_list->count(); ++i)
        result << m_list->item(i)->text();
    return result;
}

void TProductCategoriesGroup::LoadCategories(qint64 productId)
{
    QSqlQuery query =
        select(QStringLiteral("SELECT * FROM productcategorypr WHERE productid = ? ORDER BY categoryprid DESC"),
               {productId});
    TIntArray ids;
    while (query.next())
        ids.append(query.value(QStringLiteral("categoryprid")).toInt());
    if (ids.isEmpty())
        return;
    QStringList paths;
    CatPathsToStrings(CatIDsToPaths(database(), ids), paths);
    m_list->addItems(paths);
}

bool TProductCategoriesGroup::CategoriesExist(qint64 productId)
{
    return ProductDM->CategoriesExist(productId);
}

void TProductCategoriesGroup::AddButtonClick()
{
    QString paths;
    TIntArray ids;
    if (!CatGet(database(), paths, ids, false))
        return;
    if (ProductDM->Options.OnlyLowestProductCategoryAllowed && ProductDM->CheckOnlyLowestCategory(ids)) {
        tarvex::dialogs().error(PROD_CAT_PR_LOWEST_ERR);
        return;
    }
    QStringList picked;
    CatPathsToStrings(paths, picked);
    for (const QString& path : picked) {
        // The root of the tree is no category: its path is empty.
        if (path.isEmpty())
            continue;
        bool held = false;
        for (const QString& line : lines())
            held = held || line.compare(path, Qt::CaseInsensitive) == 0;
        if (!held)
            m_list->addItem(path);
    }
    emit categoriesEdited();
}

void TProductCategoriesGroup::RemoveButtonClick()
{
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty())
        return;
    qDeleteAll(selected);
    emit categoriesEdited();
}

} // namespace products
