#include "shell/HomePageViewController.h"

#include "campus/AcademicForumViewController.h"
#include "campus/AnnouncementViewController.h"
#include "campus/NewsDetailsViewController.h"
#include "campus/QuestionnaireViewController.h"
#include "career/EmploymentViewController.h"
#include "career/NewStatisticsViewController.h"
#include "client/DefaultModuleTable.h"
#include "client/MyTool.h"
#include "client/NetError.h"
#include "client/NetRequest.h"
#include "client/NetTool.h"
#include "client/Record.h"
#include "client/ServiceConfig.h"
#include "client/SignInSession.h"
#include "client/SignInState.h"
#include "client/TileArrangement.h"
#include "client/URLTemplate.h"
#include "client/WeakBind.h"
#include "components/sidemenu/SideViewController.h"
#include "components/webimage/ImageViewWebCache.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/URLEscaping.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Image.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/CollectionView.h"
#include "platform/ui/CollectionViewFlowLayout.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"
#include "platform/ui/Window.h"
#include "shell/AppDelegate.h"
#include "shell/EmailWebViewController.h"
#include "shell/HomePageRootCollectionViewCell.h"
#include "shell/HomePageTableViewCell.h"
#include "shell/ItemsViewController.h"
#include "signin/LoginViewController.h"
#include "shell/StoreVersionCheck.h"
#include "shell/UpdateView.h"
#include "webcontainer/WebDetailViewController.h"
#include "widgets/ProgressHUDConveniences.h"
#include "widgets/SideMenuSwipe.h"

namespace {

constexpr double kNavigationBarHeight = 64;
constexpr double kTabBarHeight = 49;
constexpr platform::Size kMenuButtonSize{29.5455, 24.5455};
const char* const kMenuImage = "个人信息";
// The menu button shows only its picture; a screen reader names it by its role.
const char* const kMenuLabel = "menu";
const char* const kPlaceholderImage = "默认图";
const char* const kAttendanceTitle = "移动考勤";
const char* const kPaymentTitle = "校园支付";
const char* const kAttendancePath = "/CM/login.html";
const char* const kPaymentPath = "/school/interface/toPay?json=%@&signature=%@";
// The payment host checks the signature with the same salt.
const char* const kPaymentSalt = "rmqzet";

double screenWidth() {
    return platform::Screen::main().size().width;
}

double screenHeight() {
    return platform::Screen::main().size().height;
}

}  // namespace

HomePageViewController::HomePageViewController() = default;
HomePageViewController::~HomePageViewController() = default;

std::shared_ptr<HomePageViewController> HomePageViewController::self() {
    return std::static_pointer_cast<HomePageViewController>(shared_from_this());
}

bool HomePageViewController::isSignedIn() const {
    return SignInSession().isSignedIn();
}

// --- Frame -------------------------------------------------------------------------------

void HomePageViewController::viewDidLoad() {
    view()->setBackgroundColor(platform::Color::white());
    createTabBar();
    createNewsTable();
    createTileGrid();
    initializeDataSource();

    std::weak_ptr<HomePageViewController> weakSelf = self();
    auto& center = platform::NotificationCenter::defaultCenter();
    center.addObserver(std::weak_ptr<const void>(self()), SignInNotification::kRefreshLoginMenu,
                       [weakSelf](const platform::Notification&) {
                           if (auto screen = weakSelf.lock())
                               screen->refreshLoginMenu();
                       });
    center.addObserver(std::weak_ptr<const void>(self()), SignInNotification::kRefreshLogoutMenu,
                       [weakSelf](const platform::Notification&) {
                           if (auto screen = weakSelf.lock())
                               screen->refreshLogoutMenu();
                       });

    addNewsRefresh();
    myCollectionViewFrame();
    getUpdateData();
}

void HomePageViewController::viewWillAppear(bool /*animated*/) {
    checkAppVersion();
    setSideMenuSwipe(isSignedIn());
}

void HomePageViewController::checkAppVersion() {
    // An update signs the user out; the grid follows without a notification.
    if (SignInSession().noteAppVersion(platform::Bundle::main().shortVersionString()))
        refreshLogoutMenu();
}

void HomePageViewController::setSideMenuSwipe(bool on) {
    SideMenuSwipe::setNeedSwipeShowMenu(on);
}

void HomePageViewController::createTabBar() {
    if (auto navigation = navigationController()) {
        navigation->navigationBar()->setTitleTextAttributes(
            {platform::Font::systemFont(19), platform::Color::white()});
    }
    // The bar shows the paper's name; the tab keeps its own "新闻".
    navigationItem().setTitle(kTitle);
    auto menu = platform::View::make<platform::Button>(platform::Rect{{0, 0}, kMenuButtonSize});
    menu->setBackgroundImage(platform::Image::named(kMenuImage));
    menu->setHandle("menu");
    menu->setAccessibilityLabel(kMenuLabel);
    std::weak_ptr<HomePageViewController> weakSelf = self();
    menu->addTarget(
        [weakSelf](platform::Control&) {
            if (auto screen = weakSelf.lock())
                screen->showRight();
        },
        platform::ControlEvent::TouchUpInside);
    navigationItem().setRightBarButtonItem(std::make_shared<platform::BarButtonItem>(menu));
}

void HomePageViewController::showRight() {
    if (!isSignedIn()) {
        presentLoginVC();
        return;
    }
    if (auto app = AppDelegate::shared()) {
        if (const auto& side = app->sideViewController())
            side->showRightViewController(true);
    }
}

void HomePageViewController::presentLoginVC() {
    auto login = std::make_shared<LoginViewController>();
    login->setModalTransitionStyle(platform::ModalTransitionStyle::CoverVertical);
    presentViewController(login, true);
}

void HomePageViewController::showHUDWithStr(const std::string& text) {
    ProgressHUDConveniences::showHUDWithStr(view(), text);
}

void HomePageViewController::getUpdateData() {
    // The lookup runs off the main thread: the first news page never waits for the store.
    std::weak_ptr<HomePageViewController> weakSelf = self();
    StoreVersionCheck::lookUp(platform::Bundle::main().shortVersionString(),
                              [weakSelf](const platform::Json& results) {
                                  if (auto screen = weakSelf.lock())
                                      screen->showUpdateView(results);
                              });
}

void HomePageViewController::showUpdateView(const platform::Json& results) {
    // Over the side-menu container, so that it covers the tab bar and the navigation bar.
    auto app = AppDelegate::shared();
    const auto window = app ? app->window() : nullptr;
    const auto root = window ? window->rootViewController() : nullptr;
    if (!root)
        return;
    const platform::Size screen = platform::Screen::main().size();
    root->view()->addSubview(
        platform::View::make<UpdateView>(platform::Rect{{0, 0}, screen}, results));
}

// --- News list ---------------------------------------------------------------------------

void HomePageViewController::createNewsTable() {
    const auto bounds = view()->bounds();
    m_newsTableView = platform::View::make<platform::TableView>(
        platform::Rect{{0, kTwoRowGridHeight},
                       {bounds.size.width, bounds.size.height - kNavigationBarHeight -
                                               kTabBarHeight - kTwoRowGridHeight}},
        platform::TableViewStyle::Plain);
    m_newsTableView->setBackgroundColor(platform::Color::white());
    m_newsTableView->setDelegate(std::static_pointer_cast<platform::TableViewDelegate>(self()));
    m_newsTableView->setDataSource(std::static_pointer_cast<platform::TableViewDataSource>(self()));
    m_newsTableView->setSeparatorInset({0, 103, 0, 0});
    m_newsTableView->setHandle("news");
    view()->addSubview(m_newsTableView);
}

void HomePageViewController::addNewsRefresh() {
    m_newsList->didFail = bindWeak(self(), &HomePageViewController::newsFailed);
    m_newsList->attachTo(m_newsTableView);
    m_newsList->beginRefreshing();
}

void HomePageViewController::getNesData(long page, NetSuccessBlock success,
                                        NetFailureBlock failure) {
    NetTool::shareInstance().getWithURL(
        NetRequest::tarnwhisleWithPageNum(page, PagedListState::kPageSize), std::move(success),
        std::move(failure));
}

void HomePageViewController::newsFailed(const NetError& error) {
    showHUDWithStr(kNoDataText);
    platform::log("error:%@", describe(error));
}

std::string HomePageViewController::thumbnailURL(const News& news) {
    return platform::escapeWholeURL(ServiceConfig::shared().schoolSiteRoot + news.imgUrl);
}

int HomePageViewController::numberOfSections(platform::TableView& /*tableView*/) {
    return 1;
}

int HomePageViewController::numberOfRowsInSection(platform::TableView& /*tableView*/,
                                                  int /*section*/) {
    return static_cast<int>(m_newsList->size());
}

std::shared_ptr<platform::TableViewCell> HomePageViewController::cellForRowAtIndexPath(
    platform::TableView& tableView, const platform::IndexPath& indexPath) {
    auto cell = std::dynamic_pointer_cast<HomePageTableViewCell>(
        tableView.dequeueReusableCellWithIdentifier(HomePageTableViewCell::kReuseIdentifier));
    if (!cell) {
        cell = platform::View::make<HomePageTableViewCell>(platform::TableViewCellStyle::Default,
                                                           HomePageTableViewCell::kReuseIdentifier);
    }
    const News* news = m_newsList->recordAt(static_cast<size_t>(indexPath.row));
    if (!news)
        return cell;
    cell->titleLabel()->setText(news->xwbt);
    cell->timeLabel()->setText(news->fbsj);
    platform::components::sd_setImageWithURL(cell->NewImageView(), thumbnailURL(*news),
                                             platform::Image::named(kPlaceholderImage));
    return cell;
}

double HomePageViewController::heightForRowAtIndexPath(platform::TableView& /*tableView*/,
                                                       const platform::IndexPath& /*indexPath*/) {
    return kRowHeight;
}

void HomePageViewController::didSelectRowAtIndexPath(platform::TableView& tableView,
                                                     const platform::IndexPath& indexPath) {
    tableView.deselectRowAtIndexPath(indexPath, true);
    const News* news = m_newsList->recordAt(static_cast<size_t>(indexPath.row));
    if (!news)
        return;
    auto detail = std::make_shared<NewsDetailsViewController>();
    detail->setTitleStr(news->xwbt);
    detail->setTimeStr(news->fbsj);
    detail->setContentStr(news->xwnr);
    detail->setHidesBottomBarWhenPushed(true);
    if (auto navigation = navigationController())
        navigation->pushViewController(detail, true);
}

// --- Tile grid ---------------------------------------------------------------------------

void HomePageViewController::createTileGrid() {
    const double width = view()->bounds().size.width;
    m_flowLayout = std::make_shared<platform::CollectionViewFlowLayout>();
    m_flowLayout->setScrollDirection(platform::CollectionViewScrollDirection::Horizontal);
    m_flowLayout->setMinimumLineSpacing(0);
    m_flowLayout->setMinimumInteritemSpacing(0);
    m_flowLayout->setSectionInset({0, 0, 0, 0});
    m_flowLayout->setItemSize({screenWidth(), kTwoRowGridHeight});

    m_myCollectionView = platform::View::make<platform::CollectionView>(
        platform::Rect{{0, 0}, {width, kTwoRowGridHeight}}, m_flowLayout);
    m_myCollectionView->setBackgroundColor(platform::Color::white());
    m_myCollectionView->setDataSource(
        std::static_pointer_cast<platform::CollectionViewDataSource>(self()));
    m_myCollectionView->setDelegate(
        std::static_pointer_cast<platform::CollectionViewDelegate>(self()));
    m_myCollectionView->setShowsHorizontalScrollIndicator(false);
    m_myCollectionView->setPagingEnabled(true);
    m_myCollectionView->setBounces(false);
    m_myCollectionView->setTag(kGridTag);
    m_myCollectionView->setHandle("tiles");
    m_myCollectionView->registerClass<HomePageRootCollectionViewCell>(
        HomePageRootCollectionViewCell::kReuseIdentifier);
    view()->addSubview(m_myCollectionView);

    m_pageControl = platform::View::make<platform::PageControl>(
        platform::Rect{{screenWidth() / 2 - 50, 170}, {100, 20}});
    m_pageControl->setBackgroundColor(platform::Color::clear());
    m_pageControl->setPageIndicatorTintColor(platform::Color::gray());
    m_pageControl->setCurrentPageIndicatorTintColor(MyTool::colorWithString("d04b50"));
    m_pageControl->setNumberOfPages(2);
    view()->addSubview(m_pageControl);

    m_lineView = platform::View::make<platform::View>(
        platform::Rect{{0, kTwoRowGridHeight - 1}, {width, 1}});
    m_lineView->setBackgroundColor(MyTool::colorWithString("dedede"));
    view()->addSubview(m_lineView);
}

void HomePageViewController::useDefaultTiles() {
    m_nameArray.clear();
    m_imageArray.clear();
    m_methodArr.clear();
    for (const auto& row : DefaultModuleTable::rows()) {
        m_nameArray.emplace_back(row.title);
        m_imageArray.emplace_back(row.image);
        m_methodArr.emplace_back(row.method);
    }
    m_modelArr.clear();
    for (size_t i = 0; i < m_nameArray.size(); ++i) {
        m_modelArr.push_back(std::make_shared<CollectionViewCellModel>(
            m_nameArray[i], m_imageArray[i], m_methodArr[i]));
    }
}

void HomePageViewController::initializeDataSource() {
    auto lists = TileArrangement().load();
    if (lists.fromStore)
        m_modelArr = std::move(lists.shown);
    else
        useDefaultTiles();
    addTailPlusButton();
}

void HomePageViewController::addTailPlusButton() {
    for (const auto& tile : m_modelArr) {
        if (tile && tile->methodName == DefaultModuleTable::kAddMoreMethod)
            return;
    }
    m_modelArr.push_back(DefaultModuleTable::addMoreTile());
}

void HomePageViewController::refreshLoginMenu() {
    // An unreadable stored list is no arrangement, and a user of neither kind has none: the
    // tiles stay as they are.
    if (auto shown = TileArrangement().stored().shown)
        m_modelArr = std::move(*shown);
    addTailPlusButton();
    myCollectionViewFrame();
    m_myCollectionView->reloadData();
}

void HomePageViewController::refreshLogoutMenu() {
    // Sign-out announces itself before it removes the user, so the defaults are taken as they
    // are rather than from what is still stored.
    useDefaultTiles();
    addTailPlusButton();
    if (!isViewLoaded())
        return;
    myCollectionViewFrame();
    m_myCollectionView->reloadData();
}

void HomePageViewController::myCollectionViewFrame() {
    if (!m_myCollectionView)
        return;
    const size_t count = m_modelArr.size();
    const double width = view()->bounds().size.width;
    const double gridHeight = count > 4 ? kTwoRowGridHeight : kOneRowGridHeight;
    m_myCollectionView->setFrame({{0, 0}, {width, gridHeight}});
    m_lineView->setFrame({{0, gridHeight - 1}, {width, 1}});
    m_flowLayout->setItemSize({screenWidth(), gridHeight});
    m_newsTableView->setFrame(
        {{0, gridHeight},
         {width, screenHeight() - gridHeight - kNavigationBarHeight - kTabBarHeight}});
    if (count < 9) {
        m_pageControl->setCurrentPage(0);
        m_pageControl->setHidden(true);
    } else {
        m_pageControl->setHidden(false);
    }
}

int HomePageViewController::numberOfSections(platform::CollectionView& /*collectionView*/) {
    return static_cast<int>((m_modelArr.size() + kTilesPerPage - 1) / kTilesPerPage);
}

int HomePageViewController::numberOfItemsInSection(platform::CollectionView& /*collectionView*/,
                                                   int /*section*/) {
    return 1;
}

std::shared_ptr<platform::CollectionViewCell> HomePageViewController::cellForItemAtIndexPath(
    platform::CollectionView& collectionView, const platform::IndexPath& indexPath) {
    auto cell = collectionView.dequeueReusableCellWithReuseIdentifier(
        HomePageRootCollectionViewCell::kReuseIdentifier, indexPath);
    if (auto page = std::dynamic_pointer_cast<HomePageRootCollectionViewCell>(cell)) {
        const size_t first = static_cast<size_t>(indexPath.section) * kTilesPerPage;
        TileList tiles;
        for (size_t i = first; i < m_modelArr.size() && i < first + kTilesPerPage; ++i)
            tiles.push_back(m_modelArr[i]);
        page->setModelArr(std::move(tiles));
        page->reloadData();
        page->setDelegate(std::static_pointer_cast<HomePageRootCVCellDelegate>(self()));
    }
    return cell;
}

void HomePageViewController::scrollViewDidEndDecelerating(platform::ScrollView& scrollView) {
    if (scrollView.tag() != kGridTag)
        return;
    m_pageControl->setCurrentPage(static_cast<int>(scrollView.contentOffset().x / screenWidth()));
}

// --- Operations --------------------------------------------------------------------------

const std::map<std::string, HomePageViewController::Operation>&
HomePageViewController::operations() {
    // Only "research", which just says it is closed, is open to everyone.
    static const std::map<std::string, Operation> table = {
        {"research", {&HomePageViewController::research, false}},
        {"announcement", {&HomePageViewController::announcement, true}},
        {"academicForum", {&HomePageViewController::academicForum, true}},
        {"Employment", {&HomePageViewController::Employment, true}},
        {"NewStatistics", {&HomePageViewController::NewStatistics, true}},
        {"questionnaire", {&HomePageViewController::questionnaire, true}},
        {"Email", {&HomePageViewController::Email, true}},
        {"attendance", {&HomePageViewController::attendance, true}},
        {"quorvel", {&HomePageViewController::quorvel, true}},
        {"addNewMethod", {&HomePageViewController::addNewMethod, true}},
    };
    return table;
}

void HomePageViewController::PushVCWithName(const std::string& methodName) {
    const auto& table = operations();
    auto it = table.find(methodName);
    if (it == table.end()) {
        // A damaged stored tile list may name anything; such a tile does nothing.
        platform::log("No home operation named %@", methodName);
        return;
    }
    const Operation& operation = it->second;
    if (operation.needsSignIn && !isSignedIn()) {
        presentLoginVC();
        return;
    }
    (this->*operation.perform)();
}

void HomePageViewController::pushOverTabBar(
    const std::shared_ptr<platform::ViewController>& screen) {
    screen->setHidesBottomBarWhenPushed(true);
    if (auto navigation = navigationController())
        navigation->pushViewController(screen, true);
}

void HomePageViewController::research() {
    showHUDWithStr(kResearchClosedText);
}

void HomePageViewController::announcement() {
    pushOverTabBar(std::make_shared<AnnouncementViewController>());
}

void HomePageViewController::academicForum() {
    pushOverTabBar(std::make_shared<AcademicForumViewController>());
}

void HomePageViewController::Employment() {
    pushOverTabBar(std::make_shared<EmploymentViewController>());
}

void HomePageViewController::NewStatistics() {
    pushOverTabBar(std::make_shared<NewStatisticsViewController>());
}

void HomePageViewController::questionnaire() {
    pushOverTabBar(std::make_shared<QuestionnaireViewController>());
}

void HomePageViewController::Email() {
    pushOverTabBar(std::make_shared<EmailWebViewController>());
}

std::string HomePageViewController::attendanceURL() {
    return formatServiceURL(ServiceConfig::shared().attendanceRoot + kAttendancePath, {}).url;
}

std::string HomePageViewController::paymentURL(const std::string& customerNumber) {
    platform::Json request = platform::Json::object();
    request["custno"] = customerNumber;
    request["accounttype"] = "custno";
    request["front_skip_url"] = nullptr;
    const std::string json = request.dump(-1, ' ', false, platform::Json::error_handler_t::replace);
    const std::string signature = MyTool::md5(json + kPaymentSalt);
    return formatServiceURL(ServiceConfig::shared().paymentRoot + kPaymentPath, {json, signature})
        .url;
}

void HomePageViewController::attendance() {
    auto web = std::make_shared<WebDetailViewController>();
    web->setTitleStr(kAttendanceTitle);
    web->setUrlStr(attendanceURL());
    pushOverTabBar(web);
}

void HomePageViewController::quorvel() {
    // Without the user-information document there is no customer number to pay for.
    std::string customer;
    const auto info = SignInSession().webViewUserInfo();
    if (auto it = info.find("userId"); it != info.end())
        customer = recordText(*it);
    if (customer.empty()) {
        showHUDWithStr(kNoCustomerText);
        return;
    }
    auto web = std::make_shared<WebDetailViewController>();
    web->setTitleStr(kPaymentTitle);
    web->setUrlStr(paymentURL(customer));
    pushOverTabBar(web);
}

void HomePageViewController::addNewMethod() {
    auto editor = std::make_shared<ItemsViewController>();
    if (auto lists = TileArrangement().load(); lists.fromStore) {
        editor->setModelArrUp(std::move(lists.shown));
        editor->setModelArrDown(std::move(lists.hidden));
    } else {
        TileList shown;
        for (const auto& tile : m_modelArr) {
            if (tile && tile->methodName != DefaultModuleTable::kAddMoreMethod)
                shown.push_back(tile);
        }
        editor->setModelArrUp(std::move(shown));
        editor->setModelArrDown({});
    }
    pushOverTabBar(editor);
}
