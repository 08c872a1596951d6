#include "Productcategoriesunit.h"

#include "Categorytree.h"
#include "Categoryunit.h"
#include "Connection.h"
#include "Dialogs.h"
#include "Format.h"
#include "Guarded.h"
#include "Productdmunit.h"
#include "Productresourcestring.h"
#include "WriteRetry.h"

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

void TProductCategoriesGroup::SaveCategories(qint64 productId)
{
    // The old links go only together with the new ones in.
    tarvex::writeTransaction(*ProductDM->ZConnection(), [&] {
        tarvex::execSql(database(), QStringLiteral("DELETE FROM productcategorypr WHERE productid = ?"), {productId});
        for (qint32 id : CatPathsToIDs(database(), CatStringsToPath(lines())))
            tarvex::execSql(database(), QStringLiteral("INSERT INTO productcategorypr SET productid = ?, categoryprid = ?"),
                            {productId, id});
    });
}

bool TProductCategoriesGroup::CategoriesExist(qint64 productId)
{
    return select(QStringLiteral("SELECT categoryprid FROM productcategorypr WHERE productid = ?"), {productId})
        .next();
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

void LoadDetailsFromCategories(qint64 productId, double price)
{
    // The categories' rebates read and the detail written in one retried
    // transaction; the detail row is added or updated in one statement, so a
    // row another workstation adds meanwhile is updated, not doubled.
    tarvex::writeTransaction(*ProductDM->ZConnection(), [&] {
        QSqlQuery rebates =
            select(QStringLiteral("SELECT c.maxrebate, c.webrebate, c.b2brebate FROM productcategorypr AS pc LEFT JOIN "
                                  "categorypr AS c ON pc.categoryprid = c.categoryprid WHERE pc.productid = ? ORDER BY "
                                  "c.webrebate DESC, c.b2brebate DESC"),
                   {productId});
        double maxRebate = 0;
        double webRebate = 0;
        double b2bRebate = 0;
        if (rebates.next()) {
            maxRebate = rebates.value(0).toDouble();
            webRebate = rebates.value(1).toDouble();
            b2bRebate = rebates.value(2).toDouble();
        }
        const double webPrice = (1 - webRebate / 100) * price;
        const double b2bPrice = (1 - b2bRebate / 100) * price;
        tarvex::execSql(database(),
                        QStringLiteral("INSERT INTO productdetail (productid, maxrebate, webprice, b2bprice) VALUES "
                                       "(?, ?, ?, ?) ON DUPLICATE KEY UPDATE maxrebate = VALUES(maxrebate), "
                                       "webprice = VALUES(webprice), b2bprice = VALUES(b2bprice)"),
                        {productId, maxRebate, webPrice, b2bPrice});
    });
}

} // namespace products
