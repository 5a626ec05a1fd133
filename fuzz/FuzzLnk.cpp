// Shortcut file reader under arbitrary input: it must either decode or raise ShellError. What it
// decodes must encode again, and the encoded file must decode to a fixed point.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "shell/ShellError.h"
#include "shell/ShellLinkFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)shell::ShellLinkFile::dump(bytes);
    shell::TShellLinkInfo info;
    try {
        info = shell::ShellLinkFile::decode(bytes, "fuzz.lnk");
    } catch (const shell::ShellError&) {
        return 0;
    }
    try {
        const auto once = shell::ShellLinkFile::decode(shell::ShellLinkFile::encode(info));
        const auto twice = shell::ShellLinkFile::decode(shell::ShellLinkFile::encode(once));
        if (!(once == twice))
            std::abort();
        auto expected = info;
        expected.TargetPath = once.TargetPath; // a UNC target may lose a trailing "\"
        if (!(once == expected))
            std::abort();
    } catch (const shell::ShellError&) {
        // a string too long for the format; the writer refuses it
    }
    return 0;
}
