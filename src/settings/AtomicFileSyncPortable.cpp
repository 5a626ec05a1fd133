// Disk synchronisation of AtomicFile where the system has no POSIX calls (chosen by CMake): the
// standard library can only flush, which AtomicFile has done already.
#include "settings/AtomicFile.h"

namespace settings {

bool syncFileToDisk(std::FILE*) {
    return true;
}

void syncDirectoryToDisk(const std::filesystem::path&) {}

} // namespace settings
