#pragma once
#include <functional>

namespace platform {

// The message a second start sends to the running instance so that it shows its window.
inline constexpr int activationMessage = 32885;

// One running instance per user, standing for the named mutex "TarveskMutex": the first start
// takes the marker and listens; a later start notifies it and ends.
class SingleInstance {
public:
    virtual ~SingleInstance() = default;
    // True when this is the first instance; also true when the marker cannot be taken for any
    // reason other than a running instance (a broken runtime directory must not stop the program).
    virtual bool acquire() = 0;
    // In a second instance: posts the activation message to the first one, without waiting for
    // an answer.
    virtual void notifyFirst() = 0;
    // In the first instance: called when a later start posted the activation message.
    virtual void setActivationHandler(std::function<void()> handler) = 0;
};

} // namespace platform
