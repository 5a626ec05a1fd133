#pragma once
#include "engine/CdxIndex.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace enginetest {

// Every entry of a tag, walked with first/next.
inline std::vector<engine::CdxEntry> walkForward(engine::CdxIndex& index, int tag) {
    std::vector<engine::CdxEntry> out;
    for (auto e = index.first(tag); e; e = index.next(tag, *e))
        out.push_back(*e);
    return out;
}

// Every entry of a tag, walked with last/prior, returned in key order.
inline std::vector<engine::CdxEntry> walkBackward(engine::CdxIndex& index, int tag) {
    std::vector<engine::CdxEntry> out;
    for (auto e = index.last(tag); e; e = index.prior(tag, *e))
        out.insert(out.begin(), *e);
    return out;
}

inline std::string padded(std::string key, std::size_t length, char pad = ' ') {
    key.resize(length, pad);
    return key;
}

// Bytes given as hex text with blanks ("03 00 40").
inline std::string hexBytes(const std::string& hex) {
    std::string out;
    std::string digits;
    for (char c : hex)
        if (c != ' ' && c != '\n')
            digits += c;
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
        out += static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16));
    return out;
}

} // namespace enginetest
