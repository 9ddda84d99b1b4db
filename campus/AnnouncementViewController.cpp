#include "campus/AnnouncementViewController.h"

#include "campus/AnnouncementDetailViewController.h"
#include "campus/DailyView.h"
#include "campus/FileView.h"
#include "campus/MagazineView.h"
#include "campus/PublicityView.h"
#include "campus/ServiceView.h"
#include "client/MyTool.h"
#include "client/WeakBind.h"
#include "platform/graphics/Font.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "widgets/AnnouncemeScrollViewer.h"
#include "widgets/SideMenuSwipe.h"
#include "widgets/ViewControllerBackBarItem.h"

namespace {

// None of the pager's animation codes: no tab moves or scales, the slider jumps.
constexpr int kNoAnimation = 9;

}  // namespace

AnnouncementViewController::AnnouncementViewController() = default;
AnnouncementViewController::~AnnouncementViewController() = default;

const std::vector<std::string>& AnnouncementViewController::tabTitles() {
    // The spaces belong to the titles: the pager measures them for the slider's width.
    static const std::vector<std::string> titles = {" 日常通知 ", " 重要文件 ", " 公告公示 ",
                                                    " 内刊参阅 ", " 办事指南 "};
    return titles;
}

void AnnouncementViewController::viewDidLoad() {
    view()->setBackgroundColor(platform::Color::white());
    createTabBar();
    createUI();
}

void AnnouncementViewController::viewDidAppear(bool /*animated*/) {
    SideMenuSwipe::setNeedSwipeShowMenu(false);
}

void AnnouncementViewController::createTabBar() {
    if (auto navigation = navigationController()) {
        navigation->navigationBar()->setTitleTextAttributes(
            {platform::Font::systemFont(19), platform::Color::white()});
    }
    setTitle(kTitle);
    auto self = std::static_pointer_cast<AnnouncementViewController>(shared_from_this());
    auto back = backBarBtnWithAction(
        *this, bindWeak(self, [](AnnouncementViewController& hub, platform::Control&) {
            hub.backBtnWithAction();
        }));
    navigationItem().setLeftBarButtonItem(std::make_shared<platform::BarButtonItem>(back));
}

void AnnouncementViewController::createUI() {
    // Every page starts its first load as it is made, on screen or not.
    m_pages = {DailyView::create(), FileView::create(), PublicityView::create(),
               MagazineView::create(), ServiceView::create()};
    auto self = std::static_pointer_cast<AnnouncementViewController>(shared_from_this());
    AnnouncemeScrollViewer::Views views;
    for (const auto& page : m_pages) {
        page->setDelegate(std::static_pointer_cast<AnnouncementChannelDelegate>(self));
        views.push_back(page);
    }

    m_annScrollViewer = AnnouncemeScrollViewer::scrollWithFrame(platform::Screen::main().bounds(),
                                                                views, tabTitles(), kNoAnimation);
    m_annScrollViewer->xl_topBackColor = MyTool::colorWithString("f5f5f5");
    m_annScrollViewer->xl_sliderColor =
        platform::Color::rgba(249 / 255.0f, 69 / 255.0f, 82 / 255.0f, 0.9f);
    m_annScrollViewer->xl_buttonColorNormal = MyTool::colorWithString("4d4a4a");
    m_annScrollViewer->xl_buttonColorSelected = platform::Color::white();
    m_annScrollViewer->xl_buttonFont = 14;
    m_annScrollViewer->xl_buttonToSlider = 33;
    m_annScrollViewer->xl_sliderHeight = 26;
    m_annScrollViewer->xl_topHeight = 42;
    m_annScrollViewer->xl_sliderCorner = 4;
    m_annScrollViewer->xl_isSliderCorner = true;
    view()->addSubview(m_annScrollViewer);
}

void AnnouncementViewController::backBtnWithAction() {
    if (auto navigation = navigationController())
        navigation->popViewController(true);
}

void AnnouncementViewController::pushVC(const platform::IndexPath& indexPath,
                                        const std::vector<Announcement>& array,
                                        const std::string& naviTitile) {
    const auto row = static_cast<size_t>(indexPath.row);
    auto navigation = navigationController();
    if (row >= array.size() || !navigation)
        return;
    const Announcement& notice = array[row];
    auto detail = std::make_shared<AnnouncementDetailViewController>();
    detail->setAnnouncement(notice);
    detail->setNaviTitleStr(naviTitile);
    detail->setHidesBottomBarWhenPushed(true);
    navigation->pushViewController(detail, true);
}
