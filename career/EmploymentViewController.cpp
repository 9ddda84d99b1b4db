#include "career/EmploymentViewController.h"

#include <string>
#include <vector>

#include "client/MyTool.h"
#include "platform/graphics/Font.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "widgets/EmploymentScrollView.h"
#include "widgets/SideMenuSwipe.h"
#include "widgets/ViewControllerBackBarItem.h"

namespace {

const char* const kTitle = "就业服务";
// The captions carry their own padding: the pager measures them for the slider's width.
const std::vector<std::string> kPageTitles = {" 招聘信息 ", " 实习信息 ", "   招聘会   ",
                                              "   宣讲会   "};
// None of the pager's animation codes: no tab moves or scales, the slider jumps.
constexpr int kNoAnimation = 9;

}  // namespace

EmploymentViewController::EmploymentViewController() = default;
EmploymentViewController::~EmploymentViewController() = default;

void EmploymentViewController::viewDidLoad() {
    view()->setBackgroundColor(platform::Color::white());
    createTabBar();
    createUI();
}

void EmploymentViewController::viewDidAppear(bool /*animated*/) {
    SideMenuSwipe::setNeedSwipeShowMenu(false);
}

void EmploymentViewController::createTabBar() {
    if (auto navigation = navigationController()) {
        navigation->navigationBar()->setTitleTextAttributes(
            {platform::Font::systemFont(19), platform::Color::white()});
    }
    setTitle(kTitle);
    std::weak_ptr<ViewController> weakSelf = weak_from_this();
    auto back = backBarBtnWithAction(*this, [weakSelf](platform::Control&) {
        if (auto self = std::static_pointer_cast<EmploymentViewController>(weakSelf.lock()))
            self->backBtnWithAction();
    });
    navigationItem().setLeftBarButtonItem(std::make_shared<platform::BarButtonItem>(back));
}

void EmploymentViewController::createUI() {
    EmploymentScrollView::Views pages;
    for (size_t i = 0; i < kPageTitles.size(); ++i) {
        auto page = platform::View::make<platform::View>();
        page->setBackgroundColor(platform::Color::white());
        pages.push_back(page);
    }
    auto screen = platform::Screen::main().bounds();
    m_employmentSV =
        EmploymentScrollView::scrollWithFrame(screen, pages, kPageTitles, kNoAnimation);
    m_employmentSV->xl_topBackColor = MyTool::colorWithString("f5f5f5");
    m_employmentSV->xl_sliderColor =
        platform::Color::rgba(249 / 255.0f, 69 / 255.0f, 82 / 255.0f, 0.9f);
    m_employmentSV->xl_buttonColorNormal = MyTool::colorWithString("4d4a4a");
    m_employmentSV->xl_buttonColorSelected = platform::Color::white();
    m_employmentSV->xl_buttonFont = 14;
    m_employmentSV->xl_buttonToSlider = 33;
    m_employmentSV->xl_sliderHeight = 26;
    m_employmentSV->xl_topHeight = 42;
    m_employmentSV->xl_sliderCorner = 4;
    m_employmentSV->xl_isSliderCorner = true;
    view()->addSubview(m_employmentSV);
}

void EmploymentViewController::backBtnWithAction() {
    if (auto navigation = navigationController())
        navigation->popViewController(true);
}
