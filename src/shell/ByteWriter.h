#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace shell {

// Little-endian output for the binary parts of shortcut files.
class ByteWriter {
public:
    void u16(std::uint32_t v) { little(v, 2); }
    void u32(std::uint32_t v) { little(v, 4); }
    void bytes(std::string_view b) { m_out.append(b); }
    void ansiz(std::string_view b) {
        m_out.append(b);
        m_out.push_back('\0');
    }
    void unicodez(std::u16string_view s) {
        unicode(s);
        u16(0);
    }
    void unicode(std::u16string_view s) {
        for (const char16_t unit : s)
            u16(unit);
    }
    void zeros(std::size_t count) { m_out.append(count, '\0'); }
    void alignEven() {
        if (m_out.size() % 2)
            m_out.push_back('\0');
    }
    // Writes v at an earlier position (for sizes and offsets known only later).
    void patch32(std::size_t at, std::size_t v) {
        for (int i = 0; i < 4; ++i)
            m_out[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
    }
    std::size_t size() const { return m_out.size(); }
    std::string take() { return std::move(m_out); }

private:
    void little(std::uint64_t v, int count) {
        for (int i = 0; i < count; ++i)
            m_out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    }
    std::string m_out;
};

} // namespace shell
