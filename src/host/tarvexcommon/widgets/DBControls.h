#pragma once
// Controls bound to one field of a dataset. They show the field's text for
// the current row; typing puts the dataset into edit state, and the typed
// text goes into the field when the control is left (or when a window
// commits its controls before saving), so change handlers run once per entry
// rather than once per key.

#include "DataSet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <functional>
#include <QWidget>

class QToolButton;

namespace tarvex {

// What every bound control shares: the field, the pending text, refreshing.
class FieldLink : public QObject {
    Q_OBJECT
public:
    FieldLink(QWidget* control, std::function<void()> refresh);

    void bind(DataSet* dataSet, const QString& fieldName);
    DataSet* dataSet() const { return m_dataSet; }
    Field* field() const;
    // The user changed the control: edit state now, the value later.
    void userChanged();
    bool pending() const { return m_pending; }
    // Writes a pending change through the field's set-text. Throws what the
    // field or its handlers throw (the control keeps the user's text).
    void commit(const QString& text);
    void commitValue(const QVariant& value);
    void refresh();
    bool refreshing() const { return m_refreshing; }

    // Every bound control under the widget writes its pending change, and
    // every grid its open cell (a refused cell throws a silent abort).
    static void commitAll(QWidget* root);
    // Whether leaving a control for the focus it loses now should write its
    // text: not when the window merely lost the focus (a message box, another
    // window), nor when the focus went to a button that discards the edit.
    static bool leavingCommits(const QFocusEvent* event);
    // Marks a button (Cancel) whose press discards what was typed.
    static void setDiscardsEdits(QWidget* button);

private:
    void write(const std::function<void(Field&)>& assign);

    QWidget* m_control;
    std::function<void()> m_refresh;
    QPointer<DataSet> m_dataSet;
    QString m_fieldName;
    bool m_pending = false;
    bool m_refreshing = false;
};

class DBEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DBEdit(QWidget* parent = nullptr);
    FieldLink& link() { return m_link; }
    void bind(DataSet* dataSet, const QString& fieldName) { m_link.bind(dataSet, fieldName); }
    void commit();

signals:
    // The user left the edit and its text went into the field.
    void left();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    FieldLink m_link;
};

// A yes/no box; the values it stores when checked and unchecked ("y"/"n",
// "True"/"False") are the field's texts.
class DBCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit DBCheckBox(const QString& text, QWidget* parent = nullptr);
    FieldLink& link() { return m_link; }
    void bind(DataSet* dataSet, const QString& fieldName, const QString& checkedValue = QStringLiteral("True"),
              const QString& uncheckedValue = QStringLiteral("False"));
    void commit();

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    FieldLink m_link;
    QString m_checked;
    QString m_unchecked;
};

// A drop-down list (choose one of the items) or, editable, a combo whose
// text may also be typed.
class DBComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit DBComboBox(QWidget* parent = nullptr);
    FieldLink& link() { return m_link; }
    void bind(DataSet* dataSet, const QString& fieldName) { m_link.bind(dataSet, fieldName); }
    void commit();

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    FieldLink m_link;
};

class DBMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit DBMemo(QWidget* parent = nullptr);
    FieldLink& link() { return m_link; }
    void bind(DataSet* dataSet, const QString& fieldName) { m_link.bind(dataSet, fieldName); }
    void commit();

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    FieldLink m_link;
};

// Buttons moving through and changing a dataset.
class DBNavigator : public QWidget {
    Q_OBJECT
public:
    enum Button { First = 0x1, Prior = 0x2, Next = 0x4, Last = 0x8, Insert = 0x10, Delete = 0x20, Post = 0x40,
                  Cancel = 0x80, All = 0xFF };
    explicit DBNavigator(QWidget* parent = nullptr);
    void setDataSet(DataSet* dataSet);
    DataSet* dataSet() const { return m_dataSet; }
    void setVisibleButtons(int buttons);
    QToolButton* button(Button which) const;
    // Delete asks before deleting (through the dialogs service, "No" the
    // default), or hands the whole delete to the handler when one is set:
    // it asks with its own words and deletes through its data module.
    void setDeleteHandler(std::function<void()> handler) { m_deleteHandler = std::move(handler); }

private:
    void press(Button which);
    void updateButtons();

    QPointer<DataSet> m_dataSet;
    QList<QPair<Button, QToolButton*>> m_buttons;
    std::function<void()> m_deleteHandler;
};

} // namespace tarvex
