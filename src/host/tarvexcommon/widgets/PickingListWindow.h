#pragma once
// Base of the list windows that either administer their rows or pick one.
// Picking shows OK (a double-click on a row of a picking grid acts as OK) and
// captions the close button "cancel"; administration hides OK and captions
// it "close". OK closes the window confirmed only when there is a row to pick.

#include "DialogWindow.h"

class QHBoxLayout;
class QPushButton;

namespace tarvex {

class DBGrid;

class PickingListWindow : public DialogWindow {
    Q_OBJECT
public:
    void setPicking(bool picking);
    bool picking() const;
    bool confirmed() const { return m_confirmed; }

    QPushButton* OKButton() const { return m_ok; }
    QPushButton* CloseButton() const { return m_close; }

    void OKButtonClick();
    // A row double-clicked: OK while picking.
    void pickRow();

protected:
    explicit PickingListWindow(QWidget* parent = nullptr);

    // A grid whose double-click picks; while picking it no longer edits on
    // a double-click and leaves Enter to the window.
    void addPickingGrid(DBGrid* grid, bool pickingEdits = true);
    // The window's last row: a stretch, then OK and close.
    QHBoxLayout* newButtonRow();
    // Whether there is a row to pick now.
    virtual bool hasPick() const = 0;
    // After picking was switched on or off.
    virtual void pickingChanged(bool) {}

private:
    bool m_confirmed = false;
    QPushButton* m_ok = nullptr;
    QPushButton* m_close = nullptr;
    QList<DBGrid*> m_pickingEdits;
};

} // namespace tarvex
