#include "engine/PosixFile.h"

#include "engine/EngineError.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace engine {

namespace {

// Open-file-description locks when the system offers them, classic record locks otherwise.
#ifdef F_OFD_SETLK
constexpr int kSetLock = F_OFD_SETLK;
#else
constexpr int kSetLock = F_SETLK;
#endif

struct flock lockRange(short type, std::uint64_t offset, std::uint64_t length) {
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = static_cast<off_t>(offset);
    fl.l_len = static_cast<off_t>(length);
    fl.l_pid = 0; // must be 0 for open-file-description locks
    return fl;
}

} // namespace

PosixFile::PosixFile(std::string path, bool create) : m_path(std::move(path)) {
    int flags = O_RDWR | O_CLOEXEC | (create ? O_CREAT | O_EXCL : 0);
    do {
        m_fd = ::open(m_path.c_str(), flags, 0666);
    } while (m_fd < 0 && errno == EINTR);
    if (m_fd < 0)
        fail(create ? "cannot be created" : "cannot be opened");
}

PosixFile::~PosixFile() {
    if (m_fd >= 0)
        ::close(m_fd);
}

std::unique_ptr<File> PosixFile::open(const std::string& path, bool create) {
    return std::make_unique<PosixFile>(path, create);
}

void PosixFile::fail(const std::string& what) const {
    throw EngineError("File " + m_path + " " + what + ": " + std::strerror(errno));
}

std::size_t PosixFile::read(std::uint64_t offset, void* buffer, std::size_t n) {
    std::size_t done = 0;
    auto* out = static_cast<char*>(buffer);
    while (done < n) {
        ssize_t got = ::pread(m_fd, out + done, n - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            fail("cannot be read");
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

void PosixFile::write(std::uint64_t offset, const void* buffer, std::size_t n) {
    std::size_t done = 0;
    const auto* in = static_cast<const char*>(buffer);
    while (done < n) {
        ssize_t put = ::pwrite(m_fd, in + done, n - done, static_cast<off_t>(offset + done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            fail("cannot be written");
        done += static_cast<std::size_t>(put);
    }
}

std::uint64_t PosixFile::size() {
    struct stat st {};
    if (::fstat(m_fd, &st) != 0)
        fail("cannot be examined");
    return static_cast<std::uint64_t>(st.st_size);
}

void PosixFile::truncate(std::uint64_t size) {
    if (::ftruncate(m_fd, static_cast<off_t>(size)) != 0)
        fail("cannot be truncated");
}

void PosixFile::flush() {
    if (::fsync(m_fd) != 0)
        fail("cannot be flushed");
}

bool PosixFile::tryLock(std::uint64_t offset, std::uint64_t length, bool exclusive) {
    struct flock fl = lockRange(exclusive ? F_WRLCK : F_RDLCK, offset, length);
    while (::fcntl(m_fd, kSetLock, &fl) != 0) {
        if (errno == EINTR)
            continue;
        if (errno == EACCES || errno == EAGAIN)
            return false;
        fail("cannot be locked");
    }
    return true;
}

void PosixFile::unlock(std::uint64_t offset, std::uint64_t length) {
    struct flock fl = lockRange(F_UNLCK, offset, length);
    while (::fcntl(m_fd, kSetLock, &fl) != 0) {
        if (errno != EINTR)
            fail("cannot be unlocked");
    }
}

void PosixFile::rename(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0)
        throw EngineError("File " + from + " cannot be renamed to " + to + ": " + std::strerror(errno));
    // The rename is durable once the directory is.
    const auto slash = to.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : to.substr(0, slash));
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void PosixFile::remove(const std::string& path) {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT)
        throw EngineError("File " + path + " cannot be removed: " + std::strerror(errno));
}

} // namespace engine
