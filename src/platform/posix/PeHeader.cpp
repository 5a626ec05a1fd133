#include "platform/posix/PeHeader.h"

#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr std::uint32_t peOffsetField = 0x3C;
constexpr std::uint16_t machineI386 = 0x014C;
constexpr std::uint16_t machineAmd64 = 0x8664;

bool readAt(int fd, std::uint32_t offset, void* buffer, std::size_t size) {
    return ::pread(fd, buffer, size, offset) == static_cast<ssize_t>(size);
}

std::uint32_t littleEndian(const unsigned char* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return value;
}

} // namespace

PeKind peKindOf(const std::string& hostPath) {
    // O_NONBLOCK: a FIFO or device under the name must not stop the caller; it is refused below.
    const int fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return PeKind::unknown;
    PeKind kind = PeKind::unknown;
    struct stat st {};
    unsigned char mz[2], offset[4], signature[6];
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && readAt(fd, 0, mz, 2) && mz[0] == 'M' && mz[1] == 'Z' &&
        readAt(fd, peOffsetField, offset, 4)) {
        const std::uint32_t pe = littleEndian(offset, 4);
        if (static_cast<off_t>(pe) < st.st_size && readAt(fd, pe, signature, 6) && signature[0] == 'P' &&
            signature[1] == 'E' && signature[2] == 0 && signature[3] == 0) {
            const auto machine = static_cast<std::uint16_t>(littleEndian(signature + 4, 2));
            if (machine == machineAmd64)
                kind = PeKind::sixtyFourBit;
            else if (machine == machineI386)
                kind = PeKind::thirtyTwoBit;
        }
    }
    ::close(fd);
    return kind;
}

} // namespace platform
