#pragma once
// The category hierarchy as a tree of names under a root that is not a
// category ("Glavna kategorija", identifier 0), with the selection a picking
// window keeps, the path strings that cross module boundaries
// ("Pića>Sokovi;Hrana"), and adding, renaming and deleting categories
// (written by the data module). The category window shows this tree; the conversions
// use it without any window.

#include "Productintf.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace products {

using tarvex::TIntArray;

struct CategoryNode {
    QString caption;
    qint64 id = 0;
    CategoryNode* parent = nullptr;
    std::vector<std::unique_ptr<CategoryNode>> children;
    bool expanded = false;

    bool isRoot() const { return parent == nullptr; }
};

class CategoryTree {
public:
    explicit CategoryTree(QSqlDatabase db);

    // Builds the tree afresh from categorypr: siblings in the database's name
    // order, everything collapsed. Rows whose parent is missing or comes later
    // in the loading order have no place under the root and are left out.
    void createTree();

    CategoryNode* root() const { return m_root.get(); }
    // Root first, then depth-first in display order.
    QList<CategoryNode*> flatNodes() const;
    CategoryNode* findNode(qint64 id) const;
    CategoryNode* pathToNode(const QString& path) const;
    static QString nodeToPath(const CategoryNode* node);

    // Selection, in the order nodes were selected.
    void setMultiSelect(bool on);
    bool multiSelect() const { return m_multiSelect; }
    // Expands the node one level and selects it as a control-click does: added
    // to the selection with multi-selection on (a node already selected stays
    // where it is), the only selected node otherwise. Null does nothing.
    void focusNode(CategoryNode* node);
    void selectAll();
    void deselectAll();
    void deselect(CategoryNode* node);
    const QList<CategoryNode*>& selection() const { return m_selection; }
    CategoryNode* selected() const { return m_selection.isEmpty() ? nullptr : m_selection.last(); }

    // Pre-selection by a path list, or else by identifiers; unknown ones are skipped.
    void selectCategories(const QString& paths, const TIntArray& ids, bool byPaths);
    // The selection as a path list (or names only) and identifiers, in selection order.
    void getSelectedCategories(QString& paths, TIntArray& ids, bool namesOnly) const;

    // Inserts a category under the parent; the new node, or null.
    CategoryNode* addCategory(const QString& name, CategoryNode* parent);
    // Renames; an empty name is refused with a message and the stored name
    // comes back in `name`.
    bool editCategory(QString& name, CategoryNode* node);
    // Deletes a category with its whole subtree, children first, with the
    // product links of each, through the data module; the tree is not
    // touched (see removeNode).
    void deleteCategories(qint64 id);
    // Takes a node and its subtree out of the tree and the selection.
    void removeNode(CategoryNode* node);

private:
    CategoryNode* addChild(CategoryNode* parent, const QString& caption, qint64 id);
    void collectFlat(CategoryNode* node, QList<CategoryNode*>& out) const;

    QSqlDatabase m_db;
    std::unique_ptr<CategoryNode> m_root;
    QList<CategoryNode*> m_selection;
    bool m_multiSelect = false;
};

// A category as categorypr holds it.
struct CategoryRow {
    qint64 id = 0;
    qint64 parentId = 0;
    QString name;
};
// Every category, by parent, siblings in the database's name order.
QList<CategoryRow> readCategoryRows(QSqlDatabase db);

// Splits a path list at every ";" and appends the pieces to the list: empty
// pieces between separators are kept, an empty last piece is not.
void CatPathsToStrings(const QString& paths, QStringList& list);
// Joins the items with ";".
QString CatStringsToPath(const QStringList& list);
// Identifiers of the categories a path list names, in list order.
TIntArray CatPathsToIDs(QSqlDatabase db, const QString& paths);
// The path list of the given categories, in the given order.
QString CatIDsToPaths(QSqlDatabase db, const TIntArray& ids);

} // namespace products
