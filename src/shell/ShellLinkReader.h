#pragma once
#include <string_view>

#include "shell/ShellLinkRecord.h"

namespace shell {

// Parses the bytes of a shortcut file. Every size, offset and count is checked against the data
// it points into; anything that does not fit raises ShellError with a short description of the
// broken part (the caller adds the file name).
class ShellLinkReader {
public:
    static ShellLinkRecord parse(std::string_view bytes);
};

} // namespace shell
