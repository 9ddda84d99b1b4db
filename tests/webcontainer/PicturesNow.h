#pragma once

// A command's pictures fetched as the container fetches them, waited for on the main loop: for
// cases about what the downloads give rather than about the waiting.

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Image.h"
#include "webcontainer/CommandPictures.h"

namespace testsupport {

inline std::vector<platform::Image> picturesNow(
    std::vector<std::string> urls, platform::Size shown, CommandPictures::Limits limits,
    std::chrono::milliseconds bound = std::chrono::seconds(60)) {
    std::optional<std::vector<platform::Image>> images;
    auto pictures = CommandPictures::start(
        std::move(urls), shown, limits,
        [&](std::vector<platform::Image> loaded) { images = std::move(loaded); });
    platform::RunLoop::main().runUntil([&] { return images.has_value(); }, bound);
    return images.value_or(std::vector<platform::Image>{});
}

}  // namespace testsupport
