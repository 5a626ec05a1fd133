#pragma once
#include <stdexcept>
#include <string>

namespace shell {

// Every failure of the shell layer (a file that is not a shortcut, a shortcut that cannot be read
// or written, a folder the platform cannot give) reaches the caller as this error; its message is
// the text the user sees.
class ShellError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace shell
