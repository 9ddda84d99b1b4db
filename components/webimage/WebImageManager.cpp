#include "components/webimage/WebImageManager.h"

#include <curl/curl.h>

#include "components/webimage/ImageCache.h"
#include "platform/foundation/Dispatch.h"
#include "platform/net/PictureFetches.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Screen.h"

namespace platform::components {

namespace {

std::shared_ptr<ImageView> lockView(const std::weak_ptr<View>& key) {
    return std::static_pointer_cast<ImageView>(key.lock());
}

}  // namespace

WebImageManager& WebImageManager::shared() {
    static WebImageManager instance;
    return instance;
}

WebImageManager::WebImageManager() = default;

ImageCache& WebImageManager::imageCache() {
    return ImageCache::shared();
}

bool WebImageManager::isLoadableURL(const std::string& url) {
    if (url.empty()) {
        return false;
    }
    CURLU* handle = curl_url();
    if (!handle) {
        return false;
    }
    bool loadable = false;
    if (curl_url_set(handle, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK) {
        char* scheme = nullptr;
        char* host = nullptr;
        if (curl_url_get(handle, CURLUPART_SCHEME, &scheme, 0) == CURLUE_OK &&
            curl_url_get(handle, CURLUPART_HOST, &host, 0) == CURLUE_OK) {
            std::string s = scheme;
            loadable = (s == "http" || s == "https") && host[0] != '\0';
        }
        curl_free(scheme);
        curl_free(host);
    }
    curl_url_cleanup(handle);
    return loadable;
}

void WebImageManager::setImageWithURL(const std::shared_ptr<ImageView>& imageView,
                                      const std::string& url, const Image& placeholder) {
    if (imageView) {
        setImageWithURL(*imageView, url, placeholder);
    }
}

void WebImageManager::setImageWithURL(ImageView& imageView, const std::string& url,
                                      const Image& placeholder) {
    cancelCurrentImageLoad(imageView);
    imageView.setImage(placeholder);
    if (!isLoadableURL(url)) {
        return;
    }
    const Size shown = shownPixels(imageView);
    if (Image cached = imageCache().imageFromMemoryCache(url);
        !cached.isNull() && cached.isEnoughFor(shown)) {
        imageView.setImage(cached);
        return;
    }
    ViewKey key = imageView.weak_from_this();
    if (key.expired()) {
        // Not owned by a shared_ptr: nothing could tell later whether it is still there.
        return;
    }
    std::uint64_t id = ++m_nextId;
    m_pending[key] = Pending{url, id, 0};
    imageCache().queryDiskCache(url, shown, [this, key, id, url, shown](const Image& image) {
        if (!current(key, id)) {
            return;
        }
        if (!image.isNull()) {
            finished(key, id, image);
        } else {
            startDownload(key, id, url, shown);
        }
    });
}

Size WebImageManager::shownPixels(const ImageView& imageView) {
    // A view not laid out yet shows its picture no larger than the screen.
    Size points = imageView.bounds().size;
    if (!(points.width > 0 && points.height > 0)) {
        points = Screen::main().size();
    }
    const double scale = Screen::main().scale();
    return {points.width * scale, points.height * scale};
}

void WebImageManager::startDownload(const ViewKey& key, std::uint64_t id, const std::string& url,
                                    Size shown) {
    HttpRequest request;
    request.url = url;
    // Thumbnails of a long list share the pictures' total in flight with the web pages'.
    auto requestId = PictureFetches::shared().fetch(
        request, [this, key, id, url, shown](HttpResponse reply, PictureFetches::Room room) {
            if (!reply.ok()) {
                finished(key, id, {});
                return;
            }
            // Even when the view has gone, the bytes are here: they go to the cache.
            dispatch::async([this, key, id, url, shown, data = std::move(reply.body),
                             room = std::move(room)]() mutable {
                Image image = Image::decode(data, 1, shown);
                // Decoded: the body is on its way to the cache, no longer a picture in flight.
                room.reset();
                dispatch::mainAsync([this, key, id, url, image, data = std::move(data)]() mutable {
                    if (!image.isNull()) {
                        imageCache().storeImage(image, std::move(data), url);
                    }
                    finished(key, id, image);
                });
            });
        });
    if (Pending* pending = current(key, id)) {
        pending->request = requestId;
    }
}

void WebImageManager::finished(const ViewKey& key, std::uint64_t id, const Image& image) {
    if (!current(key, id)) {
        return;
    }
    m_pending.erase(key);
    if (image.isNull()) {
        return;
    }
    if (auto view = lockView(key)) {
        view->setImage(image);
    }
}

WebImageManager::Pending* WebImageManager::current(const ViewKey& key, std::uint64_t id) {
    auto found = m_pending.find(key);
    if (found == m_pending.end() || found->second.id != id) {
        return nullptr;
    }
    if (key.expired()) {
        m_pending.erase(found);
        return nullptr;
    }
    return &found->second;
}

void WebImageManager::cancelCurrentImageLoad(const ImageView& imageView) {
    auto found = m_pending.find(imageView.weak_from_this());
    if (found == m_pending.end()) {
        return;
    }
    std::uint64_t request = found->second.request;
    m_pending.erase(found);
    if (request != 0) {
        PictureFetches::shared().cancel(request);
    }
}

std::string WebImageManager::pendingURL(const ImageView& imageView) const {
    auto found = m_pending.find(imageView.weak_from_this());
    return found == m_pending.end() ? std::string() : found->second.url;
}

}  // namespace platform::components
