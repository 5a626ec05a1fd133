#pragma once
#include "engine/CodePage.h"

// UTF-8 <-> UTF-16 for the Unicode parts of shortcut files: the engine's conversions, which turn
// malformed UTF-8 and unpaired surrogates into U+FFFD, so both results are always well-formed.
namespace shell {

using engine::utf16FromUtf8;
using engine::utf8FromUtf16;

} // namespace shell
