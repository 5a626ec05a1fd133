#pragma once
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// The Titles export file: plain Windows-1251 text without a byte-order mark, one line
// directory "=" title per Titles entry, every line ended by CR LF. Inside the program the text is
// UTF-8; the conversion happens here.
namespace registry {

// A file that cannot be read or written; the message is the user's text.
class TitlesFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One entry read from the file: the registry value name and the data to write under it.
struct TitlesFileEntry {
    std::string key;
    std::string value;
    bool operator==(const TitlesFileEntry&) const = default;
};

// Longest key or value taken from a file, in characters (bytes of Windows-1251).
inline constexpr std::size_t TitlesFileFieldLimit = 255;

// The bytes of a file holding these lines in this order. A character Windows-1251 cannot hold
// becomes "?" (as the registry hands such characters out anyway).
std::string encodeTitlesFile(const std::vector<std::string>& lines);

// The entries of a file, one per line that has a non-empty key, in file order. Line breaks are
// CR LF, CR or LF; a last line without a break counts; everything from the first NUL on is
// ignored. The key is the text before the line's first "="; the value is the text after the first
// "=" of the first line with the same key (keys compared without regard to case), so a repeated
// key carries its first value every time. Key and value are cut to TitlesFileFieldLimit
// characters. A line without "=" has an empty key and, like "=title", is skipped: an empty name
// would address the Titles key's unnamed default value.
std::vector<TitlesFileEntry> decodeTitlesFile(std::string_view bytes);

// Writes the lines to the file, replacing its content; the old content stays when the write
// fails. TitlesFileError on failure.
void saveTitlesFile(const std::string& path, const std::vector<std::string>& lines);

// Reads the whole file and decodes it; TitlesFileError when it cannot be read.
std::vector<TitlesFileEntry> loadTitlesFile(const std::string& path);

} // namespace registry
