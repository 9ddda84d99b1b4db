#include "components/shaker/ViewShaker.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "platform/foundation/RunLoop.h"
#include "platform/ui/View.h"

namespace platform::components {

namespace {

// Offsets of the keyframes as fractions of the amplitude, evenly spaced over the duration;
// identity follows at the end.
constexpr std::array<double, 8> kSwing{-1.0, 1.0, -0.8, 0.8, -0.55, 0.55, -0.3, 0.3};

}  // namespace

struct ViewShaker::State {
    std::vector<std::shared_ptr<View>> views;
    // The shake that owns the views' transforms now; older ones only finish.
    std::uint64_t generation{0};
    int running{0};
    std::vector<TaskHandle> keyframes;

    void apply(const AffineTransform& transform) {
        for (auto& view : views) {
            view->setTransform(transform);
        }
    }
    void swing(double offset) { apply(AffineTransform::makeTranslation(offset, 0)); }
};

ViewShaker::ViewShaker(std::vector<std::shared_ptr<View>> views)
    : m_state(std::make_shared<State>()) {
    std::erase(views, nullptr);
    m_state->views = std::move(views);
}

ViewShaker::ViewShaker(std::shared_ptr<View> view)
    : ViewShaker(std::vector<std::shared_ptr<View>>{std::move(view)}) {}

ViewShaker::~ViewShaker() = default;

void ViewShaker::shake() {
    shakeWithDuration(kDefaultDuration, {});
}

bool ViewShaker::isShaking() const {
    return m_state->running > 0;
}

void ViewShaker::shakeWithDuration(double seconds, std::function<void()> completion) {
    auto state = m_state;
    for (auto& keyframe : state->keyframes) {
        keyframe.cancel();
    }
    state->keyframes.clear();
    std::uint64_t generation = ++state->generation;
    ++state->running;

    // Negative and NaN durations shake for no time; anything past a minute is a mistake, not
    // a shake, and would overflow the clock's ticks if taken as given.
    double duration = std::isnan(seconds) ? 0.0 : std::clamp(seconds, 0.0, 60.0);
    double step = duration / kSwing.size();
    state->swing(kSwing[0] * kAmplitude);
    for (size_t i = 1; i < kSwing.size(); ++i) {
        double offset = kSwing[i] * kAmplitude;
        // Weak: the pending keyframes belong to the state; the completion keeps it alive.
        std::weak_ptr<State> weak = state;
        state->keyframes.push_back(
            RunLoop::main().postDelayed(platform::seconds(step * double(i)), [weak, offset] {
                if (auto alive = weak.lock()) {
                    alive->swing(offset);
                }
            }));
    }
    RunLoop::main().postDelayed(platform::seconds(duration),
                                [state, generation, completion = std::move(completion)] {
                                    --state->running;
                                    if (state->generation == generation) {
                                        state->keyframes.clear();
                                        state->apply(AffineTransform::identity());
                                    }
                                    if (completion) {
                                        completion();
                                    }
                                });
}

}  // namespace platform::components
