#pragma once
// A dataset filter: comparisons of fields with constants, joined by AND, OR,
// NOT and parentheses. Constants are numbers (with "."), 'texts' (quotes
// doubled inside), True, False and NULL:
//   active=True    name <> 'x' AND (price >= 10 OR code IS NULL)
// Texts compare exactly (letter case counts); a null field matches only
// "= NULL" and "IS NULL".

#include <QString>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>

namespace tarvex {

class Field;

class FilterExpression {
public:
    // Reads the text and finds its fields through fieldOf (nullptr for an
    // unknown name). Throws DataSetError for text it cannot read or an
    // unknown field.
    FilterExpression(const QString& text, const std::function<Field*(const QString&)>& fieldOf);
    ~FilterExpression();

    bool matches(const QVector<QVariant>& row) const;

    struct Node;

private:
    std::unique_ptr<Node> m_root;
};

} // namespace tarvex
