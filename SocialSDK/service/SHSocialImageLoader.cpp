#include "SocialSDK/service/SHSocialImageLoader.h"

#include <algorithm>
#include <charconv>

#include "SocialSDK/base/SHSocialUtils.h"
#include "SocialSDK/service/SHSCacheManager.h"
#include "platform/foundation/Log.h"

namespace {

const std::string kPercentPrefix = "kEGOImageLoaderNotificationLoadedPercent-";
const std::string kLoadedPrefix = "kEGOImageLoaderNotificationLoaded-";
const std::string kFailedPrefix = "kEGOImageLoaderNotificationLoadFailed-";

struct SharedLoader {
    std::mutex lock;
    std::shared_ptr<SHSocialImageLoader> loader;
};

SharedLoader& sharedSlot() {
    static SharedLoader slot;
    return slot;
}

components::DiskCache& cache() {
    return SHSCacheManager::shareInstance().cache();
}

std::string hostOf(const std::string& url) {
    auto start = url.find("://");
    start = start == std::string::npos ? 0 : start + 3;
    auto end = url.find_first_of(":/?#", start);
    return url.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

}  // namespace

// --- One download ----------------------------------------------------------------------------

SHSocialImageLoadConnection::SHSocialImageLoadConnection(
    std::string imageURL, std::weak_ptr<SHImageLoadConnectionDelegate> delegate)
    : delegate(std::move(delegate)), m_imageURL(std::move(imageURL)) {}

SHSocialImageLoadConnection::~SHSocialImageLoadConnection() {
    cancel();
}

float SHSocialImageLoadConnection::fractionReceived(std::size_t received,
                                                    std::optional<std::size_t> expected) {
    // An unknown or empty length says nothing of the progress; a server that sends more than
    // it announced has still not sent more than all of it.
    if (!expected || *expected == 0)
        return 0;
    return std::min(1.0f, static_cast<float>(received) / static_cast<float>(*expected));
}

void SHSocialImageLoadConnection::start() {
    if (m_request)
        return;
    platform::HttpRequest request;
    request.url = m_imageURL;
    request.headers.emplace_back("Accept-Encoding", "gzip");
    request.timeoutSeconds = timeoutInterval;
    request.maxBodyBytes = platform::kMaxImageBodyBytes;
    std::weak_ptr<SHSocialImageLoadConnection> weak = weak_from_this();
    m_request = platform::HttpClient::shared().send(
        std::move(request), [weak](platform::HttpResponse response) {
            auto self = weak.lock();
            if (!self)
                return;
            self->m_request.reset();
            self->m_response = std::move(response);
            auto target = self->delegate.lock();
            if (!self->m_response.error.empty() || self->m_response.status == 0) {
                if (target)
                    target->imageLoadConnectionDidFail(
                        *self, {hostOf(self->m_imageURL), 0, self->m_response.error});
                return;
            }
            self->m_responseData = self->m_response.body;
            std::optional<std::size_t> expected;
            if (auto length = self->m_response.header("content-length")) {
                std::size_t value = 0;
                const auto* end = length->data() + length->size();
                if (std::from_chars(length->data(), end, value).ptr == end)
                    expected = value;
            }
            if (target)
                target->imageLoadConnectionDidReceivePercent(
                    fractionReceived(self->m_responseData.size(), expected), *self);
            if ((target = self->delegate.lock()))
                target->imageLoadConnectionDidFinishLoading(*self);
        });
}

void SHSocialImageLoadConnection::cancel() {
    if (m_request) {
        platform::HttpClient::shared().cancel(*m_request);
        m_request.reset();
    }
}

// --- The loader ------------------------------------------------------------------------------

std::shared_ptr<SHSocialImageLoader> SHSocialImageLoader::sharedImageLoader() {
    auto& slot = sharedSlot();
    std::lock_guard guard(slot.lock);
    if (!slot.loader)
        slot.loader = std::make_shared<SHSocialImageLoader>();
    return slot.loader;
}

void SHSocialImageLoader::resetSharedImageLoader() {
    std::shared_ptr<SHSocialImageLoader> old;
    auto& slot = sharedSlot();
    std::lock_guard guard(slot.lock);
    old = std::move(slot.loader);
}

std::string SHSocialImageLoader::cacheKey(const std::string& imageURL) {
    return "EGOImageLoader-" + SHSocialUtils::md5Value(imageURL);
}

std::shared_ptr<SHSocialImageLoadConnection> SHSocialImageLoader::loadImageForURL(
    const std::string& imageURL) {
    if (auto running = loadingConnectionForURL(imageURL))
        return running;
    auto connection = std::make_shared<SHSocialImageLoadConnection>(imageURL, weak_from_this());
    std::weak_ptr<SHSocialImageLoadConnection> weak = connection;
    auto start = platform::RunLoop::main().postDelayed(platform::seconds(0.01), [weak] {
        if (auto pending = weak.lock())
            pending->start();
    });
    std::lock_guard guard(m_connectionsLock);
    m_connections[imageURL] = {connection, start};
    return connection;
}

void SHSocialImageLoader::loadImageForURL(const std::string& imageURL,
                                          const std::shared_ptr<SHImageLoaderObserver>& observer) {
    if (imageURL.empty())
        return;
    addObserver(observer, imageURL);
    loadImageForURL(imageURL);
}

platform::Image SHSocialImageLoader::imageForURL(
    const std::string& imageURL, const std::shared_ptr<SHImageLoaderObserver>& observer,
    bool autoLoad) {
    if (imageURL.empty())
        return {};
    if (auto bytes = cache().dataForKey(cacheKey(imageURL))) {
        auto image = platform::Image::decode(*bytes);
        if (!image.isNull())
            return image;
    }
    if (autoLoad)
        loadImageForURL(imageURL, observer);
    return {};
}

std::optional<std::string> SHSocialImageLoader::dataForURL(
    const std::string& imageURL, const std::shared_ptr<SHImageLoaderObserver>& observer, bool gif) {
    if (imageURL.empty())
        return std::nullopt;
    isGif = gif;
    if (auto bytes = cache().dataForKey(cacheKey(imageURL)))
        return bytes;
    loadImageForURL(imageURL, observer);
    return std::nullopt;
}

void SHSocialImageLoader::addObserver(const std::shared_ptr<SHImageLoaderObserver>& observer,
                                      const std::string& imageURL) {
    if (!observer)
        return;
    auto& list = m_observers[imageURL];
    for (const auto& known : list)
        if (known.lock() == observer)
            return;
    list.push_back(observer);
}

void SHSocialImageLoader::removeObserver(const SHImageLoaderObserver* observer) {
    for (auto it = m_observers.begin(); it != m_observers.end();) {
        auto& list = it->second;
        std::erase_if(list, [observer](const auto& weak) {
            auto known = weak.lock();
            return !known || known.get() == observer;
        });
        it = list.empty() ? m_observers.erase(it) : std::next(it);
    }
}

void SHSocialImageLoader::removeObserver(const SHImageLoaderObserver* observer,
                                         const std::string& imageURL) {
    auto it = m_observers.find(imageURL);
    if (it == m_observers.end())
        return;
    std::erase_if(it->second, [observer](const auto& weak) {
        auto known = weak.lock();
        return !known || known.get() == observer;
    });
    if (it->second.empty())
        m_observers.erase(it);
}

bool SHSocialImageLoader::hasLoadedImageURL(const std::string& imageURL) const {
    return cache().hasCacheForKey(cacheKey(imageURL));
}

bool SHSocialImageLoader::isLoadingImageURL(const std::string& imageURL) const {
    return loadingConnectionForURL(imageURL) != nullptr;
}

std::shared_ptr<SHSocialImageLoadConnection> SHSocialImageLoader::loadingConnectionForURL(
    const std::string& imageURL) const {
    std::lock_guard guard(m_connectionsLock);
    auto it = m_connections.find(imageURL);
    return it == m_connections.end() ? nullptr : it->second.connection;
}

void SHSocialImageLoader::cancelLoadForURL(const std::string& imageURL) {
    Loading loading;
    {
        std::lock_guard guard(m_connectionsLock);
        auto it = m_connections.find(imageURL);
        if (it == m_connections.end())
            return;
        loading = it->second;
    }
    loading.start.cancel();
    loading.connection->cancel();
    cleanUpConnection(imageURL);
}

void SHSocialImageLoader::clearCacheForURL(const std::string& imageURL) {
    cache().removeCacheForKey(cacheKey(imageURL));
}

void SHSocialImageLoader::clearCacheForURL(const std::string& imageURL, std::size_t styleHash) {
    cache().removeCacheForKey(cacheKey(imageURL) + "-" + std::to_string(styleHash));
}

void SHSocialImageLoader::setCacheSeconds(double seconds) {
    if (seconds > 0)
        m_cacheSeconds = seconds;
}

void SHSocialImageLoader::cleanUpConnection(const std::string& imageURL) {
    std::shared_ptr<SHSocialImageLoadConnection> connection;
    {
        std::lock_guard guard(m_connectionsLock);
        auto it = m_connections.find(imageURL);
        if (it == m_connections.end())
            return;
        connection = std::move(it->second.connection);
        m_connections.erase(it);
    }
    connection->delegate.reset();
}

void SHSocialImageLoader::post(Kind kind, const SHImageLoaderNotification& notification) {
    auto it = m_observers.find(notification.imageURL);
    if (it == m_observers.end())
        return;
    // Observers may come and go while they are told.
    const auto observers = it->second;
    for (const auto& weak : observers) {
        auto observer = weak.lock();
        if (!observer)
            continue;
        switch (kind) {
            case Kind::Percent:
                observer->imageLoaderDidLoadPercent(notification);
                break;
            case Kind::Loaded:
                observer->imageLoaderDidLoad(notification);
                break;
            case Kind::Failed:
                observer->imageLoaderDidFailToLoad(notification);
                break;
        }
    }
}

void SHSocialImageLoader::imageLoadConnectionDidReceivePercent(
    float percent, SHSocialImageLoadConnection& connection) {
    SHImageLoaderNotification notification;
    notification.name = kPercentPrefix + cacheKey(connection.imageURL());
    notification.imageURL = connection.imageURL();
    notification.percent = percent;
    post(Kind::Percent, notification);
}

void SHSocialImageLoader::imageLoadConnectionDidFinishLoading(
    SHSocialImageLoadConnection& connection) {
    auto keep = connection.shared_from_this();
    const std::string url = connection.imageURL();
    const std::string key = cacheKey(url);
    SHImageLoaderNotification notification;
    notification.imageURL = url;
    if (isGif) {
        cache().setData(key, connection.responseData(), m_cacheSeconds);
        cleanUpConnection(url);
        notification.name = kLoadedPrefix + key;
        notification.imageGif = connection.responseData();
        post(Kind::Loaded, notification);
        return;
    }
    auto image = platform::Image::decode(connection.responseData());
    cleanUpConnection(url);
    if (image.isNull()) {
        notification.name = kFailedPrefix + key;
        notification.error = SHSocialImageError{hostOf(url), 406, {}};
        post(Kind::Failed, notification);
        return;
    }
    cache().setData(key, connection.responseData(), m_cacheSeconds);
    notification.name = kLoadedPrefix + key;
    notification.image = image;
    post(Kind::Loaded, notification);
}

void SHSocialImageLoader::imageLoadConnectionDidFail(SHSocialImageLoadConnection& connection,
                                                     const SHSocialImageError& error) {
    auto keep = connection.shared_from_this();
    const std::string url = connection.imageURL();
    cleanUpConnection(url);
    SHImageLoaderNotification notification;
    notification.name = kFailedPrefix + cacheKey(url);
    notification.imageURL = url;
    notification.error = error;
    post(Kind::Failed, notification);
}

// --- The image view --------------------------------------------------------------------------

SHSocialImageView::SHSocialImageView(const platform::Image& placeholder,
                                     std::weak_ptr<SHImageViewDelegate> viewDelegate)
    : placeholderImage(placeholder), delegate(std::move(viewDelegate)) {
    setImage(placeholder);
    setHidden(true);
}

SHSocialImageView::~SHSocialImageView() {
    // The download goes on and fills the cache for later views.
    SHSocialImageLoader::sharedImageLoader()->removeObserver(this);
}

std::shared_ptr<SHSocialImageView> SHSocialImageView::self() {
    return std::static_pointer_cast<SHSocialImageView>(shared_from_this());
}

void SHSocialImageView::setImageURL(const std::optional<std::string>& imageURL) {
    auto loader = SHSocialImageLoader::sharedImageLoader();
    if (m_imageURL) {
        loader->removeObserver(this, *m_imageURL);
        m_imageURL.reset();
    }
    if (!imageURL || imageURL->empty()) {
        setImage(placeholderImage);
        return;
    }
    m_imageURL = imageURL;
    loader->removeObserver(this);
    if (isGif)
        return;
    auto image = loader->imageForURL(*imageURL, self(), true);
    if (!image.isNull()) {
        setImage(image);
        setHidden(false);
        m_isCacheImage = true;
        if (auto target = delegate.lock())
            target->imageViewLoadedImage(*this);
        return;
    }
    m_isCacheImage = false;
    setImage(placeholderImage);
}

void SHSocialImageView::cancelImageLoad() {
    if (!m_imageURL)
        return;
    auto loader = SHSocialImageLoader::sharedImageLoader();
    loader->cancelLoadForURL(*m_imageURL);
    loader->removeObserver(this, *m_imageURL);
}

void SHSocialImageView::setCacheSecondes(double seconds) {
    if (seconds > 0)
        SHSocialImageLoader::sharedImageLoader()->setCacheSeconds(seconds);
    else
        platform::log("[" + std::to_string(seconds) + "] is error");
}

void SHSocialImageView::imageLoaderDidLoad(const SHImageLoaderNotification& notification) {
    setHidden(false);
    if (!m_imageURL || notification.imageURL != *m_imageURL)
        return;
    m_status = 1;
    if (!isGif)
        setImage(notification.image);
    if (auto target = delegate.lock())
        target->imageViewLoadedImage(*this);
}

void SHSocialImageView::imageLoaderDidFailToLoad(const SHImageLoaderNotification& notification) {
    m_status = 2;
    if (!m_imageURL || notification.imageURL != *m_imageURL || !notification.error)
        return;
    if (auto target = delegate.lock())
        target->imageViewFailedToLoadImage(*this, *notification.error);
}
