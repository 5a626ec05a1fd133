#pragma once
#include <cstdio>
#include <filesystem>
#include <string_view>

namespace settings {

// Replaces the file's content with bytes so that it is never seen half-written: the bytes go to
// a new temporary file in the same directory, which is flushed to disk and renamed over the
// file. A symbolic link is followed (its target is replaced); an existing file's permissions are
// kept. False when anything failed; the old file is then unchanged and no temporary is left.
bool replaceFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Forces a written, flushed file to the disk (no-op where the system offers no way).
bool syncFileToDisk(std::FILE* file);
// Makes a rename inside the directory durable (no-op where the system offers no way).
void syncDirectoryToDisk(const std::filesystem::path& directory);

} // namespace settings
