#pragma once
// The base of a data module: the database connection its query datasets
// share, the list of field validations and the validator built from it, the
// generic before-post and before-delete handlers, and small database helpers
// the module's windows use.

#include "Validator.h"

#include <QObject>
#include <QStringList>
#include <QVariantList>
#include <memory>

namespace tarvex {

class IPluHolders;

class Connection;
class DataSet;

class TCustomDM : public QObject {
    Q_OBJECT
public:
    explicit TCustomDM(QObject* parent = nullptr);
    ~TCustomDM() override;

    // Hands the connection (not owned) to the module and to every query
    // dataset it owns.
    virtual void SetZConnection(Connection* connection);
    Connection* ZConnection() const { return m_connection; }
    // A connection is set and open.
    bool IsConnected() const;

    // The base creation step: fills the validation list
    // (CreateFieldValidations) and builds the validator from it.
    virtual void DataModuleCreate();
    TValidator* Validator() const { return m_validator.get(); }

    // Runs the validator over the dataset's fields; a failure throws
    // FieldError and so aborts the post.
    void CommonBeforePost(DataSet& dataSet);
    // The generic delete guard: with nothing to delete (closed or empty
    // dataset) the delete stops silently.
    void CommonBeforeDelete(DataSet& dataSet);

    // Clears the list and fills it with the column's values (nulls and empty
    // texts left out), in the column's order: each value once when distinct
    // is true. condition: a WHERE clause (with or without the word), empty
    // for all rows; order: an ORDER BY list, empty for the column itself;
    // values: bound to the condition's "?" placeholders in order.
    void GetFieldValues(const QString& column, const QString& table, QStringList& list, bool distinct,
                        const QString& condition, const QString& order, const QVariantList& values = {});
    // Inserts again every row of the table meeting the condition (an SQL
    // condition, its "?" taking conditionValues; empty: every row), with the
    // replacements ("column=value") applied. A value is NULL, a number, a
    // quoted SQL text ('...'), or any other text; each goes to the server as
    // a value of its own. The table's auto-increment key (whether
    // or not keyColumn names it) is left for the database to assign, so
    // GetLastInsertID gives the first copy's key. Throws DatabaseError.
    void CopyDataSet(const QString& table, const QString& condition, const QStringList& replacements,
                     const QString& keyColumn, const QVariantList& conditionValues = {});
    // The key the database gave the last row inserted on the connection.
    qint64 GetLastInsertID();
    // Clears the list and fills it with up to count free cash-register PLUs
    // (decimal texts, lowest first); vireo picks the four-digit range. None
    // when the module keeps no rows with PLUs (PluHolders).
    void GetPLUs(QStringList& list, int count, bool vireo);

    // The connection; throws DataSetError when there is none (no security
    // module handed one over).
    Connection& connection() const;

protected:
    // Fills FieldValidations; the module's own list goes here.
    virtual void CreateFieldValidations();
    // The rows of the module that hold cash-register PLUs; none here.
    virtual const IPluHolders* PluHolders() const;

    QList<FieldValidation> FieldValidations;

private:
    Connection* m_connection = nullptr;
    std::unique_ptr<TValidator> m_validator;
};

} // namespace tarvex
