#pragma once
// While it exists, every mouse-wheel turn in the application reaches its
// widget as one press of the up-arrow key (turned away from the user) or the
// down-arrow key (otherwise): in a grid the wheel moves the current row by one.

#include <QObject>

namespace tarvex {

class WheelToArrowFilter : public QObject {
    Q_OBJECT
public:
    // Installs itself on the application; removed again when destroyed.
    explicit WheelToArrowFilter(QObject* parent = nullptr);
    ~WheelToArrowFilter() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace tarvex
