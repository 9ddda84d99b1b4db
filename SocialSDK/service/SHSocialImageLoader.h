#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Image.h"
#include "platform/net/HttpClient.h"
#include "platform/ui/ImageView.h"

class SHSocialImageLoadConnection;

// An error of a picture download: the transport's text, or the address's host with 406 for
// bytes that are not a picture.
struct SHSocialImageError {
    std::string domain;
    int code = 0;
    std::string message;
};

// What the loader announces for an address: progress, the picture (or, in GIF mode, the raw
// bytes) or the failure.
struct SHImageLoaderNotification {
    std::string name;  // the notification prefix followed by the address's cache key
    std::string imageURL;
    float percent = 0;
    platform::Image image;
    std::optional<std::string> imageGif;
    std::optional<SHSocialImageError> error;
};

class SHImageLoaderObserver {
public:
    virtual ~SHImageLoaderObserver() = default;
    virtual void imageLoaderDidLoadPercent(const SHImageLoaderNotification&) {}
    virtual void imageLoaderDidLoad(const SHImageLoaderNotification&) {}
    virtual void imageLoaderDidFailToLoad(const SHImageLoaderNotification&) {}
};

class SHImageLoadConnectionDelegate {
public:
    virtual ~SHImageLoadConnectionDelegate() = default;
    virtual void imageLoadConnectionDidReceivePercent(float percent,
                                                      SHSocialImageLoadConnection& connection) = 0;
    virtual void imageLoadConnectionDidFinishLoading(SHSocialImageLoadConnection& connection) = 0;
    virtual void imageLoadConnectionDidFail(SHSocialImageLoadConnection& connection,
                                            const SHSocialImageError& error) = 0;
};

// One picture download.
class SHSocialImageLoadConnection
    : public std::enable_shared_from_this<SHSocialImageLoadConnection> {
public:
    SHSocialImageLoadConnection(std::string imageURL,
                                std::weak_ptr<SHImageLoadConnectionDelegate> delegate);
    ~SHSocialImageLoadConnection();

    void start();
    void cancel();
    const std::string& imageURL() const { return m_imageURL; }
    const std::string& responseData() const { return m_responseData; }
    const platform::HttpResponse& response() const { return m_response; }
    double timeoutInterval = 30;
    std::weak_ptr<SHImageLoadConnectionDelegate> delegate;
    // The share of the body received: 0 while the length is unknown, never above 1.
    static float fractionReceived(std::size_t received, std::optional<std::size_t> expected);

private:
    std::string m_imageURL;
    std::string m_responseData;
    platform::HttpResponse m_response;
    std::optional<platform::HttpClient::RequestId> m_request;
};

// The process-wide picture loader: answers from the SDK's disk cache or starts one download per
// address, and tells the observers of the address how it went.
class SHSocialImageLoader : public SHImageLoadConnectionDelegate,
                            public std::enable_shared_from_this<SHSocialImageLoader> {
public:
    static std::shared_ptr<SHSocialImageLoader> sharedImageLoader();
    static void resetSharedImageLoader();
    static std::string cacheKey(const std::string& imageURL);

    std::shared_ptr<SHSocialImageLoadConnection> loadImageForURL(const std::string& imageURL);
    void loadImageForURL(const std::string& imageURL,
                         const std::shared_ptr<SHImageLoaderObserver>& observer);
    platform::Image imageForURL(const std::string& imageURL,
                                const std::shared_ptr<SHImageLoaderObserver>& observer,
                                bool autoLoad);
    std::optional<std::string> dataForURL(const std::string& imageURL,
                                          const std::shared_ptr<SHImageLoaderObserver>& observer,
                                          bool isGif);
    void addObserver(const std::shared_ptr<SHImageLoaderObserver>& observer,
                     const std::string& imageURL);
    void removeObserver(const SHImageLoaderObserver* observer);
    void removeObserver(const SHImageLoaderObserver* observer, const std::string& imageURL);
    bool hasLoadedImageURL(const std::string& imageURL) const;
    bool isLoadingImageURL(const std::string& imageURL) const;
    std::shared_ptr<SHSocialImageLoadConnection> loadingConnectionForURL(
        const std::string& imageURL) const;
    void cancelLoadForURL(const std::string& imageURL);
    void clearCacheForURL(const std::string& imageURL);
    void clearCacheForURL(const std::string& imageURL, std::size_t styleHash);

    bool isGif = false;
    double cacheSeconds() const { return m_cacheSeconds; }
    // Only lifetimes above 0 are taken.
    void setCacheSeconds(double seconds);

    void imageLoadConnectionDidReceivePercent(float percent,
                                              SHSocialImageLoadConnection& connection) override;
    void imageLoadConnectionDidFinishLoading(SHSocialImageLoadConnection& connection) override;
    void imageLoadConnectionDidFail(SHSocialImageLoadConnection& connection,
                                    const SHSocialImageError& error) override;

private:
    enum class Kind { Percent, Loaded, Failed };
    void post(Kind kind, const SHImageLoaderNotification& notification);
    void cleanUpConnection(const std::string& imageURL);

    struct Loading {
        std::shared_ptr<SHSocialImageLoadConnection> connection;
        platform::TaskHandle start;
    };
    mutable std::mutex m_connectionsLock;
    std::map<std::string, Loading> m_connections;
    std::map<std::string, std::vector<std::weak_ptr<SHImageLoaderObserver>>> m_observers;
    double m_cacheSeconds = 604800;
};

class SHSocialImageView;

class SHImageViewDelegate {
public:
    virtual ~SHImageViewDelegate() = default;
    virtual void imageViewLoadedImage(SHSocialImageView&) {}
    virtual void imageViewFailedToLoadImage(SHSocialImageView&, const SHSocialImageError&) {}
};

// An image view that shows a placeholder and then the picture of an address.
class SHSocialImageView : public platform::ImageView, public SHImageLoaderObserver {
public:
    explicit SHSocialImageView(const platform::Image& placeholder,
                               std::weak_ptr<SHImageViewDelegate> delegate = {});
    ~SHSocialImageView() override;

    const std::optional<std::string>& imageURL() const { return m_imageURL; }
    void setImageURL(const std::optional<std::string>& imageURL);
    void cancelImageLoad();
    void setCacheSecondes(double seconds);

    int status() const { return m_status; }  // 0 new, 1 loaded, 2 failed
    bool isCacheImage() const { return m_isCacheImage; }
    bool isGif = false;
    bool isAutoStart = false;
    platform::Image placeholderImage;
    std::weak_ptr<SHImageViewDelegate> delegate;

    void imageLoaderDidLoad(const SHImageLoaderNotification& notification) override;
    void imageLoaderDidFailToLoad(const SHImageLoaderNotification& notification) override;

private:
    std::shared_ptr<SHSocialImageView> self();

    std::optional<std::string> m_imageURL;
    int m_status = 0;
    bool m_isCacheImage = false;
};
