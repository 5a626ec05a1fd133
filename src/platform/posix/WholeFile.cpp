#include "platform/WholeFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

WholeFile readWholeFile(const std::string& path, std::size_t maxBytes) {
    WholeFile file;
    // O_NONBLOCK: opening a FIFO without a writer would otherwise wait for one.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        file.status = errno == ENOENT || errno == ENOTDIR ? WholeFile::Status::missing : WholeFile::Status::failed;
        file.reason = std::strerror(errno);
        return file;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        file.status = WholeFile::Status::notRegular;
        return file;
    }
    if (static_cast<std::size_t>(st.st_size) > maxBytes) {
        ::close(fd);
        file.status = WholeFile::Status::tooLarge;
        return file;
    }
    file.bytes.resize(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t done = 0;
    for (;;) {
        if (done == file.bytes.size()) {
            if (done > maxBytes)
                break;
            file.bytes.resize(std::min(done * 2 + 4096, maxBytes + 1));
        }
        const ssize_t n = ::read(fd, file.bytes.data() + done, file.bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            file.reason = std::strerror(errno);
            ::close(fd);
            file.bytes.clear();
            return file;
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (done > maxBytes) {
        file.bytes.clear();
        file.status = WholeFile::Status::tooLarge;
        return file;
    }
    file.bytes.resize(done);
    file.status = WholeFile::Status::read;
    return file;
}

} // namespace platform
