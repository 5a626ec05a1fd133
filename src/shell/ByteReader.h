#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "shell/ShellError.h"

namespace shell {

// Bounds-checked little-endian reads from a byte range. Every read that would pass the end of
// the range raises ShellError naming the part of the file being read, so a hostile length or
// offset can never make a parser read outside its input.
class ByteReader {
public:
    ByteReader(std::string_view data, std::string part) : m_data(data), m_part(std::move(part)) {}

    std::size_t pos() const { return m_pos; }
    std::size_t size() const { return m_data.size(); }
    std::size_t remaining() const { return m_data.size() - m_pos; }
    bool atEnd() const { return m_pos == m_data.size(); }

    void seek(std::size_t pos) {
        if (pos > m_data.size())
            fail();
        m_pos = pos;
    }
    void skip(std::size_t count) {
        if (count > remaining())
            fail();
        m_pos += count;
    }
    std::string_view bytes(std::size_t count) {
        if (count > remaining())
            fail();
        const auto out = m_data.substr(m_pos, count);
        m_pos += count;
        return out;
    }
    std::uint16_t u16() { return static_cast<std::uint16_t>(little(2)); }
    std::uint32_t u32() { return static_cast<std::uint32_t>(little(4)); }
    std::uint64_t u64() { return little(8); }

    // Bytes from pos up to (not including) the next NUL byte; the NUL must lie inside the range.
    std::string_view ansiString() {
        const auto end = m_data.find('\0', m_pos);
        if (end == std::string_view::npos)
            fail();
        const auto out = m_data.substr(m_pos, end - m_pos);
        m_pos = end + 1;
        return out;
    }
    // UTF-16LE code units from pos up to the next NUL unit; the NUL must lie inside the range.
    std::u16string unicodeString() {
        std::u16string out;
        for (;;) {
            const auto unit = u16();
            if (unit == 0)
                return out;
            out.push_back(static_cast<char16_t>(unit));
        }
    }
    // count UTF-16LE code units.
    std::u16string unicodeChars(std::size_t count) {
        if (count > remaining() / 2)
            fail();
        std::u16string out;
        out.reserve(count);
        for (std::size_t i = 0; i < count; ++i)
            out.push_back(static_cast<char16_t>(u16()));
        return out;
    }

    [[noreturn]] void fail() const { throw ShellError("часть «" + m_part + "» обрезана или повреждена"); }

private:
    std::uint64_t little(int count) {
        const auto raw = bytes(static_cast<std::size_t>(count));
        std::uint64_t value = 0;
        for (int i = count - 1; i >= 0; --i)
            value = (value << 8) | static_cast<std::uint8_t>(raw[static_cast<std::size_t>(i)]);
        return value;
    }

    std::string_view m_data;
    std::string m_part;
    std::size_t m_pos = 0;
};

} // namespace shell
