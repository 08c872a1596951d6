#pragma once
// Field validations of a data module: each entry is a field, a test and a
// required mark. Before a row is saved the validator runs the entries of
// that row's dataset in list order; the first failure aborts the save with a
// FieldError carrying the message and the field.

#include "HostStrings.h"

#include <QList>
#include <QString>
#include <functional>

namespace tarvex {

class DataSet;
class Field;

using FieldTest = std::function<bool(Field&)>;

struct FieldValidation {
    // A required entry refuses an empty value (null or blanks) with
    // requiredMessage; a test that returns false refuses the value with
    // invalidMessage. "%1" in a message stands for the field's label.
    FieldValidation(Field* field, FieldTest test, bool required, QString requiredMessage = CMN_FIELD_REQUIRED_ERR,
                    QString invalidMessage = CMN_FIELD_INVALIDE_ERR);

    Field* field;
    FieldTest test;  // may be empty: the required mark only
    bool required;
    QString requiredMessage;
    QString invalidMessage;
};

class TValidator {
public:
    explicit TValidator(QList<FieldValidation> validations);

    // Runs the entries whose field belongs to the dataset. Throws FieldError.
    void Validate(DataSet& dataSet) const;
    // Runs the entries of one field. Throws FieldError.
    void ValidateField(Field& field) const;
    const QList<FieldValidation>& validations() const { return m_validations; }

private:
    void check(const FieldValidation& validation) const;

    QList<FieldValidation> m_validations;
};

// Empty as the required mark sees it: null, or a text of blanks only.
bool IsFieldEmpty(const Field& field);

// The host's tests. Every test but TestZeroLength passes an empty value:
// whether a value must be there is the required mark's business.

// The text is not blank.
bool TestZeroLength(Field& field);
// An amount: a finite number, not negative.
bool TestMoney(Field& field);
// A non-zero amount: a finite number above zero at six decimals.
bool TestMoneyNoZero(Field& field);
// A real calendar date (a date field, or a "yyyy-mm-dd" text).
bool TestDate(Field& field);
// An identifier: a whole number above zero.
bool TestID(Field& field);
// A tax or depreciation rate in percent: a number from 0 to 100.
bool TestTaxRate(Field& field);

// False when another row of the table holds the field's value in the column:
// the whole value (leadingChars 0 or less) or its first leadingChars
// characters, compared as the database compares texts. The row being saved
// (the keyColumn value of the field's dataset) does not count; condition,
// when not empty, narrows the rows compared ("status = 'primary'"). An empty
// value is never a duplicate. Runs on the connection of the field's query
// dataset; throws DataSetError without one and DatabaseError.
bool TestUnique(Field& field, const QString& table, const QString& column, const QString& keyColumn,
                const QString& condition, int leadingChars);

} // namespace tarvex
