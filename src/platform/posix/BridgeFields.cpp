#include "platform/posix/BridgeFields.h"

namespace platform {

BridgeWriter& BridgeWriter::field(std::string_view text) {
    m_bytes += text.substr(0, text.find('\0'));
    m_bytes += '\0';
    return *this;
}

std::optional<std::string_view> BridgeReader::next() {
    const auto end = m_rest.find('\0');
    if (end == std::string_view::npos)
        return std::nullopt;
    const auto field = m_rest.substr(0, end);
    m_rest.remove_prefix(end + 1);
    return field;
}

} // namespace platform
