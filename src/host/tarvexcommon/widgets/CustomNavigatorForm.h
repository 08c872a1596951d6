#pragma once
// Base of the search panels: the criteria list SearchVLE and a find button.
// A derived panel sets its criteria up in SetSearchProps and turns the filled
// values into a statement in ParseSQL.

#include "SearchValueList.h"

#include <QWidget>

class QPushButton;

namespace tarvex {

class TCustomNavigatorForm : public QWidget {
    Q_OBJECT
public:
    explicit TCustomNavigatorForm(QWidget* parent = nullptr);

    SearchValueList* SearchVLE() const { return m_list; }
    QPushButton* FindButton() const { return m_find; }

    // Gives the criteria their captions, pick lists and buttons; the base
    // fits the caption column to its texts.
    virtual void SetSearchProps();
    // The base takes the value being typed into its row; derived panels run
    // their search after it.
    virtual void FindButtonClick();
    virtual QString ParseSQL() { return QString(); }

protected:
    // A criterion row's "..." button.
    virtual void SearchVLEEditButtonClick(const QString& key) { Q_UNUSED(key); }

private:
    SearchValueList* m_list = nullptr;
    QPushButton* m_find = nullptr;
};

} // namespace tarvex
