#include "engine/KeyExpression.h"

#include "engine/CdxFormat.h"
#include "engine/CodePage.h"
#include "engine/EngineError.h"
#include "engine/FieldCodec.h"

#include <bit>
#include <cctype>
#include <cstring>

namespace engine {

namespace {

std::string squeezed(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c != ' ' && c != '\t')
            out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

} // namespace

KeyExpression::KeyExpression(std::string_view expression, const Dbf& dbf) : m_text(expression) {
    std::string e = squeezed(expression);
    std::string name = e;
    if (e.starts_with("UPPER(") && e.ends_with(")")) {
        m_upper = true;
        name = e.substr(6, e.size() - 7);
    }
    m_field = dbf.findField(name);
    auto refuse = [&](const std::string& why) {
        throw EngineError("Key expression \"" + m_text + "\" of table " + dbf.fileName() + " " + why);
    };
    if (name.empty() || m_field < 0)
        refuse("is not a field of the table or UPPER of one");
    m_dbfField = dbf.fields()[static_cast<std::size_t>(m_field)];
    m_numeric = m_dbfField.def.type == FieldType::Numeric;
    m_ansi = dbf.ansiText();
    if (m_numeric && m_upper)
        refuse("applies UPPER to a numeric field");
    m_length = m_numeric ? 8 : static_cast<std::uint16_t>(m_dbfField.def.width);
    if (m_length > cdx::kMaxKeyLength)
        refuse("gives keys longer than " + std::to_string(cdx::kMaxKeyLength) + " bytes");
}

std::string KeyExpression::numericKey(double value) {
    if (value == 0)
        value = 0; // -0 sorts as +0
    auto bits = std::bit_cast<std::uint64_t>(value);
    bits = value >= 0 ? bits ^ 0x8000000000000000ull : ~bits;
    std::string out(8, '\0');
    for (int i = 0; i < 8; ++i)
        out[static_cast<std::size_t>(i)] = static_cast<char>((bits >> (56 - 8 * i)) & 0xFF);
    return out;
}

std::string KeyExpression::key(std::string_view record) const {
    std::string k;
    appendKey(record, k);
    return k;
}

void KeyExpression::appendKey(std::string_view record, std::string& out) const {
    if (m_numeric) {
        out += numericKey(field::number(m_dbfField, record));
        return;
    }
    const std::size_t at = out.size();
    out += field::raw(m_dbfField, record);
    if (m_upper)
        upperInPlace(out.data() + at, out.size() - at, m_ansi);
}

std::string KeyExpression::upperCased(std::string_view key) const {
    return m_ansi ? upperAnsi(key) : upperOem(key);
}

std::string KeyExpression::seekKey(std::string_view text) const {
    if (!m_numeric)
        return std::string(text);
    std::optional<double> v = field::parseNumber(text);
    return v ? numericKey(*v) : std::string();
}

} // namespace engine
