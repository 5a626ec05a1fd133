#pragma once
#include "platform/PathMapper.h"

#include <map>
#include <string>

namespace platform {

// Path mapping by a table of drive roots, without looking at the disk: "C:\a\b" becomes
// "<root of C>/a/b". With no drive added, Z: stands for "/".
class FakePathMapper : public PathMapper {
public:
    // root: an absolute Unix directory, without a trailing "/" (except "/" itself).
    void addDrive(char letter, const std::string& root);

    std::string toHost(const std::string& windowsPath) const override;
    std::string toWindows(const std::string& hostPath) const override;
    std::vector<std::pair<char, std::string>> drives() const override;

private:
    std::map<char, std::string> m_drives;
};

} // namespace platform
