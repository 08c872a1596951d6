#pragma once
// TProductDM: the product module's one data module. It holds every shared
// dataset on the host's connection and the rules hung on them: new-row
// defaults, checks before saving, guards before deleting, display texts of
// coded columns, the price pairs kept in step, generated codes and barcodes,
// look-ups, product copy and the module's options.
//
// The implementation is split by subject: Productdmunit.cpp (datasets,
// fields, validations, options), Productdmrules.cpp (defaults, saving,
// deleting, renumbering), Productdmpricing.cpp (price handlers, formula),
// Productdmlookups.cpp (look-ups, identifiers, copy), Productdmdeletes.cpp
// (deleting reference rows), Productdmcategories.cpp (category writes).

#include "StaffRole.h"
#include "CustomDM.h"
#include "Productidentifiers.h"
#include "Productintf.h"
#include "Productoptions.h"
#include "Productplus.h"
#include "QueryDataSet.h"

#include <QDate>
#include <QStringList>
#include <memory>

namespace products {

using tarvex::QueryDataSet;
using TStringArr = QStringList;

class TProductDM : public tarvex::TCustomDM {
    Q_OBJECT
public:
    explicit TProductDM(QObject* parent = nullptr);
    ~TProductDM() override;

    // Where the workstation's settings file is and the folder the default
    // picture and scanned-document folders sit in (the defaults: the
    // workstation's settings file and the user's data folder + tarvex).
    // Tests point them at a temporary folder.
    void setLocalSettings(const QString& iniFile, const QString& programDir);
    const QString& localSettingsFile() const { return m_iniFile; }

    void SetZConnection(tarvex::Connection* connection) override;
    void DataModuleCreate() override;

    // The signed-in account's role (read from the session when the
    // connection is given). The datasets a role may not change are
    // read-only, so every window bound to them offers no change.
    tarvex::StaffRole role() const { return m_role; }
    bool mayChangeCatalogue() const { return tarvex::mayChangeCatalogue(m_role); }
    bool mayChangeStock() const { return tarvex::mayChangeStock(m_role); }

    // --- datasets
    QueryDataSet* ProductZQ = nullptr;
    QueryDataSet* ProductDetailZQ = nullptr;
    QueryDataSet* TaxZQ = nullptr;
    QueryDataSet* WarehouseZQ = nullptr;
    QueryDataSet* ProductWarehouseZQ = nullptr;
    QueryDataSet* FixedAssetZQ = nullptr;
    QueryDataSet* DepreciationGroupZQ = nullptr;
    QueryDataSet* DepreciationAccountingGroupZQ = nullptr;
    QueryDataSet* ProductPackagingZQ = nullptr;
    QueryDataSet* ProductProductsZQ = nullptr;
    QueryDataSet* ProductWorkingOperationZQ = nullptr;
    QueryDataSet* CategoryPrZQ = nullptr;
    QueryDataSet* CategoryPrAttributeZQ = nullptr;
    QueryDataSet* ProductAttributeZQ = nullptr;
    QueryDataSet* AttributePrZQ = nullptr;
    QueryDataSet* AttributePrValueZQ = nullptr;
    QueryDataSet* ProductRebateZQ = nullptr;

    // The design-time texts of the two datasets built line by line.
    static QString productDesignSql();
    static QString productAttributeDesignSql();

    // --- options (read by LoadOptions; false, 0 or empty until then)
    TProductOptions Options;
    // The stores behind them; null while there is no connection.
    ProductOptionStores* OptionStores() const { return m_stores.get(); }
    void LoadOptions();
    QString GetProductImageDir() const;
    void SetProductImageDir(const QString& dir);
    // -1 stands for the current product of ProductZQ (when it has a row).
    QString GetProductImageFilePath(qint64 productId) const;
    QString GetProductImageFilePathNew(qint64 productId) const;
    QString GetScannedDocumentFilePath();

    // The product name as the editor loaded it and after each of its saves.
    QString LoadedProductName;
    // Codes, barcodes and PLUs the module gave the product being edited.
    GeneratedIdentifiers Generated;

    // --- rules (dataset and field events)
    void ProductZQNewRecord(tarvex::DataSet& dataSet);
    void ProductZQBeforePost(tarvex::DataSet& dataSet);
    void ProductZQBeforeDelete(tarvex::DataSet& dataSet);
    // Why the product cannot be deleted (documents or other products name
    // it), empty when it can.
    QString ProductDeleteRefusal(qint64 productId);
    // The question to ask before deleting the product.
    QString ProductDeleteQuestion(qint64 productId);
    // Deletes the product and every row that belongs to it in one
    // transaction; the current row of ProductZQ when it is that product.
    void DeleteProduct(qint64 productId);
    // --- deleting tax rates, warehouses, attributes and attribute values
    // Why the row cannot be deleted, empty when it can: an accounting
    // precept names it (the host's relational-integrity text), or other rows
    // still need it, named and counted ("Porez "Oslobođeno" koriste 3
    // proizvoda.").
    QString TaxDeleteRefusal(qint64 taxId);
    QString WarehouseDeleteRefusal(qint64 warehouseId);
    QString AttributeDeleteRefusal(qint64 attributeId);
    QString AttributeValueDeleteRefusal(qint64 valueId);
    // The same for the current row of TaxZQ, WarehouseZQ, AttributePrZQ or
    // AttributePrValueZQ (empty for any other dataset).
    QString DeleteRefusal(const tarvex::DataSet& dataSet);
    // The question to ask before deleting that row.
    QString DeleteQuestion(const tarvex::DataSet& dataSet) const;
    // Deletes that row in one transaction with its guard (below).
    void DeleteReferenceRow(QueryDataSet& dataSet);
    // The before-delete guard of those four datasets: locks the row, then
    // refuses with DeleteRefusal's text.
    void ReferenceBeforeDelete(tarvex::DataSet& dataSet);
    void ProductDetailZQBeforePost(tarvex::DataSet& dataSet);
    void FixedAssetZQBeforePost(tarvex::DataSet& dataSet);
    void ProductWarehouseZQNewRecord(tarvex::DataSet& dataSet);
    void WarehouseZQNewRecord(tarvex::DataSet& dataSet);
    void ProductWorkingOperationZQNewRecord(tarvex::DataSet& dataSet);
    void ProductWorkingOperationZQBeforeDelete(tarvex::DataSet& dataSet);
    // Closes the gap a deleted working operation at `position` leaves.
    void RecalcWOItemSortNum(int position);
    void AttributePrZQNewRecord(tarvex::DataSet& dataSet);
    void AttributePrValueZQNewRecord(tarvex::DataSet& dataSet);
    void AttributePrZQAfterScroll(tarvex::DataSet& dataSet);
    void AttributePrValueZQBeforePost(tarvex::DataSet& dataSet);
    void ProductRebateZQNewRecord(tarvex::DataSet& dataSet);
    void AttributePrZQsortChange(tarvex::Field& field);
    void AttributePrValueZQsortChange(tarvex::Field& field);

    // The module's own field tests.
    bool TestUniqueProductName(tarvex::Field& field);
    bool TestUniqueProductCode(tarvex::Field& field);
    bool TestUniqueProductBarcode(tarvex::Field& field);
    bool TestUniqueWarehouseCode(tarvex::Field& field);

    // --- pricing (field change handlers)
    void ProductZQpriceChange(tarvex::Field& field);
    void ProductZQpricewithvatChange(tarvex::Field& field);
    void ProductZQrecommendedpricewithvatChange(tarvex::Field& field);
    void ProductDetailZQwebpricewithvatChange(tarvex::Field& field);
    void CategoryPrZQmaxrebateChange(tarvex::Field& field);
    void CategoryPrZQmaxmarginChange(tarvex::Field& field);
    void ProductZQinputpriceChange(tarvex::Field& field);
    // The price from the supply price and the formula, or -1.
    double CalculatePrice();
    // Set while a price handler or the save's rounding writes price fields.
    bool priceUpdateInProgress() const { return m_priceUpdate; }

    // --- identifiers
    QString GetNewProductCode();
    QString GetNewProductBarcode();
    QString GenerateAttributeBarcode(const QDateTime& date, qint32 n);

    // --- copy
    qint32 CopyProduct(qint32 productId, const TStringArr& replacements);

    // Marks the row with that key "primary" and every other "standard", in
    // one transaction; after a failure the rows are read again.
    void MakePrimary(QueryDataSet& dataSet, const QString& keyName, qint64 id);

    // --- the editor's warehouse rows and details (Productdmstockrows.cpp).
    // Puts the product into the warehouse at the price; false when it is there already.
    bool AddProductWarehouse(qint64 productId, qint64 warehouseId, double price);
    // Sets each stock row's amount to the documents' (warehouse id → amount)
    // where they differ; returns how many changed.
    int RecountProductWarehouses(qint64 productId, const QMap<qint64, double>& documentAmounts);
    // Maximum rebate, web and B2B prices from the product's categories' rebates.
    void LoadDetailsFromCategories(qint64 productId, double price);

    // --- categories: each in one transaction; a subtree goes children first,
    // each category with its product links.
    qint64 AddCategory(qint64 parentId, const QString& name);
    void RenameCategory(qint64 id, const QString& name);
    void DeleteCategories(qint64 id);

    // --- alternatives
    // Puts the product into the other product's group; when that one has
    // none, both go into a new group. Returns the group.
    qint32 JoinAlternativeGroup(qint32 productId, qint32 otherId);
    // Takes the product out of the group.
    void LeaveAlternativeGroup(qint32 productId, qint32 groupId);
    // The product's group, or -1 when it is in none.
    qint32 GetGroupID(qint32 productId);

    // --- look-ups
    qint32 GetDefWarehouseID();
    void SetDefWarehouseID(qint32 id) { m_defWarehouseId = id; }
    qint32 GetWarehouseIDByName(const QString& name);
    QString GetWarehouseNameByID(qint32 id);
    qint32 GetDefaultTaxID();
    void SetDefaultTaxID(qint32 id) { m_defTaxId = id; }
    double GetTaxValueByID(qint32 id);
    double GetProductPrice(qint32 productId, qint32 warehouseId);
    double GetProductAmount(qint32 productId, qint32 warehouseId);
    bool ProductGetAmounts(qint32 productId);
    QString GetProductCurrency(qint32 productId);
    bool PreceptExist(const QString& kind, qint32 id);
    bool CheckOnlyLowestCategory(const tarvex::TIntArray& ids);
    // The saved product is linked to a category.
    bool CategoriesExist(qint64 productId);

protected:
    void CreateFieldValidations() override;
    const tarvex::IPluHolders* PluHolders() const override { return &m_plus; }

private:
    struct DeleteKind {
        const char* table;
        const char* key;
        const char* name;
        const QString* question;
    };
    const DeleteKind* deleteKind(const tarvex::DataSet& dataSet) const;
    QueryDataSet* makeDataSet(const QString& sql, bool cached);
    void setUpFields();
    void setUpLabels();
    void wireEvents();
    void applyRights();
    void renumberSort(QueryDataSet& dataSet, const QString& keyName, tarvex::Field& sortField);
    QSqlDatabase db() const;

    std::unique_ptr<ProductOptionStores> m_stores;
    TProductPlus m_plus;
    QString m_iniFile;
    QString m_programDir;
    qint32 m_defWarehouseId = 0;
    qint32 m_defTaxId = 0;
    bool m_priceUpdate = false;
    bool m_renumbering = false;
    tarvex::StaffRole m_role = tarvex::StaffRole::Administrator;
};

// The module's data module, alive while the module is loaded.
extern TProductDM* ProductDM;

} // namespace products
