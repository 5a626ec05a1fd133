#include "shell/ShellLinkRecord.h"

namespace shell {

namespace {

// LocalBasePath + CommonPathSuffix, with one "\" between them when neither side has it.
std::string joinPath(const std::string& base, const std::string& suffix) {
    if (suffix.empty())
        return base;
    if (base.empty() || base.back() == '\\' || suffix.front() == '\\')
        return base + suffix;
    return base + '\\' + suffix;
}

// Share + "\" + suffix: the suffix is everything behind the share's separator, taken as it is.
std::string joinNetworkPath(const std::string& share, const std::string& suffix) {
    return suffix.empty() ? share : share + '\\' + suffix;
}

} // namespace

std::string ShellLinkRecord::targetPath() const {
    if (hasLinkInfo && !(flags & linkflags::ForceNoLinkInfo)) {
        if (localBasePathUnicode)
            return joinPath(*localBasePathUnicode, commonPathSuffixUnicode.value_or(commonPathSuffix.value_or("")));
        if (localBasePath)
            return joinPath(*localBasePath, commonPathSuffix.value_or(""));
        if (netName)
            return joinNetworkPath(*netName, commonPathSuffixUnicode.value_or(commonPathSuffix.value_or("")));
    }
    return relativePath;
}

} // namespace shell
