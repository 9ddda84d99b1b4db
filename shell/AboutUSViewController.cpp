#include "shell/AboutUSViewController.h"

#include "platform/foundation/Bundle.h"
#include "platform/graphics/Font.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/GestureRecognizer.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "widgets/ViewControllerBackBarItem.h"

using platform::Rect;

namespace {

namespace text {
constexpr const char* kTitle = "关于";
constexpr const char* kVersionPrefix = "版本：";
}  // namespace text

constexpr double kTitleFontSize = 19;
constexpr double kVersionFontSize = 16;

// The label's place on a screen `width` points wide: centred near the top.
Rect versionsLabelFrame(double width) {
    return {{0, 40}, {width, 30}};
}

}  // namespace

AboutUSViewController::AboutUSViewController() = default;
AboutUSViewController::~AboutUSViewController() = default;

void AboutUSViewController::loadView() {
    const auto screen = platform::Screen::main().bounds();
    auto root = platform::View::make<platform::View>(screen);
    root->setAutoresizingMask(platform::AutoresizingMask::FlexibleWidth |
                              platform::AutoresizingMask::FlexibleHeight);
    m_versionsLabel = platform::View::make<platform::Label>(versionsLabelFrame(screen.size.width));
    m_versionsLabel->setTextAlignment(platform::TextAlignment::Center);
    m_versionsLabel->setFont(platform::Font::systemFont(kVersionFontSize));
    root->addSubview(m_versionsLabel);
    setView(root);
}

void AboutUSViewController::viewDidLoad() {
    view()->setBackgroundColor(platform::Color::white());
    createTabBar();
    m_versionsLabel->setText(text::kVersionPrefix + platform::Bundle::main().shortVersionString());
}

void AboutUSViewController::createTabBar() {
    if (auto navigation = navigationController()) {
        navigation->navigationBar()->setTitleTextAttributes(
            {platform::Font::systemFont(kTitleFontSize), platform::Color::white()});
    }
    setTitle(text::kTitle);
    std::weak_ptr<ViewController> weak = weak_from_this();
    auto back = backBarBtnWithAction(*this, [weak](platform::Control&) {
        if (auto page = std::static_pointer_cast<AboutUSViewController>(weak.lock()))
            page->backBtnWithAction();
    });
    navigationItem().setLeftBarButtonItem(std::make_shared<platform::BarButtonItem>(back));
}

void AboutUSViewController::viewWillAppear(bool animated) {
    ViewController::viewWillAppear(animated);
    // With a custom back button the swipe back would stop working unless the recogniser
    // asks nobody.
    if (auto navigation = navigationController()) {
        if (auto recognizer = navigation->interactivePopGestureRecognizer())
            recognizer->setDelegate({});
    }
}

void AboutUSViewController::backBtnWithAction() {
    if (auto navigation = navigationController())
        navigation->popViewController(true);
}
