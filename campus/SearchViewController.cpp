#include "campus/SearchViewController.h"

#include "campus/DirectoryScreenParts.h"
#include "campus/PushedScreenBar.h"
#include "client/MyTool.h"
#include "client/NetError.h"
#include "client/NetRequest.h"
#include "client/NetTool.h"
#include "components/hud/ProgressHUD.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Font.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"

using platform::Rect;

namespace {

namespace color {
constexpr const char* kStrip = "e0e1ea";
constexpr const char* kButton = "ff6767";
}  // namespace color

// The screen's geometry, with W and H the screen's width and height: the search strip across
// the top, the results from 41 points down to above the navigation bar's height.
namespace layout {
constexpr double kNavigationBar = 64;
constexpr double kStripHeight = 41;
constexpr double kInset = 8;
constexpr double kControlHeight = 29;
constexpr double kButtonWidth = 60;

Rect strip(double w) {
    return {{0, 0}, {w, kStripHeight}};
}
Rect field(double w) {
    return {{kInset, 6}, {w - 3 * kInset - kButtonWidth, kControlHeight}};
}
Rect button(double w) {
    return {{w - kInset - kButtonWidth, 6}, {kButtonWidth, kControlHeight}};
}
Rect results(double w, double h) {
    return {{0, kStripHeight}, {w, h - kStripHeight - kNavigationBar}};
}
}  // namespace layout

}  // namespace

SearchViewController::SearchViewController() = default;
SearchViewController::~SearchViewController() = default;

void SearchViewController::loadView() {
    const auto screen = platform::Screen::main().size();
    auto root = platform::View::make<platform::View>(platform::Screen::main().bounds());
    root->setAutoresizingMask(platform::AutoresizingMask::FlexibleWidth |
                              platform::AutoresizingMask::FlexibleHeight);

    m_view1 = platform::View::make<platform::View>(layout::strip(screen.width));
    m_myTextField = platform::View::make<platform::TextField>(layout::field(screen.width));
    m_myTextField->setPlaceholder(kPlaceholder);
    m_myTextField->setBorderStyle(platform::TextBorderStyle::RoundedRect);
    m_myTextField->setBackgroundColor(platform::Color::white());
    m_myTextField->setReturnKeyType(platform::ReturnKeyType::Search);
    m_myTextField->setHandle(kFieldHandle);
    m_view1->addSubview(m_myTextField);

    m_senderButton = platform::View::make<platform::Button>(layout::button(screen.width));
    m_senderButton->setTitle(kButtonTitle);
    m_senderButton->setTitleColor(platform::Color::white());
    m_senderButton->setCornerRadius(4);
    m_senderButton->setHandle(kButtonHandle);
    m_view1->addSubview(m_senderButton);
    root->addSubview(m_view1);
    setView(root);

    auto self = std::static_pointer_cast<SearchViewController>(shared_from_this());
    m_myTextField->setDelegate(std::static_pointer_cast<platform::TextFieldDelegate>(self));
    m_senderButton->addTarget(
        [search = directory::whileAlive(*this, &SearchViewController::searchButton)](
            platform::Control&) { search(); },
        platform::ControlEvent::TouchUpInside);
}

void SearchViewController::viewDidLoad() {
    view()->setBackgroundColor(platform::Color::white());
    m_view1->setBackgroundColor(MyTool::colorWithString(color::kStrip));
    m_senderButton->setBackgroundColor(MyTool::colorWithString(color::kButton));
    createTabBar();
    m_nameArr.clear();
    m_members.clear();
}

void SearchViewController::viewWillAppear(bool animated) {
    ViewController::viewWillAppear(animated);
    keepEdgeSwipeBack(*this);
}

void SearchViewController::viewDidAppear(bool animated) {
    ViewController::viewDidAppear(animated);
    m_myTextField->becomeFirstResponder();
}

void SearchViewController::createTabBar() {
    setUpPushedScreenBar(*this, directory::kTitle,
                         directory::whileAlive(*this, &SearchViewController::backBtnWithAction));
}

std::shared_ptr<platform::components::ProgressHUD> SearchViewController::HUD() const {
    return m_HUD && m_HUD->isShowing() && m_HUD->superview() ? m_HUD : nullptr;
}

std::shared_ptr<platform::ImageView> SearchViewController::emptyImage() const {
    return m_emptyImage && m_emptyImage->superview() ? m_emptyImage : nullptr;
}

void SearchViewController::backBtnWithAction() {
    directory::removeOverlay(m_HUD);
    if (auto navigation = navigationController())
        navigation->popViewController(true);
}

void SearchViewController::searchButton() {
    m_myTextField->resignFirstResponder();
    platform::log("搜索: %@", m_myTextField->text());
    startSearch();
}

bool SearchViewController::textFieldShouldReturn(platform::TextField& field) {
    field.resignFirstResponder();
    startSearch();
    return true;
}

void SearchViewController::startSearch() {
    const std::string text = m_myTextField->text();
    if (text.empty())
        return;
    const auto screen = platform::Screen::main().size();
    // One result list at a time: the previous search's list (and its overlay) goes.
    if (m_myTableView)
        m_myTableView->removeFromSuperview();
    m_myTableView = platform::View::make<platform::TableView>(
        layout::results(screen.width, screen.height), platform::TableViewStyle::Plain);
    m_myTableView->setBackgroundColor(platform::Color::white());
    m_myTableView->setHandle("results");
    auto self = std::static_pointer_cast<SearchViewController>(shared_from_this());
    m_myTableView->setDelegate(std::static_pointer_cast<platform::TableViewDelegate>(self));
    m_myTableView->setDataSource(std::static_pointer_cast<platform::TableViewDataSource>(self));
    auto footer = platform::View::make<platform::View>();
    footer->setBackgroundColor(platform::Color::clear());
    m_myTableView->setTableFooterView(footer);
    view()->addSubview(m_myTableView);

    m_HUD = directory::showOverlay(*m_myTableView, directory::kSearchingText);
    m_nameArr.clear();
    m_members.clear();
    getsenderData(text);
}

void SearchViewController::getsenderData(const std::string& text) {
    const std::uint64_t search = ++m_latestSearch;
    std::weak_ptr<platform::ViewController> weak = weak_from_this();
    NetTool::shareInstance().getWithURL(
        NetRequest::searchWithSearchStr(text),
        [weak, search](const platform::Json& reply) {
            if (auto self = std::static_pointer_cast<SearchViewController>(weak.lock()))
                self->searchArrived(search, reply);
        },
        directory::whileAlive(*this, &SearchViewController::searchFailed));
}

void SearchViewController::searchArrived(std::uint64_t search, const platform::Json& reply) {
    // A newer search has replaced the list this reply was meant for.
    if (search != m_latestSearch || !m_myTableView)
        return;
    m_members = directory::membersOf(reply, "membersInfo");
    m_nameArr.clear();
    for (const auto& member : m_members) m_nameArr.push_back(directory::memberName(member));
    if (m_nameArr.empty()) {
        m_myTableView->removeFromSuperview();
        m_myTableView.reset();
        if (m_emptyImage)
            view()->bringSubviewToFront(m_emptyImage.get());
        else
            m_emptyImage = directory::addEmptyResultImage(*view());
    } else {
        m_myTableView->reloadData();
    }
    directory::removeOverlay(m_HUD);
}

void SearchViewController::searchFailed(const NetError& error) {
    // The new list stays empty under its overlay until the overlay's time is up.
    platform::log("error:%@", describe(error));
}

int SearchViewController::numberOfRowsInSection(platform::TableView& /*tableView*/,
                                                int /*section*/) {
    return static_cast<int>(m_nameArr.size());
}

std::shared_ptr<platform::TableViewCell> SearchViewController::cellForRowAtIndexPath(
    platform::TableView& tableView, const platform::IndexPath& indexPath) {
    const auto row = static_cast<std::size_t>(indexPath.row);
    return directory::textCell(tableView, row < m_nameArr.size() ? m_nameArr[row] : "");
}

void SearchViewController::didSelectRowAtIndexPath(platform::TableView& tableView,
                                                   const platform::IndexPath& indexPath) {
    tableView.deselectRowAtIndexPath(indexPath, true);
    const auto row = static_cast<std::size_t>(indexPath.row);
    if (row < m_members.size())
        directory::openMemberDetail(*this, m_members[row]);
}

void SearchViewController::scrollViewWillBeginDragging(platform::ScrollView& /*scrollView*/) {
    view()->endEditing(true);
}
