#pragma once
#include "platform/KeyboardState.h"

namespace platform {

// Modifier keys a test holds down by hand; all up at first.
class FakeKeyboardState : public KeyboardState {
public:
    bool isDown(ModifierKey key) const override;
    void setDown(ModifierKey key, bool down);
    void set(bool shift, bool alt, bool ctrl);

private:
    bool m_shift = false;
    bool m_alt = false;
    bool m_ctrl = false;
};

} // namespace platform
