#include "campus/AddressBookViewController.h"

#include "campus/DirectoryScreenParts.h"
#include "campus/NewMembersViewController.h"
#include "campus/SearchViewController.h"
#include "client/MyTool.h"
#include "client/NetError.h"
#include "client/NetRequest.h"
#include "client/NetTool.h"
#include "client/SignInSession.h"
#include "components/hud/ProgressHUD.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TapGestureRecognizer.h"
#include "widgets/SideMenuSwipe.h"

using platform::Rect;

namespace {

constexpr const char* kTeacher = "teacher";

namespace color {
constexpr const char* kSearchStrip = "e0e1ea";
constexpr const char* kSearchBox = "c1c4d6";
}  // namespace color

// The screen's geometry, with W and H the screen's width and height; the view sits between
// the navigation bar (64 points with the status bar) and the tab bar (49).
namespace layout {
constexpr double kNavigationBar = 64;
constexpr double kTabBar = 49;
constexpr double kStripHeight = 41;
constexpr double kBoxInset = 8;
constexpr double kBoxBorder = 0.6;
constexpr double kBoxCorner = 6;
constexpr double kTitleFontSize = 19;
constexpr platform::Size kCoverImage{196, 60};

Rect strip(double w) {
    return {{0, 0}, {w, kStripHeight}};
}
Rect box(double w) {
    return {{kBoxInset, 6}, {w - 2 * kBoxInset, kStripHeight - 12}};
}
Rect list(double w, double h) {
    return {{0, kStripHeight}, {w, h - kNavigationBar - kTabBar - kStripHeight}};
}
Rect cover(double w, double h) {
    return {{0, 0}, {w, h - kNavigationBar - kTabBar}};
}
Rect coverImage(double w, double coverHeight) {
    return {{w / 2 - kCoverImage.width / 2, coverHeight / 2 - kCoverImage.height / 2}, kCoverImage};
}
}  // namespace layout

}  // namespace

AddressBookViewController::AddressBookViewController() = default;
AddressBookViewController::~AddressBookViewController() = default;

void AddressBookViewController::loadView() {
    const auto screen = platform::Screen::main().size();
    auto root = platform::View::make<platform::View>(platform::Screen::main().bounds());
    root->setAutoresizingMask(platform::AutoresizingMask::FlexibleWidth |
                              platform::AutoresizingMask::FlexibleHeight);

    m_view1 = platform::View::make<platform::View>(layout::strip(screen.width));
    m_view1->setHandle(kSearchHandle);
    m_label1 = platform::View::make<platform::Label>(layout::box(screen.width));
    m_label1->setText(kSearchStripText);
    m_label1->setTextAlignment(platform::TextAlignment::Center);
    m_label1->setFont(platform::Font::systemFont(14));
    m_view1->addSubview(m_label1);
    root->addSubview(m_view1);

    m_listTableView = platform::View::make<platform::TableView>(
        layout::list(screen.width, screen.height), platform::TableViewStyle::Plain);
    m_listTableView->setHandle("categories");
    root->addSubview(m_listTableView);
    setView(root);

    auto self = std::static_pointer_cast<AddressBookViewController>(shared_from_this());
    m_listTableView->setDataSource(std::static_pointer_cast<platform::TableViewDataSource>(self));
    m_listTableView->setDelegate(std::static_pointer_cast<platform::TableViewDelegate>(self));
}

void AddressBookViewController::viewDidLoad() {
    view()->setBackgroundColor(platform::Color::white());
    m_view1->setBackgroundColor(MyTool::colorWithString(color::kSearchStrip));
    m_label1->setTextColor(MyTool::colorWithString(color::kSearchBox));
    m_label1->setBorderColor(MyTool::colorWithString(color::kSearchBox));
    m_label1->setBorderWidth(layout::kBoxBorder);
    m_label1->setCornerRadius(layout::kBoxCorner);
    m_label1->setClipsToBounds(true);

    auto tap = std::make_shared<platform::TapGestureRecognizer>();
    tap->addTarget([open = directory::whileAlive(*this, &AddressBookViewController::tapAction)](
                       platform::GestureRecognizer&) { open(); });
    m_view1->addGestureRecognizer(tap);

    createTabBar();
    m_HUD = directory::showOverlay(*view(), directory::kLoadingText);
    m_organizationArr.clear();
    createStudentView();
    applyRole();
}

void AddressBookViewController::viewDidAppear(bool animated) {
    ViewController::viewDidAppear(animated);
    // The side menu belongs to the home page; here its swipe would fight the list's.
    SideMenuSwipe::setNeedSwipeShowMenu(false);
    applyRole();
}

std::shared_ptr<platform::components::ProgressHUD> AddressBookViewController::HUD() const {
    return m_HUD && m_HUD->isShowing() && m_HUD->superview() ? m_HUD : nullptr;
}

void AddressBookViewController::createTabBar() {
    if (auto navigation = navigationController()) {
        navigation->navigationBar()->setTitleTextAttributes(
            {platform::Font::systemFont(layout::kTitleFontSize), platform::Color::white()});
    }
    navigationItem().setTitle(directory::kTitle);
}

void AddressBookViewController::createStudentView() {
    const auto screen = platform::Screen::main().size();
    const Rect frame = layout::cover(screen.width, screen.height);
    m_studentView = platform::View::make<platform::View>(frame);
    m_studentView->setBackgroundColor(platform::Color::white());
    m_studentView->setHandle(kCoverHandle);
    auto image = platform::View::make<platform::ImageView>(
        layout::coverImage(screen.width, frame.size.height));
    image->setBackgroundColor(platform::Color::clear());
    image->setImage(platform::Image::named(kCoverImage));
    m_studentView->addSubview(image);
    view()->addSubview(m_studentView);
}

void AddressBookViewController::applyRole() {
    if (SignInSession().kind() == UserKind::Teacher) {
        m_studentView->setHidden(true);
        getAddBookDataWithUserType(kTeacher);
    } else {
        m_studentView->setHidden(false);
    }
}

void AddressBookViewController::getAddBookDataWithUserType(const std::string& userType) {
    NetTool::shareInstance().getWithURL(
        NetRequest::organizationWithUserType(userType),
        directory::whileAlive(*this, &AddressBookViewController::categoriesArrived),
        directory::whileAlive(*this, &AddressBookViewController::categoriesFailed));
}

void AddressBookViewController::categoriesArrived(const platform::Json& reply) {
    m_organizationArr = recordsFromList<Organization>(reply, "orgcategory");
    m_listTableView->reloadData();
    directory::removeOverlay(m_HUD);
}

void AddressBookViewController::categoriesFailed(const NetError& error) {
    // The list keeps what it showed; the overlay of the first visit goes when its time is up.
    platform::log("error:%@", describe(error));
}

void AddressBookViewController::tapAction() {
    auto search = std::make_shared<SearchViewController>();
    search->setHidesBottomBarWhenPushed(true);
    if (auto navigation = navigationController())
        navigation->pushViewController(search, true);
}

int AddressBookViewController::numberOfRowsInSection(platform::TableView& /*tableView*/,
                                                     int /*section*/) {
    return static_cast<int>(m_organizationArr.size());
}

std::shared_ptr<platform::TableViewCell> AddressBookViewController::cellForRowAtIndexPath(
    platform::TableView& tableView, const platform::IndexPath& indexPath) {
    const auto row = static_cast<std::size_t>(indexPath.row);
    auto cell = directory::textCell(
        tableView, row < m_organizationArr.size() ? m_organizationArr[row].zzmc : std::string());
    cell->setAccessoryType(platform::TableViewCellAccessoryType::DisclosureIndicator);
    return cell;
}

double AddressBookViewController::heightForRowAtIndexPath(
    platform::TableView& /*tableView*/, const platform::IndexPath& /*indexPath*/) {
    return kRowHeight;
}

void AddressBookViewController::didSelectRowAtIndexPath(platform::TableView& tableView,
                                                        const platform::IndexPath& indexPath) {
    tableView.deselectRowAtIndexPath(indexPath, true);
    const auto row = static_cast<std::size_t>(indexPath.row);
    if (row >= m_organizationArr.size())
        return;
    auto members = std::make_shared<NewMembersViewController>();
    members->setOrgIdString(m_organizationArr[row].lbdm);
    members->setHidesBottomBarWhenPushed(true);
    if (auto navigation = navigationController())
        navigation->pushViewController(members, true);
}
