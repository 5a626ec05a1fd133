#pragma once
#include "platform/PathMapper.h"

#include <string>
#include <utility>
#include <vector>

namespace platform {

// Windows paths of a Wine prefix against Unix paths, through the drive links in the prefix's
// dosdevices/ ("c:" -> "../drive_c", "z:" -> "/"). Without a dosdevices/ directory, Z: stands
// for "/". The links are read on every call, so a drive added later is seen.
class WinePathMapper : public PathMapper {
public:
    explicit WinePathMapper(std::string prefix);

    // Each name after the drive is matched without regard to case against what exists on disk;
    // from the first name that does not exist on, the rest is kept as given.
    std::string toHost(const std::string& windowsPath) const override;
    std::string toWindows(const std::string& hostPath) const override;

    // Drive letters (upper case) with the absolute, lexically normal Unix paths they stand for.
    std::vector<std::pair<char, std::string>> drives() const override;

private:
    std::string m_prefix;
};

} // namespace platform
