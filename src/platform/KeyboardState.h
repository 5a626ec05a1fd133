#pragma once

namespace platform {

enum class ModifierKey { Shift, Alt, Ctrl };

// State of the modifier keys for the input event being handled (not the physical state at the
// moment of the call).
class KeyboardState {
public:
    virtual ~KeyboardState() = default;
    virtual bool isDown(ModifierKey key) const = 0;
};

} // namespace platform
