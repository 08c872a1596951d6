#include "FilterExpression.h"

#include "DataSetErrors.h"
#include "Field.h"

namespace tarvex {

struct FilterExpression::Node {
    enum Kind { And, Or, Not, Compare, IsNull };
    enum Op { Eq, Ne, Lt, Le, Gt, Ge };
    Kind kind = Compare;
    std::unique_ptr<Node> left;
    std::unique_ptr<Node> right;
    int column = -1;
    FieldType type = FieldType::Unknown;
    Op op = Eq;
    QVariant constant;  // already of the field's type; null for NULL
    bool negated = false;
};

namespace {

using Node = FilterExpression::Node;

struct Token {
    enum Kind { End, Name, Number, Text, Operator, Open, Close } kind = End;
    QString text;
};

class Parser {
public:
    Parser(const QString& text, const std::function<Field*(const QString&)>& fieldOf)
        : m_text(text), m_fieldOf(fieldOf)
    {
        advance();
    }

    std::unique_ptr<Node> parse()
    {
        auto node = orExpression();
        if (m_token.kind != Token::End)
            fail();
        return node;
    }

private:
    [[noreturn]] void fail() const
    {
        throw DataSetError(ErrorKind::Internal, DS_FILTER_ERR.arg(m_text),
                           QStringLiteral("Cannot read the filter \"%1\"").arg(m_text));
    }

    bool isWord(const char* word) const
    {
        return m_token.kind == Token::Name && m_token.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }

    void advance()
    {
        while (m_pos < m_text.size() && m_text[m_pos].isSpace())
            ++m_pos;
        m_token = Token();
        if (m_pos >= m_text.size())
            return;
        const QChar c = m_text[m_pos];
        if (c.isLetter() || c == QLatin1Char('_') || c == QLatin1Char('[')) {
            const bool bracket = c == QLatin1Char('[');
            int end = m_pos + 1;
            if (bracket) {
                end = m_text.indexOf(QLatin1Char(']'), m_pos);
                if (end < 0)
                    fail();
                m_token = {Token::Name, m_text.mid(m_pos + 1, end - m_pos - 1)};
                m_pos = end + 1;
                return;
            }
            while (end < m_text.size() && (m_text[end].isLetterOrNumber() || m_text[end] == QLatin1Char('_')))
                ++end;
            m_token = {Token::Name, m_text.mid(m_pos, end - m_pos)};
            m_pos = end;
        } else if (c.isDigit() || ((c == QLatin1Char('-') || c == QLatin1Char('.')) && m_pos + 1 < m_text.size()
                                   && (m_text[m_pos + 1].isDigit() || m_text[m_pos + 1] == QLatin1Char('.')))) {
            int end = m_pos + 1;
            while (end < m_text.size() && (m_text[end].isDigit() || m_text[end] == QLatin1Char('.')))
                ++end;
            m_token = {Token::Number, m_text.mid(m_pos, end - m_pos)};
            m_pos = end;
        } else if (c == QLatin1Char('\'')) {
            QString value;
            int i = m_pos + 1;
            for (;; ++i) {
                if (i >= m_text.size())
                    fail();
                if (m_text[i] == QLatin1Char('\'')) {
                    if (i + 1 < m_text.size() && m_text[i + 1] == QLatin1Char('\'')) {
                        value += QLatin1Char('\'');
                        ++i;
                        continue;
                    }
                    break;
                }
                value += m_text[i];
            }
            m_token = {Token::Text, value};
            m_pos = i + 1;
        } else if (c == QLatin1Char('(') || c == QLatin1Char(')')) {
            m_token = {c == QLatin1Char('(') ? Token::Open : Token::Close, QString(c)};
            ++m_pos;
        } else {
            static const char* const ops[] = {"<>", "!=", "<=", ">=", "=", "<", ">"};
            for (const char* op : ops) {
                const QLatin1String o(op);
                if (m_text.mid(m_pos, o.size()) == o) {
                    m_token = {Token::Operator, o};
                    m_pos += int(o.size());
                    return;
                }
            }
            fail();
        }
    }

    std::unique_ptr<Node> combine(Node::Kind kind, std::unique_ptr<Node> left, std::unique_ptr<Node> right)
    {
        auto node = std::make_unique<Node>();
        node->kind = kind;
        node->left = std::move(left);
        node->right = std::move(right);
        return node;
    }

    std::unique_ptr<Node> orExpression()
    {
        auto node = andExpression();
        while (isWord("OR")) {
            advance();
            node = combine(Node::Or, std::move(node), andExpression());
        }
        return node;
    }

    std::unique_ptr<Node> andExpression()
    {
        auto node = notExpression();
        while (isWord("AND")) {
            advance();
            node = combine(Node::And, std::move(node), notExpression());
        }
        return node;
    }

    std::unique_ptr<Node> notExpression()
    {
        if (isWord("NOT")) {
            advance();
            return combine(Node::Not, notExpression(), nullptr);
        }
        if (m_token.kind == Token::Open) {
            advance();
            auto node = orExpression();
            if (m_token.kind != Token::Close)
                fail();
            advance();
            return node;
        }
        return comparison();
    }

    std::unique_ptr<Node> comparison()
    {
        if (m_token.kind != Token::Name)
            fail();
        Field* field = m_fieldOf(m_token.text);
        if (!field || field->index() < 0)
            throw DataSetError(ErrorKind::Internal, DS_NO_FIELD_ERR.arg(m_token.text),
                               QStringLiteral("Field \"%1\" not found").arg(m_token.text));
        auto node = std::make_unique<Node>();
        node->column = field->index();
        node->type = field->dataType();
        advance();
        if (isWord("IS")) {
            advance();
            node->kind = Node::IsNull;
            if (isWord("NOT")) {
                node->negated = true;
                advance();
            }
            if (!isWord("NULL"))
                fail();
            advance();
            return node;
        }
        if (m_token.kind != Token::Operator)
            fail();
        const QString op = m_token.text;
        node->op = op == QLatin1String("=")    ? Node::Eq
                   : op == QLatin1String("<")  ? Node::Lt
                   : op == QLatin1String("<=") ? Node::Le
                   : op == QLatin1String(">")  ? Node::Gt
                   : op == QLatin1String(">=") ? Node::Ge
                                               : Node::Ne;
        advance();
        node->constant = constant(*field);
        return node;
    }

    QVariant constant(const Field& field)
    {
        QVariant value;
        if (m_token.kind == Token::Number || m_token.kind == Token::Text)
            value = m_token.text;
        else if (isWord("TRUE"))
            value = true;
        else if (isWord("FALSE"))
            value = false;
        else if (!isWord("NULL"))
            fail();
        advance();
        try {
            return field.convert(value);
        } catch (const FieldError&) {
            fail();
        }
    }

    QString m_text;
    std::function<Field*(const QString&)> m_fieldOf;
    int m_pos = 0;
    Token m_token;
};

int compareTyped(FieldType type, const QVariant& a, const QVariant& b)
{
    switch (type) {
    case FieldType::Integer:
    case FieldType::LargeInt: {
        const qint64 x = a.toLongLong();
        const qint64 y = b.toLongLong();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    case FieldType::Float:
    case FieldType::Boolean: {
        const double x = a.toDouble();
        const double y = b.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    case FieldType::Date:
    case FieldType::DateTime:
    case FieldType::Time:
        return QVariant::compare(a, b) == QPartialOrdering::Less ? -1 : (a == b ? 0 : 1);
    default:
        return a.toString().compare(b.toString());
    }
}

bool evaluate(const Node& node, const QVector<QVariant>& row)
{
    switch (node.kind) {
    case Node::And:
        return evaluate(*node.left, row) && evaluate(*node.right, row);
    case Node::Or:
        return evaluate(*node.left, row) || evaluate(*node.right, row);
    case Node::Not:
        return !evaluate(*node.left, row);
    case Node::IsNull:
        return row.at(node.column).isNull() != node.negated;
    case Node::Compare:
        break;
    }
    const QVariant& value = row.at(node.column);
    if (node.constant.isNull()) {
        if (node.op == Node::Eq)
            return value.isNull();
        if (node.op == Node::Ne)
            return !value.isNull();
        return false;
    }
    if (value.isNull())
        return false;
    const int c = compareTyped(node.type, value, node.constant);
    switch (node.op) {
    case Node::Eq: return c == 0;
    case Node::Ne: return c != 0;
    case Node::Lt: return c < 0;
    case Node::Le: return c <= 0;
    case Node::Gt: return c > 0;
    case Node::Ge: return c >= 0;
    }
    return false;
}

} // namespace

FilterExpression::FilterExpression(const QString& text, const std::function<Field*(const QString&)>& fieldOf)
    : m_root(Parser(text, fieldOf).parse())
{
}

FilterExpression::~FilterExpression() = default;

bool FilterExpression::matches(const QVector<QVariant>& row) const
{
    return evaluate(*m_root, row);
}

} // namespace tarvex
