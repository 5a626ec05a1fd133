// The bar files under arbitrary input: the reader never crashes, and what it read is written and
// read back as the same bar.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "main/BarFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const mainwin::BarFileReadResult read = mainwin::BarFile::parse(bytes);
    std::string written;
    if (!mainwin::BarFile::serialize(read.bar, written).ok)
        std::abort(); // what came from a file can always go back to one
    const mainwin::BarFileReadResult again = mainwin::BarFile::parse(written);
    if (again.damaged || !(again.bar == read.bar))
        std::abort();
    if (!read.damaged && read.bar.itemCount() > 0 && written.empty())
        std::abort();
    return 0;
}
