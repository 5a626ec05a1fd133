#pragma once
#include "platform/KeyboardState.h"

#include <Qt>
#include <optional>

namespace platform {

// Modifier keys for Qt windows: those of the event being handled when the window set them, else
// what QGuiApplication::keyboardModifiers() reports for the last input event.
class QtKeyboardState : public KeyboardState {
public:
    bool isDown(ModifierKey key) const override;

    // Set by a window's event handler before it calls logic that asks for modifiers, cleared after.
    void setEventModifiers(Qt::KeyboardModifiers modifiers) { m_eventModifiers = modifiers; }
    void clearEventModifiers() { m_eventModifiers.reset(); }

private:
    std::optional<Qt::KeyboardModifiers> m_eventModifiers;
};

} // namespace platform
