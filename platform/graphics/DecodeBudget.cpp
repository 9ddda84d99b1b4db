#include "platform/graphics/DecodeBudget.h"

#include <condition_variable>
#include <mutex>
#include <string>

#include "platform/foundation/Log.h"

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
    std::chrono::milliseconds longestWait = DecodeBudget::kDefaultLongestWait;
    std::size_t waitsGivenUp = 0;

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

bool DecodeBudget::reserveForDecode(std::size_t pixels, std::size_t working, bool* gaveUp) {
    State& s = state();
    const std::size_t bytes = pixels + working;
    std::unique_lock lock(s.mutex);
    const auto deadline = std::chrono::steady_clock::now() + s.longestWait;
    while (!s.fits(bytes, s.held)) {
        // Only the decoders' memory is sure to come back; pictures may be kept for good.
        if (!s.fits(bytes, s.held - s.working))
            return false;
        ++s.waiting;
        const bool roomMade = s.roomMade.wait_until(lock, deadline) == std::cv_status::no_timeout;
        --s.waiting;
        if (!roomMade && !s.fits(bytes, s.held)) {
            ++s.waitsGivenUp;
            if (gaveUp)
                *gaveUp = true;
            const std::size_t stillWorking = s.working;
            const auto waited = s.longestWait;
            lock.unlock();
            log("decoded-picture budget: a decode gave up after waiting %@ ms for decoders to "
                "give back their working memory (%@ bytes still held by decodes under way)",
                std::to_string(waited.count()), std::to_string(stillWorking));
            return false;
        }
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

std::chrono::milliseconds DecodeBudget::longestWait() {
    std::lock_guard lock(state().mutex);
    return state().longestWait;
}

void DecodeBudget::setLongestWait(std::chrono::milliseconds wait) {
    {
        std::lock_guard lock(state().mutex);
        state().longestWait = wait;
    }
    state().roomMade.notify_all();
}

std::size_t DecodeBudget::waitsGivenUp() {
    std::lock_guard lock(state().mutex);
    return state().waitsGivenUp;
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
