#include "webcontainer/PreviewImages.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "platform/foundation/Log.h"
#include "platform/graphics/DecodeBudget.h"
#include "platform/net/HttpClient.h"
#include "platform/net/HttpRequest.h"
#include "platform/net/HttpResponse.h"
#include "platform/ui/Screen.h"
#include "webcontainer/ZoomScrollView.h"

namespace {

// The largest a preview's picture is shown, in pixels: a page of the screen at the deepest
// zoom. With many pictures each gets less, so that all of them together take at most half of
// the decoded-picture budget (however they are shaped, a square one filling the page's longer
// side included) and the rest of the client keeps the other half.
platform::Size previewShownPixels(std::size_t count) {
    const auto& screen = platform::Screen::main();
    const double zoom = screen.scale() * ZoomScrollView::kMaximumZoom;
    platform::Size shown{screen.size().width * zoom, screen.size().height * zoom};
    const double share =
        double(platform::DecodeBudget::limit()) / 2 / double(std::max<std::size_t>(count, 1));
    const double side = std::max(shown.width, shown.height);
    const double fit = std::sqrt(share / 4) / side;
    if (fit < 1) {
        // Whole pixels, rounded down, so that rounding never takes a picture past its share.
        shown.width = std::floor(shown.width * fit);
        shown.height = std::floor(shown.height * fit);
    }
    return shown;
}

}  // namespace

std::vector<platform::Image> loadPreviewImages(const std::vector<std::string>& urls,
                                               double timeoutSeconds, double totalSeconds) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(totalSeconds));
    std::vector<platform::Image> images;
    const platform::Size shown = previewShownPixels(urls.size());
    for (const auto& url : urls) {
        const double left = std::chrono::duration<double>(deadline - Clock::now()).count();
        if (left <= 0) {
            platform::log("error:%@", "image downloads took too long: " + url);
            break;
        }
        if (url.empty())
            continue;
        platform::HttpRequest request;
        request.url = url;
        request.timeoutSeconds = std::min(timeoutSeconds, left);
        request.maxBodyBytes = platform::kMaxImageBodyBytes;
        const auto response = platform::HttpClient::shared().sendSync(request);
        if (!response.ok()) {
            platform::log("error:%@", response.error.empty()
                                          ? url + " answered " + std::to_string(response.status)
                                          : response.error);
            continue;
        }
        auto image = platform::Image::decode(response.body, 1, shown);
        if (image.isNull()) {
            platform::log("error:%@", "not an image: " + url);
            continue;
        }
        images.push_back(std::move(image));
    }
    return images;
}
