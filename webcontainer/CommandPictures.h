#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/graphics/Geometry.h"

namespace platform {
class Image;
}

// The pictures a page's command asks for (the preview's, the share's). Any host may hold them,
// so none of it happens on the main thread: they are fetched one after another in the order
// given, each through the pictures' fetches of the network thread, and decoded on the
// background pool no larger than `shown`. `done` runs once on the main loop with one image per
// address, a null one where the address was empty, failed, answered outside 200-299 or held no
// PNG or JPEG. Each download gives up after `eachSeconds`, and all of them together after
// `totalSeconds`, so a list of dead addresses cannot keep the command waiting for long.
//
// Cancelling, or letting go of the downloads, stops the fetch under way and drops any picture
// still being decoded: `done` never runs after that. Main thread only.
class CommandPictures {
public:
    using Done = std::function<void(std::vector<platform::Image> images)>;

    struct Limits {
        double eachSeconds = 10;
        double totalSeconds = 20;
    };

    static std::unique_ptr<CommandPictures> start(std::vector<std::string> urls,
                                                  platform::Size shown, Limits limits, Done done);
    ~CommandPictures();
    CommandPictures(const CommandPictures&) = delete;
    CommandPictures& operator=(const CommandPictures&) = delete;

    void cancel();
    // `done` has run, or the downloads were cancelled.
    bool isOver() const;

    struct State;

private:
    explicit CommandPictures(std::shared_ptr<State> state);
    std::shared_ptr<State> m_state;
};
