#pragma once
#include "platform/Registry.h"
#include "platform/posix/WineHive.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The registry as a running Wine server holds it in memory, reached through the Windows-side
// helper's "reg" requests (src/platform/bridge/Bridge.h). One call is one exchange, that is one
// start of the helper.
class WineServerRegistry {
public:
    // Hands a request to the helper and returns its answer; std::nullopt when that failed.
    using Exchange = std::function<std::optional<std::string>(const std::string& request)>;

    enum class Result { done, missing, failed };
    struct Listing {
        Result result = Result::failed;
        std::vector<HiveValue> values; // string values carry their text; others only their type
    };

    explicit WineServerRegistry(Exchange exchange) : m_exchange(std::move(exchange)) {}

    Listing list(RegistryRoot root, const std::string& path) const;
    // Creates the key when it is missing, then lists it.
    Listing createAndList(RegistryRoot root, const std::string& path) const;
    Result setString(RegistryRoot root, const std::string& path, const std::string& name,
                     const std::string& data) const;
    Result removeValue(RegistryRoot root, const std::string& path, const std::string& name) const;

private:
    Exchange m_exchange;
};

} // namespace platform
