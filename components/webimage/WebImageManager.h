#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "platform/graphics/Image.h"

namespace platform {
class ImageView;
class View;
}  // namespace platform

namespace platform::components {

class ImageCache;

// Loads images by URL into image views: memory cache, then disk cache, then one HTTP GET
// through platform::PictureFetches (a picture's body limit, and a total in flight). Each image view
// waits for at most one URL; asking it for another replaces (and cancels) the earlier load, and a
// view that has gone is never touched. Main thread only.
class WebImageManager {
public:
    static WebImageManager& shared();

    WebImageManager(const WebImageManager&) = delete;
    WebImageManager& operator=(const WebImageManager&) = delete;

    ImageCache& imageCache();

    // Shows the placeholder at once, then the image from the first place that has it. A URL
    // that is not an http(s) URL, a failed request and undecodable bytes keep the placeholder.
    void setImageWithURL(ImageView& imageView, const std::string& url, const Image& placeholder);
    void setImageWithURL(const std::shared_ptr<ImageView>& imageView, const std::string& url,
                         const Image& placeholder);
    // Forgets what the view is waiting for; its image stays as it is.
    void cancelCurrentImageLoad(const ImageView& imageView);
    // The URL the view is still waiting for, "" when none.
    std::string pendingURL(const ImageView& imageView) const;

    // Whether a URL can be loaded at all: http or https with a host, nothing malformed.
    static bool isLoadableURL(const std::string& url);

private:
    WebImageManager();

    struct Pending {
        std::string url;
        std::uint64_t id{0};
        std::uint64_t request{0};  // PictureFetches id, 0 before the download starts
    };
    using ViewKey = std::weak_ptr<View>;

    // The largest the view shows a picture, in pixels: what a picture for it is decoded to.
    static Size shownPixels(const ImageView& imageView);
    void startDownload(const ViewKey& key, std::uint64_t id, const std::string& url, Size shown);
    void finished(const ViewKey& key, std::uint64_t id, const Image& image);
    // The pending load `id` of the view, while it is still the one the view wants.
    Pending* current(const ViewKey& key, std::uint64_t id);

    // Keyed by the view's ownership, so a view that has gone never matches a new one.
    std::map<ViewKey, Pending, std::owner_less<>> m_pending;
    std::uint64_t m_nextId{0};
};

}  // namespace platform::components
