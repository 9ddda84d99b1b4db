#pragma once

#include <functional>
#include <memory>

#include "platform/foundation/RunLoop.h"

namespace platform {

// The second half of an animated transition ("Did" callbacks, completion), run after the
// animation's duration on the main run loop's clock, or at once when another transition
// needs this one finished first. Dropping the object drops the waiting half.
class PendingTransition {
public:
    PendingTransition() = default;
    ~PendingTransition();
    PendingTransition(const PendingTransition&) = delete;
    PendingTransition& operator=(const PendingTransition&) = delete;

    bool isPending() const;
    // Finishes a waiting transition first. A delay of zero runs `finish` before returning.
    void schedule(double delaySeconds, std::function<void()> finish);
    // Runs the waiting half now, if any.
    void flush();

private:
    struct State {
        std::function<void()> finish;
        TaskHandle handle;
    };
    static void run(const std::shared_ptr<State>& state);

    std::shared_ptr<State> m_state{std::make_shared<State>()};
};

}  // namespace platform
