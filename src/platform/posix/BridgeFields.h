#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The requests and answers of the Windows-side helper (src/platform/bridge): fields of UTF-8 text,
// each ended by a NUL byte. A field cannot hold NUL: the Windows calls behind it would stop there
// too, so a field is cut at its first NUL.
class BridgeWriter {
public:
    BridgeWriter& field(std::string_view text);
    const std::string& bytes() const { return m_bytes; }

private:
    std::string m_bytes;
};

class BridgeReader {
public:
    explicit BridgeReader(std::string_view bytes) : m_rest(bytes) {}
    // The next field; std::nullopt at the end, or when the last field has no NUL (cut off).
    std::optional<std::string_view> next();
    bool atEnd() const { return m_rest.empty(); }

private:
    std::string_view m_rest;
};

} // namespace platform
