#pragma once
// A grid's column layout (order, widths, visibility) remembered in the
// user's state file, and kept on screen while the grid's rows are read again.
//
// The grid's section holds one key per column, the field name, with its
// place, width in pixels and 1 or 0 for shown or hidden, separated by ";".
// Columns of fields the grid no longer has are skipped when the layout is
// applied.

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

namespace tarvex {
class DBGrid;
class RememberedState;
}

namespace products {

class TGridLayout {
public:
    struct Column {
        QString field;
        int place = 0;  // visual position, 0 first
        int width = 0;
        bool visible = true;
    };

    // The grid's layout as it is now.
    static TGridLayout capture(const tarvex::DBGrid& grid);
    // Places, sizes and shows the grid's columns as the layout says.
    void apply(tarvex::DBGrid& grid) const;

    // False, leaving the layout empty, when nothing was remembered or it
    // does not read as a layout.
    bool load(const tarvex::RememberedState& state);
    // Throws a File error naming the state file when it cannot be written.
    void save(tarvex::RememberedState& state) const;

    const QList<Column>& columns() const { return m_columns; }

private:
    friend class TGridLayoutKeeper;
    QList<Column> m_columns;
};

// Every refill of the grid fits its columns to the new contents and forgets
// moved columns. This keeps the order and visibility in force before the
// refill, and the width of every column sized by hand or by a loaded layout;
// the other columns fit their contents. Lives as long as the grid.
class TGridLayoutKeeper : public QObject {
    Q_OBJECT
public:
    explicit TGridLayoutKeeper(tarvex::DBGrid* grid);

private:
    void columnResized(int logical);
    void refillStarts();
    void refillEnded();

    tarvex::DBGrid* m_grid;
    TGridLayout m_before;
    QSet<QString> m_sized; // fields whose width is kept
    bool m_refilling = false;
};

} // namespace products
