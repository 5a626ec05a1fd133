#pragma once
#include "platform/Registry.h"

#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace registrytest {

// A registry holding a Titles key made for a test: in memory, or the user.reg of a temporary
// Wine prefix read and written through the real Linux layer.
class TitlesBackend {
public:
    struct Planted {
        std::string name;
        std::string data;
        bool isString = true; // false: a REG_DWORD
    };

    virtual ~TitlesBackend() = default;
    virtual platform::Registry& registry() = 0;

    // Value names of the Titles key in enumeration order; empty without the key.
    std::vector<std::string> names();
    // Data of a Titles entry; std::nullopt when it or the key is missing.
    std::optional<std::string> value(const std::string& name);
    bool titlesKeyExists();
};

enum class BackendKind { Memory, Wine };

// A backend whose Titles key holds the planted values in that order; without titlesKey there is
// no Titles key at all (1C:Enterprise never ran).
std::unique_ptr<TitlesBackend> makeBackend(BackendKind kind, const std::vector<TitlesBackend::Planted>& planted,
                                           bool titlesKey = true);

std::string backendName(BackendKind kind);
inline void PrintTo(BackendKind kind, std::ostream* os) {
    *os << backendName(kind);
}
// GoogleTest name of a backend parameter.
inline std::string backendParamName(const ::testing::TestParamInfo<BackendKind>& param) {
    return backendName(param.param);
}

} // namespace registrytest
