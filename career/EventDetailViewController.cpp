#include "career/EventDetailViewController.h"

#include "career/CareerDetailBar.h"
#include "career/EventDetailScrollView.h"
#include "client/MyTool.h"
#include "client/WeakBind.h"
#include "platform/graphics/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/ScrollView.h"

namespace {

constexpr double kNavigationBarHeight = 64;
constexpr double kMargin = 7;
constexpr double kHeadingTop = 14;
constexpr double kHeadingFrameHeight = 30;  // before it takes its text's height
constexpr double kCardGap = 14;             // under the heading, and under the card
constexpr double kHeadingFontSize = 16;

const char* const kPageColor = "f7f7f7";
const char* const kTextColor = "333333";
const char* const kBorderColor = "dadada";

}  // namespace

EventDetailViewController::EventDetailViewController() = default;
EventDetailViewController::~EventDetailViewController() = default;

void EventDetailViewController::viewWillAppear(bool animated) {
    ViewController::viewWillAppear(animated);
    CareerDetailBar::keepEdgeSwipeBack(*this);
}

void EventDetailViewController::viewDidLoad() {
    view()->setBackgroundColor(MyTool::colorWithString(kPageColor));
    createTabBar();
    createUI();
}

void EventDetailViewController::createTabBar() {
    auto self = std::static_pointer_cast<EventDetailViewController>(shared_from_this());
    CareerDetailBar::setUp(*this, m_naviTitleStr,
                           bindWeak(self, &EventDetailViewController::backBtnWithAction));
}

void EventDetailViewController::createUI() {
    const auto screen = platform::Screen::main().size();
    m_myScrollView = platform::View::make<platform::ScrollView>(
        platform::Rect{{0, 0}, {screen.width, screen.height - kNavigationBarHeight}});
    m_myScrollView->setBackgroundColor(MyTool::colorWithString(kPageColor));
    view()->addSubview(m_myScrollView);

    const double contentWidth = screen.width - 2 * kMargin;
    const auto headingFont = platform::Font::systemFont(kHeadingFontSize);
    m_headingLabel = platform::View::make<platform::Label>(
        platform::Rect{{kMargin, kHeadingTop}, {contentWidth, kHeadingFrameHeight}});
    m_headingLabel->setText(m_jobFair.ZT);
    m_headingLabel->setFont(headingFont);
    m_headingLabel->setTextColor(MyTool::colorWithString(kTextColor));
    m_headingLabel->setTextAlignment(platform::TextAlignment::Center);
    m_headingLabel->setNumberOfLines(0);
    m_headingLabel->setBackgroundColor(platform::Color::clear());
    const double headingHeight = MyTool::heightOfLabel(m_jobFair.ZT, headingFont, contentWidth);
    m_headingLabel->setFrame({{kMargin, kHeadingTop}, {contentWidth, headingHeight}});
    m_myScrollView->addSubview(m_headingLabel);

    const double cardTop = kHeadingTop + headingHeight + kCardGap;
    m_detailView = makeCard(
        {{kMargin, cardTop},
         {contentWidth, screen.height - 3 * kCardGap - headingHeight - kNavigationBarHeight}});
    m_detailView->setClipsToBounds(true);
    m_detailView->setCornerRadius(8);
    m_detailView->setBorderColor(MyTool::colorWithString(kBorderColor));
    m_detailView->setBorderWidth(1.0);
    m_detailView->setBackgroundColor(platform::Color::white());
    // The card is exactly as high as its rows: it never scrolls, the page does.
    m_detailView->setFrame({{kMargin, cardTop}, {contentWidth, double(m_detailView->size())}});

    // 14 above the heading, 14 between it and the card, 14 below the card.
    m_myScrollView->setContentSize(
        {screen.width, double(m_detailView->size()) + 3 * kCardGap + headingHeight});
    m_myScrollView->addSubview(m_detailView);
}

void EventDetailViewController::backBtnWithAction() {
    if (auto navigation = navigationController())
        navigation->popViewController(true);
}
