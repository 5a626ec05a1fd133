#include "platform/posix/WineServerRegistry.h"

#include "platform/posix/BridgeFields.h"

#include <charconv>

namespace platform {

namespace {

const char* rootName(RegistryRoot root) {
    return root == RegistryRoot::CurrentUser ? "HKCU" : "HKLM";
}

BridgeWriter request(const char* op, RegistryRoot root, const std::string& path) {
    BridgeWriter writer;
    writer.field("reg").field(op).field(rootName(root)).field(path);
    return writer;
}

std::optional<std::uint32_t> number(std::string_view text) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

// "ok" count (name type data)* | "missing"; anything else, or a cut-off answer, is a failure.
WineServerRegistry::Listing readListing(BridgeReader& reader) {
    WineServerRegistry::Listing listing;
    const auto status = reader.next();
    if (status == "missing")
        listing.result = WineServerRegistry::Result::missing;
    if (status != "ok")
        return listing;
    const auto count = reader.next();
    const auto values = count ? number(*count) : std::nullopt;
    if (!values)
        return listing;
    for (std::uint32_t i = 0; i < *values; ++i) {
        const auto name = reader.next();
        const auto type = reader.next();
        const auto data = reader.next();
        const auto typeNumber = type ? number(*type) : std::nullopt;
        if (!name || !typeNumber || !data) {
            listing.values.clear();
            return listing;
        }
        HiveValue value;
        value.name = std::string(*name);
        value.isDefault = name->empty();
        value.type = *typeNumber;
        value.textForm = value.type == hivetype::sz || value.type == hivetype::expandSz;
        value.data = std::string(*data);
        listing.values.push_back(std::move(value));
    }
    listing.result = WineServerRegistry::Result::done;
    return listing;
}

WineServerRegistry::Result readResult(const std::optional<std::string>& answer) {
    if (!answer)
        return WineServerRegistry::Result::failed;
    BridgeReader reader(*answer);
    const auto status = reader.next();
    if (status == "ok")
        return WineServerRegistry::Result::done;
    if (status == "missing")
        return WineServerRegistry::Result::missing;
    return WineServerRegistry::Result::failed;
}

} // namespace

WineServerRegistry::Listing WineServerRegistry::list(RegistryRoot root, const std::string& path) const {
    const auto answer = m_exchange(request("list", root, path).bytes());
    if (!answer)
        return {};
    BridgeReader reader(*answer);
    return readListing(reader);
}

WineServerRegistry::Listing WineServerRegistry::createAndList(RegistryRoot root, const std::string& path) const {
    auto both = request("create", root, path);
    both.field("list").field(rootName(root)).field(path);
    const auto answer = m_exchange(both.bytes());
    if (!answer)
        return {};
    BridgeReader reader(*answer);
    if (reader.next() != "ok")
        return {};
    return readListing(reader);
}

WineServerRegistry::Result WineServerRegistry::setString(RegistryRoot root, const std::string& path,
                                                         const std::string& name, const std::string& data) const {
    auto writer = request("set", root, path);
    writer.field(name).field(data);
    return readResult(m_exchange(writer.bytes()));
}

WineServerRegistry::Result WineServerRegistry::removeValue(RegistryRoot root, const std::string& path,
                                                           const std::string& name) const {
    auto writer = request("delete", root, path);
    writer.field(name);
    return readResult(m_exchange(writer.bytes()));
}

} // namespace platform
