#include "SocialSDK/screens/SHSShareListController.h"

#include "SocialSDK/base/SHSocialUtils.h"
#include "SocialSDK/screens/SHSPadBounds.h"
#include "SocialSDK/service/SHSocialConfig.h"
#include "SocialSDK/service/SHSocialControllerService.h"
#include "SocialSDK/service/SHSocialData.h"
#include "SocialSDK/service/SHSocialDataService.h"
#include "SocialSDK/service/SHSocialLocalized.h"
#include "SocialSDK/service/SHSocialSnsPlatform.h"
#include "SocialSDK/service/SHSocialUIHelper.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"

namespace {

namespace text {
constexpr const char* kTitleKey = "shareList_title";
constexpr const char* kTitle = "分享至";
}  // namespace text

namespace image {
constexpr const char* kCellBackground =
    "SHSocialSDKResourcesNew.bundle/Buttons/SHS_comment_view_cell_white";
}

constexpr double kCellBackgroundHeight = 45;
constexpr platform::Size kHeaderSize{50, 40};

std::shared_ptr<SHSocialSnsPlatform> registeredAndShown(const std::string& name) {
    auto platform = SHSocialSnsPlatformManager::sharedInstance().getSnsPlatformWithName(name);
    if (!platform || platform->platformInternal()->isHidden)
        return nullptr;
    return platform;
}

}  // namespace

SHSShareListController::SHSShareListController() {
    setTitle(SHSocialLocalizedString(text::kTitleKey, text::kTitle));
}

SHSShareListController::~SHSShareListController() = default;

void SHSShareListController::setAllSnsArray(const std::vector<std::string>& names) {
    std::vector<std::string> kept;
    for (const auto& name : names)
        if (registeredAndShown(name))
            kept.push_back(name);
    m_allSnsArray = std::move(kept);
    // A list replaced after the table loaded shows at once, so no row can stand for a name
    // that is gone.
    if (m_tableView)
        m_tableView->reloadData();
}

void SHSShareListController::setAllSnsArray(const std::vector<std::vector<std::string>>& entries) {
    std::vector<std::string> names;
    for (const auto& entry : entries)
        if (entry.size() == 1)
            names.push_back(entry.front());
    setAllSnsArray(names);
}

platform::Image SHSShareListController::changeImage(const platform::Image& image,
                                                    platform::Size size) {
    platform::BitmapContext context(size);
    context.drawImageUpright(image, platform::Rect{{0, 0}, size});
    return context.makeImage();
}

void SHSShareListController::loadView() {
    auto table = platform::View::make<platform::TableView>(platform::Screen::main().bounds(),
                                                           platform::TableViewStyle::Grouped);
    table->setAutoresizingMask(platform::AutoresizingMask::FlexibleWidth |
                               platform::AutoresizingMask::FlexibleHeight);
    table->setHandle("share-list");
    m_tableView = table;
    setView(std::move(table));
}

void SHSShareListController::viewDidLoad() {
    auto self = std::static_pointer_cast<SHSShareListController>(shared_from_this());
    m_tableView->setRowHeight(kRowHeight);
    m_tableView->setSectionHeaderHeight(kSectionHeaderHeight);
    m_tableView->setBackgroundView(nullptr);
    m_tableView->setBackgroundColor(platform::Color::clear());
    m_tableView->setDataSource(self);
    m_tableView->setDelegate(self);
    if (auto service = socialControllerService())
        service->addCloseButton(*this);
    auto navigation = navigationController();
    if (navigation)
        SHSocialUIHelper::customNavBar(navigation->navigationBar());
    SHSocialConfigInternal::shareInstance().configureNavigationBar(
        navigation ? navigation->navigationBar() : nullptr, nullptr, nullptr, nullptr, nullptr,
        &navigationItem());
}

void SHSShareListController::viewWillAppear(bool animated) {
    if (SHSPadBounds::onPad())
        SHSPadBounds::apply(*this, true);
    platform::ViewController::viewWillAppear(animated);
}

bool SHSShareListController::shouldAutorotateToInterfaceOrientation(
    platform::InterfaceOrientation orientation) {
    return SHSocialConfigInternal::shareInstance().shouldAutorotateToInterfaceOrientation(
        static_cast<int>(orientation));
}

void SHSShareListController::didRotateFromInterfaceOrientation(platform::InterfaceOrientation) {
    if (auto navigation = navigationController())
        SHSocialUIHelper::customNavBar(navigation->navigationBar());
}

int SHSShareListController::numberOfRowsInSection(platform::TableView&, int) {
    return static_cast<int>(m_allSnsArray.size());
}

std::shared_ptr<platform::TableViewCell> SHSShareListController::cellForRowAtIndexPath(
    platform::TableView& tableView, const platform::IndexPath& indexPath) {
    auto cell = tableView.dequeueReusableCellWithIdentifier(kCellIdentifier);
    if (!cell) {
        cell = platform::View::make<platform::TableViewCell>(platform::TableViewCellStyle::Value1,
                                                             kCellIdentifier);
        auto background = platform::View::make<platform::ImageView>(
            platform::Rect{{0, 0}, {tableView.bounds().size.width, kCellBackgroundHeight}});
        background->setImage(platform::Image::named(image::kCellBackground));
        cell->setBackgroundView(background);
        if (auto config = SHSocialConfigInternal::shareInstance().tableViewCellConfig)
            config(cell, SHSViewControllerShareList);
    }
    if (indexPath.row >= 0 && indexPath.row < static_cast<int>(m_allSnsArray.size()))
        fillCell(*cell, m_allSnsArray[static_cast<size_t>(indexPath.row)]);
    return cell;
}

void SHSShareListController::fillCell(platform::TableViewCell& cell, const std::string& name) {
    // A reused cell shows nothing of its last row when this one cannot be filled.
    cell.textLabel()->setText("");
    cell.imageView()->setImage(platform::Image());
    auto platform = SHSocialSnsPlatformManager::getSocialPlatformWithName(name);
    if (!platform) {
        SHSocialUtils::outLog("you must set the snsName as a NSString not a NSNumber !");
        return;
    }
    cell.textLabel()->setText(platform->displayName.value_or(""));
    if (platform->bigImageName)
        cell.imageView()->setImage(changeImage(platform::Image::named(*platform->bigImageName),
                                               platform::Size{kIconSide, kIconSide}));
}

double SHSShareListController::heightForRowAtIndexPath(platform::TableView&,
                                                       const platform::IndexPath&) {
    return kRowHeight;
}

double SHSShareListController::heightForHeaderInSection(platform::TableView&, int) {
    return kSectionHeaderHeight;
}

std::shared_ptr<platform::View> SHSShareListController::viewForHeaderInSection(platform::TableView&,
                                                                               int) {
    auto header = platform::View::make<platform::View>(platform::Rect{{0, 0}, kHeaderSize});
    header->setBackgroundColor(platform::Color::clear());
    return header;
}

void SHSShareListController::didSelectRowAtIndexPath(platform::TableView& tableView,
                                                     const platform::IndexPath& indexPath) {
    tableView.deselectRowAtIndexPath(indexPath, true);
    if (indexPath.row < 0 || indexPath.row >= static_cast<int>(m_allSnsArray.size()))
        return;
    const std::string name = m_allSnsArray[static_cast<size_t>(indexPath.row)];
    auto platform = SHSocialSnsPlatformManager::getSocialPlatformWithName(name);
    auto service = socialControllerService();
    auto delegate = service ? service->socialUIDelegate() : nullptr;
    if (delegate && delegate->isDirectShareInIconActionSheet()) {
        directShare(name, service);
        return;
    }
    if (platform && platform->snsClickHandler)
        platform->snsClickHandler(shared_from_this(), service, false);
}

void SHSShareListController::directShare(
    const std::string& name, const std::shared_ptr<SHSocialControllerService>& service) {
    SHSocialDataService::defaultDataService()->postSnsWithDictionary(
        service->directShareDictionary(name, shared_from_this()));
}
