#pragma once
// The services of the sibling modules that the product module asks the
// console for, with the slots it calls. Operations the product module never
// calls are reserved, so the called ones keep their slot numbers.

#include "Tarvexinterfaces.h"

#include <QString>

namespace tarvex {

class Connection;

inline constexpr QUuid IID_ISecurityService{0x3495C3AC, 0xF17F, 0x440C, 0x85, 0x71, 0x96, 0xAA, 0xA0, 0x91, 0xCA, 0xF2};
inline constexpr QUuid IID_IDocumentService{0xF0D1EC42, 0x35DC, 0x4A4C, 0xA7, 0x83, 0xCB, 0xC6, 0xF7, 0xFF, 0xD5, 0x56};
inline constexpr QUuid IID_ICurrencyService{0xD8BF9324, 0x78F4, 0x4730, 0xB5, 0x06, 0xA7, 0x4D, 0xE8, 0xE0, 0x04, 0xEC};
inline constexpr QUuid IID_IProductionService{0x80E938BB, 0xF858, 0x4EDD, 0xBF, 0x7C, 0xD4, 0x06, 0x18, 0xE8, 0xB0, 0x5E};
inline constexpr QUuid IID_IDepreciationGroupService{0xC78A2D04, 0xDE79, 0x4DAD, 0x80, 0x75, 0xFB, 0x8E, 0x88, 0xA1, 0xE7, 0x41};
inline constexpr QUuid IID_IDepreciationAccountingGroupService{0x933AD56D, 0x2354, 0x4DBF, 0xA4, 0xE1, 0xE1, 0xF1, 0x77, 0xAB, 0xE0, 0x0A};
inline constexpr QUuid IID_IObjectService{0x416CA5C8, 0x75BA, 0x435A, 0xB1, 0x57, 0xB1, 0x2D, 0xBF, 0xEF, 0x43, 0xE2};

class ISecurityService : public IInterface {
public:
    virtual QString GetUserName() = 0;             // 3
    virtual bool IsAdministrator() = 0;            // 4
    virtual Connection* GetConnection() = 0;       // 5: the database connection (not owned by the caller)
    virtual void Reserved6() = 0;
    virtual void Reserved7() = 0;
    virtual void Reserved8() = 0;
    virtual void Reserved9() = 0;
    virtual void RefreshSession() = 0;             // 10: keeps the user's session current

protected:
    ~ISecurityService() = default;
};

class IDocumentService : public IInterface {
public:
    virtual void Reserved3() = 0;
    virtual void OpenDocument(qint64 documentId) = 0;   // 4

protected:
    ~IDocumentService() = default;
};

class ICurrencyService : public IInterface {
public:
    // Lets the user pick a currency; true and its code when picked.
    virtual bool GetCurrency(QString& code) = 0;        // 3

protected:
    ~ICurrencyService() = default;
};

class IProductionService : public IInterface {
public:
    // Shows the raw materials of a product.
    virtual void ShowRawMaterials(qint64 productId) = 0;  // 3

protected:
    ~IProductionService() = default;
};

// Both depreciation-group pickers: true with the group's id and percentage.
class IDepreciationGroupService : public IInterface {
public:
    virtual bool GetGroup(qint64& id, double& percent) = 0;   // 3

protected:
    ~IDepreciationGroupService() = default;
};

class IObjectService : public IInterface {
public:
    virtual void Reserved3() = 0;
    // Shows the objects (service orders and the like) meeting a condition.
    virtual void ShowObjects(const QString& condition, const QString& title) = 0;  // 4

protected:
    ~IObjectService() = default;
};

} // namespace tarvex
