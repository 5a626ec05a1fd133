#pragma once
#include <string>
#include <string_view>

#include "shell/ShellLinkInfo.h"

namespace shell {

// The Windows shortcut (.lnk) binary format: bytes to fields and back, no file-system access.
class ShellLinkFile {
public:
    // A complete shortcut file for the fields: header (times 0), LinkInfo for a target with a drive
    // letter (VolumeID, LocalBasePath in Windows-1251 with '?' for what it cannot hold, and
    // LocalBasePathUnicode) or a UNC target (network share and suffix, also in both forms); a
    // target without either is stored as the relative path. Then the non-empty strings in UTF-16
    // and the terminal block. No item ID list is written. Raises ShellError when a string is too
    // long for the format (65535 UTF-16 units).
    static std::string encode(const TShellLinkInfo& info);

    // The fields of a shortcut file (see ShellLinkRecord::targetPath for the target). Strings are
    // read whole, whatever their length. Raises ShellError "Файл <fileName> не является ярлыком
    // Windows: <what is wrong>" for anything that is not a well-formed shortcut.
    static TShellLinkInfo decode(std::string_view bytes, std::string_view fileName = {});

    // A readable listing of the parts of a shortcut file, one "name: value" per line; for a
    // broken file a single "error: " line with the reason.
    static std::string dump(std::string_view bytes);
};

} // namespace shell
