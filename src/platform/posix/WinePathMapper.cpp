#include "platform/posix/WinePathMapper.h"

#include "engine/CodePage.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <optional>
#include <system_error>

namespace platform {

namespace fs = std::filesystem;

namespace {

std::vector<std::string> splitOn(const std::string& text, const std::string& separators) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t stop = std::min(text.find_first_of(separators, start), text.size());
        if (stop > start)
            parts.push_back(text.substr(start, stop - start));
        start = stop + 1;
    }
    return parts;
}

// The entry of dir whose name equals name without regard to case (an exact match first).
std::optional<std::string> matchEntry(const std::string& dir, const std::string& name) {
    std::error_code ec;
    if (fs::exists(fs::path(dir) / name, ec))
        return name;
    const auto upper = engine::upperUtf8(name);
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (engine::upperUtf8(entry) == upper)
            return entry;
    }
    return std::nullopt;
}

std::string joinUnix(const std::string& root, const std::vector<std::string>& parts) {
    std::string out = root;
    for (const auto& part : parts) {
        if (out.empty() || out.back() != '/')
            out += '/';
        out += part;
    }
    return out.empty() ? "/" : out;
}

bool hasPrefixPath(const std::string& path, const std::string& root) {
    if (root == "/")
        return !path.empty() && path.front() == '/';
    return path.compare(0, root.size(), root) == 0 && (path.size() == root.size() || path[root.size()] == '/');
}

} // namespace

WinePathMapper::WinePathMapper(std::string prefix) : m_prefix(std::move(prefix)) {}

std::vector<std::pair<char, std::string>> WinePathMapper::drives() const {
    std::vector<std::pair<char, std::string>> out;
    const fs::path devices = fs::path(m_prefix) / "dosdevices";
    std::error_code ec;
    if (m_prefix.empty() || !fs::is_directory(devices, ec))
        return {{'Z', "/"}};
    for (fs::directory_iterator it(devices, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() != 2 || name[1] != ':' || !std::isalpha(static_cast<unsigned char>(name[0])))
            continue;
        std::error_code linkError;
        fs::path target = fs::read_symlink(it->path(), linkError);
        if (linkError || target.empty())
            continue;
        if (target.is_relative())
            target = devices / target;
        std::string normal = target.lexically_normal().string();
        while (normal.size() > 1 && normal.back() == '/')
            normal.pop_back();
        out.emplace_back(static_cast<char>(std::toupper(static_cast<unsigned char>(name[0]))), normal);
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::string WinePathMapper::toHost(const std::string& windowsPath) const {
    if (!windowsPath.empty() && windowsPath.front() == '/')
        return windowsPath;
    if (windowsPath.size() < 2 || windowsPath[1] != ':' || !std::isalpha(static_cast<unsigned char>(windowsPath[0])))
        return {};
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(windowsPath[0])));
    const auto all = drives();
    const auto drive = std::find_if(all.begin(), all.end(), [&](const auto& d) { return d.first == letter; });
    if (drive == all.end())
        return {};
    const std::string rest = windowsPath.substr(2);
    const bool trailing = !rest.empty() && (rest.back() == '\\' || rest.back() == '/');

    std::vector<std::string> parts;
    for (auto& part : splitOn(rest, "\\/")) {
        if (part == ".")
            continue;
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    // Resolve names against the disk as long as they exist; keep the missing tail as given.
    bool onDisk = true;
    std::string current = drive->second;
    for (auto& part : parts) {
        if (onDisk) {
            if (const auto found = matchEntry(current, part))
                part = *found;
            else
                onDisk = false;
        }
        current = joinUnix(current, {part});
    }
    std::string host = joinUnix(drive->second, parts);
    if ((trailing || parts.empty()) && host.back() != '/')
        host += '/';
    return host;
}

std::string WinePathMapper::toWindows(const std::string& hostPath) const {
    if (hostPath.empty() || hostPath.front() != '/')
        return {};
    const bool trailing = hostPath.size() > 1 && hostPath.back() == '/';
    std::string normal = fs::path(hostPath).lexically_normal().string();
    while (normal.size() > 1 && normal.back() == '/')
        normal.pop_back();
    std::error_code ec;
    std::string resolved = fs::weakly_canonical(normal, ec).string();
    if (ec)
        resolved = normal;

    const std::pair<char, std::string>* best = nullptr;
    const std::string* bestPath = nullptr;
    const auto all = drives();
    std::vector<std::string> resolvedRoots;
    resolvedRoots.reserve(all.size());
    for (const auto& drive : all) {
        std::error_code rootError;
        const std::string root = fs::weakly_canonical(drive.second, rootError).string();
        resolvedRoots.push_back(rootError ? drive.second : root);
    }
    std::size_t bestLength = 0;
    // The longest drive root that holds the path, as given or with links resolved, wins.
    const std::array<const std::string*, 2> paths{&normal, &resolved};
    for (const std::string* path : paths) {
        for (std::size_t i = 0; i < all.size(); ++i) {
            const std::array<const std::string*, 2> roots{&all[i].second, &resolvedRoots[i]};
            for (const std::string* root : roots) {
                if (hasPrefixPath(*path, *root) && (!best || root->size() > bestLength)) {
                    best = &all[i];
                    bestPath = path;
                    bestLength = root->size();
                }
            }
        }
    }
    if (!best)
        return {};
    const std::string tail =
        bestLength == 1 ? bestPath->substr(1) : bestPath->substr(std::min(bestLength + 1, bestPath->size()));
    // A Unix name holding "\\" has no Windows form: there it would part the name in two and lead
    // to another folder.
    if (tail.find('\\') != std::string::npos)
        return {};
    std::string windows = std::string(1, best->first) + ":\\";
    for (const auto& part : splitOn(tail, "/")) {
        if (windows.back() != '\\')
            windows += '\\';
        windows += part;
    }
    if (trailing && windows.back() != '\\')
        windows += '\\';
    return windows;
}

} // namespace platform
