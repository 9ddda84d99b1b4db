#include "campus/AcademicForumViewController.h"

#include "campus/AFDetailViewController.h"
#include "campus/AcademicForumTableViewCell.h"
#include "client/NetRequest.h"
#include "client/WeakBind.h"
#include "components/hud/ProgressHUD.h"
#include "platform/graphics/Font.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/GestureRecognizer.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"
#include "widgets/SideMenuSwipe.h"
#include "widgets/ViewControllerBackBarItem.h"

namespace {

constexpr double kNavigationBarHeight = 64;

}  // namespace

AcademicForumViewController::AcademicForumViewController() = default;
AcademicForumViewController::~AcademicForumViewController() = default;

void AcademicForumViewController::viewDidLoad() {
    view()->setBackgroundColor(platform::Color::white());
    createTabBar();

    const auto screen = platform::Screen::main().size();
    m_myTableView = platform::View::make<platform::TableView>(
        platform::Rect{{0, 0}, {screen.width, screen.height - kNavigationBarHeight}},
        platform::TableViewStyle::Plain);
    auto self = std::static_pointer_cast<AcademicForumViewController>(shared_from_this());
    m_myTableView->setDelegate(std::static_pointer_cast<platform::TableViewDelegate>(self));
    m_myTableView->setDataSource(std::static_pointer_cast<platform::TableViewDataSource>(self));
    view()->addSubview(m_myTableView);

    m_list->didLoad = bindWeak(self, &AcademicForumViewController::loaded);
    addHeader();

    m_HUD = platform::View::make<platform::components::ProgressHUD>(*view());
    view()->addSubview(m_HUD);
    m_HUD->setLabelText(kLoadingText);
    m_HUD->showWhileExecutingDelay(kLoadingSeconds, {});

    m_list->reload();
}

void AcademicForumViewController::viewWillAppear(bool /*animated*/) {
    // The edge swipe still goes back with the custom back button.
    if (auto navigation = navigationController()) {
        if (auto pop = navigation->interactivePopGestureRecognizer())
            pop->setDelegate({});
    }
}

void AcademicForumViewController::viewDidAppear(bool /*animated*/) {
    SideMenuSwipe::setNeedSwipeShowMenu(false);
}

void AcademicForumViewController::createTabBar() {
    if (auto navigation = navigationController()) {
        navigation->navigationBar()->setTitleTextAttributes(
            {platform::Font::systemFont(19), platform::Color::white()});
    }
    setTitle(kTitle);
    auto self = std::static_pointer_cast<AcademicForumViewController>(shared_from_this());
    auto back = backBarBtnWithAction(
        *this, bindWeak(self, [](AcademicForumViewController& screen, platform::Control&) {
            screen.backBtnWithAction();
        }));
    navigationItem().setLeftBarButtonItem(std::make_shared<platform::BarButtonItem>(back));
}

void AcademicForumViewController::backBtnWithAction() {
    if (auto navigation = navigationController())
        navigation->popViewController(true);
}

void AcademicForumViewController::addHeader() {
    m_list->attachTo(m_myTableView);
}

void AcademicForumViewController::getAcademicForumData(long page, NetSuccessBlock success,
                                                       NetFailureBlock failure) {
    NetTool::shareInstance().getWithURL(NetRequest::getLectureList(page, PagedListBase::kPageSize),
                                        std::move(success), std::move(failure));
}

void AcademicForumViewController::loaded() {
    // Only the first load has the overlay; later replies find it gone.
    if (m_HUD)
        m_HUD->removeFromSuperview();
}

int AcademicForumViewController::numberOfRowsInSection(platform::TableView& /*tableView*/,
                                                       int /*section*/) {
    return static_cast<int>(m_list->size());
}

std::shared_ptr<platform::TableViewCell> AcademicForumViewController::cellForRowAtIndexPath(
    platform::TableView& tableView, const platform::IndexPath& indexPath) {
    auto cell = std::dynamic_pointer_cast<AcademicForumTableViewCell>(
        tableView.dequeueReusableCellWithIdentifier(AcademicForumTableViewCell::kReuseIdentifier));
    if (!cell) {
        cell = platform::View::make<AcademicForumTableViewCell>(
            platform::TableViewCellStyle::Default, AcademicForumTableViewCell::kReuseIdentifier);
    }
    cell->setAccessoryType(platform::TableViewCellAccessoryType::DisclosureIndicator);
    if (const AcademicForum* lecture = m_list->recordAt(static_cast<size_t>(indexPath.row))) {
        cell->setCellDataText(*lecture);
        cell->zbdwLabel()->setText(lecture->jzzbdw);
        cell->timeLabel()->setText(lecture->startDate());
    }
    return cell;
}

double AcademicForumViewController::heightForRowAtIndexPath(platform::TableView& tableView,
                                                            const platform::IndexPath& indexPath) {
    // The row is as high as its cell made itself for the lecture; nothing is cached.
    return cellForRowAtIndexPath(tableView, indexPath)->frame().size.height;
}

void AcademicForumViewController::didSelectRowAtIndexPath(platform::TableView& tableView,
                                                          const platform::IndexPath& indexPath) {
    tableView.deselectRowAtIndexPath(indexPath, true);
    const AcademicForum* lecture = m_list->recordAt(static_cast<size_t>(indexPath.row));
    auto navigation = navigationController();
    if (!lecture || !navigation)
        return;
    auto detail = std::make_shared<AFDetailViewController>();
    detail->setAcademicForum(*lecture);
    navigation->pushViewController(detail, true);
}
