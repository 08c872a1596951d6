#pragma once
// The "Kasa" page of the product editor: what the cash registers need of the
// product (its PLU, its cash-register group and its sort number in the
// group), and the buttons that place the product into a warehouse. PLUs come
// from the pool of free numbers; a PLU is cleared only while no restaurant
// table holds the product. Everything is written with the editor's apply.

#include <QWidget>

class QAction;
class QComboBox;

namespace tarvex {
class DBEdit;
}

namespace products {

class TProductKasaPage : public QWidget {
    Q_OBJECT
public:
    // The two warehouse actions belong to the warehouses group; the page
    // only carries their buttons.
    TProductKasaPage(QAction* addDefaultWarehouse, QAction* addOtherWarehouse, QWidget* parent = nullptr);

    tarvex::DBEdit* KasaPLUDBE() const { return m_plu; }
    QComboBox* KasaGroupCB() const { return m_group; }
    tarvex::DBEdit* KasaSortDBE() const { return m_sort; }
    QAction* AutoPLU() const { return m_autoPlu; }
    QAction* ClearPLU() const { return m_clearPlu; }
    QAction* AutoPLUVireo() const { return m_autoPluVireo; }

    // The group list: an empty entry, then every group with its id.
    void LoadKasaGroups();
    // Selects the product's group (the empty entry without one; nothing when
    // the stored group is gone).
    void GetKasaGroup();
    void FreeKasaGroups();
    // The user picked a group: store it, and put the product last in it.
    void KasaGroupCBChange();
    void SetKasaGroup();
    void SetKasaSort();

    // The lowest free PLU, only for a product without one.
    void AutoPLUExecute();
    // The same from the Vireo range, with a warning when it is full.
    void AutoPLUVireoExecute();
    // Clears the PLU unless the product is on a restaurant table.
    void ClearPLUExecute();

private:
    void takeFreePlu(bool vireo);

    tarvex::DBEdit* m_plu = nullptr;
    QComboBox* m_group = nullptr;
    tarvex::DBEdit* m_sort = nullptr;
    QAction* m_autoPlu = nullptr;
    QAction* m_clearPlu = nullptr;
    QAction* m_autoPluVireo = nullptr;
};

} // namespace products
