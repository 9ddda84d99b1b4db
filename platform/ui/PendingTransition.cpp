#include "platform/ui/PendingTransition.h"

namespace platform {

PendingTransition::~PendingTransition() {
    m_state->handle.cancel();
}

bool PendingTransition::isPending() const {
    return static_cast<bool>(m_state->finish);
}

void PendingTransition::schedule(double delaySeconds, std::function<void()> finish) {
    flush();
    m_state->finish = std::move(finish);
    if (delaySeconds <= 0) {
        flush();
        return;
    }
    std::weak_ptr<State> weak = m_state;
    m_state->handle = RunLoop::main().postDelayed(seconds(delaySeconds), [weak] {
        if (auto state = weak.lock()) {
            run(state);
        }
    });
}

void PendingTransition::flush() {
    run(m_state);
}

void PendingTransition::run(const std::shared_ptr<State>& state) {
    state->handle.cancel();
    auto finish = std::move(state->finish);
    state->finish = nullptr;
    if (finish) {
        finish();
    }
}

}  // namespace platform
