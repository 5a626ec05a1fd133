#include "engine/FilterExpression.h"

#include "engine/EngineError.h"
#include "engine/FieldCodec.h"

#include <cctype>
#include <optional>

namespace engine {

struct FilterExpression::Node {
    enum class Kind { Or, And, Not, Compare } kind = Kind::Compare;
    std::unique_ptr<Node> left;
    std::unique_ptr<Node> right;
    // Compare: operator and operands, each a field (index >= 0) or a constant.
    std::string op;
    int leftField = -1;
    int rightField = -1;
    double leftValue = 0;
    double rightValue = 0;
};

namespace {

using Node = FilterExpression::Node;

struct ParseFailure {};

class Parser {
public:
    Parser(std::string_view text, const std::vector<DbfField>& fields) : m_text(text), m_fields(fields) {}

    std::unique_ptr<Node> parse() {
        auto node = orExpression();
        skipBlanks();
        if (m_pos != m_text.size())
            throw ParseFailure{};
        return node;
    }

private:
    void skipBlanks() {
        while (m_pos < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_pos])))
            ++m_pos;
    }

    // Takes a dotted word such as .AND. when it comes next.
    bool word(std::string_view w) {
        skipBlanks();
        if (m_text.size() - m_pos < w.size())
            return false;
        for (std::size_t i = 0; i < w.size(); ++i)
            if (std::toupper(static_cast<unsigned char>(m_text[m_pos + i])) != w[i])
                return false;
        m_pos += w.size();
        return true;
    }

    std::unique_ptr<Node> binary(Node::Kind kind, std::unique_ptr<Node> l, std::unique_ptr<Node> r) {
        auto n = std::make_unique<Node>();
        n->kind = kind;
        n->left = std::move(l);
        n->right = std::move(r);
        return n;
    }

    std::unique_ptr<Node> orExpression() {
        auto node = andExpression();
        while (word(".OR."))
            node = binary(Node::Kind::Or, std::move(node), andExpression());
        return node;
    }

    std::unique_ptr<Node> andExpression() {
        auto node = unary();
        while (word(".AND."))
            node = binary(Node::Kind::And, std::move(node), unary());
        return node;
    }

    std::unique_ptr<Node> unary() {
        // Nesting is bounded so that hostile text cannot exhaust the stack.
        if (++m_depth > kMaxDepth)
            throw ParseFailure{};
        struct Leave {
            int& depth;
            ~Leave() { --depth; }
        } leave{m_depth};
        if (word(".NOT.")) {
            auto n = std::make_unique<Node>();
            n->kind = Node::Kind::Not;
            n->left = unary();
            return n;
        }
        skipBlanks();
        if (m_pos < m_text.size() && m_text[m_pos] == '(') {
            ++m_pos;
            auto node = orExpression();
            skipBlanks();
            if (m_pos >= m_text.size() || m_text[m_pos] != ')')
                throw ParseFailure{};
            ++m_pos;
            return node;
        }
        return comparison();
    }

    std::unique_ptr<Node> comparison() {
        auto n = std::make_unique<Node>();
        operand(n->leftField, n->leftValue);
        skipBlanks();
        static const char* const ops[] = {"<>", "<=", ">=", "=", "#", "<", ">"};
        for (const char* op : ops) {
            std::string_view o(op);
            if (m_text.substr(m_pos, o.size()) == o) {
                n->op = o;
                m_pos += o.size();
                break;
            }
        }
        if (n->op.empty())
            throw ParseFailure{};
        operand(n->rightField, n->rightValue);
        return n;
    }

    // A numeric field or a number constant.
    void operand(int& fieldIndex, double& value) {
        skipBlanks();
        std::size_t start = m_pos;
        if (m_pos < m_text.size() && (m_text[m_pos] == '-' || m_text[m_pos] == '+'))
            ++m_pos;
        if (m_pos < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[m_pos]))) {
            while (m_pos < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[m_pos])))
                ++m_pos;
            // A point belongs to the number only when a digit follows (".AND." may come next).
            if (m_pos + 1 < m_text.size() && m_text[m_pos] == '.' &&
                std::isdigit(static_cast<unsigned char>(m_text[m_pos + 1]))) {
                ++m_pos;
                while (m_pos < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[m_pos])))
                    ++m_pos;
            }
            std::optional<double> v = field::parseNumber(m_text.substr(start, m_pos - start));
            if (!v)
                throw ParseFailure{};
            value = *v;
            return;
        }
        m_pos = start;
        while (m_pos < m_text.size() &&
               (std::isalnum(static_cast<unsigned char>(m_text[m_pos])) || m_text[m_pos] == '_'))
            ++m_pos;
        std::string name(m_text.substr(start, m_pos - start));
        if (name.empty() || !std::isalpha(static_cast<unsigned char>(name[0])))
            throw ParseFailure{};
        for (char& c : name)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        for (std::size_t i = 0; i < m_fields.size(); ++i)
            if (m_fields[i].def.name == name && m_fields[i].def.type == FieldType::Numeric) {
                fieldIndex = static_cast<int>(i);
                return;
            }
        throw ParseFailure{};
    }

    std::string_view m_text;
    const std::vector<DbfField>& m_fields;
    std::size_t m_pos = 0;
    int m_depth = 0;
    static constexpr int kMaxDepth = 200;
};

bool compare(const std::string& op, double a, double b) {
    if (op == "=")
        return a == b;
    if (op == "#" || op == "<>")
        return a != b;
    if (op == "<")
        return a < b;
    if (op == ">")
        return a > b;
    if (op == "<=")
        return a <= b;
    return a >= b;
}

bool evaluate(const Node& n, std::string_view record, const std::vector<DbfField>& fields) {
    switch (n.kind) {
    case Node::Kind::Or:
        return evaluate(*n.left, record, fields) || evaluate(*n.right, record, fields);
    case Node::Kind::And:
        return evaluate(*n.left, record, fields) && evaluate(*n.right, record, fields);
    case Node::Kind::Not:
        return !evaluate(*n.left, record, fields);
    case Node::Kind::Compare:
        break;
    }
    auto value = [&](int f, double constant) {
        return f < 0 ? constant : field::number(fields[static_cast<std::size_t>(f)], record);
    };
    return compare(n.op, value(n.leftField, n.leftValue), value(n.rightField, n.rightValue));
}

} // namespace

FilterExpression::FilterExpression(std::string_view expression, const std::vector<DbfField>& fields)
    : m_text(expression), m_fields(fields) {
    try {
        m_root = Parser(expression, fields).parse();
    } catch (const ParseFailure&) {
        throw EngineError("Could not parse filter expression: " + m_text);
    }
}

FilterExpression::~FilterExpression() = default;
FilterExpression::FilterExpression(FilterExpression&&) noexcept = default;
FilterExpression& FilterExpression::operator=(FilterExpression&&) noexcept = default;

bool FilterExpression::matches(std::string_view record) const {
    return evaluate(*m_root, record, m_fields);
}

} // namespace engine
