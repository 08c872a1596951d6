#pragma once
// Small windows over one statement's rows: a picker (the user chooses a row)
// and a read-only view. The sibling-module stand-ins are built from them.

#include "DialogWindow.h"

#include <QSqlDatabase>
#include <QStringList>
#include <QVariantList>

class QTableWidget;
class QLabel;

namespace tarvex {

class QueryTableDialog : public QDialog {
    Q_OBJECT
public:
    // Runs the statement (its "?" bound to `values`) and lists its rows under
    // the given column titles (one per selected column). Throws DatabaseError.
    QueryTableDialog(QSqlDatabase db, const QString& sql, const QStringList& titles, const QString& caption,
                     bool picking, QWidget* parent = nullptr, const QVariantList& values = {});

    QTableWidget* table() const { return m_table; }
    void setHeaderText(const QString& text);
    // The values of the chosen row, empty when none.
    QVariantList chosenRow() const;
    int rowCount() const;

private:
    QTableWidget* m_table = nullptr;
    QLabel* m_header = nullptr;
    QList<QVariantList> m_rows;
};

// Shows the picker modally; the chosen row, or empty when cancelled.
QVariantList pickRow(QSqlDatabase db, const QString& sql, const QStringList& titles, const QString& caption);
// Shows the rows modally, read-only, with an optional header text above.
void showRows(QSqlDatabase db, const QString& sql, const QStringList& titles, const QString& caption,
              const QString& header = QString(), const QVariantList& values = {});

} // namespace tarvex
