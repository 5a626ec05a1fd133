#include "main/BarFile.h"

#include "engine/CodePage.h"
#include "platform/WholeFile.h"

#include <charconv>
#include <optional>
#include <system_error>

namespace mainwin {
namespace {

constexpr std::string_view kMagic = "TARVESK-BAR";

std::string escapeCaption(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// Undoes escapeCaption on Windows-1251 bytes and converts them to UTF-8; nullopt for a stray
// backslash.
std::optional<std::string> unescapeCaption(std::string_view bytes) {
    std::string raw;
    raw.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\\') {
            raw += bytes[i];
            continue;
        }
        if (++i == bytes.size())
            return std::nullopt;
        switch (bytes[i]) {
        case '\\':
            raw += '\\';
            break;
        case 'r':
            raw += '\r';
            break;
        case 'n':
            raw += '\n';
            break;
        default:
            return std::nullopt;
        }
    }
    return engine::utf8FromCp1251(raw);
}

template <typename Int> std::optional<Int> parseInt(std::string_view text) {
    Int value{};
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

// Splits off the field before the first blank; the rest (after the blank) stays in text.
std::string_view takeField(std::string_view& text) {
    std::size_t blank = text.find(' ');
    std::string_view field = text.substr(0, blank);
    text = blank == std::string_view::npos ? std::string_view{} : text.substr(blank + 1);
    return field;
}

// Reads the records of a bar file line by line; stops at the first fault.
class Parser {
public:
    explicit Parser(std::string_view bytes) : m_rest(bytes) {}

    BarFileReadResult run() {
        std::string_view line;
        if (!nextLine(line)) {
            fail("the file is empty or has no complete first line");
            return std::move(m_result);
        }
        if (!readHeader(line))
            return std::move(m_result);
        while (!m_ended) {
            if (!nextLine(line)) {
                if (m_result.problem.empty())
                    fail("the end record is missing");
                return std::move(m_result);
            }
            if (!readRecord(line))
                return std::move(m_result);
        }
        if (!m_newer && m_rest.find_first_not_of("\r\n") != std::string_view::npos)
            fail("data after the end record");
        return std::move(m_result);
    }

private:
    void fail(std::string problem) {
        m_result.damaged = true;
        if (m_result.problem.empty())
            m_result.problem = std::move(problem) + " (line " + std::to_string(m_lineNumber) + ")";
    }

    // Next complete line without its terminator; false at the end or for a line cut short.
    bool nextLine(std::string_view& line) {
        if (m_rest.empty())
            return false;
        ++m_lineNumber;
        std::size_t lf = m_rest.find('\n');
        if (lf == std::string_view::npos) {
            fail("the last line is cut short");
            return false;
        }
        line = m_rest.substr(0, lf);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        m_rest.remove_prefix(lf + 1);
        return true;
    }

    bool readHeader(std::string_view line) {
        if (takeField(line) != kMagic) {
            fail("not a bar file");
            return false;
        }
        auto version = parseInt<int>(line);
        if (!version || *version < 1) {
            fail("bad format version");
            return false;
        }
        if (*version > BarFile::kVersion) {
            m_newer = true;
            m_result.newerVersion = true;
            m_result.damaged = true;
            m_result.problem = "written by format version " + std::to_string(*version);
        }
        return true;
    }

    bool readRecord(std::string_view line) {
        std::string_view tag = takeField(line);
        if (tag == "S")
            return readSection(line);
        if (tag == "I")
            return readItem(line);
        if (tag == "E")
            return readEnd(line);
        if (m_newer)
            return true; // a record of a later version
        fail("unknown record");
        return false;
    }

    bool readSection(std::string_view rest) {
        auto caption = unescapeCaption(rest);
        if (!caption) {
            fail("bad section caption");
            return false;
        }
        m_result.bar.sections.push_back({std::move(*caption), {}});
        return true;
    }

    bool readItem(std::string_view rest) {
        auto id = parseInt<std::int32_t>(takeField(rest));
        auto caption = unescapeCaption(rest);
        if (m_result.bar.sections.empty() || !id || !caption) {
            fail(m_result.bar.sections.empty() ? "an item before the first section" : "bad item record");
            return false;
        }
        m_result.bar.sections.back().items.push_back({std::move(*caption), *id});
        ++m_items;
        return true;
    }

    bool readEnd(std::string_view rest) {
        auto sections = parseInt<std::size_t>(takeField(rest));
        auto items = parseInt<std::size_t>(rest);
        m_ended = true;
        if (!sections || !items || *sections != m_result.bar.sections.size() || *items != m_items) {
            fail("the end record does not match the records read");
            return false;
        }
        return true;
    }

    std::string_view m_rest;
    BarFileReadResult m_result;
    std::size_t m_lineNumber = 0;
    std::size_t m_items = 0;
    bool m_newer = false;
    bool m_ended = false;
};

// Appends "<tag><fields><caption>\r\n" with the caption in Windows-1251; false when it cannot be.
bool appendRecord(std::string& out, std::string_view head, const std::string& caption) {
    auto bytes = engine::cp1251FromUtf8(caption);
    if (!bytes)
        return false;
    out += head;
    out += escapeCaption(*bytes);
    out += "\r\n";
    return true;
}

std::string badCaptionError(const std::string& caption) {
    std::string bad = engine::firstNonCp1251Char(caption);
    return "the caption \"" + caption + "\" holds " + (bad.empty() ? "invalid text" : "\"" + bad + "\"") +
           ", which Windows-1251 cannot store";
}

} // namespace

BarFileReadResult BarFile::parse(std::string_view bytes) {
    return Parser(bytes).run();
}

BarFileStatus BarFile::serialize(const widgets::SectionBarData& bar, std::string& bytes) {
    std::string out = std::string(kMagic) + " " + std::to_string(kVersion) + "\r\n";
    for (const auto& section : bar.sections) {
        if (!appendRecord(out, "S ", section.caption))
            return {false, badCaptionError(section.caption)};
        for (const auto& item : section.items)
            if (!appendRecord(out, "I " + std::to_string(item.id) + " ", item.caption))
                return {false, badCaptionError(item.caption)};
    }
    out += "E " + std::to_string(bar.sections.size()) + " " + std::to_string(bar.itemCount()) + "\r\n";
    bytes = std::move(out);
    return {};
}

BarFileReadResult BarFile::read(const std::filesystem::path& path) {
    // A bar of thousands of items is a few hundred kilobytes.
    constexpr std::size_t maxFileSize = 16u << 20;
    auto file = platform::readWholeFile(path.string(), maxFileSize);
    if (file.status == platform::WholeFile::Status::missing)
        return {};
    if (file.status != platform::WholeFile::Status::read) {
        BarFileReadResult result;
        result.damaged = true;
        result.problem = "cannot read " + path.string();
        return result;
    }
    return parse(file.bytes);
}

BarFileStatus BarFile::write(const std::filesystem::path& path, const widgets::SectionBarData& bar) {
    std::string bytes;
    if (BarFileStatus status = serialize(bar, bytes); !status.ok)
        return status;
    return writeBytes(path, bytes);
}

BarFileStatus BarFile::writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    if (const auto replaced = platform::replaceWholeFile(path.string(), bytes); !replaced)
        return {false, "Не удалось записать файл " + path.filename().string() + ": " + replaced.explanation()};
    return {};
}

BarFileStatus BarFile::keepAsBad(const std::filesystem::path& path) {
    std::filesystem::path bad = path;
    bad += ".bad";
    std::error_code ec;
    std::filesystem::rename(path, bad, ec);
    if (ec)
        return {false, "Не удалось сохранить повреждённый файл " + path.filename().string() + " как " +
                           bad.filename().string() + ": " + ec.message()};
    return {};
}

} // namespace mainwin
