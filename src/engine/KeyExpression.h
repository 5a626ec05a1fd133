#pragma once
#include "engine/Dbf.h"

#include <string>
#include <string_view>

namespace engine {

// A tag's key expression: a bare field or UPPER(field) of a C field (case of the words and blanks
// around them do not matter). Character keys are the field's stored bytes over its full width,
// upper-cased for UPPER; numeric keys are the field's value as an 8-byte sortable double.
class KeyExpression {
public:
    // EngineError when the expression is not one of the forms above over a field of the table.
    KeyExpression(std::string_view expression, const Dbf& dbf);

    const std::string& text() const { return m_text; }
    std::uint16_t keyLength() const { return m_length; }
    bool numeric() const { return m_numeric; }
    bool upper() const { return m_upper; }
    int field() const { return m_field; }
    char pad() const { return m_numeric ? '\0' : ' '; }

    std::string key(std::string_view record) const;
    // Appends the key of the record (keyLength() bytes) to out.
    void appendKey(std::string_view record, std::string& out) const;
    // Key bytes upper-cased the way UPPER does it here.
    std::string upperCased(std::string_view key) const;
    // The key of a seek: character text (code page of the table) as given, not padded; for a
    // numeric key the value of the text; empty when the text is not a number.
    std::string seekKey(std::string_view text) const;

    // The 8 bytes of a double that collate as unsigned bytes in numeric order.
    static std::string numericKey(double value);

private:
    std::string m_text;
    DbfField m_dbfField;
    int m_field = -1;
    std::uint16_t m_length = 0;
    bool m_upper = false;
    bool m_numeric = false;
    bool m_ansi = false;
};

} // namespace engine
