#pragma once
// The attribute catalogue: attributes on the left, the values of the current
// attribute on the right (they follow it through the data module), with a
// filter of the values by their beginning. Administration (AttributeManage),
// picking one value (GetAttribute) and the silent look-up of a value by
// identifiers.

#include "PickingListWindow.h"

class QAction;
class QLineEdit;
class QPushButton;

namespace tarvex {
class DBGrid;
class DBNavigator;
class PickListDelegate;
class QueryDataSet;
} // namespace tarvex

namespace products {

// A double-click on either grid picks.
class TAttributeForm : public tarvex::PickingListWindow {
    Q_OBJECT
public:
    explicit TAttributeForm(QWidget* parent = nullptr);

    // The value list is filtered by the filter text (the value filter flag).
    bool valuesFiltered() const;

    tarvex::DBGrid* AttributeDBG() const { return m_attributes; }
    tarvex::DBGrid* AttributeValueDBG() const { return m_values; }
    tarvex::DBNavigator* AttributeNavigator() const { return m_attributeNavigator; }
    tarvex::DBNavigator* AttributeValueNavigator() const { return m_valueNavigator; }
    tarvex::PickListDelegate* PickLists() const { return m_pickLists; }
    QLineEdit* FilterEdit() const { return m_filter; }
    QAction* AttributeValueFilter() const { return m_filterAction; }
    QAction* AttributeValueClear() const { return m_clearAction; }

    void AttributeDBGDblClick() { pickRow(); }
    // Lists the values beginning with the filter text ("%" and "_" keep their
    // pattern meaning).
    void AttributeValueFilterExecute();
    // Lists all values again and empties the filter text.
    void AttributeValueClearExecute();
    // Enables the clear action exactly while the values are filtered.
    void AttributeValueClearUpdate();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    bool hasPick() const override;
    void pickingChanged(bool picking) override;
    // The selected attribute's values; those LIKE the pattern unless it is null.
    void showValues(const QString& pattern);
    tarvex::QueryDataSet& attributes() const;
    tarvex::QueryDataSet& values() const;

    // The values query the filter last built; the values are filtered while
    // it is the one in force (the data module replaces it on every move).
    QString m_filteredSql;
    tarvex::DBGrid* m_attributes = nullptr;
    tarvex::DBGrid* m_values = nullptr;
    tarvex::PickListDelegate* m_pickLists = nullptr;
    tarvex::DBNavigator* m_attributeNavigator = nullptr;
    tarvex::DBNavigator* m_valueNavigator = nullptr;
    QLineEdit* m_filter = nullptr;
    QAction* m_filterAction = nullptr;
    QAction* m_clearAction = nullptr;
};

// By identifiers (no window): when the attribute AttributeID has the value
// ValueID, fills Attribute, Required and Value and gives true. Picking: on
// confirmation fills all five from the chosen attribute and value and gives
// true. Otherwise nothing changes.
bool GetAttribute(qint32& AttributeID, QString& Attribute, bool& Required, qint32& ValueID, QString& Value,
                  bool ByID);
// Administration of the catalogue (modal).
void AttributeManage();

} // namespace products
