#include "components/webimage/ImageViewWebCache.h"

#include "components/webimage/WebImageManager.h"
#include "platform/ui/ImageView.h"

namespace platform::components {

void sd_setImageWithURL(ImageView& imageView, const std::string& url, const Image& placeholder) {
    WebImageManager::shared().setImageWithURL(imageView, url, placeholder);
}

void sd_setImageWithURL(const std::shared_ptr<ImageView>& imageView, const std::string& url,
                        const Image& placeholder) {
    WebImageManager::shared().setImageWithURL(imageView, url, placeholder);
}

void sd_cancelCurrentImageLoad(ImageView& imageView) {
    WebImageManager::shared().cancelCurrentImageLoad(imageView);
}

}  // namespace platform::components
