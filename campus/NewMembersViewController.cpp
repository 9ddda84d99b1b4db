#include "campus/NewMembersViewController.h"

#include "campus/DirectoryScreenParts.h"
#include "campus/PushedScreenBar.h"
#include "client/NetError.h"
#include "client/NetRequest.h"
#include "client/NetTool.h"
#include "components/hud/ProgressHUD.h"
#include "platform/foundation/Log.h"
#include "platform/ui/GestureRecognizer.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TableView.h"

namespace {
// The list fills the view down to where the navigation bar's height would reach past it.
constexpr double kNavigationBar = 64;
}  // namespace

NewMembersViewController::NewMembersViewController() = default;

NewMembersViewController::~NewMembersViewController() = default;

void NewMembersViewController::viewDidLoad() {
    takeOverEdgeSwipe();
    view()->setBackgroundColor(platform::Color::white());
    setUpPushedScreenBar(
        *this, directory::kTitle,
        directory::whileAlive(*this, &NewMembersViewController::backBtnWithAction));
    createTableView();
    m_nameArr.clear();
    m_allMembersArr.clear();
    getMembersData(m_orgIdString);
    m_HUD = directory::showOverlay(*view(), directory::kLoadingText);
}

void NewMembersViewController::viewWillDisappear(bool animated) {
    ViewController::viewWillDisappear(animated);
    if (isMovingFromParentViewController())
        handBackEdgeSwipe();
}

void NewMembersViewController::takeOverEdgeSwipe() {
    auto navigation = navigationController();
    auto swipe = navigation ? navigation->interactivePopGestureRecognizer() : nullptr;
    if (!swipe)
        return;
    m_edgeSwipe = swipe;
    m_edgeSwipeDelegate = swipe->delegate();
    auto self = std::static_pointer_cast<NewMembersViewController>(shared_from_this());
    swipe->setDelegate(std::static_pointer_cast<platform::GestureRecognizerDelegate>(self));
}

void NewMembersViewController::handBackEdgeSwipe() {
    auto swipe = m_edgeSwipe.lock();
    if (!swipe || swipe->delegate().get() != this)
        return;
    swipe->setDelegate(m_edgeSwipeDelegate);
    m_edgeSwipe.reset();
}

std::shared_ptr<platform::components::ProgressHUD> NewMembersViewController::HUD() const {
    return m_HUD && m_HUD->isShowing() && m_HUD->superview() ? m_HUD : nullptr;
}

void NewMembersViewController::createTableView() {
    const auto bounds = view()->bounds();
    m_myTableView = platform::View::make<platform::TableView>(
        platform::Rect{{0, 0}, {bounds.size.width, bounds.size.height - kNavigationBar}},
        platform::TableViewStyle::Plain);
    m_myTableView->setBackgroundColor(platform::Color::white());
    m_myTableView->setHandle("members");
    auto self = std::static_pointer_cast<NewMembersViewController>(shared_from_this());
    m_myTableView->setDelegate(std::static_pointer_cast<platform::TableViewDelegate>(self));
    m_myTableView->setDataSource(std::static_pointer_cast<platform::TableViewDataSource>(self));
    // No separators under the last row.
    m_myTableView->setTableFooterView(platform::View::make<platform::View>());
    view()->addSubview(m_myTableView);
}

void NewMembersViewController::getMembersData(const std::string& orgId) {
    NetTool::shareInstance().getWithURL(
        NetRequest::membersWithOrgId(orgId),
        directory::whileAlive(*this, &NewMembersViewController::membersArrived),
        directory::whileAlive(*this, &NewMembersViewController::membersFailed));
}

void NewMembersViewController::membersArrived(const platform::Json& reply) {
    m_allMembersArr = directory::membersOf(reply, "members");
    m_nameArr.clear();
    for (const auto& member : m_allMembersArr) m_nameArr.push_back(directory::memberName(member));
    if (m_nameArr.empty() && !m_emptyImage)
        m_emptyImage = directory::addEmptyResultImage(*view());
    m_myTableView->reloadData();
    directory::removeOverlay(m_HUD);
}

void NewMembersViewController::membersFailed(const NetError& error) {
    platform::log("error:%@", describe(error));
    directory::removeOverlay(m_HUD);
}

void NewMembersViewController::backBtnWithAction() {
    directory::removeOverlay(m_HUD);
    if (auto navigation = navigationController())
        navigation->popViewController(true);
}

int NewMembersViewController::numberOfRowsInSection(platform::TableView& /*tableView*/,
                                                    int /*section*/) {
    return static_cast<int>(m_nameArr.size());
}

std::shared_ptr<platform::TableViewCell> NewMembersViewController::cellForRowAtIndexPath(
    platform::TableView& tableView, const platform::IndexPath& indexPath) {
    const auto row = static_cast<std::size_t>(indexPath.row);
    return directory::textCell(tableView, row < m_nameArr.size() ? m_nameArr[row] : "");
}

void NewMembersViewController::didSelectRowAtIndexPath(platform::TableView& tableView,
                                                       const platform::IndexPath& indexPath) {
    tableView.deselectRowAtIndexPath(indexPath, true);
    const auto row = static_cast<std::size_t>(indexPath.row);
    if (row < m_allMembersArr.size())
        directory::openMemberDetail(*this, m_allMembersArr[row]);
}
