#pragma once
#include <cctype>
#include <string>

namespace registrytest {

// GoogleTest name of a table case: its "what" text with every other character than a letter or a
// digit turned into "_".
template <class ParamInfo> std::string caseName(const ParamInfo& param) {
    std::string name;
    for (const char c : std::string(param.param.what))
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

} // namespace registrytest
