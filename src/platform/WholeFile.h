#pragma once
#include <cstddef>
#include <string>

namespace platform {

// Reading a small file of the program's own formats whole (shortcuts, settings, bar files, the
// Titles export). Only a regular file is read: a FIFO, a device or a directory under the name
// never makes the caller wait and never fills its memory, and no more than maxBytes are read,
// whatever the file's size claims.
struct WholeFile {
    enum class Status { read, missing, notRegular, tooLarge, failed };
    Status status = Status::failed;
    std::string bytes;  // the content when read
    std::string reason; // the system's message when failed
};
WholeFile readWholeFile(const std::string& path, std::size_t maxBytes);

} // namespace platform
