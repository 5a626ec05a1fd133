#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Reading and replacing a small file of the program's own formats whole (settings, bar files,
// shortcuts, the Titles export, registry hives, autostart entries).

// Reads a whole file. Only a regular file is read: a FIFO, a device or a directory under the name
// never makes the caller wait and never fills its memory, and no more than maxBytes are read,
// whatever the file's size claims.
struct WholeFile {
    enum class Status { read, missing, notRegular, tooLarge, failed };
    Status status = Status::failed;
    std::string bytes;  // the content when read
    std::string reason; // the system's message when failed
};
WholeFile readWholeFile(const std::string& path, std::size_t maxBytes);

// Replaces a file's whole content so that it is never seen half-written or lost. A file the user
// may not write is refused as Windows refuses a read-only file, also to an administrator: one
// without any write permission, or one this user lacks the permission for. Otherwise the bytes go
// to a uniquely named temporary file beside it, are synced to disk and take the old file's
// permissions (and owner, where allowed; a new file gets the usual permissions), the temporary is
// renamed over the file and the directory is synced. A symbolic link is followed: its target is
// replaced and the link stays. On any failure the old file is as it was and no temporary is left.
struct FileReplacement {
    enum class Status { replaced, readOnly, failed };
    Status status = Status::failed;
    std::string reason; // the system's message when failed
    explicit operator bool() const { return status == Status::replaced; }
    // Why the file was not replaced, for the user: "файл только для чтения" or the system's message.
    std::string explanation() const { return status == Status::readOnly ? "файл только для чтения" : reason; }
};
FileReplacement replaceWholeFile(const std::string& path, std::string_view bytes);

// For tests: from now on the nth system call of replaceWholeFile that can fail does fail (with
// EIO); 0 lets every call succeed. wholeFileCalls counts the calls made since.
void failWholeFileCall(int nth);
int wholeFileCalls();

} // namespace platform
