#include "widgets/ViewControllerBackBarItem.h"

#include "platform/graphics/Font.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/ViewController.h"

namespace {

const char* const kBackImageName = "返回";
// What a screen reader (and the front end's outline) calls the picture-only back button.
const char* const kBackLabel = "back";
constexpr platform::Size kBackButtonSize{32.5, 27};
constexpr double kBarTitleFontSize = 14;

std::shared_ptr<platform::Button> makeBarButton(platform::ViewController& controller,
                                                platform::Rect frame,
                                                platform::Control::Action action) {
    auto button = platform::View::make<platform::Button>(frame);
    if (action) {
        // A bar button outlives the call and may outlive its screen: it must neither keep
        // the screen alive nor act for a screen that has gone.
        std::weak_ptr<platform::ViewController> target = controller.weak_from_this();
        button->addTarget(
            [target, action = std::move(action)](platform::Control& sender) {
                if (auto alive = target.lock()) {
                    action(sender);
                }
            },
            platform::ControlEvent::TouchUpInside);
    }
    return button;
}

}  // namespace

std::shared_ptr<platform::Button> backBarBtnWithAction(platform::ViewController& controller,
                                                       platform::Control::Action action) {
    auto button =
        makeBarButton(controller, platform::Rect{{0, 0}, kBackButtonSize}, std::move(action));
    button->setImage(platform::Image::named(kBackImageName));
    button->setAccessibilityLabel(kBackLabel);
    return button;
}

std::shared_ptr<platform::Button> searchBarBtnWithAction(platform::ViewController& controller,
                                                         platform::Control::Action action) {
    double x = controller.view()->bounds().size.width;
    auto button =
        makeBarButton(controller, platform::Rect{{x, 0}, kBackButtonSize}, std::move(action));
    button->setImage(platform::Image::named(kBackImageName));
    button->setAccessibilityLabel(kBackLabel);
    return button;
}

std::shared_ptr<platform::Button> BarButtonWithSizeTitle(platform::ViewController& controller,
                                                         platform::Size size,
                                                         const std::string& title,
                                                         platform::Control::Action action) {
    auto button = makeBarButton(controller, platform::Rect{{0, 0}, size}, std::move(action));
    button->setTitle(title);
    button->titleLabel()->setFont(platform::Font::systemFont(kBarTitleFontSize));
    return button;
}

std::shared_ptr<platform::Button> BarButtonWithSizeImgName(platform::ViewController& controller,
                                                           platform::Size size,
                                                           const std::string& imageName,
                                                           platform::Control::Action action) {
    auto button = makeBarButton(controller, platform::Rect{{0, 0}, size}, std::move(action));
    button->setImage(platform::Image::named(imageName));
    return button;
}

std::shared_ptr<platform::NavigationController> addNaviController(
    std::shared_ptr<platform::ViewController> controller) {
    return std::make_shared<platform::NavigationController>(std::move(controller));
}
