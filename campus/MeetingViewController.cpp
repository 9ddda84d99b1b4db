#include "campus/MeetingViewController.h"

#include <charconv>
#include <cmath>

#include "campus/MeetingDetailsViewController.h"
#include "client/MyTool.h"
#include "client/NetError.h"
#include "client/NetRequest.h"
#include "client/NetTool.h"
#include "components/hud/ProgressHUD.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Image.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "widgets/ButtonEnlargeEdge.h"
#include "widgets/MeetingScrollView.h"
#include "widgets/SideMenuSwipe.h"

using platform::Json;
using platform::Rect;

namespace {

// The weekday texts of the reply, Monday first, and the pager's tab titles for them.
constexpr std::array<const char*, 7> kWeekdays = {"周一", "周二", "周三", "周四",
                                                  "周五", "周六", "周日"};
const std::vector<std::string> kTabTitles = {" 周一 ", " 周二 ", " 周三 ", " 周四 ",
                                             " 周五 ", " 周六 ", " 周日 "};
// None of the pager's animation codes: no tab moves or scales, the slider jumps.
constexpr int kNoAnimation = 9;

namespace image {
constexpr const char* kPrevious = "上一周";
constexpr const char* kNext = "下一周";
constexpr const char* kToday = "今天";
}  // namespace image

// The title view's geometry.
namespace layout {
constexpr Rect kTitleView{{0, 0}, {200, 40}};
constexpr Rect kTitle{{40, 0}, {120, 25}};
constexpr Rect kDate{{35, 25}, {130, 15}};
constexpr Rect kPrevious{{0, 0}, {40, 40}};
constexpr Rect kNext{{160, 0}, {40, 40}};
constexpr Rect kToday{{0, 0}, {32, 27}};
constexpr float kButtonTouchMargin = 25;
}  // namespace layout

std::string weekTitle(const std::string& number) {
    return "第" + number + "周";
}

// A week number given as a JSON number or as decimal text; nothing for anything else.
std::optional<long> weekNumber(const Json& reply, const char* key) {
    if (!reply.is_object())
        return std::nullopt;
    auto it = reply.find(key);
    if (it == reply.end())
        return std::nullopt;
    if (it->is_number_integer())
        return it->get<long>();
    if (it->is_number_float()) {
        const double value = it->get<double>();
        if (std::isfinite(value) && value == std::floor(value) && std::abs(value) < 1e9)
            return static_cast<long>(value);
        return std::nullopt;
    }
    if (it->is_string()) {
        const auto& text = it->get_ref<const std::string&>();
        long value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error == std::errc{} && end == text.data() + text.size() && !text.empty())
            return value;
    }
    return std::nullopt;
}

std::string textOf(const Json& reply, const char* key) {
    if (!reply.is_object())
        return {};
    auto it = reply.find(key);
    return it == reply.end() ? std::string() : recordText(*it);
}

// The day lists of a reply's "Meetings": each meeting on the page whose weekday text its
// `week` is exactly; any other weekday shows on no page.
std::array<std::vector<OneWeekMeeting>, 7> dayLists(const Json& reply) {
    std::array<std::vector<OneWeekMeeting>, 7> days;
    for (auto& meeting : recordsFromList<OneWeekMeeting>(reply, "Meetings")) {
        for (std::size_t day = 0; day < kWeekdays.size(); ++day) {
            if (meeting.week == kWeekdays[day]) {
                days[day].push_back(std::move(meeting));
                break;
            }
        }
    }
    return days;
}

}  // namespace

MeetingViewController::MeetingViewController() = default;
MeetingViewController::~MeetingViewController() = default;

void MeetingViewController::loadView() {
    auto root = platform::View::make<platform::View>(platform::Screen::main().bounds());
    root->setAutoresizingMask(platform::AutoresizingMask::FlexibleWidth |
                              platform::AutoresizingMask::FlexibleHeight);
    setView(root);
}

void MeetingViewController::viewDidLoad() {
    view()->setBackgroundColor(platform::Color::white());
    if (auto navigation = navigationController())
        navigation->navigationBar()->setTranslucent(false);
    showLoadingOverlay();
    m_connection = NetTool::shareInstance().isConnectionAvailable();
    createTabBar();
    getDateData();
}

void MeetingViewController::viewDidAppear(bool animated) {
    ViewController::viewDidAppear(animated);
    // The side menu belongs to the home page; here its swipe would fight the pager's.
    SideMenuSwipe::setNeedSwipeShowMenu(false);
}

std::shared_ptr<platform::components::ProgressHUD> MeetingViewController::HUD() const {
    return m_HUD && m_HUD->isShowing() && m_HUD->superview() ? m_HUD : nullptr;
}

void MeetingViewController::createTabBar() {
    std::weak_ptr<platform::ViewController> weakSelf = weak_from_this();
    auto act = [weakSelf](void (MeetingViewController::*action)()) {
        return [weakSelf, action](platform::Control&) {
            if (auto self = std::static_pointer_cast<MeetingViewController>(weakSelf.lock()))
                (self.get()->*action)();
        };
    };

    // The item keeps the screen's name (the title view covers it); the tab keeps "会议",
    // which the sign-in gate reads.
    navigationItem().setTitle(kTitle);
    auto titleView = platform::View::make<platform::View>(layout::kTitleView);
    titleView->setBackgroundColor(platform::Color::clear());
    navigationItem().setTitleView(titleView);

    m_titleLabel = platform::View::make<platform::Label>(layout::kTitle);
    m_titleLabel->setBackgroundColor(platform::Color::clear());
    m_titleLabel->setFont(platform::Font::systemFont(19));
    m_titleLabel->setTextAlignment(platform::TextAlignment::Center);
    m_titleLabel->setTextColor(platform::Color::white());
    m_titleLabel->setText(kTitle);
    titleView->addSubview(m_titleLabel);

    if (m_connection) {
        m_dateLabel = platform::View::make<platform::Label>(layout::kDate);
        m_dateLabel->setBackgroundColor(platform::Color::clear());
        m_dateLabel->setFont(platform::Font::systemFont(13.5));
        m_dateLabel->setTextAlignment(platform::TextAlignment::Center);
        m_dateLabel->setTextColor(platform::Color::white());
        titleView->addSubview(m_dateLabel);

        m_lButton = platform::View::make<platform::Button>(layout::kPrevious);
        m_lButton->setImage(platform::Image::named(image::kPrevious));
        m_lButton->addTarget(act(&MeetingViewController::lButtonAction),
                             platform::ControlEvent::TouchUpInside);
        setEnlargeEdge(*m_lButton, layout::kButtonTouchMargin);
        m_lButton->setHandle(kPreviousHandle);
        m_lButton->setHidden(true);
        titleView->addSubview(m_lButton);

        m_rButton = platform::View::make<platform::Button>(layout::kNext);
        m_rButton->setImage(platform::Image::named(image::kNext));
        m_rButton->addTarget(act(&MeetingViewController::rButtonAction),
                             platform::ControlEvent::TouchUpInside);
        setEnlargeEdge(*m_rButton, layout::kButtonTouchMargin);
        m_rButton->setHandle(kNextHandle);
        m_rButton->setHidden(true);
        titleView->addSubview(m_rButton);
    }

    auto today = platform::View::make<platform::Button>(layout::kToday);
    today->setImage(platform::Image::named(image::kToday));
    today->addTarget(act(&MeetingViewController::todayBtnAction),
                     platform::ControlEvent::TouchUpInside);
    today->setHandle(kTodayHandle);
    navigationItem().setRightBarButtonItem(std::make_shared<platform::BarButtonItem>(today));
}

void MeetingViewController::send(const ServiceURL& url, std::function<void(const Json&)> arrived) {
    const std::uint64_t request = ++m_latestRequest;
    std::weak_ptr<platform::ViewController> weakSelf = weak_from_this();
    auto latest = [weakSelf, request]() -> std::shared_ptr<MeetingViewController> {
        auto self = std::static_pointer_cast<MeetingViewController>(weakSelf.lock());
        return self && self->m_latestRequest == request ? self : nullptr;
    };
    NetTool::shareInstance().getWithURL(
        url,
        [latest, arrived = std::move(arrived)](const Json& reply) {
            if (latest())
                arrived(reply);
        },
        [latest](const NetError& /*error*/) {
            if (auto self = latest())
                self->requestFailed();
        });
}

void MeetingViewController::getDateData() {
    std::weak_ptr<platform::ViewController> weakSelf = weak_from_this();
    send(NetRequest::oneWeekMeeting(), [weakSelf](const Json& reply) {
        if (auto self = std::static_pointer_cast<MeetingViewController>(weakSelf.lock()))
            self->currentWeekArrived(reply);
    });
}

void MeetingViewController::getOtherWeek(long week) {
    std::weak_ptr<platform::ViewController> weakSelf = weak_from_this();
    send(NetRequest::getMeetingWeek(std::to_string(week)), [weakSelf, week](const Json& reply) {
        if (auto self = std::static_pointer_cast<MeetingViewController>(weakSelf.lock()))
            self->otherWeekArrived(week, reply);
    });
}

void MeetingViewController::currentWeekArrived(const Json& reply) {
    m_requestedWeek.reset();
    createWeekView(true, textOf(reply, "currentDate"), reply);
    if (auto week = weekNumber(reply, "currentWeek")) {
        m_currentDJZ = *week;
        m_titleLabel->setText(weekTitle(textOf(reply, "currentWeek")));
    }
    if (auto last = weekNumber(reply, "maxWeek"))
        m_maxWeek = *last;
    if (m_dateLabel)
        m_dateLabel->setText(textOf(reply, "scope"));
    updateWeekButtons(m_currentDJZ);
    removeLoadingOverlay();
}

void MeetingViewController::otherWeekArrived(long week, const Json& reply) {
    m_requestedWeek.reset();
    m_currentDJZ = week;
    m_titleLabel->setText(weekTitle(std::to_string(week)));
    // Another week opens on Monday's page.
    createWeekView(false, "", reply);
    if (m_dateLabel)
        m_dateLabel->setText(textOf(reply, "scope"));
    updateWeekButtons(m_currentDJZ);
    removeLoadingOverlay();
}

void MeetingViewController::requestFailed() {
    // The week shown stays; the buttons go back to its bounds. As for any failed request of
    // this screen there is no message, and the overlay goes when its time is up.
    m_requestedWeek.reset();
    updateWeekButtons(m_currentDJZ);
}

void MeetingViewController::createWeekView(bool current, const std::string& currentDate,
                                           const Json& reply) {
    auto self = std::static_pointer_cast<MeetingViewController>(shared_from_this());
    MeetingScrollView::Views views;
    auto days = dayLists(reply);
    for (std::size_t day = 0; day < m_pages.size(); ++day) {
        auto page = MeetingDayView::page();
        page->setDelegate(std::static_pointer_cast<presentVCDelegate>(self));
        page->setArray(std::move(days[day]));
        m_pages[day] = page;
        views.push_back(page);
    }

    auto pager =
        MeetingScrollView::scrollWithFrame(view()->bounds(), views, kTabTitles, kNoAnimation);
    pager->xl_topBackColor = MyTool::colorWithString("f5f5f5");
    pager->xl_sliderColor = platform::Color::rgba(249 / 255.0f, 69 / 255.0f, 82 / 255.0f, 0.9f);
    pager->xl_buttonColorNormal = platform::Color::black();
    pager->xl_buttonColorSelected = platform::Color::white();
    pager->xl_buttonFont = 15;
    pager->xl_buttonToSlider = 33;
    pager->xl_sliderHeight = 26;
    pager->xl_topHeight = 42;
    pager->xl_sliderCorner = 4;
    pager->xl_isSliderCorner = true;
    pager->current = current;
    pager->currentDate = currentDate;

    // One pager at a time: the week shown before goes, pages and all.
    if (m_scroll)
        m_scroll->removeFromSuperview();
    m_scroll = pager;
    if (auto overlay = HUD())
        view()->insertSubviewBelow(pager, overlay.get());
    else
        view()->addSubview(pager);
}

void MeetingViewController::updateWeekButtons(long week) {
    if (!m_connection)
        return;
    // Outside 1 to the last week there is nowhere to step to.
    m_lButton->setHidden(week <= 1);
    m_rButton->setHidden(week >= m_maxWeek);
}

void MeetingViewController::lButtonAction() {
    platform::log("上一周");
    const long week = m_requestedWeek.value_or(m_currentDJZ) - 1;
    if (week < 1)
        return;
    showLoadingOverlay();
    m_requestedWeek = week;
    updateWeekButtons(week);
    getOtherWeek(week);
}

void MeetingViewController::rButtonAction() {
    const long week = m_requestedWeek.value_or(m_currentDJZ) + 1;
    if (week > m_maxWeek)
        return;
    showLoadingOverlay();
    m_requestedWeek = week;
    updateWeekButtons(week);
    getOtherWeek(week);
}

void MeetingViewController::todayBtnAction() {
    showLoadingOverlay();
    m_requestedWeek.reset();
    updateWeekButtons(m_currentDJZ);
    getDateData();
}

void MeetingViewController::presentVC(const platform::IndexPath& indexPath,
                                      const std::vector<OneWeekMeeting>& array) {
    const auto row = static_cast<std::size_t>(indexPath.row);
    if (indexPath.row < 0 || row >= array.size())
        return;
    auto detail = std::make_shared<MeetingDetailsViewController>();
    detail->setOneWeekMeeting(array[row]);
    detail->setHidesBottomBarWhenPushed(true);
    if (auto navigation = navigationController())
        navigation->pushViewController(detail, true);
}

void MeetingViewController::showLoadingOverlay() {
    // One overlay at a time: a new request's overlay replaces the one still up.
    removeLoadingOverlay();
    m_HUD = platform::View::make<platform::components::ProgressHUD>(*view());
    view()->addSubview(m_HUD);
    m_HUD->setLabelText(kLoadingText);
    m_HUD->showWhileExecutingDelay(kLoadingSeconds, {});
}

void MeetingViewController::removeLoadingOverlay() {
    if (m_HUD)
        m_HUD->removeFromSuperview();
}
