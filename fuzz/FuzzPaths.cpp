// Windows paths against the host's through a Wine prefix's drives, under arbitrary input: a path
// either maps or does not, and a host path given a Windows name comes back to the same place
// through it (names without regard to case, as Wine finds them).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <unistd.h>

#include "engine/CodePage.h"
#include "platform/posix/WinePathMapper.h"

namespace {

namespace fs = std::filesystem;

// A prefix of its own with C: on drive_c, D: on a folder of Cyrillic name and Z: on "/".
const std::string& prefix() {
    static const std::string path = [] {
        const fs::path root = fs::temp_directory_path() / ("fuzz-paths-" + std::to_string(::getpid()));
        fs::create_directories(root / "prefix" / "dosdevices");
        fs::create_directories(root / "prefix" / "drive_c" / "Bases" / "Торговля");
        fs::create_directories(root / "Диск D");
        std::error_code ec;
        fs::create_directory_symlink("../drive_c", root / "prefix" / "dosdevices" / "c:", ec);
        fs::create_directory_symlink(root / "Диск D", root / "prefix" / "dosdevices" / "d:", ec);
        fs::create_directory_symlink("/", root / "prefix" / "dosdevices" / "z:", ec);
        return (root / "prefix").string();
    }();
    return path;
}

bool validUtf8(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size())
        if (!engine::decodeUtf8(text, pos))
            return false;
    return text.find('\0') == std::string_view::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (!validUtf8(text))
        return 0;
    const platform::WinePathMapper paths(prefix());
    const std::string host = paths.toHost(text);
    if (!host.empty() && host.front() != '/')
        std::abort();
    const std::string windows = paths.toWindows(text);
    if (!windows.empty() && (windows.size() < 2 || windows[1] != ':'))
        std::abort();
    // A host path given a Windows name comes back to the same place through that name: the same
    // path, names compared without regard to case as Wine finds them, or the same file through
    // the links of the drives.
    const auto lexical = [](const std::string& path) {
        std::string normal = fs::path(path).lexically_normal().string();
        while (normal.size() > 1 && normal.back() == '/')
            normal.pop_back();
        return engine::upperUtf8(normal);
    };
    const auto resolved = [](const std::string& path) {
        std::error_code ec;
        const auto canonical = fs::weakly_canonical(fs::path(path), ec);
        return ec ? std::string() : canonical.lexically_normal().string();
    };
    if (!windows.empty()) {
        const std::string back = paths.toHost(windows);
        if (lexical(back) != lexical(text) && resolved(back) != resolved(text))
            std::abort();
    }
    return 0;
}
