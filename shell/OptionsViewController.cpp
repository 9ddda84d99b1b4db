#include "shell/OptionsViewController.h"

#include "client/MyTool.h"
#include "client/SignInSession.h"
#include "platform/graphics/Font.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "shell/AboutUSViewController.h"
#include "shell/FeedbackViewController.h"
#include "signin/LoginViewController.h"
#include "widgets/ProgressHUDConveniences.h"
#include "widgets/SideMenuSwipe.h"

using platform::Rect;

namespace {

namespace text {
constexpr const char* kTitle = "设置";
constexpr const char* kFeedbackRow = "意见反馈";
constexpr const char* kAboutRow = "关于我们";
constexpr const char* kSignOut = "注销账号";
constexpr const char* kSignedOut = "注销成功";
}  // namespace text

namespace color {
constexpr const char* kSignOutButton = "ff6767";
}

namespace handle {
constexpr const char* kSignOut = "logout";
}

constexpr const char* kCellIdentifier = "cell";
constexpr int kFeedbackRowIndex = 0;
constexpr int kAboutRowIndex = 1;
constexpr int kRowCount = 2;
constexpr double kRowHeight = 55;
constexpr double kTitleFontSize = 19;
constexpr double kSignOutCornerRadius = 8;

// The page's geometry for a screen `width` points wide.
struct OptionsLayout {
    Rect table;
    Rect signOut;

    static OptionsLayout forWidth(double width) {
        OptionsLayout l;
        l.table = {{0, 0}, {width, kRowHeight * kRowCount}};
        l.signOut = {{17, 140}, {width - 34, 44}};
        return l;
    }
};

}  // namespace

OptionsViewController::OptionsViewController() = default;
OptionsViewController::~OptionsViewController() = default;

std::shared_ptr<OptionsViewController> OptionsViewController::self() {
    return std::static_pointer_cast<OptionsViewController>(shared_from_this());
}

void OptionsViewController::viewDidLoad() {
    view()->setBackgroundColor(platform::Color::white());
    createTabBar();
    createUI();
}

void OptionsViewController::createTabBar() {
    if (auto navigation = navigationController()) {
        navigation->navigationBar()->setTitleTextAttributes(
            {platform::Font::systemFont(kTitleFontSize), platform::Color::white()});
    }
    // The navigation item only: the tab keeps its own title.
    navigationItem().setTitle(text::kTitle);
}

void OptionsViewController::createUI() {
    const auto layout = OptionsLayout::forWidth(view()->bounds().size.width);
    m_myTableView = platform::View::make<platform::TableView>(layout.table);
    m_myTableView->setBackgroundColor(platform::Color::clear());
    m_myTableView->setDataSource(std::static_pointer_cast<platform::TableViewDataSource>(self()));
    m_myTableView->setDelegate(std::static_pointer_cast<platform::TableViewDelegate>(self()));
    m_myTableView->setScrollEnabled(false);
    m_myTableView->setSeparatorInset(platform::EdgeInsets{0, 0, 0, 0});
    view()->addSubview(m_myTableView);
}

void OptionsViewController::viewWillAppear(bool animated) {
    ViewController::viewWillAppear(animated);
    if (!SignInSession().isSignedIn() || (m_logOutButton && !m_logOutButton->isHidden()))
        return;
    const auto layout = OptionsLayout::forWidth(platform::Screen::main().size().width);
    m_logOutButton = platform::View::make<platform::Button>(layout.signOut);
    m_logOutButton->setTitle(text::kSignOut);
    m_logOutButton->setTitleColor(platform::Color::white());
    m_logOutButton->setBackgroundColor(MyTool::colorWithString(color::kSignOutButton));
    m_logOutButton->setClipsToBounds(true);
    m_logOutButton->setCornerRadius(kSignOutCornerRadius);
    m_logOutButton->setHandle(handle::kSignOut);
    std::weak_ptr<OptionsViewController> weak = self();
    m_logOutButton->addTarget(
        [weak](platform::Control& sender) {
            if (auto page = weak.lock())
                page->buttonAction(sender);
        },
        platform::ControlEvent::TouchUpInside);
    view()->addSubview(m_logOutButton);
}

void OptionsViewController::viewDidAppear(bool animated) {
    ViewController::viewDidAppear(animated);
    // The side menu belongs to the home page; here its swipe would fight the screen's own.
    SideMenuSwipe::setNeedSwipeShowMenu(false);
}

void OptionsViewController::buttonAction(platform::Control& /*sender*/) {
    // The session posts "kRefreshLogoutMenu" while the user is still stored, then removes the
    // ten sign-in keys.
    SignInSession().signOut();
    showHUDWithStr(text::kSignedOut);
    if (m_logOutButton) {
        // The button is running this action: keep it alive until the action returns.
        auto button = std::move(m_logOutButton);
        button->setHidden(true);
        button->removeFromSuperview();
    }
}

void OptionsViewController::showHUDWithStr(const std::string& text) {
    ProgressHUDConveniences::showHUDWithStr(view(), text);
}

int OptionsViewController::numberOfRowsInSection(platform::TableView& /*tableView*/,
                                                 int /*section*/) {
    return kRowCount;
}

std::shared_ptr<platform::TableViewCell> OptionsViewController::cellForRowAtIndexPath(
    platform::TableView& tableView, const platform::IndexPath& indexPath) {
    auto cell = tableView.dequeueReusableCellWithIdentifier(kCellIdentifier);
    if (!cell) {
        cell = platform::View::make<platform::TableViewCell>(platform::TableViewCellStyle::Subtitle,
                                                             kCellIdentifier);
    }
    cell->setAccessoryType(platform::TableViewCellAccessoryType::DisclosureIndicator);
    cell->setBackgroundColor(platform::Color::clear());
    cell->textLabel()->setText(indexPath.row == kFeedbackRowIndex ? text::kFeedbackRow
                                                                  : text::kAboutRow);
    return cell;
}

double OptionsViewController::heightForRowAtIndexPath(platform::TableView& /*tableView*/,
                                                      const platform::IndexPath& /*indexPath*/) {
    return kRowHeight;
}

void OptionsViewController::didSelectRowAtIndexPath(platform::TableView& tableView,
                                                    const platform::IndexPath& indexPath) {
    tableView.deselectRowAtIndexPath(indexPath, true);
    if (indexPath.row == kFeedbackRowIndex)
        openFeedback();
    else if (indexPath.row == kAboutRowIndex)
        openAbout();
}

void OptionsViewController::openFeedback() {
    // Feedback is sent in the signed-in user's name; without one, sign in first.
    if (!SignInSession().isSignedIn()) {
        auto login = std::make_shared<LoginViewController>();
        login->setModalTransitionStyle(platform::ModalTransitionStyle::CoverVertical);
        presentViewController(login, true);
        return;
    }
    push(std::make_shared<FeedbackViewController>());
}

void OptionsViewController::openAbout() {
    push(std::make_shared<AboutUSViewController>());
}

void OptionsViewController::push(const std::shared_ptr<platform::ViewController>& page) {
    page->setHidesBottomBarWhenPushed(true);
    if (auto navigation = navigationController())
        navigation->pushViewController(page, true);
}
