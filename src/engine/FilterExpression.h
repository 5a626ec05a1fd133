#pragma once
#include "engine/Dbf.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

// A dBASE logical expression over the numeric fields of a record: comparisons (=, #, <>, <, >,
// <=, >=) of fields and number constants, combined with .AND., .OR., .NOT. and parentheses.
// Words and field names are matched without regard to case; .NOT. binds tighter than .AND.,
// .AND. tighter than .OR.
class FilterExpression {
public:
    // Parses the expression against the table's fields. EngineError "Could not parse filter
    // expression: <expression>" when it is not well formed, names a field the table lacks or
    // compares a character field.
    FilterExpression(std::string_view expression, const std::vector<DbfField>& fields);
    ~FilterExpression();
    FilterExpression(FilterExpression&&) noexcept;
    FilterExpression& operator=(FilterExpression&&) noexcept;

    const std::string& text() const { return m_text; }
    bool matches(std::string_view record) const;

    struct Node;

private:
    std::string m_text;
    std::vector<DbfField> m_fields;
    std::unique_ptr<Node> m_root;
};

} // namespace engine
