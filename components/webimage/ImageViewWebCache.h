#pragma once

#include <memory>
#include <string>

#include "platform/graphics/Image.h"

namespace platform {
class ImageView;
}

// The image view's web-cache category, as free functions (the phone's UIImageView(WebCache)).
namespace platform::components {

// Through WebImageManager::shared(): the placeholder at once, the image when it has loaded.
void sd_setImageWithURL(ImageView& imageView, const std::string& url, const Image& placeholder);
void sd_setImageWithURL(const std::shared_ptr<ImageView>& imageView, const std::string& url,
                        const Image& placeholder);
void sd_cancelCurrentImageLoad(ImageView& imageView);

}  // namespace platform::components
