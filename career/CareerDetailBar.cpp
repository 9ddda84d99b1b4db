#include "career/CareerDetailBar.h"

#include "platform/graphics/Font.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/GestureRecognizer.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "widgets/ViewControllerBackBarItem.h"

namespace {

constexpr double kTitleFontSize = 19;
constexpr double kStatusStripHeight = 20;

}  // namespace

void CareerDetailBar::setUp(platform::ViewController& screen, const std::string& title,
                            std::function<void()> back) {
    auto navigation = screen.navigationController();
    if (navigation) {
        navigation->navigationBar()->setTitleTextAttributes(
            {platform::Font::systemFont(kTitleFontSize), platform::Color::white()});
    }
    screen.setTitle(title);
    auto button = backBarBtnWithAction(screen, [back = std::move(back)](platform::Control&) {
        if (back)
            back();
    });
    screen.navigationItem().setLeftBarButtonItem(std::make_shared<platform::BarButtonItem>(button));
    if (navigation)
        navigation->navigationBar()->setBackgroundColor(
            platform::Color::rgba(41 / 255.0f, 140 / 255.0f, 242 / 255.0f, 1));
    screen.view()->addSubview(platform::View::make<platform::View>(
        platform::Rect{{0, 0}, {platform::Screen::main().size().width, kStatusStripHeight}}));
}

void CareerDetailBar::keepEdgeSwipeBack(platform::ViewController& screen) {
    if (auto navigation = screen.navigationController()) {
        if (auto swipe = navigation->interactivePopGestureRecognizer())
            swipe->setDelegate({});
    }
}
