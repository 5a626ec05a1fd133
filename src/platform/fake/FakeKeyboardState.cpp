#include "platform/fake/FakeKeyboardState.h"

namespace platform {

bool FakeKeyboardState::isDown(ModifierKey key) const {
    switch (key) {
    case ModifierKey::Shift:
        return m_shift;
    case ModifierKey::Alt:
        return m_alt;
    case ModifierKey::Ctrl:
        return m_ctrl;
    }
    return false;
}

void FakeKeyboardState::setDown(ModifierKey key, bool down) {
    switch (key) {
    case ModifierKey::Shift:
        m_shift = down;
        break;
    case ModifierKey::Alt:
        m_alt = down;
        break;
    case ModifierKey::Ctrl:
        m_ctrl = down;
        break;
    }
}

void FakeKeyboardState::set(bool shift, bool alt, bool ctrl) {
    m_shift = shift;
    m_alt = alt;
    m_ctrl = ctrl;
}

} // namespace platform
