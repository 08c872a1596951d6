// The data module's writes to the category tree: adding, renaming and
// deleting a category with its subtree. The tree and its window only show.

#include "Productdmunit.h"

#include "Connection.h"
#include "WriteRetry.h"

#include <QSqlQuery>

namespace products {

qint64 TProductDM::AddCategory(qint64 parentId, const QString& name)
{
    tarvex::Connection& c = connection();
    qint64 id = 0;
    tarvex::writeTransaction(c, [&] {
        c.execute(QStringLiteral("INSERT INTO categorypr SET parentid = ?, name = ?"), {parentId, name});
        id = c.lastInsertId();
    }, QStringLiteral("Category add"));
    return id;
}

void TProductDM::RenameCategory(qint64 id, const QString& name)
{
    connection().execute(QStringLiteral("UPDATE categorypr SET name = ? WHERE categoryprid = ?"), {name, id});
}

namespace {

// Children before their parent, each with its product links.
void deleteBranch(tarvex::Connection& c, qint64 id)
{
    QList<qint64> children;
    {
        QSqlQuery query = c.select(QStringLiteral("SELECT categoryprid FROM categorypr WHERE parentid = ?"), {id});
        while (query.next())
            children << query.value(0).toLongLong();
    }
    for (qint64 child : children)
        deleteBranch(c, child);
    c.execute(QStringLiteral("DELETE FROM productcategorypr WHERE categoryprid = ?"), {id});
    c.execute(QStringLiteral("DELETE FROM categorypr WHERE categoryprid = ?"), {id});
}

} // namespace

void TProductDM::DeleteCategories(qint64 id)
{
    // A branch goes as a whole or not at all; a try the server undid reads
    // the branch again.
    tarvex::Connection& c = connection();
    tarvex::writeTransaction(c, [&] { deleteBranch(c, id); }, QStringLiteral("Category delete"));
}

} // namespace products
