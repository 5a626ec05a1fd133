// Disk synchronisation of AtomicFile on POSIX systems (chosen by CMake).
#include "settings/AtomicFile.h"

#include <fcntl.h>
#include <unistd.h>

namespace settings {

bool syncFileToDisk(std::FILE* file) {
    return ::fsync(::fileno(file)) == 0;
}

void syncDirectoryToDisk(const std::filesystem::path& directory) {
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace settings
