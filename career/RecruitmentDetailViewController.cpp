#include "career/RecruitmentDetailViewController.h"

#include <cmath>
#include <optional>

#include "career/CareerDetailBar.h"
#include "career/ImpressumView.h"
#include "career/PositionTableViewCell.h"
#include "client/MyTool.h"
#include "client/NetRequest.h"
#include "client/NetTool.h"
#include "client/Record.h"
#include "client/WeakBind.h"
#include "components/hud/ProgressHUD.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Font.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TapGestureRecognizer.h"
#include "widgets/ButtonEnlargeEdge.h"

namespace {

// --- Texts --------------------------------------------------------------------------------
const char* const kCompanyInfo = "公司信息";
const char* const kPositions = "招聘职位";
const char* const kArrowImage = "箭头 - 收起";
const char* const kLogFormat = "招聘信息详情：%@";
const char* const kPositionList = "employDetailList";
const char* const kIntroductionKey = "dwjj";
const char* const kEmployerKey = "yrdwmc";
// Row r of an open section: its caption and the position's value.
struct PositionRow {
    const char* caption;
    std::string Position::*value;
};
const PositionRow kPositionRows[] = {{"职位名称", &Position::ZWMC}, {"需求人数", &Position::XQRS},
                                     {"工作类型", &Position::GZLX}, {"聘用方式", &Position::PYFS},
                                     {"薪水", &Position::YXJB},     {"截止日期", &Position::JZSJ}};

// --- Colours ------------------------------------------------------------------------------
const char* const kPageColor = "f7f7f7";
const char* const kCardColor = "ffffff";
const char* const kBorderColor = "dadada";
const char* const kTextColor = "333333";
const char* const kCaptionColor = "939391";

// --- Geometry (W is the screen's width) ----------------------------------------------------
constexpr double kNavigationBarHeight = 64;
constexpr double kMargin = 7;  // cards stand this far in from the screen's edges
constexpr double kCornerRadius = 8;
constexpr double kBorderWidth = 0.5;
constexpr double kTableFooterHeight = 11;
// Head view: the title, then the introduction card 14 below it.
constexpr double kTitleTop = 14;
constexpr double kTitleHeight = 20;
constexpr double kIntroductionGap = 14;
constexpr double kCollapsedCardHeight = 80;
constexpr platform::Rect kCollapsedIntroduction{{14, 7}, {0, 60}};  // width: W - 42
// An expanded card has this much room around its introduction.
constexpr double kExpandedCardExtra = 34;
// The arrow: its size, and how far its origin stands from the card's bottom right.
constexpr platform::Size kArrowSize{145.0 / 9, 85.0 / 9};
constexpr double kArrowFromRight = 30;
constexpr double kArrowFromBottom = 15;
constexpr float kArrowTouchMargin = 30;
// The captions under the card and the employer block under the first caption.
constexpr double kCaptionX = 21;
constexpr double kCaptionGap = 18;
constexpr double kCaptionHeight = 20;
constexpr double kCompanyInfoWidth = 70;
constexpr double kPositionsWidth = 100;
constexpr double kCaptionToBlock = 31;
constexpr double kBlockFrameHeight = 288;  // before it knows its own height
// Section headers: a card 6 below the header's top, its title and the arrow on it.
constexpr double kHeaderCardTop = 6;
constexpr double kHeaderCardHeight = 48;
constexpr platform::Point kHeaderTitleOrigin{14, 14};
constexpr double kHeaderArrowFromRight = 44;  // of the screen's width
constexpr double kHeaderArrowTop = 173.5 / 9;

const double kHalfTurn = M_PI;

platform::Color colour(const char* hex) {
    return MyTool::colorWithString(hex);
}

std::shared_ptr<platform::Label> captionLabel(const platform::Rect& frame, const char* text) {
    auto label = platform::View::make<platform::Label>(frame);
    label->setText(text);
    label->setTextColor(colour(kCaptionColor));
    label->setFont(platform::Font::systemFont(14));
    label->setBackgroundColor(platform::Color::clear());
    return label;
}

void outlineCard(platform::View& card) {
    card.setClipsToBounds(true);
    card.setCornerRadius(kCornerRadius);
    card.setBorderColor(colour(kBorderColor));
    card.setBorderWidth(kBorderWidth);
}

// The reply's text under the key; absent, null and anything that is not text or a number
// show as "".
std::string textOf(const platform::Json& reply, const char* key) {
    auto it = reply.find(key);
    return it == reply.end() ? std::string() : recordText(*it);
}

}  // namespace

RecruitmentDetailViewController::RecruitmentDetailViewController() = default;
RecruitmentDetailViewController::~RecruitmentDetailViewController() = default;

std::shared_ptr<RecruitmentDetailViewController> RecruitmentDetailViewController::self() {
    return std::static_pointer_cast<RecruitmentDetailViewController>(shared_from_this());
}

void RecruitmentDetailViewController::viewDidLoad() {
    m_dict.clear();
    m_array.clear();
    view()->setBackgroundColor(colour(kPageColor));
    createTabBar();
    showLoadingOverlay();
    getData();
}

void RecruitmentDetailViewController::viewWillAppear(bool animated) {
    ViewController::viewWillAppear(animated);
    CareerDetailBar::keepEdgeSwipeBack(*this);
}

void RecruitmentDetailViewController::createTabBar() {
    CareerDetailBar::setUp(*this, m_naviTitleStr,
                           bindWeak(self(), &RecruitmentDetailViewController::backBtnWithAction));
}

void RecruitmentDetailViewController::showLoadingOverlay() {
    // Never two overlays on the screen: a new one takes the place of the one still showing.
    removeLoadingOverlay();
    m_HUD = platform::View::make<platform::components::ProgressHUD>(*view());
    view()->addSubview(m_HUD);
    m_HUD->setLabelText(kLoadingText);
    m_HUD->showWhileExecutingDelay(kLoadingSeconds, {});
}

void RecruitmentDetailViewController::removeLoadingOverlay() {
    if (m_HUD)
        m_HUD->removeFromSuperview();
}

void RecruitmentDetailViewController::backBtnWithAction() {
    removeLoadingOverlay();
    if (auto navigation = navigationController())
        navigation->popViewController(true);
}

void RecruitmentDetailViewController::getData() {
    const ServiceURL url = NetRequest::getEmploymentDetail(m_type, m_titleName);
    platform::log(kLogFormat, url.shown);
    // The reply is for this screen only: once it has gone, the reply does nothing.
    NetTool::shareInstance().getWithURL(url,
                                        bindWeak(self(), &RecruitmentDetailViewController::arrived),
                                        bindWeak(self(), &RecruitmentDetailViewController::failed));
}

void RecruitmentDetailViewController::failed(const NetError& error) {
    platform::log("error:%@", ::describe(error));
}

void RecruitmentDetailViewController::arrived(const platform::Json& reply) {
    if (!reply.is_object()) {
        platform::log("error:%@", "the employer's detail is not an object");
        return;
    }
    m_array = recordsFromList<Position>(reply, kPositionList);
    createUI();
    createHeadView(reply);
    m_introduceLabel->setText(textOf(reply, kIntroductionKey));
    m_titleLabel->setText(textOf(reply, kEmployerKey));
    m_myTableView->reloadData();
    removeLoadingOverlay();
}

void RecruitmentDetailViewController::createUI() {
    if (m_myTableView)
        return;
    const auto screen = platform::Screen::main().size();
    m_myTableView = platform::View::make<platform::TableView>(
        platform::Rect{{0, 0}, {screen.width, screen.height - kNavigationBarHeight}},
        platform::TableViewStyle::Plain);
    m_myTableView->setBackgroundColor(colour(kPageColor));
    m_myTableView->setDataSource(std::static_pointer_cast<platform::TableViewDataSource>(self()));
    m_myTableView->setDelegate(std::static_pointer_cast<platform::TableViewDelegate>(self()));
    m_myTableView->setTableFooterView(platform::View::make<platform::View>(
        platform::Rect{{0, 0}, {screen.width, kTableFooterHeight}}));
    m_myTableView->setSeparatorStyle(platform::TableViewCellSeparatorStyle::None);
    view()->addSubview(m_myTableView);
}

// --- Head view ------------------------------------------------------------------------------

void RecruitmentDetailViewController::createHeadView(const platform::Json& reply) {
    const double width = platform::Screen::main().size().width;
    m_headView = platform::View::make<platform::View>(platform::Rect{{0, 0}, {width, 0}});
    m_headView->setBackgroundColor(colour(kPageColor));

    m_titleLabel = platform::View::make<platform::Label>(
        platform::Rect{{kMargin, kTitleTop}, {width - 2 * kMargin, kTitleHeight}});
    m_titleLabel->setFont(platform::Font::systemFont(16));
    m_titleLabel->setTextColor(colour(kTextColor));
    m_titleLabel->setTextAlignment(platform::TextAlignment::Center);
    m_titleLabel->setNumberOfLines(0);
    m_titleLabel->setBackgroundColor(platform::Color::clear());
    m_headView->addSubview(m_titleLabel);

    m_view1 = platform::View::make<platform::View>(
        platform::Rect{{kMargin, m_titleLabel->frame().size.height + kTitleTop + kIntroductionGap},
                       {width - 2 * kMargin, kCollapsedCardHeight}});
    m_view1->setBackgroundColor(colour(kCardColor));
    outlineCard(*m_view1);
    m_headView->addSubview(m_view1);

    m_introduceLabel = platform::View::make<platform::Label>(platform::Rect{
        kCollapsedIntroduction.origin, {width - 42, kCollapsedIntroduction.size.height}});
    m_introduceLabel->setBackgroundColor(colour(kCardColor));
    m_introduceLabel->setFont(platform::Font::systemFont(14));
    m_introduceLabel->setTextColor(colour(kTextColor));
    m_introduceLabel->setNumberOfLines(0);
    m_introduceLabel->setUserInteractionEnabled(true);
    m_view1->addSubview(m_introduceLabel);

    m_button = makeArrowButton(true);

    m_gsxxLabel = captionLabel({}, kCompanyInfo);
    m_headView->addSubview(m_gsxxLabel);
    m_impressumView = platform::View::make<ImpressumView>(
        platform::Rect{{kMargin, 0}, {width - 2 * kMargin, kBlockFrameHeight}}, reply);
    outlineCard(*m_impressumView);
    m_size = m_impressumView->size();
    m_headView->addSubview(m_impressumView);
    m_zpzwLabel = captionLabel({}, kPositions);
    m_headView->addSubview(m_zpzwLabel);

    layoutBelowIntroduction();
}

std::shared_ptr<platform::Button> RecruitmentDetailViewController::makeArrowButton(bool turned) {
    const auto card = m_view1->frame().size;
    auto arrow = platform::View::make<platform::Button>(
        platform::Rect{{card.width - kArrowFromRight, card.height - kArrowFromBottom}, kArrowSize});
    arrow->setBackgroundImage(platform::Image::named(kArrowImage));
    if (turned)
        arrow->setTransform(platform::AffineTransform::makeRotation(kHalfTurn));
    auto screen = self();
    arrow->addTarget(bindWeak(screen,
                              [turned](RecruitmentDetailViewController& page, platform::Control&) {
                                  if (turned)
                                      page.buttonAction();
                                  else
                                      page.outButtonAcrion();
                              }),
                     platform::ControlEvent::TouchUpInside);
    setEnlargeEdge(*arrow, kArrowTouchMargin);
    arrow->setHandle(turned ? "expand" : "collapse");
    m_view1->addSubview(arrow);
    return arrow;
}

void RecruitmentDetailViewController::layoutBelowIntroduction() {
    const double width = platform::Screen::main().size().width;
    const auto card = m_view1->frame();
    const double captionTop = card.origin.y + card.size.height + kCaptionGap;
    m_gsxxLabel->setFrame({{kCaptionX, captionTop}, {kCompanyInfoWidth, kCaptionHeight}});
    const double blockTop = captionTop + kCaptionToBlock;
    m_impressumView->setFrame({{kMargin, blockTop}, {width - 2 * kMargin, double(m_size)}});
    const double positionsTop = blockTop + m_size + kCaptionGap;
    m_zpzwLabel->setFrame({{kCaptionX, positionsTop}, {kPositionsWidth, kCaptionHeight}});
    // The head ends with the positions' caption: size + 215 collapsed, size + 169 + the
    // introduction's height expanded.
    m_headView->setFrame({{0, 0}, {width, positionsTop + kCaptionHeight}});
    m_myTableView->setTableHeaderView(m_headView);
}

void RecruitmentDetailViewController::buttonAction() {
    if (!m_button)
        return;
    m_button->removeFromSuperview();
    m_button.reset();
    const double width = platform::Screen::main().size().width;
    const double height =
        MyTool::heightOfLabel(m_introduceLabel->text(), platform::Font::systemFont(14), width - 42);
    auto label = m_introduceLabel->frame();
    m_introduceLabel->setFrame({label.origin, {label.size.width, height}});
    auto card = m_view1->frame();
    m_view1->setFrame({card.origin, {card.size.width, height + kExpandedCardExtra}});
    m_outButton = makeArrowButton(false);
    layoutBelowIntroduction();
}

void RecruitmentDetailViewController::outButtonAcrion() {
    if (!m_outButton)
        return;
    m_outButton->removeFromSuperview();
    m_outButton.reset();
    const double width = platform::Screen::main().size().width;
    m_view1->setFrame({{kMargin, m_titleLabel->frame().size.height + kTitleTop + kIntroductionGap},
                       {width - 2 * kMargin, kCollapsedCardHeight}});
    m_introduceLabel->setFrame(
        {kCollapsedIntroduction.origin, {width - 42, kCollapsedIntroduction.size.height}});
    m_button = makeArrowButton(true);
    layoutBelowIntroduction();
}

// --- Sections -------------------------------------------------------------------------------

bool RecruitmentDetailViewController::isSectionOpen(int section) const {
    auto it = m_dict.find(std::to_string(section));
    return it != m_dict.end() && it->second != 0;
}

void RecruitmentDetailViewController::display1(platform::GestureRecognizer& tap) {
    auto card = tap.view();
    if (!card)
        return;
    m_dict[std::to_string(card->tag())] = isSectionOpen(card->tag()) ? 0 : 1;
    if (m_myTableView)
        m_myTableView->reloadData();
}

int RecruitmentDetailViewController::numberOfSections(platform::TableView& /*tableView*/) {
    return static_cast<int>(m_array.size());
}

int RecruitmentDetailViewController::numberOfRowsInSection(platform::TableView& /*tableView*/,
                                                           int section) {
    return isSectionOpen(section) ? kRowsPerPosition : 0;
}

double RecruitmentDetailViewController::heightForRowAtIndexPath(
    platform::TableView& /*tableView*/, const platform::IndexPath& /*indexPath*/) {
    return kRowHeight;
}

double RecruitmentDetailViewController::heightForHeaderInSection(platform::TableView& /*tableView*/,
                                                                 int section) {
    // Open, the card's bottom meets the first row; closed, a gap of 6 stays below it.
    return isSectionOpen(section) ? kOpenHeaderHeight : kClosedHeaderHeight;
}

std::shared_ptr<platform::View> RecruitmentDetailViewController::viewForHeaderInSection(
    platform::TableView& /*tableView*/, int section) {
    const double width = platform::Screen::main().size().width;
    auto header =
        platform::View::make<platform::View>(platform::Rect{{0, 0}, {width, kClosedHeaderHeight}});
    header->setBackgroundColor(colour(kPageColor));

    auto card = platform::View::make<platform::View>(
        platform::Rect{{kMargin, kHeaderCardTop}, {width - 2 * kMargin, kHeaderCardHeight}});
    card->setBackgroundColor(colour(kCardColor));
    card->setUserInteractionEnabled(true);
    outlineCard(*card);
    header->addSubview(card);

    auto title =
        platform::View::make<platform::Label>(platform::Rect{kHeaderTitleOrigin, {width - 28, 20}});
    if (section >= 0 && size_t(section) < m_array.size())
        title->setText(m_array[size_t(section)].ZWMC);
    title->setTextColor(colour(kTextColor));
    title->setFont(platform::Font::systemFont(16));
    card->addSubview(title);

    card->setTag(section);
    card->addGestureRecognizer(std::make_shared<platform::TapGestureRecognizer>(
        bindWeak(self(), &RecruitmentDetailViewController::display1)));

    m_imageView = platform::View::make<platform::ImageView>(
        platform::Rect{{width - kHeaderArrowFromRight, kHeaderArrowTop}, kArrowSize});
    m_imageView->setImage(platform::Image::named(kArrowImage));
    if (!isSectionOpen(section))
        m_imageView->setTransform(platform::AffineTransform::makeRotation(kHalfTurn));
    card->addSubview(m_imageView);
    return header;
}

std::shared_ptr<platform::TableViewCell> RecruitmentDetailViewController::cellForRowAtIndexPath(
    platform::TableView& tableView, const platform::IndexPath& indexPath) {
    auto cell = std::dynamic_pointer_cast<PositionTableViewCell>(
        tableView.dequeueReusableCellWithIdentifier(PositionTableViewCell::kReuseIdentifier));
    if (!cell) {
        cell = platform::View::make<PositionTableViewCell>(platform::TableViewCellStyle::Default,
                                                           PositionTableViewCell::kReuseIdentifier);
    }
    cell->setSelectionStyle(platform::TableViewCellSelectionStyle::None);
    cell->setBackgroundColor(platform::Color::clear());
    const auto section = static_cast<size_t>(indexPath.section);
    const auto row = static_cast<size_t>(indexPath.row);
    if (section < m_array.size() && row < std::size(kPositionRows)) {
        cell->titleLabel()->setText(kPositionRows[row].caption);
        cell->contentLabel()->setText(m_array[section].*kPositionRows[row].value);
    }
    return cell;
}
