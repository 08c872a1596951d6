#pragma once
// The product editor's attribute pages, both on the data module's cached
// ProductAttributeZQ (one row = one variant: up to five attribute values from
// the catalogue, with a barcode of its own). The option AttributeDesc decides
// which of the two the editor shows:
// - TProductAttributesPage (catalogue form): a read-only grid of the five
//   slots; "Dodaj" fills the slots of one new variant from the attribute
//   picker, "Izbaci" removes the current one.
// - TProductAttributesDescPage (descriptive form): free attribute names and
//   values typed in a grid; the name column offers the attributes suggested
//   by the product's categories, the value column the values already used
//   for that name.
// Changes stay in the cache until the editor applies them.

#include <QWidget>

class QAction;

namespace tarvex {
class DBGrid;
class DBNavigator;
} // namespace tarvex

namespace products {

class SuggestionDelegate;

class TProductAttributesPage : public QWidget {
    Q_OBJECT
public:
    // Slots a variant has.
    static constexpr int MaxSlots = 5;

    explicit TProductAttributesPage(QWidget* parent = nullptr);

    tarvex::DBGrid* AttributesDBG() const { return m_grid; }
    tarvex::DBNavigator* AttributesNavigator() const { return m_navigator; }
    QAction* AddAttribute() const { return m_add; }
    QAction* RemoveAttribute() const { return m_remove; }

    // One new variant, its slots filled in order from the picker while the
    // user asks for more; the first pick also gives it a generated barcode.
    void AddAttributeExecute();
    // Deletes the current variant (in the cache, without asking).
    void RemoveAttributeExecute();

protected:
    // Typed characters are dropped, and Delete unless with Ctrl alone.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillSlot(int slot, qint32 attributeId, const QString& attribute, bool required, qint32 valueId,
                  const QString& value);

    tarvex::DBGrid* m_grid = nullptr;
    tarvex::DBNavigator* m_navigator = nullptr;
    QAction* m_add = nullptr;
    QAction* m_remove = nullptr;
};

class TProductAttributesDescPage : public QWidget {
    Q_OBJECT
public:
    explicit TProductAttributesDescPage(QWidget* parent = nullptr);

    tarvex::DBGrid* AttributesDescDBG() const { return m_grid; }
    tarvex::DBNavigator* AttributesDescNavigator() const { return m_navigator; }

    // Names offered in the "Atribut" column.
    void setAttributeSuggestions(const QStringList& names);
    QStringList attributeSuggestions() const;
    // Values offered in the "Vrednost atributa" column.
    QStringList valueSuggestions() const;
    // Leaving the name column: the values already stored under the current
    // row's name become the value column's list.
    void AttributesDescDBGColExit();

private:
    tarvex::DBGrid* m_grid = nullptr;
    tarvex::DBNavigator* m_navigator = nullptr;
    SuggestionDelegate* m_suggestions = nullptr;
};

// (Re)opens the variants of the product (-1 for a new one) on the first row.
void OpenAttributes(qint64 productId);
// Gives rows added before the product had an id that id, then writes the
// cached changes.
void AttributesApply(qint64 productId);

} // namespace products
