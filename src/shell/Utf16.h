#pragma once
#include <string>
#include <string_view>

// UTF-8 <-> UTF-16 for the Unicode parts of shortcut files.
namespace shell {

// A malformed UTF-8 sequence becomes U+FFFD, so the result is always well-formed UTF-16.
std::u16string utf16FromUtf8(std::string_view utf8);
// An unpaired surrogate becomes U+FFFD, so the result is always valid UTF-8.
std::string utf8FromUtf16(std::u16string_view utf16);

} // namespace shell
