#pragma once
#include <string>

namespace platform {

// Word size of a Windows executable from its PE header: the "MZ" header points (offset 0x3C) to
// "PE\0\0", followed by the machine field (0x8664 for x86-64). Only a regular file is read, and
// only its first bytes.
enum class PeKind { unknown, thirtyTwoBit, sixtyFourBit };
PeKind peKindOf(const std::string& hostPath);

} // namespace platform
