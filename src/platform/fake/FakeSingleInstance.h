#pragma once
#include "platform/SingleInstance.h"

#include <functional>

namespace platform {

// Single instance without processes: the test decides whether this start is the first one and
// fires the activation by hand.
class FakeSingleInstance : public SingleInstance {
public:
    explicit FakeSingleInstance(bool first = true) : m_first(first) {}

    bool acquire() override { return m_first; }
    void notifyFirst() override { ++m_notifications; }
    void setActivationHandler(std::function<void()> handler) override { m_handler = std::move(handler); }

    void setFirst(bool first) { m_first = first; }
    int notifications() const { return m_notifications; }
    // Acts as if a second start had posted the activation message.
    void activate() {
        if (m_handler)
            m_handler();
    }

private:
    bool m_first;
    int m_notifications = 0;
    std::function<void()> m_handler;
};

} // namespace platform
