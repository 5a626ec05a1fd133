#pragma once
#include <stdexcept>
#include <string>

namespace settings {

// A settings-file write that did not happen; the message names the file ("Unable to write to
// <full path>"), followed by the reason when the text itself was refused.
class IniWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace settings
