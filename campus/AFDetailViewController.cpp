#include "campus/AFDetailViewController.h"

#include "campus/AFDetailScrollView.h"
#include "client/MyTool.h"
#include "client/WeakBind.h"
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

namespace {

constexpr double kNavigationBarHeight = 64;
constexpr double kMargin = 7;
constexpr platform::Rect kHeadingFrame{{kMargin, 10}, {150, 20}};
// Below the heading's bottom.
constexpr double kCardTop = 40;
// The scrolling area's room below the card.
constexpr double kBelowCard = 50;

}  // namespace

AFDetailViewController::AFDetailViewController() = default;
AFDetailViewController::~AFDetailViewController() = default;

void AFDetailViewController::viewDidLoad() {
    view()->setBackgroundColor(platform::Color::white());
    createTabBar();

    const auto screen = platform::Screen::main().size();
    m_myScrollView = platform::View::make<platform::ScrollView>(
        platform::Rect{{0, 0}, {screen.width, screen.height - kNavigationBarHeight}});
    m_myScrollView->setBackgroundColor(MyTool::colorWithString("f7f7f7"));

    auto heading = platform::View::make<platform::Label>(kHeadingFrame);
    heading->setText(kHeading);
    heading->setTextColor(MyTool::colorWithString("939391"));
    heading->setBackgroundColor(platform::Color::clear());
    heading->setFont(platform::Font::systemFont(14));
    m_myScrollView->addSubview(heading);

    const double cardWidth = screen.width - 2 * kMargin;
    m_card = platform::View::make<AFDetailScrollView>(
        platform::Rect{{kMargin, kCardTop}, {cardWidth, screen.height - 114}}, m_academicForum);
    m_card->setClipsToBounds(true);
    m_card->setCornerRadius(8);
    m_card->setBorderColor(MyTool::colorWithString("dadada"));
    m_card->setBorderWidth(1);
    m_card->setBackgroundColor(platform::Color::white());
    m_myScrollView->addSubview(m_card);

    m_myScrollView->setContentSize({screen.width, m_card->size() + kBelowCard});
    // The card is exactly as high as its rows: it never scrolls, the page does.
    m_card->setFrame({{kMargin, kCardTop}, {cardWidth, double(m_card->size())}});
    view()->addSubview(m_myScrollView);
}

void AFDetailViewController::viewWillAppear(bool /*animated*/) {
    // The edge swipe still goes back with the custom back button.
    if (auto navigation = navigationController()) {
        if (auto pop = navigation->interactivePopGestureRecognizer())
            pop->setDelegate({});
    }
}

void AFDetailViewController::createTabBar() {
    if (auto navigation = navigationController()) {
        navigation->navigationBar()->setTitleTextAttributes(
            {platform::Font::systemFont(19), platform::Color::white()});
    }
    setTitle(kTitle);
    auto self = std::static_pointer_cast<AFDetailViewController>(shared_from_this());
    auto back = backBarBtnWithAction(
        *this, bindWeak(self, [](AFDetailViewController& page, platform::Control&) {
            page.backBtnWithAction();
        }));
    navigationItem().setLeftBarButtonItem(std::make_shared<platform::BarButtonItem>(back));
}

void AFDetailViewController::backBtnWithAction() {
    if (auto navigation = navigationController())
        navigation->popViewController(true);
    view()->endEditing(true);
}
