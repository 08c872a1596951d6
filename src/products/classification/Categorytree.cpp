#include "Categorytree.h"

#include "Connection.h"
#include "Dialogs.h"
#include "Format.h"
#include "Productdmunit.h"
#include "Productresourcestring.h"
#include "SqlText.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace products {

using tarvex::Format;

namespace {

// Every separator ends a piece (empty ones too); the text after the last
// separator counts only when it is not empty. Paths split at '>' the same way.
QStringList splitPieces(const QString& text, QChar separator)
{
    QStringList pieces;
    QString piece;
    for (const QChar c : text) {
        if (c == separator) {
            pieces << piece;
            piece.clear();
        } else {
            piece += c;
        }
    }
    if (!piece.isEmpty())
        pieces << piece;
    return pieces;
}

} // namespace

CategoryTree::CategoryTree(QSqlDatabase db) : m_db(std::move(db))
{
    m_root = std::make_unique<CategoryNode>();
    m_root->caption = CAT_ROOT_CAPTION;
}

CategoryNode* CategoryTree::addChild(CategoryNode* parent, const QString& caption, qint64 id)
{
    auto node = std::make_unique<CategoryNode>();
    node->caption = caption;
    node->id = id;
    node->parent = parent;
    parent->children.push_back(std::move(node));
    return parent->children.back().get();
}

void CategoryTree::createTree()
{
    m_selection.clear();
    m_root = std::make_unique<CategoryNode>();
    m_root->caption = CAT_ROOT_CAPTION;

    qint64 lastParent = -1;
    CategoryNode* parentNode = nullptr;
    for (const CategoryRow& row : readCategoryRows(m_db)) {
        // Rows come by parent: look the parent up once per run of siblings.
        if (row.parentId != lastParent) {
            lastParent = row.parentId;
            parentNode = findNode(row.parentId);
        }
        if (parentNode)
            addChild(parentNode, row.name, row.id);
    }
}

QList<CategoryRow> readCategoryRows(QSqlDatabase db)
{
    QSqlQuery query = tarvex::selectSql(db, QStringLiteral("SELECT * FROM categorypr ORDER BY parentid,name"));
    const int idColumn = query.record().indexOf(QStringLiteral("categoryprid"));
    const int parentColumn = query.record().indexOf(QStringLiteral("parentid"));
    const int nameColumn = query.record().indexOf(QStringLiteral("name"));
    QList<CategoryRow> rows;
    while (query.next())
        rows.append({query.value(idColumn).toLongLong(), query.value(parentColumn).toLongLong(),
                     query.value(nameColumn).toString()});
    return rows;
}

void CategoryTree::collectFlat(CategoryNode* node, QList<CategoryNode*>& out) const
{
    out << node;
    for (const auto& child : node->children)
        collectFlat(child.get(), out);
}

QList<CategoryNode*> CategoryTree::flatNodes() const
{
    QList<CategoryNode*> nodes;
    collectFlat(m_root.get(), nodes);
    return nodes;
}

CategoryNode* CategoryTree::findNode(qint64 id) const
{
    for (CategoryNode* node : flatNodes())
        if (node->id == id)
            return node;
    return nullptr;
}

CategoryNode* CategoryTree::pathToNode(const QString& path) const
{
    const QStringList levels = splitPieces(path, QLatin1Char('>'));
    if (levels.isEmpty())
        return nullptr;
    CategoryNode* node = m_root.get();
    for (const QString& level : levels) {
        CategoryNode* found = nullptr;
        for (const auto& child : node->children) {
            if (child->caption == level) {
                found = child.get();
                break;
            }
        }
        if (!found)
            return nullptr;
        node = found;
    }
    return node;
}

QString CategoryTree::nodeToPath(const CategoryNode* node)
{
    QString result;
    QString separator;
    while (node && !node->isRoot()) {
        result = node->caption + separator + result;
        separator = QStringLiteral(">");
        node = node->parent;
    }
    return result;
}

void CategoryTree::setMultiSelect(bool on)
{
    m_multiSelect = on;
    if (!on && m_selection.size() > 1)
        m_selection = {m_selection.last()};
}

void CategoryTree::focusNode(CategoryNode* node)
{
    if (!node)
        return;
    node->expanded = true;
    if (m_multiSelect) {
        if (!m_selection.contains(node))
            m_selection << node;
    } else {
        m_selection = {node};
    }
}

void CategoryTree::selectAll()
{
    for (CategoryNode* node : flatNodes())
        focusNode(node);
}

void CategoryTree::deselectAll()
{
    m_selection.clear();
}

void CategoryTree::deselect(CategoryNode* node)
{
    m_selection.removeAll(node);
}

void CategoryTree::selectCategories(const QString& paths, const TIntArray& ids, bool byPaths)
{
    if (byPaths) {
        QStringList list;
        CatPathsToStrings(paths, list);
        for (const QString& path : list)
            focusNode(pathToNode(path));
    } else {
        for (qint32 id : ids)
            focusNode(findNode(id));
    }
}

void CategoryTree::getSelectedCategories(QString& paths, TIntArray& ids, bool namesOnly) const
{
    ids.resize(m_selection.size());
    paths.clear();
    for (int i = 0; i < m_selection.size(); ++i) {
        const CategoryNode* node = m_selection[i];
        if (i > 0)
            paths += QLatin1Char(';');
        paths += namesOnly ? (node->isRoot() ? QString() : node->caption) : nodeToPath(node);
        ids[i] = qint32(node->id);
    }
}

CategoryNode* CategoryTree::addCategory(const QString& name, CategoryNode* parent)
{
    if (!parent)
        return nullptr;
    return addChild(parent, name, ProductDM->AddCategory(parent->id, name));
}

bool CategoryTree::editCategory(QString& name, CategoryNode* node)
{
    if (!node)
        return false;
    if (!name.isEmpty()) {
        ProductDM->RenameCategory(node->id, name);
        node->caption = name;
        return true;
    }
    QSqlQuery query =
        tarvex::selectSql(m_db, QStringLiteral("SELECT name FROM categorypr WHERE categoryprid = ?"), {node->id});
    if (query.next())
        name = query.value(0).toString();
    tarvex::dialogs().error(CAT_NONAME_ERR);
    return false;
}

void CategoryTree::deleteCategories(qint64 id)
{
    ProductDM->DeleteCategories(id);
}

void CategoryTree::removeNode(CategoryNode* node)
{
    if (!node || node->isRoot())
        return;
    QList<CategoryNode*> gone;
    collectFlat(node, gone);
    for (CategoryNode* n : gone)
        m_selection.removeAll(n);
    auto& siblings = node->parent->children;
    for (auto it = siblings.begin(); it != siblings.end(); ++it) {
        if (it->get() == node) {
            siblings.erase(it);
            break;
        }
    }
}

void CatPathsToStrings(const QString& paths, QStringList& list)
{
    list << splitPieces(paths, QLatin1Char(';'));
}

QString CatStringsToPath(const QStringList& list)
{
    return list.join(QLatin1Char(';'));
}

TIntArray CatPathsToIDs(QSqlDatabase db, const QString& paths)
{
    CategoryTree tree(std::move(db));
    tree.createTree();
    tree.setMultiSelect(true);
    tree.selectCategories(paths, {}, true);
    QString ignored;
    TIntArray ids;
    tree.getSelectedCategories(ignored, ids, false);
    return ids;
}

QString CatIDsToPaths(QSqlDatabase db, const TIntArray& ids)
{
    CategoryTree tree(std::move(db));
    tree.createTree();
    tree.setMultiSelect(true);
    tree.selectCategories(QString(), ids, false);
    QString paths;
    TIntArray ignored;
    tree.getSelectedCategories(paths, ignored, false);
    return paths;
}

} // namespace products
