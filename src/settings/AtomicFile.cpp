#include "settings/AtomicFile.h"

#include <cerrno>
#include <random>
#include <string>

namespace settings {
namespace {

// Creates a new temporary file beside target, never reusing an existing name.
std::FILE* createTemporary(const std::filesystem::path& target, std::filesystem::path& tmp) {
    std::random_device seed;
    std::mt19937 rng(seed());
    for (int attempt = 0; attempt < 50; ++attempt) {
        tmp = target;
        tmp += ".tmp" + std::to_string(rng() % 1000000000u);
        errno = 0;
        if (std::FILE* f = std::fopen(tmp.string().c_str(), "wbx"))
            return f;
        if (errno != EEXIST)
            return nullptr;
    }
    return nullptr;
}

} // namespace

bool replaceFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path target = path;
    if (fs::is_symlink(path, ec)) {
        target = fs::canonical(path, ec);
        if (ec)
            return false;
    }
    const auto oldStatus = fs::status(target, ec);

    fs::path tmp;
    std::FILE* f = createTemporary(target, tmp);
    if (!f)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fflush(f) == 0 && ok;
    ok = ok && syncFileToDisk(f);
    ok = std::fclose(f) == 0 && ok;
    if (ok && fs::exists(oldStatus))
        fs::permissions(tmp, oldStatus.permissions(), ec); // best effort
    if (ok) {
        fs::rename(tmp, target, ec);
        ok = !ec;
    }
    if (!ok) {
        fs::remove(tmp, ec);
        return false;
    }
    syncDirectoryToDisk(target.has_parent_path() ? target.parent_path() : fs::path("."));
    return true;
}

} // namespace settings
