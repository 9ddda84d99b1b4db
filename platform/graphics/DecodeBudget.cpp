#include "platform/graphics/DecodeBudget.h"

#include <condition_variable>
#include <mutex>

namespace platform {

namespace {

struct State {
    std::mutex mutex;
    std::condition_variable roomMade;
    std::size_t held = 0;
    std::size_t working = 0;
    std::size_t limit = DecodeBudget::kDefaultLimit;
    std::size_t peak = 0;
    std::size_t waiting = 0;

    bool fits(std::size_t bytes, std::size_t alreadyHeld) const {
        return bytes <= limit && alreadyHeld <= limit - bytes;
    }
    void take(std::size_t bytes) {
        held += bytes;
        if (held > peak)
            peak = held;
    }
};

// Never destroyed: pictures held by other statics give their bytes back at exit.
State& state() {
    static State& instance = *new State;
    return instance;
}

}  // namespace

std::size_t DecodeBudget::held() {
    std::lock_guard lock(state().mutex);
    return state().held;
}

std::size_t DecodeBudget::limit() {
    std::lock_guard lock(state().mutex);
    return state().limit;
}

void DecodeBudget::setLimit(std::size_t bytes) {
    {
        std::lock_guard lock(state().mutex);
        state().limit = bytes;
    }
    state().roomMade.notify_all();
}

bool DecodeBudget::tryReserve(std::size_t bytes) {
    std::lock_guard lock(state().mutex);
    if (!state().fits(bytes, state().held))
        return false;
    state().take(bytes);
    return true;
}

void DecodeBudget::release(std::size_t bytes) {
    if (bytes == 0)
        return;
    {
        std::lock_guard lock(state().mutex);
        state().held -= bytes;
    }
    state().roomMade.notify_all();
}

bool DecodeBudget::reserveForDecode(std::size_t pixels, std::size_t working) {
    State& s = state();
    const std::size_t bytes = pixels + working;
    std::unique_lock lock(s.mutex);
    while (!s.fits(bytes, s.held)) {
        // Only the decoders' memory is sure to come back; pictures may be kept for good.
        if (!s.fits(bytes, s.held - s.working))
            return false;
        ++s.waiting;
        s.roomMade.wait(lock);
        --s.waiting;
    }
    s.take(bytes);
    s.working += working;
    return true;
}

void DecodeBudget::releaseWorking(std::size_t working) {
    if (working == 0)
        return;
    {
        std::lock_guard lock(state().mutex);
        state().working -= working;
        state().held -= working;
    }
    state().roomMade.notify_all();
}

std::size_t DecodeBudget::heldByPictures() {
    std::lock_guard lock(state().mutex);
    return state().held - state().working;
}

std::size_t DecodeBudget::peak() {
    std::lock_guard lock(state().mutex);
    return state().peak;
}

void DecodeBudget::resetPeak() {
    std::lock_guard lock(state().mutex);
    state().peak = state().held;
}

std::size_t DecodeBudget::waiting() {
    std::lock_guard lock(state().mutex);
    return state().waiting;
}

}  // namespace platform
