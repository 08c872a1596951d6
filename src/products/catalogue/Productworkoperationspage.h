#pragma once
// The product editor's page "Radne operacije": the ordered working operations
// of a manufactured product (machine type and number offered from the values
// already used, description, preparation and production minutes), moved up
// and down with "Na gore" and "Na dole". The rows stay in the data module's
// cache until the editor applies them.

#include <QWidget>
#include <memory>
#include <functional>

class QAction;

namespace tarvex {
class DBGrid;
class DBNavigator;
} // namespace tarvex

namespace products {

class NewRowsOfProduct;

class WorkOperationDelegate;

class TProductWorkOperationsPage : public QWidget {
    Q_OBJECT
public:
    // Edits a description in place; true when the user confirmed.
    using DescriptionEditor = std::function<bool(QString& text)>;

    explicit TProductWorkOperationsPage(QWidget* parent = nullptr);
    ~TProductWorkOperationsPage() override;

    tarvex::DBGrid* WorkingOperationDBG() const { return m_grid; }
    tarvex::DBNavigator* WorkingOperationNavigator() const { return m_navigator; }
    QAction* WOItemMoveUp() const { return m_moveUp; }
    QAction* WOItemMoveDown() const { return m_moveDown; }

    // (Re)reads the operations of the product (-1 for a new one) in their
    // order and offers the machine types and numbers stored so far.
    void OpenWorkingOperations(qint64 productId);
    QStringList machineTypes() const;
    QStringList machineNumbers() const;

    // The description window by default; replaceable (tests).
    void setDescriptionEditor(DescriptionEditor editor);
    bool hasDescriptionEditor() const { return bool(m_describe); }
    // Edits the description of the current operation.
    void WorkingOperationDBGEditButtonClick();

    // Swaps the position of the current operation with its neighbour.
    void MoveWOItem(bool up);
    void WOItemMoveUpExecute() { MoveWOItem(true); }
    void WOItemMoveDownExecute() { MoveWOItem(false); }
    // Moves are offered only in browse state on the list in its own order,
    // and not past its beginning or end.
    void WOItemMoveUpUpdate();
    void WOItemMoveDownUpdate();

private:
    bool movable() const;

    std::unique_ptr<NewRowsOfProduct> m_newRows;
    tarvex::DBGrid* m_grid = nullptr;
    tarvex::DBNavigator* m_navigator = nullptr;
    WorkOperationDelegate* m_delegate = nullptr;
    QAction* m_moveUp = nullptr;
    QAction* m_moveDown = nullptr;
    DescriptionEditor m_describe;
};

} // namespace products
