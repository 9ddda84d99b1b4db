#include "webcontainer/PreviewImages.h"

#include <algorithm>
#include <chrono>

#include "platform/foundation/Log.h"
#include "platform/net/HttpClient.h"
#include "platform/net/HttpRequest.h"
#include "platform/net/HttpResponse.h"

std::vector<platform::Image> loadPreviewImages(const std::vector<std::string>& urls,
                                               double timeoutSeconds) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(kPreviewTotalSeconds));
    std::vector<platform::Image> images;
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
        auto image = platform::Image::decode(response.body);
        if (image.isNull()) {
            platform::log("error:%@", "not an image: " + url);
            continue;
        }
        images.push_back(std::move(image));
    }
    return images;
}
