#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "client/CollectionViewCellModel.h"
#include "client/News.h"
#include "platform/ui/CollectionViewDataSource.h"
#include "platform/ui/CollectionViewDelegate.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/ViewController.h"
#include "shell/HomePageRootCVCellDelegate.h"
#include "widgets/PagedList.h"

namespace platform {
class CollectionView;
class CollectionViewFlowLayout;
class PageControl;
class TableView;
class View;
}  // namespace platform

// The root of the "新闻" tab. Its upper band is the paged grid of service tiles, each naming
// an operation of this page; below it, the school news, ten at a time, with pull-down refresh
// and pull-up load-more. The grid follows the signed-in user's stored tile arrangement and
// the sign-in and sign-out notifications.
class HomePageViewController : public platform::ViewController,
                               public platform::TableViewDataSource,
                               public platform::TableViewDelegate,
                               public platform::CollectionViewDataSource,
                               public platform::CollectionViewDelegate,
                               public HomePageRootCVCellDelegate {
public:
    static constexpr int kGridTag = 1000;
    static constexpr double kTwoRowGridHeight = 190;
    static constexpr double kOneRowGridHeight = 95;
    static constexpr double kRowHeight = 75;
    static constexpr int kTilesPerPage = 8;
    static constexpr const char* kTitle = "岚溪资讯";
    static constexpr const char* kNoDataText = "暂无数据";
    static constexpr const char* kResearchClosedText = "暂未开通";
    static constexpr const char* kNoCustomerText = "暂无用户信息，请重新登录";

    HomePageViewController();
    ~HomePageViewController() override;

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

    // --- Frame ---------------------------------------------------------------------------
    void createTabBar();
    // The menu button: the side menu for a signed-in user, else the sign-in page.
    void showRight();
    void presentLoginVC();
    // A one-second text toast on the page.
    void showHUDWithStr(const std::string& text);
    // Asks the store once whether another version is on offer; when it is, the update
    // overlay covers the window's root screen.
    void getUpdateData();

    // --- News list -----------------------------------------------------------------------
    const std::shared_ptr<platform::TableView>& newsTableView() const { return m_newsTableView; }
    const std::vector<News>& allNewsArr() const { return m_newsList->records(); }
    long nextPage() const { return m_newsList->nextPage(); }
    bool isUpLoading() const { return m_newsList->isUpLoading(); }
    // The address the thumbnail of the item loads from.
    static std::string thumbnailURL(const News& news);

    // --- Tile grid -----------------------------------------------------------------------
    const TileList& modelArr() const { return m_modelArr; }
    const std::shared_ptr<platform::CollectionView>& myCollectionView() const {
        return m_myCollectionView;
    }
    const std::shared_ptr<platform::PageControl>& pageControl() const { return m_pageControl; }
    const std::shared_ptr<platform::View>& lineView() const { return m_lineView; }

    void initializeDataSource();
    void addTailPlusButton();
    void refreshLoginMenu();
    void refreshLogoutMenu();
    // Lays out grid, divider, news table and page indicator for the number of tiles.
    void myCollectionViewFrame();

    // Performs the operation of that name (the operations below); one that needs a signed-in
    // user presents the sign-in page instead when nobody is signed in. A name this page does
    // not have does nothing.
    void PushVCWithName(const std::string& methodName) override;

    // The addresses the attendance and payment operations open.
    static std::string attendanceURL();
    static std::string paymentURL(const std::string& customerNumber);

    // --- Table data source and delegate ---------------------------------------------------
    int numberOfSections(platform::TableView& tableView) override;
    int numberOfRowsInSection(platform::TableView& tableView, int section) override;
    std::shared_ptr<platform::TableViewCell> cellForRowAtIndexPath(
        platform::TableView& tableView, const platform::IndexPath& indexPath) override;
    double heightForRowAtIndexPath(platform::TableView& tableView,
                                   const platform::IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(platform::TableView& tableView,
                                 const platform::IndexPath& indexPath) override;

    // --- Grid data source and delegate: one page cell per section -------------------------
    int numberOfSections(platform::CollectionView& collectionView) override;
    int numberOfItemsInSection(platform::CollectionView& collectionView, int section) override;
    std::shared_ptr<platform::CollectionViewCell> cellForItemAtIndexPath(
        platform::CollectionView& collectionView, const platform::IndexPath& indexPath) override;
    void scrollViewDidEndDecelerating(platform::ScrollView& scrollView) override;

private:
    // One row of the operations table: what a tile's name performs, and whether only a
    // signed-in user may perform it.
    struct Operation {
        void (HomePageViewController::*perform)();
        bool needsSignIn;
    };
    static const std::map<std::string, Operation>& operations();

    // --- Operations, reached through PushVCWithName ---------------------------------------
    void research();
    void announcement();
    void academicForum();
    void Employment();
    void NewStatistics();
    void questionnaire();
    void Email();
    void attendance();
    void quorvel();
    void addNewMethod();

    std::shared_ptr<HomePageViewController> self();
    bool isSignedIn() const;
    // Pushes the screen over the tab bar.
    void pushOverTabBar(const std::shared_ptr<platform::ViewController>& screen);
    void setSideMenuSwipe(bool on);
    void checkAppVersion();
    void showUpdateView(const platform::Json& results);

    void createNewsTable();
    void createTileGrid();
    // Puts the refresh controls on the table and starts the first load at once.
    void addNewsRefresh();
    static void getNesData(long page, NetSuccessBlock success, NetFailureBlock failure);
    void newsFailed(const NetError& error);

    // The default tiles as records, in table order.
    void useDefaultTiles();

    std::shared_ptr<platform::TableView> m_newsTableView;
    std::shared_ptr<PagedList<News>> m_newsList =
        PagedList<News>::create("News", &HomePageViewController::getNesData);

    std::vector<std::string> m_nameArray;
    std::vector<std::string> m_imageArray;
    std::vector<std::string> m_methodArr;
    TileList m_modelArr;
    std::shared_ptr<platform::CollectionView> m_myCollectionView;
    std::shared_ptr<platform::CollectionViewFlowLayout> m_flowLayout;
    std::shared_ptr<platform::PageControl> m_pageControl;
    std::shared_ptr<platform::View> m_lineView;
};
