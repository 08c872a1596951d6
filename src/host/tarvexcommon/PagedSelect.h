#pragma once
// The statements a list read a page at a time sends, made from its own
// SELECT: the keys of its rows in an order the server gives (with its
// indexes), and the statement narrowed by a condition (a page of keys).
//
// The keys' statement leaves out every LEFT JOIN that nothing it keeps
// refers to: such a join never removes a row, it can only repeat one, and
// repeated keys are dropped by the reader. A list of a million products
// joined to their categories is read as the products alone.

#include "SqlScan.h"

#include <QString>

namespace tarvex {

class PagedSelect {
public:
    PagedSelect() = default;
    // keyColumn: a result column that names one row (an integer).
    PagedSelect(const QString& sql, const QString& keyColumn);

    // False when the statement cannot be read a page at a time (grouped,
    // ordered, a UNION, no key).
    bool isValid() const { return !m_key.isEmpty(); }
    const QString& keyExpression() const { return m_key; }

    // The expression a result column stands for: "p.price" for a column of
    // "p.*", the expression of an alias. Empty when unknown.
    QString expressionOf(const QString& column) const;
    // A sort order as the dataset takes it ("name, price DESC") as the
    // server's ORDER BY, the key last so the order is whole. Empty when a
    // column has no known expression.
    QString orderBy(const QString& sortedFields) const;
    // The rows' keys with `condition` added (may be empty), in that order.
    // allJoins keeps the joins the statement has, referred to or not.
    QString keysSql(const QString& orderBy, const QString& condition = QString(), bool allJoins = false) const;
    // The statement itself with a condition added to its own.
    QString withCondition(const QString& condition) const;

private:
    QString m_sql;
    SelectParts m_parts;
    QString m_key;
};

} // namespace tarvex
