#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/graphics/Geometry.h"
#include "platform/graphics/Image.h"
#include "platform/ui/ViewController.h"

namespace platform {
class ImageView;
namespace components {
class ProgressHUD;
}
}  // namespace platform

// The base of the scanner screen: a light grey background under no bars, a short text overlay
// on the application's last window, a loading overlay, an alert, an empty-list picture and the
// signed-in user's head picture.
class kCustomViewController : public platform::ViewController {
public:
    static constexpr double kHUDSeconds = 1.0;

    void viewDidLoad() override;
    // Text only, hidden after a second and then removed.
    void showHUDWithStr(const std::string& text);
    // "提示" with the message and one button "确认"; the controller is its delegate when it is
    // an alert delegate.
    void showAlertViewStr(const std::string& message);

    // The picture of an empty list, half its natural size, a little above the middle; made on
    // first use, shown again afterwards.
    void addImgV();
    void dismissIMGV();
    void removeImgV();
    const std::shared_ptr<platform::ImageView>& imgV() const { return m_imgV; }

    // Writes the picture into the caches directory under the signed-in user's account name
    // (the "userAccount" of the user defaults' "UserInfo"). False, writing nothing, when there
    // is no account name or it is not a plain file name (so a stored account can never steer
    // the write outside the caches directory), or when the write fails.
    bool saveHeadPicWithData(std::string_view data);
    // The app service's root followed by the "headImg" of "UserInfo" ("" when absent).
    std::string setHeadImage() const;

    // Shows "努力加载中" on the last window, replacing an overlay still showing.
    void loading();
    void endLoading();
    std::shared_ptr<platform::components::ProgressHUD> hud() const { return m_hud; }

    // Aspect fill with a centre crop into exactly `size` (points, at the image's scale). An
    // empty image or size gives an empty image.
    static platform::Image imageByScalingAndCroppingForSize(const platform::Image& image,
                                                            platform::Size size);

private:
    std::shared_ptr<platform::components::ProgressHUD> m_hud;
    std::shared_ptr<platform::ImageView> m_imgV;
};
