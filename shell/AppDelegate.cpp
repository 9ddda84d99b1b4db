#include "shell/AppDelegate.h"

#include <algorithm>
#include <string>
#include <vector>

#include "campus/AddressBookViewController.h"
#include "campus/MeetingViewController.h"
#include "client/MyTool.h"
#include "client/SignInSession.h"
#include "client/SignInState.h"
#include "components/intro/IntroductionViewController.h"
#include "components/sidemenu/SideViewController.h"
#include "platform/foundation/Json.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Application.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TabBar.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/TabBarItem.h"
#include "platform/ui/Window.h"
#include "shell/HomePageViewController.h"
#include "shell/OptionsViewController.h"
#include "shell/RightViewController.h"
#include "signin/LoginViewController.h"
#include "webcontainer/WebDetailViewController.h"

using platform::components::IntroductionViewController;
using platform::components::SideViewController;

namespace {

namespace text {
constexpr const char* kNewsTab = "新闻";
constexpr const char* kMeetingTab = "会议";
constexpr const char* kAddressBookTab = "通讯录";
constexpr const char* kSettingsTab = "设置";
}  // namespace text

namespace color {
constexpr const char* kNavigationBar = "d04b50";
constexpr const char* kTabBarTint = "f3a306";
constexpr const char* kTabBarBackground = "f4f4f8";
}  // namespace color

// The right panel is 300 points on the 375-point phone and scales with the screen width.
constexpr double kRightPanelWidthAt375 = 300;
constexpr double kReferenceScreenWidth = 375;

struct Tab {
    const char* title;
    const char* image;
    const char* selectedImage;
    std::shared_ptr<platform::ViewController> root;
};

struct IntroPages {
    platform::Size screen;
    std::vector<std::string> covers;
};

// Screens are matched exactly; any other size gets no introduction.
const std::vector<IntroPages>& introPages() {
    static const std::vector<IntroPages> pages = {
        {{320, 480}, {"4-1", "4-2", "4-3"}},
        {{320, 568}, {"5-1", "5-2", "5-3"}},
        {{375, 667}, {"6-1", "6-2", "6-3"}},
        {{414, 736}, {"6+1", "6+2", "6+3"}},
    };
    return pages;
}

const std::vector<std::string>* introCoversFor(platform::Size screen) {
    for (const auto& row : introPages()) {
        if (row.screen.width == screen.width && row.screen.height == screen.height) {
            return &row.covers;
        }
    }
    return nullptr;
}

}  // namespace

AppDelegate::AppDelegate() = default;
AppDelegate::~AppDelegate() = default;

std::shared_ptr<AppDelegate> AppDelegate::shared() {
    return std::dynamic_pointer_cast<AppDelegate>(platform::Application::shared().delegate());
}

std::shared_ptr<AppDelegate> AppDelegate::launchApplication() {
    auto delegate = std::make_shared<AppDelegate>();
    auto& application = platform::Application::shared();
    application.setDelegate(delegate);
    application.launch();
    return delegate;
}

bool AppDelegate::didFinishLaunchingWithOptions(platform::Application& application,
                                                const platform::Json& /*options*/) {
    const auto screen = platform::Screen::main().bounds();

    m_window = platform::View::make<platform::Window>(screen);
    m_window->setBackgroundColor(platform::Color::white());

    // The introduction shows once, even if that first launch ends before the user enters.
    auto& defaults = platform::UserDefaults::standard();
    if (!defaults.boolForKey(SignInKey::firstLaunch)) {
        defaults.setBool(true, SignInKey::firstLaunch);
        defaults.synchronize();
        if (const auto* covers = introCoversFor(screen.size)) {
            m_intro =
                std::make_shared<IntroductionViewController>(*covers, std::vector<std::string>{});
        }
    }

    application.setStatusBarStyle(platform::StatusBarStyle::LightContent, false);

    auto tabBarController = makeTabBarController();

    m_sideViewController = std::make_shared<SideViewController>();
    m_sideViewController->setRootViewController(tabBarController);
    m_sideViewController->setRightViewController(std::make_shared<RightViewController>());
    m_sideViewController->setRightViewShowWidth(screen.size.width / kReferenceScreenWidth *
                                                kRightPanelWidthAt375);
    // The tab bar slides sideways as the menu opens.
    m_sideViewController->rootViewMoveBlock = [](platform::View& rootView,
                                                 platform::Rect orginFrame, double xoffset) {
        rootView.setFrame(platform::Rect{{xoffset, orginFrame.origin.y}, orginFrame.size});
    };

    m_window->setRootViewController(m_sideViewController);
    m_window->makeKeyAndVisible();

    if (m_intro) {
        m_window->addSubview(m_intro->view());
        std::weak_ptr<AppDelegate> weak = weak_from_this();
        m_intro->didSelectedEnter = [weak] {
            auto delegate = weak.lock();
            if (!delegate || !delegate->m_intro) {
                return;
            }
            delegate->m_intro->view()->removeFromSuperview();
            delegate->m_intro.reset();
        };
    }
    return true;
}

std::shared_ptr<platform::TabBarController> AppDelegate::makeTabBarController() {
    // In the order of the tab indices.
    const std::vector<Tab> tabs = {
        {text::kNewsTab, "新闻2@2x", "新闻-副本@2x", std::make_shared<HomePageViewController>()},
        {text::kMeetingTab, "会议2-副本@2x", "会议-副本@2x",
         std::make_shared<MeetingViewController>()},
        {text::kAddressBookTab, "通讯录2-副本@2x", "通讯录-副本@2x",
         std::make_shared<AddressBookViewController>()},
        {text::kSettingsTab, "设置2@2x", "设置-副本@2x", std::make_shared<OptionsViewController>()},
    };

    std::vector<std::shared_ptr<platform::ViewController>> stacks;
    for (const auto& tab : tabs) {
        auto& item = tab.root->tabBarItem();
        item.setTitle(tab.title);
        item.setImage(platform::Image::named(tab.image));
        item.setSelectedImage(platform::Image::named(tab.selectedImage));

        auto navigation = std::make_shared<platform::NavigationController>(tab.root);
        navigation->navigationBar()->setBarTintColor(
            MyTool::colorWithString(color::kNavigationBar));
        navigation->navigationBar()->setTranslucent(false);
        stacks.push_back(navigation);
    }

    auto tabBarController = std::make_shared<platform::TabBarController>();
    tabBarController->setViewControllers(std::move(stacks));
    tabBarController->setDelegate(
        std::static_pointer_cast<platform::TabBarControllerDelegate>(shared_from_this()));

    const auto& tabBar = tabBarController->tabBar();
    tabBar->setTintColor(MyTool::colorWithString(color::kTabBarTint));
    auto background = platform::View::make<platform::View>(
        platform::Rect{{0, 0}, {platform::Screen::main().size().width, platform::TabBar::kHeight}});
    background->setBackgroundColor(MyTool::colorWithString(color::kTabBarBackground));
    tabBar->insertSubview(background, 0);
    tabBar->setOpaque(true);
    tabBar->setTranslucent(false);
    return tabBarController;
}

bool AppDelegate::shouldSelectViewController(
    platform::TabBarController& tabBarController,
    const std::shared_ptr<platform::ViewController>& controller) {
    if (!controller) {
        return false;
    }
    // Titles are for people; the gate goes by position, which the tab bar fixes at launch.
    const auto& stacks = tabBarController.viewControllers();
    const auto position = std::find(stacks.begin(), stacks.end(), controller);
    const auto index = static_cast<size_t>(position - stacks.begin());
    if (index != kMeetingTabIndex && index != kAddressBookTabIndex) {
        return true;
    }
    if (SignInSession().isSignedIn()) {
        return true;
    }
    auto login = std::make_shared<LoginViewController>();
    login->setModalTransitionStyle(platform::ModalTransitionStyle::CoverVertical);
    if (auto selected = tabBarController.selectedViewController()) {
        selected->presentViewController(login, true);
    }
    return false;
}
