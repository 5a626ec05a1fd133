#pragma once
#include <stdexcept>
#include <string>

namespace engine {

// Every failure of the table engine reaches the caller as this error; its message is the text
// the user may see. The engine itself never shows anything.
class EngineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace engine
