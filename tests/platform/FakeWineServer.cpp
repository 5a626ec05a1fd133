#include "FakeWineServer.h"

#include "platform/posix/BridgeFields.h"

namespace platformtest {

std::optional<std::string> FakeWineServer::exchange(const std::string& request) {
    ++m_exchanges;
    if (m_failing)
        return std::nullopt;
    platform::BridgeReader reader(request);
    if (reader.next() != "reg")
        return std::nullopt;
    platform::BridgeWriter answer;
    const auto time = platform::HiveTime::fromUnix(1700000000);
    while (const auto op = reader.next()) {
        const auto root = reader.next();
        const auto pathField = reader.next();
        if (!root || !pathField)
            return std::nullopt;
        const std::string path(*pathField);
        const bool known = *root == "HKCU" && m_hive.keyExists(path);
        if (*op == "list") {
            if (!known) {
                answer.field("missing");
                continue;
            }
            const auto values = m_hive.values(path);
            answer.field("ok").field(std::to_string(values.size()));
            for (const auto& value : values)
                answer.field(value.name).field(std::to_string(value.type)).field(value.textForm ? value.data : "");
        } else if (*op == "set") {
            const auto name = reader.next();
            const auto data = reader.next();
            if (!name || !data)
                return std::nullopt;
            answer.field(known && m_hive.setString(path, *name, *data, time) ? "ok" : "fail");
        } else if (*op == "delete") {
            const auto name = reader.next();
            if (!name)
                return std::nullopt;
            answer.field(known && m_hive.removeValue(path, *name, time) ? "ok" : "missing");
        } else if (*op == "create") {
            answer.field(*root == "HKCU" && m_hive.addKey(path, time) ? "ok" : "fail");
        } else {
            return std::nullopt;
        }
    }
    return answer.bytes();
}

} // namespace platformtest
