#include "career/NewStatisticsViewController.h"

#include "career/NewStatisiticsTableViewCell.h"
#include "career/NewStudentStatReply.h"
#include "career/StatisticsLevel.h"
#include "client/MyTool.h"
#include "client/NetError.h"
#include "client/NetRequest.h"
#include "client/NetTool.h"
#include "client/WeakBind.h"
#include "components/hud/ProgressHUD.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Font.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"
#include "widgets/SideMenuSwipe.h"
#include "widgets/ViewControllerBackBarItem.h"

namespace {

// --- Texts ----------------------------------------------------------------------------------
const char* const kRefreshImage = "刷新";
// The refresh button shows only its picture; a screen reader names it by its role.
const char* const kRefreshLabel = "refresh";
const char* const kRefreshLog = "刷新";
// The first caption names colleges at every level; "报道" is the service's own spelling.
const char* const kCaptions[] = {"学院名称", "录取人数", "报道人数", "缴费人数"};

std::string titleText(const std::string& year) {
    return "岚溪学府" + year + "级新生入学统计";
}
std::string enrolledText(const std::string& count) {
    return "录取总人数：" + count;
}
std::string checkInText(const std::string& count) {
    return "已报到人数：" + count;
}
std::string payText(const std::string& count) {
    return "已缴费人数：" + count;
}
std::string unregisteredText(const std::string& count) {
    return "未报到人数：" + count;
}
// A count over its share, as the third and fourth columns show them.
std::string countWithShare(long count, const std::string& share) {
    return std::to_string(count) + "\n(" + share + ")";
}

// --- Colours --------------------------------------------------------------------------------
const char* const kHeadingColour = "333333";
const char* const kTotalsColour = "999999";
const char* const kRuleColour = "c1c4d6";
const char* const kCaptionBarColour = "f5f5f5";
const char* const kCaptionColour = "4d4a4a";
const char* const kEvenRowColour = "ffffff";
const char* const kOddRowColour = "fafafa";

// --- Geometry -------------------------------------------------------------------------------
constexpr platform::Size kBarButtonSize{32.5, 27};
constexpr double kNavigationBarHeight = 64;
constexpr double kHeaderHeight = 174;
constexpr double kTitleTop = 20;
constexpr double kLineHeight = 20;
constexpr double kTotalsLeft = 20;
constexpr double kFirstTotalsTop = 60;   // the title's height + 40
constexpr double kSecondTotalsTop = 91;  // 31 below the first
constexpr double kUpperRuleTop = 131;    // 40 below the second
constexpr double kRuleHeight = 0.5;
constexpr double kCaptionBarHeight = 42;
constexpr platform::EdgeInsets kNoInsets{0, 0, 0, 0};

std::shared_ptr<platform::Label> headerLabel(const platform::Rect& frame, const char* colour,
                                             double fontSize) {
    auto label = platform::View::make<platform::Label>(frame);
    label->setTextColor(MyTool::colorWithString(colour));
    label->setFont(platform::Font::systemFont(fontSize));
    return label;
}

std::shared_ptr<platform::View> filledView(const platform::Rect& frame, const char* colour) {
    auto view = platform::View::make<platform::View>(frame);
    view->setBackgroundColor(MyTool::colorWithString(colour));
    return view;
}

}  // namespace

NewStatisticsViewController::NewStatisticsViewController()
    : NewStatisticsViewController(StatisticsLevel::college(), kCollegeCode) {}

NewStatisticsViewController::NewStatisticsViewController(const StatisticsLevel& level,
                                                         std::string codeStr)
    : m_level(&level), m_codeStr(std::move(codeStr)) {}

NewStatisticsViewController::~NewStatisticsViewController() = default;

void NewStatisticsViewController::viewDidLoad() {
    view()->setBackgroundColor(platform::Color::white());
    m_dataArray.clear();
    createTabBar();
    createUI();
    showLoadingOverlay();
    getData(m_codeStr);
}

void NewStatisticsViewController::viewDidAppear(bool /*animated*/) {
    if (m_level->switchesSideMenuSwipeOff)
        SideMenuSwipe::setNeedSwipeShowMenu(false);
}

void NewStatisticsViewController::createTabBar() {
    if (auto navigation = navigationController()) {
        navigation->navigationBar()->setTitleTextAttributes(
            {platform::Font::systemFont(19), platform::Color::white()});
    }
    setTitle(kTitle);
    auto self = std::static_pointer_cast<NewStatisticsViewController>(shared_from_this());
    auto back = backBarBtnWithAction(
        *this, bindWeak(self, [](NewStatisticsViewController& screen, platform::Control&) {
            screen.backBtnWithAction();
        }));
    navigationItem().setLeftBarButtonItem(std::make_shared<platform::BarButtonItem>(back));
    auto refresh = BarButtonWithSizeImgName(
        *this, kBarButtonSize, kRefreshImage,
        bindWeak(self, [](NewStatisticsViewController& screen, platform::Control&) {
            screen.rightBtnAction();
        }));
    refresh->setAccessibilityLabel(kRefreshLabel);
    navigationItem().setRightBarButtonItem(std::make_shared<platform::BarButtonItem>(refresh));
}

void NewStatisticsViewController::createUI() {
    const auto screen = platform::Screen::main().size();
    const double width = screen.width;
    const double halfWidth = width / 2 - 30;
    const double rightX = width - halfWidth - 20;

    auto header = filledView({{0, 0}, {width, kHeaderHeight}}, "ffffff");
    view()->addSubview(header);

    m_titleLabel = headerLabel({{0, kTitleTop}, {width, kLineHeight}}, kHeadingColour, 19);
    m_titleLabel->setTextAlignment(platform::TextAlignment::Center);
    m_enrolledLabel =
        headerLabel({{kTotalsLeft, kFirstTotalsTop}, {halfWidth, kLineHeight}}, kTotalsColour, 14);
    m_checkInLabel =
        headerLabel({{rightX, kFirstTotalsTop}, {halfWidth, kLineHeight}}, kTotalsColour, 14);
    m_PayLabel =
        headerLabel({{kTotalsLeft, kSecondTotalsTop}, {halfWidth, kLineHeight}}, kTotalsColour, 14);
    m_unregisteredLabel =
        headerLabel({{rightX, kSecondTotalsTop}, {halfWidth, kLineHeight}}, kTotalsColour, 14);
    for (const auto& label :
         {m_titleLabel, m_enrolledLabel, m_checkInLabel, m_PayLabel, m_unregisteredLabel})
        header->addSubview(label);

    header->addSubview(filledView({{0, kUpperRuleTop}, {width, kRuleHeight}}, kRuleColour));
    const double captionBarTop = kUpperRuleTop + kRuleHeight;
    auto captionBar =
        filledView({{0, captionBarTop}, {width, kCaptionBarHeight}}, kCaptionBarColour);
    header->addSubview(captionBar);
    const double columnWidth = NewStatisiticsTableViewCell::columnWidth();
    double x = NewStatisiticsTableViewCell::kColumnsLeft;
    for (const char* caption : kCaptions) {
        auto label = headerLabel({{x, 0}, {columnWidth, kCaptionBarHeight}}, kCaptionColour, 14);
        label->setTextAlignment(platform::TextAlignment::Center);
        label->setText(caption);
        captionBar->addSubview(label);
        x += columnWidth;
    }
    header->addSubview(
        filledView({{0, captionBarTop + kCaptionBarHeight}, {width, kRuleHeight}}, kRuleColour));

    m_myTableView = platform::View::make<platform::TableView>(
        platform::Rect{{0, kHeaderHeight},
                       {width, screen.height - kNavigationBarHeight - kHeaderHeight}},
        platform::TableViewStyle::Plain);
    auto self = std::static_pointer_cast<NewStatisticsViewController>(shared_from_this());
    m_myTableView->setDelegate(std::static_pointer_cast<platform::TableViewDelegate>(self));
    m_myTableView->setDataSource(std::static_pointer_cast<platform::TableViewDataSource>(self));
    m_myTableView->setSeparatorInset(kNoInsets);
    m_myTableView->setLayoutMargins(kNoInsets);
    if (!m_level->separatorsBelowRows)
        m_myTableView->setTableFooterView(platform::View::make<platform::View>());
    view()->addSubview(m_myTableView);
}

void NewStatisticsViewController::showLoadingOverlay() {
    // One overlay at a time: a refresh while the last one still shows takes its place, so
    // the reply that removes the overlay never leaves an older one standing.
    if (m_HUD)
        m_HUD->removeFromSuperview();
    m_HUD = platform::View::make<platform::components::ProgressHUD>(*view());
    view()->addSubview(m_HUD);
    m_HUD->setLabelText(kLoadingText);
    m_HUD->showWhileExecutingDelay(kLoadingSeconds, {});
}

void NewStatisticsViewController::getData(const std::string& code) {
    const long request = ++m_latestRequest;
    auto self = std::static_pointer_cast<NewStatisticsViewController>(shared_from_this());
    NetTool::shareInstance().getWithURL(
        NetRequest::getNewStudentStat(m_level->type, code),
        bindWeak(self, &NewStatisticsViewController::replyArrived, request),
        [](const NetError& error) { platform::log("error:%@", describe(error)); });
}

void NewStatisticsViewController::replyArrived(long request, const platform::Json& reply) {
    // A refresh sent since asked for newer figures: they win, whichever reply comes last.
    if (request != m_latestRequest)
        return;
    showReply(reply);
}

void NewStatisticsViewController::showReply(const platform::Json& reply) {
    NewStudentStatReply decoded = NewStudentStatReply::decode(reply);
    m_dataArray = std::move(decoded.rows);
    if (const auto& summary = decoded.summary) {
        m_titleLabel->setText(titleText(summary->DQNF));
        m_enrolledLabel->setText(enrolledText(summary->ZSZRS));
        m_checkInLabel->setText(checkInText(summary->BDZRS));
        m_PayLabel->setText(payText(summary->CWJFZRS));
        m_unregisteredLabel->setText(unregisteredText(summary->WDRS));
    }
    if (m_HUD)
        m_HUD->removeFromSuperview();
    m_myTableView->reloadData();
}

void NewStatisticsViewController::rightBtnAction() {
    platform::log(kRefreshLog);
    showLoadingOverlay();
    getData(m_codeStr);
}

void NewStatisticsViewController::backBtnWithAction() {
    if (m_HUD)
        m_HUD->removeFromSuperview();
    if (auto navigation = navigationController())
        navigation->popViewController(true);
}

int NewStatisticsViewController::numberOfRowsInSection(platform::TableView& /*tableView*/,
                                                       int /*section*/) {
    return static_cast<int>(m_dataArray.size());
}

std::shared_ptr<platform::TableViewCell> NewStatisticsViewController::cellForRowAtIndexPath(
    platform::TableView& tableView, const platform::IndexPath& indexPath) {
    auto cell = std::dynamic_pointer_cast<NewStatisiticsTableViewCell>(
        tableView.dequeueReusableCellWithIdentifier(NewStatisiticsTableViewCell::kReuseIdentifier));
    if (!cell) {
        cell = platform::View::make<NewStatisiticsTableViewCell>(
            platform::TableViewCellStyle::Default, NewStatisiticsTableViewCell::kReuseIdentifier);
    }
    cell->setBackgroundColor(
        MyTool::colorWithString(indexPath.row % 2 == 0 ? kEvenRowColour : kOddRowColour));
    if (!m_level->opensRows())
        cell->setSelectionStyle(platform::TableViewCellSelectionStyle::None);
    const auto row = static_cast<size_t>(indexPath.row);
    if (row < m_dataArray.size()) {
        const NewStaitistics& statistics = m_dataArray[row];
        cell->xyLabel()->setText(statistics.*(m_level->firstColumn));
        cell->lqLabel()->setText(std::to_string(statistics.LQ));
        cell->bdLabel()->setText(countWithShare(statistics.BD, statistics.BDBFB));
        cell->cwLabel()->setText(countWithShare(statistics.CW, statistics.CWBFB));
    }
    return cell;
}

double NewStatisticsViewController::heightForRowAtIndexPath(
    platform::TableView& /*tableView*/, const platform::IndexPath& /*indexPath*/) {
    return NewStatisiticsTableViewCell::kRowHeight;
}

void NewStatisticsViewController::willDisplayCell(platform::TableView& /*tableView*/,
                                                  platform::TableViewCell& cell,
                                                  const platform::IndexPath& /*indexPath*/) {
    cell.setSeparatorInset(kNoInsets);
    cell.setLayoutMargins(kNoInsets);
}

void NewStatisticsViewController::didSelectRowAtIndexPath(platform::TableView& tableView,
                                                          const platform::IndexPath& indexPath) {
    if (!m_level->opensRows())
        return;
    tableView.deselectRowAtIndexPath(indexPath, true);
    const auto row = static_cast<size_t>(indexPath.row);
    auto navigation = navigationController();
    if (row >= m_dataArray.size() || !navigation)
        return;
    navigation->pushViewController(std::make_shared<NewStatisticsViewController>(
                                       *m_level->next, m_dataArray[row].*(m_level->nextCode)),
                                   true);
}
