#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace shell {

// LinkFlags bits of the shortcut header that this program reads or writes.
namespace linkflags {
constexpr std::uint32_t HasLinkTargetIDList = 0x1;
constexpr std::uint32_t HasLinkInfo = 0x2;
constexpr std::uint32_t HasName = 0x4;
constexpr std::uint32_t HasRelativePath = 0x8;
constexpr std::uint32_t HasWorkingDir = 0x10;
constexpr std::uint32_t HasArguments = 0x20;
constexpr std::uint32_t HasIconLocation = 0x40;
constexpr std::uint32_t IsUnicode = 0x80;
constexpr std::uint32_t ForceNoLinkInfo = 0x100;
} // namespace linkflags

// Everything a shortcut file holds, as parsed, before it is reduced to the program's fields.
// Strings are UTF-8: ANSI parts decoded as Windows-1251, Unicode parts from UTF-16.
struct ShellLinkRecord {
    // Header.
    std::uint32_t flags = 0;
    std::uint32_t fileAttributes = 0;
    std::uint64_t creationTime = 0;
    std::uint64_t accessTime = 0;
    std::uint64_t writeTime = 0;
    std::uint32_t fileSize = 0;
    std::int32_t iconIndex = 0;
    std::int32_t showCommand = 0;
    std::uint16_t hotKey = 0;

    // Item ID list: only its size and number of items are kept.
    std::size_t idListSize = 0;
    std::size_t idListItems = 0;

    // LinkInfo.
    bool hasLinkInfo = false;
    std::uint32_t linkInfoHeaderSize = 0;
    std::uint32_t linkInfoFlags = 0;
    std::uint32_t driveType = 0;
    std::uint32_t driveSerial = 0;
    std::string volumeLabel;
    std::optional<std::string> localBasePath;        // ANSI
    std::optional<std::string> localBasePathUnicode; // from LocalBasePathUnicode
    std::optional<std::string> netName;              // CommonNetworkRelativeLink, Unicode where present
    std::optional<std::string> commonPathSuffix;
    std::optional<std::string> commonPathSuffixUnicode;

    // String data, each present when its flag is set.
    std::string name;
    std::string relativePath;
    std::string workingDir;
    std::string arguments;
    std::string iconLocation;

    // ExtraData blocks up to the terminal block: size and signature of each.
    struct ExtraBlock {
        std::uint32_t size = 0;
        std::uint32_t signature = 0;
    };
    std::vector<ExtraBlock> extraBlocks;

    // The target path: the Unicode local path where present, else the ANSI local path, else the
    // network share path, each followed by its suffix; else the relative path. LinkInfo is
    // ignored when ForceNoLinkInfo is set.
    std::string targetPath() const;
};

} // namespace shell
