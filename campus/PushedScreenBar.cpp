#include "campus/PushedScreenBar.h"

#include "platform/graphics/Font.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/GestureRecognizer.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "widgets/ViewControllerBackBarItem.h"

namespace {
constexpr double kTitleFontSize = 19;
}

void setUpPushedScreenBar(platform::ViewController& screen, const std::string& title,
                          std::function<void()> back) {
    if (auto navigation = screen.navigationController()) {
        navigation->navigationBar()->setTitleTextAttributes(
            {platform::Font::systemFont(kTitleFontSize), platform::Color::white()});
    }
    screen.setTitle(title);
    auto button = backBarBtnWithAction(screen, [back = std::move(back)](platform::Control&) {
        if (back)
            back();
    });
    screen.navigationItem().setLeftBarButtonItem(std::make_shared<platform::BarButtonItem>(button));
}

void keepEdgeSwipeBack(platform::ViewController& screen) {
    if (auto navigation = screen.navigationController()) {
        if (auto swipe = navigation->interactivePopGestureRecognizer())
            swipe->setDelegate({});
    }
}
