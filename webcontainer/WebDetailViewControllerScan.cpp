#include <algorithm>

#include "platform/foundation/Log.h"
#include "platform/graphics/Image.h"
#include "platform/ui/NavigationController.h"
#include "webcontainer/ItemScanViewController.h"
#include "webcontainer/PreviewImages.h"
#include "webcontainer/RootViewController.h"
#include "webcontainer/WebDetailViewController.h"

namespace {
constexpr const char* kScannerTitle = "扫码";
}  // namespace

void WebDetailViewController::openScanner(bool batch) {
    auto navigation = navigationController();
    if (!navigation)
        return;
    auto scanner = std::make_shared<ItemScanViewController>();
    scanner->setLANG(true);
    scanner->setTittle(kScannerTitle);
    scanner->setDelegate(std::static_pointer_cast<WebDetailViewController>(shared_from_this()));
    scanner->setAdd(batch);
    // The codes go to the page that opened the scanner, if the user is still on it then.
    m_scanAsker = askingPage();
    navigation->pushViewController(scanner, true);
}

void WebDetailViewController::previewImage(const std::vector<std::string>& urls) {
    std::vector<std::string> first(urls.begin(),
                                   urls.begin() + std::min(urls.size(), kPreviewImageCount));
    const platform::Size shown = previewShownPixels(first.size());
    std::weak_ptr<WebDetailViewController> weakSelf =
        std::static_pointer_cast<WebDetailViewController>(shared_from_this());
    awaitCommandPictures(
        std::move(first), shown, kPreviewLimits, [weakSelf](std::vector<platform::Image> images) {
            std::erase_if(images, [](const platform::Image& image) { return image.isNull(); });
            auto page = weakSelf.lock();
            if (!page)
                return;
            if (images.empty()) {
                // The pager needs one image per page: with none there is nothing to show.
                platform::log("error:%@", "previewImage: no image could be loaded");
                return;
            }
            auto navigation = page->navigationController();
            if (!navigation)
                return;
            auto preview = std::make_shared<RootViewController>();
            preview->setMyArray(std::move(images));
            navigation->pushViewController(preview, true);
        });
}
