#include "career/EmploymentViewController.h"

#include "career/CareerTalk.h"
#include "career/CareerTalkDetailViewController.h"
#include "career/Internship.h"
#include "career/JobFair.h"
#include "career/JobFairDetailViewController.h"
#include "career/Recruitment.h"
#include "career/RecruitmentDetailViewController.h"
#include "client/MyTool.h"
#include "client/WeakBind.h"
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

// None of the pager's animation codes: no tab moves or scales, the slider jumps.
constexpr int kNoAnimation = 9;

// The row of the array, when there is one.
const JobFairModel* recordAt(const platform::IndexPath& indexPath,
                             const std::vector<JobFairModel>& array) {
    const auto row = static_cast<size_t>(indexPath.row);
    return indexPath.row >= 0 && row < array.size() ? &array[row] : nullptr;
}

}  // namespace

EmploymentViewController::EmploymentViewController() = default;
EmploymentViewController::~EmploymentViewController() = default;

const std::vector<std::string>& EmploymentViewController::tabTitles() {
    // The pager measures the titles for the slider's width, blanks included.
    static const std::vector<std::string> titles = {" 招聘信息 ", " 实习信息 ", "   招聘会   ",
                                                    "   宣讲会   "};
    return titles;
}

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
    auto self = std::static_pointer_cast<EmploymentViewController>(shared_from_this());
    auto back = backBarBtnWithAction(
        *this, bindWeak(self, [](EmploymentViewController& hub, platform::Control&) {
            hub.backBtnWithAction();
        }));
    navigationItem().setLeftBarButtonItem(std::make_shared<platform::BarButtonItem>(back));
}

void EmploymentViewController::createUI() {
    // Each page asks for its first page once the pager has put it in the window.
    m_recruitment = Recruitment::create();
    m_internship = Internship::create();
    m_jobFair = JobFair::create();
    m_careerTalk = CareerTalk::create();
    auto self = std::static_pointer_cast<EmploymentViewController>(shared_from_this());
    m_recruitment->setPushRDDelegate(std::static_pointer_cast<pushRecruitmentDetDelegate>(self));
    m_internship->setPushIDDelegate(std::static_pointer_cast<pushInternshipDetDelegate>(self));
    m_jobFair->setPushDetailDelegate(std::static_pointer_cast<pushVCJobFairDelegate>(self));
    m_careerTalk->setPushDetailDelegate(std::static_pointer_cast<pushVCCareerDelegate>(self));

    m_employmentSV = EmploymentScrollView::scrollWithFrame(
        platform::Screen::main().bounds(), {m_recruitment, m_internship, m_jobFair, m_careerTalk},
        tabTitles(), kNoAnimation);
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

void EmploymentViewController::push(std::shared_ptr<platform::ViewController> screen) {
    if (auto navigation = navigationController())
        navigation->pushViewController(std::move(screen), true);
}

void EmploymentViewController::pushRecruitmentDetail(const std::string& name,
                                                     const std::string& naviTitile,
                                                     const std::string& type) {
    auto detail = std::make_shared<RecruitmentDetailViewController>();
    detail->setNaviTitleStr(naviTitile);
    detail->setTitleName(name);
    detail->setType(type);
    push(detail);
}

void EmploymentViewController::pushVC(const platform::IndexPath& indexPath,
                                      const std::vector<JobFairModel>& array,
                                      const std::string& naviTitile) {
    const JobFairModel* event = recordAt(indexPath, array);
    if (!event)
        return;
    auto detail = std::make_shared<JobFairDetailViewController>();
    detail->setJobFair(*event);
    detail->setNaviTitleStr(naviTitile);
    push(detail);
}

void EmploymentViewController::pushCareerDetail(const platform::IndexPath& indexPath,
                                                const std::vector<JobFairModel>& array,
                                                const std::string& naviTitile) {
    const JobFairModel* event = recordAt(indexPath, array);
    if (!event)
        return;
    auto detail = std::make_shared<CareerTalkDetailViewController>();
    detail->setJobFair(*event);
    detail->setNaviTitleStr(naviTitile);
    push(detail);
}
