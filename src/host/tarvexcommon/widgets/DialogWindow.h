#pragma once
// Base of the modal list windows: centred over its parent, Escape closes it,
// and it frees itself when closed.

#include <QDialog>

namespace tarvex {

class DialogWindow : public QDialog {
    Q_OBJECT
public:
    explicit DialogWindow(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace tarvex
