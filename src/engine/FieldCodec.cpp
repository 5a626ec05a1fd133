#include "engine/FieldCodec.h"

#include "engine/EngineError.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace engine::field {

namespace {

std::string_view trimmed(std::string_view s) {
    std::size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos)
        return {};
    std::size_t e = s.find_last_not_of(' ');
    return s.substr(b, e - b + 1);
}

[[noreturn]] void doesNotFit(const DbfField& f, std::string_view value) {
    throw EngineError("The value " + std::string(value) + " does not fit field " + f.def.name + " (N " +
                      std::to_string(f.def.width) + "," + std::to_string(f.def.decimals) + ")");
}

// Right-aligns number text in an N field.
void putNumberText(const DbfField& f, std::string& record, const std::string& digits) {
    auto width = static_cast<std::size_t>(f.def.width);
    if (digits.size() > width)
        doesNotFit(f, digits);
    record.replace(f.offset, width, std::string(width - digits.size(), ' ') + digits);
}

std::string formatNumber(double value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

} // namespace

std::string_view raw(const DbfField& f, std::string_view record) {
    return record.substr(f.offset, static_cast<std::size_t>(f.def.width));
}

std::string text(const DbfField& f, std::string_view record) {
    std::string_view v = raw(f, record);
    if (f.def.type == FieldType::Numeric)
        return std::string(trimmed(v));
    std::size_t e = v.find_last_not_of(' ');
    return e == std::string_view::npos ? std::string() : std::string(v.substr(0, e + 1));
}

std::optional<double> parseNumber(std::string_view s) {
    s = trimmed(s);
    if (s.empty())
        return std::nullopt;
    std::size_t i = 0;
    bool negative = false;
    if (s[0] == '-' || s[0] == '+') {
        negative = s[0] == '-';
        ++i;
    }
    bool digits = false;
    bool point = false;
    for (std::size_t j = i; j < s.size(); ++j) {
        if (s[j] >= '0' && s[j] <= '9')
            digits = true;
        else if (s[j] == '.' && !point)
            point = true;
        else
            return std::nullopt;
    }
    if (!digits)
        return std::nullopt;
    double value = 0;
    std::string body(s.substr(i));
    if (body.front() == '.')
        body.insert(body.begin(), '0');
    auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), value);
    if (ec != std::errc() || end != body.data() + body.size())
        return std::nullopt;
    return negative ? -value : value;
}

double number(const DbfField& f, std::string_view record) {
    return parseNumber(raw(f, record)).value_or(0.0);
}

long long integer(const DbfField& f, std::string_view record) {
    double v = number(f, record);
    if (!std::isfinite(v) || std::fabs(v) >= 9.2e18)
        return 0;
    return static_cast<long long>(v);
}

void setText(const DbfField& f, std::string& record, std::string_view bytes) {
    auto width = static_cast<std::size_t>(f.def.width);
    if (f.def.type == FieldType::Numeric) {
        std::string_view t = trimmed(bytes);
        if (t.empty()) {
            clear(f, record);
            return;
        }
        std::optional<double> v = parseNumber(t);
        if (!v)
            throw EngineError("Field " + f.def.name + " takes a number, not \"" + std::string(t) + "\"");
        putNumberText(f, record, formatNumber(*v, f.def.decimals));
        return;
    }
    std::string value(bytes.substr(0, std::min(width, bytes.size())));
    value.resize(width, ' ');
    record.replace(f.offset, width, value);
}

void setInteger(const DbfField& f, std::string& record, long long value) {
    if (f.def.type == FieldType::Numeric) {
        std::string digits = std::to_string(value);
        if (f.def.decimals > 0)
            digits += "." + std::string(static_cast<std::size_t>(f.def.decimals), '0');
        putNumberText(f, record, digits);
        return;
    }
    setText(f, record, std::to_string(value));
}

void clear(const DbfField& f, std::string& record) {
    record.replace(f.offset, static_cast<std::size_t>(f.def.width), static_cast<std::size_t>(f.def.width), ' ');
}

} // namespace engine::field
