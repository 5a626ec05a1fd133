// The Titles export file under arbitrary input: the reader never crashes, and the entries it read,
// written again, read back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "registry/TitlesFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto entries = registry::decodeTitlesFile(bytes);
    std::vector<std::string> lines;
    for (const auto& entry : entries) {
        if (entry.key.empty() || entry.key.find('=') != std::string::npos)
            std::abort();
        lines.push_back(entry.key + "=" + entry.value);
    }
    if (registry::decodeTitlesFile(registry::encodeTitlesFile(lines)) != entries)
        std::abort();
    return 0;
}
