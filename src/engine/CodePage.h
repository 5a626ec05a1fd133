#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Code pages of the program's files. Inside the program text is UTF-8; Windows-1251 ("ANSI") is
// the code page of the settings file, the registry strings and the export file; 866 ("OEM") is
// the code page of the tables.
namespace engine {

// Unicode code point of a Windows-1251 byte. The undefined byte 0x98 gives U+0098, so every byte
// round-trips.
char32_t cp1251ToUnicode(std::uint8_t byte);
// Windows-1251 byte of a code point, or std::nullopt when the code page cannot hold it.
std::optional<std::uint8_t> unicodeToCp1251(char32_t cp);

char32_t cp866ToUnicode(std::uint8_t byte);
std::optional<std::uint8_t> unicodeToCp866(char32_t cp);

// Byte maps between the two code pages: letters and signs present in both map to each other,
// the 51 bytes of each page that have no counterpart are paired in ascending order, so the maps
// are mutual inverses over all 256 byte values.
std::uint8_t ansiToOem(std::uint8_t byte);
std::uint8_t oemToAnsi(std::uint8_t byte);
std::string ansiToOem(std::string_view bytes);
std::string oemToAnsi(std::string_view bytes);

// Upper-casing used for index keys and case-insensitive comparisons: a-z and the Cyrillic letters
// present in both code pages (А-Я/а-я, Ё/ё, Є/є, Ї/ї, Ў/ў). Every other byte is unchanged, so
// upper-casing before or after ansiToOem gives the same bytes.
std::uint8_t upperAnsi(std::uint8_t byte);
std::uint8_t upperOem(std::uint8_t byte);
std::string upperAnsi(std::string_view bytes);
std::string upperOem(std::string_view bytes);
// Upper-cases n bytes where they stand, as upperAnsi (ansi) or upperOem does.
void upperInPlace(char* bytes, std::size_t n, bool ansi);
// The same upper-casing on UTF-8 text (the code points of the letters above).
std::string upperUtf8(std::string_view utf8);

// UTF-8 <-> Windows-1251 / 866. The strict conversions from UTF-8 give std::nullopt when the text
// is not valid UTF-8 or holds a character the code page cannot represent.
std::string utf8FromCp1251(std::string_view bytes);
std::optional<std::string> cp1251FromUtf8(std::string_view utf8);
// As the ANSI Windows calls do it: every character Windows-1251 cannot hold becomes '?'.
std::string cp1251FromUtf8Lossy(std::string_view utf8);
std::string utf8FromCp866(std::string_view bytes);
std::optional<std::string> cp866FromUtf8(std::string_view utf8);

// True when every character of the UTF-8 text exists in Windows-1251 (and the text is valid UTF-8).
bool isCp1251Text(std::string_view utf8);
// The first character of the text that Windows-1251 cannot hold, as UTF-8; empty when there is none.
std::string firstNonCp1251Char(std::string_view utf8);

// UTF-8 decoding helpers shared by the converters.
// Decodes one code point at pos and advances pos; std::nullopt on a malformed sequence.
std::optional<char32_t> decodeUtf8(std::string_view utf8, std::size_t& pos);
void appendUtf8(std::string& out, char32_t cp);

// Value of an ASCII hexadecimal digit (0-9, a-f, A-F); -1 for any other character.
int hexDigitValue(char c);

// U+FFFD, what the conversions below put for text they cannot decode.
inline constexpr char32_t kReplacementChar = 0xFFFD;

// UTF-8 <-> UTF-16, for the formats that store UTF-16 code units. A malformed UTF-8 sequence and
// an unpaired surrogate become U+FFFD, so each result is always well-formed.
std::u16string utf16FromUtf8(std::string_view utf8);
std::string utf8FromUtf16(std::u16string_view utf16);
// Appends a code point (at most U+10FFFF, not a surrogate) as one unit or a surrogate pair.
void appendUtf16(std::u16string& out, char32_t cp);

} // namespace engine
