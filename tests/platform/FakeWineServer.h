#pragma once
#include "platform/posix/WineHive.h"

#include <optional>
#include <string>

namespace platformtest {

// A stand-in for a running Wine server, for the platform's own logic: it holds HKEY_CURRENT_USER
// in memory and answers the helper's "reg" requests from it as the server would, never touching a
// file. The real server is met in the tests against real Wine.
class FakeWineServer {
public:
    explicit FakeWineServer(std::string hiveText) : m_hive(hiveText) {}

    std::optional<std::string> exchange(const std::string& request);

    const platform::WineHive& hive() const { return m_hive; }
    int exchanges() const { return m_exchanges; }
    // Every exchange fails, as when the helper cannot be started.
    void setFailing(bool failing) { m_failing = failing; }

private:
    platform::WineHive m_hive;
    int m_exchanges = 0;
    bool m_failing = false;
};

} // namespace platformtest
