#pragma once
// The console's own small versions of the sibling modules the product
// module talks to: security (hands over the database connection), currency,
// document, production, the two depreciation-group pickers and the object
// service. Each does the least its callers need, for real, on the database.

#include "Siblingintf.h"

namespace tarvex {

class Connection;

class SecurityStandIn final : public ComObject<ISecurityService, IID_ISecurityService> {
public:
    explicit SecurityStandIn(Connection& connection) : m_connection(connection) {}
    QString GetUserName() override;
    bool IsAdministrator() override { return true; }
    Connection* GetConnection() override { return &m_connection; }
    void Reserved6() override {}
    void Reserved7() override {}
    void Reserved8() override {}
    void Reserved9() override {}
    // Checks the session and opens it again when the server dropped it.
    void RefreshSession() override;

private:
    Connection& m_connection;
};

class CurrencyStandIn final : public ComObject<ICurrencyService, IID_ICurrencyService> {
public:
    explicit CurrencyStandIn(Connection& connection) : m_connection(connection) {}
    bool GetCurrency(QString& code) override;

private:
    Connection& m_connection;
};

class DocumentStandIn final : public ComObject<IDocumentService, IID_IDocumentService> {
public:
    explicit DocumentStandIn(Connection& connection) : m_connection(connection) {}
    void Reserved3() override {}
    // A read-only view of the document's header and lines.
    void OpenDocument(qint64 documentId) override;

private:
    Connection& m_connection;
};

class ProductionStandIn final : public ComObject<IProductionService, IID_IProductionService> {
public:
    explicit ProductionStandIn(Connection& connection) : m_connection(connection) {}
    void ShowRawMaterials(qint64 productId) override;

private:
    Connection& m_connection;
};

// Picks from depreciationgroup or depreciationaccountinggroup.
template <const QUuid& iid>
class DepreciationGroupStandIn final : public ComObject<IDepreciationGroupService, iid> {
public:
    DepreciationGroupStandIn(Connection& connection, QString table, QString caption)
        : m_connection(connection), m_table(std::move(table)), m_caption(std::move(caption))
    {
    }
    bool GetGroup(qint64& id, double& percent) override;

private:
    Connection& m_connection;
    QString m_table;
    QString m_caption;
};

using TaxDepreciationGroupStandIn = DepreciationGroupStandIn<IID_IDepreciationGroupService>;
using AccountingDepreciationGroupStandIn = DepreciationGroupStandIn<IID_IDepreciationAccountingGroupService>;

class ObjectStandIn final : public ComObject<IObjectService, IID_IObjectService> {
public:
    void Reserved3() override {}
    // Tells what was asked: the title and the condition of the objects.
    void ShowObjects(const QString& condition, const QString& title) override;
};

} // namespace tarvex
