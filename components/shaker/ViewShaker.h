#pragma once

#include <functional>
#include <memory>
#include <vector>

namespace platform {
class View;
}

namespace platform::components {

// Shakes a set of views together: their transforms swing left and right with a shrinking
// amplitude, keyframe by keyframe on the main run loop's clock, and end at identity. A shake
// keeps its state (and the views) alive until it ends, even if the shaker goes first, so
// its completion always runs, once. A new shake takes the views over from one still running;
// the earlier one's completion still runs at its own end.
class ViewShaker {
public:
    static constexpr double kDefaultDuration = 0.5;
    // Horizontal swing of the first keyframe, in points.
    static constexpr double kAmplitude = 10;

    explicit ViewShaker(std::vector<std::shared_ptr<View>> views);
    explicit ViewShaker(std::shared_ptr<View> view);
    ~ViewShaker();
    ViewShaker(const ViewShaker&) = delete;
    ViewShaker& operator=(const ViewShaker&) = delete;

    void shake();
    // The completion may be empty.
    void shakeWithDuration(double seconds, std::function<void()> completion);
    bool isShaking() const;

private:
    struct State;
    std::shared_ptr<State> m_state;
};

}  // namespace platform::components
