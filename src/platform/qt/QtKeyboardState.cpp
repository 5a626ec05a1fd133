#include "platform/qt/QtKeyboardState.h"

#include <QGuiApplication>

namespace platform {

bool QtKeyboardState::isDown(ModifierKey key) const {
    const Qt::KeyboardModifiers modifiers = m_eventModifiers ? *m_eventModifiers : QGuiApplication::keyboardModifiers();
    switch (key) {
    case ModifierKey::Shift:
        return modifiers.testFlag(Qt::ShiftModifier);
    case ModifierKey::Alt:
        return modifiers.testFlag(Qt::AltModifier);
    case ModifierKey::Ctrl:
        return modifiers.testFlag(Qt::ControlModifier);
    }
    return false;
}

} // namespace platform
