#pragma once
#include <string>

namespace platform {

// Replaces a file's content at once: the bytes go to a temporary file in the same directory, are
// synced to disk and renamed over the file, so readers see the old or the new content, never a
// mix. A symbolic link is followed (its target is replaced, the link stays). The file keeps its
// permissions and, where allowed, its owner. False on failure; the old content is then untouched.
bool replaceFileAtomically(const std::string& path, const std::string& bytes);

} // namespace platform
