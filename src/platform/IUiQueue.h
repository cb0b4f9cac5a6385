#pragma once
// Hands work from any thread to the user-interface thread. Replaces posted
// window messages: a closure owns whatever data it carries, so nothing is
// freed by hand on either side.

#include <functional>

namespace platform {

class IUiQueue {
public:
    virtual ~IUiQueue() = default;
    // Runs task later on the user-interface thread. Safe to call from any thread.
    virtual void Post(std::function<void()> task) = 0;
};

}  // namespace platform
