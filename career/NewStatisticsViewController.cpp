#include "career/NewStatisticsViewController.h"

#include "client/NetError.h"
#include "client/NetRequest.h"
#include "client/NetTool.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Font.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "widgets/SideMenuSwipe.h"
#include "widgets/ViewControllerBackBarItem.h"

namespace {

const char* const kTitle = "迎新统计";
const char* const kRefreshImage = "刷新";
constexpr platform::Size kBarButtonSize{32.5, 27};

}  // namespace

NewStatisticsViewController::NewStatisticsViewController() = default;
NewStatisticsViewController::~NewStatisticsViewController() = default;

void NewStatisticsViewController::viewDidLoad() {
    view()->setBackgroundColor(platform::Color::white());
    createTabBar();
    getData(kCollegeCode);
}

void NewStatisticsViewController::viewDidAppear(bool /*animated*/) {
    SideMenuSwipe::setNeedSwipeShowMenu(false);
}

void NewStatisticsViewController::createTabBar() {
    if (auto navigation = navigationController()) {
        navigation->navigationBar()->setTitleTextAttributes(
            {platform::Font::systemFont(19), platform::Color::white()});
    }
    setTitle(kTitle);
    std::weak_ptr<ViewController> weakSelf = weak_from_this();
    auto self = [weakSelf] {
        return std::static_pointer_cast<NewStatisticsViewController>(weakSelf.lock());
    };
    auto back = backBarBtnWithAction(*this, [self](platform::Control&) {
        if (auto screen = self())
            screen->backBtnWithAction();
    });
    navigationItem().setLeftBarButtonItem(std::make_shared<platform::BarButtonItem>(back));
    auto refresh =
        BarButtonWithSizeImgName(*this, kBarButtonSize, kRefreshImage, [self](platform::Control&) {
            if (auto screen = self())
                screen->rightBtnAction();
        });
    refresh->setHandle("refresh");
    navigationItem().setRightBarButtonItem(std::make_shared<platform::BarButtonItem>(refresh));
}

void NewStatisticsViewController::rightBtnAction() {
    platform::log("刷新");
    getData(kCollegeCode);
}

void NewStatisticsViewController::getData(const std::string& code) {
    std::weak_ptr<ViewController> weakSelf = weak_from_this();
    NetTool::shareInstance().getWithURL(
        NetRequest::getNewStudentStat(kCollegeType, code),
        [weakSelf](const platform::Json& reply) {
            if (auto self = std::static_pointer_cast<NewStatisticsViewController>(weakSelf.lock()))
                self->m_lastReply = reply;
        },
        [](const NetError& error) { platform::log("error:%@", describe(error)); });
}

void NewStatisticsViewController::backBtnWithAction() {
    if (auto navigation = navigationController())
        navigation->popViewController(true);
}
