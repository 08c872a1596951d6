#pragma once
// The search panel's criteria list: one row per criterion with its caption
// and the typed value; a row may offer a pick list, an edit button ("...")
// or refuse typing.

#include <QStringList>
#include <QTableWidget>

namespace tarvex {

class SearchValueList : public QTableWidget {
    Q_OBJECT
public:
    explicit SearchValueList(QWidget* parent = nullptr);

    void addKey(const QString& key);
    QStringList keys() const { return m_keys; }
    int rowOf(const QString& key) const { return int(m_keys.indexOf(key)); }
    QString currentKey() const;

    void setCaption(const QString& key, const QString& caption);
    QString caption(const QString& key) const;
    QString value(const QString& key) const;
    void setValue(const QString& key, const QString& value);
    // The value of every row, in row order ("" for empty ones).
    QStringList values() const;
    void clearValues();

    void setPickList(const QString& key, const QStringList& items);
    QStringList pickList(const QString& key) const;
    void setEditButton(const QString& key, bool on);
    bool hasEditButton(const QString& key) const;
    // Typed characters are discarded in this row (its value comes from the button).
    void setTypingBlocked(const QString& key, bool on);
    bool typingBlocked(const QString& key) const;

    // Presses the current row's button (what the "..." button does).
    void pressEditButton();
    // A value being typed goes into its row.
    void commitPending();

signals:
    void editButtonClicked(const QString& key);
    // Enter in the list: the panel's "find".
    void findRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct RowProps {
        QStringList pickList;
        bool button = false;
        bool blocked = false;
    };
    QStringList m_keys;
    QHash<QString, RowProps> m_props;

    friend class SearchValueDelegate;
};

} // namespace tarvex
