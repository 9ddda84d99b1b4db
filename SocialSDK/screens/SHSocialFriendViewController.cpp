#include "SocialSDK/screens/SHSocialFriendViewController.h"

#include <algorithm>

#include "SocialSDK/base/SHSActionType.h"
#include "SocialSDK/screens/SHSGridViewItemClickedDelegate.h"
#include "SocialSDK/service/SHSFriendEntity.h"
#include "SocialSDK/service/SHSUserManager.h"
#include "SocialSDK/service/SHSocialConfig.h"
#include "SocialSDK/service/SHSocialControllerService.h"
#include "SocialSDK/service/SHSocialDataService.h"
#include "SocialSDK/service/SHSocialImageLoader.h"
#include "SocialSDK/service/SHSocialLocalized.h"
#include "SocialSDK/service/SHSocialUIHelper.h"
#include "components/hud/ProgressHUD.h"
#include "platform/foundation/TextSearch.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TextField.h"

namespace {

const platform::Color kSearchBarColor =
    platform::Color::rgba(196 / 255.0f, 196 / 255.0f, 196 / 255.0f, 196 / 255.0f);
const platform::Color kCellTextColor = platform::Color::rgba(0.2f, 0.2f, 0.2f);
// The SDK's bar title colour, for a back button shown as its title.
const platform::Color kTitleColor = platform::Color::rgba(70 / 255.0f, 79 / 255.0f, 97 / 255.0f);
constexpr const char* kAvatarPlaceholder =
    "SHSocialSDKResourcesNew.bundle/Buttons/SHS_User-Avatar-Placeholder";

// Handles for the UI driver and the terminal front end.
constexpr const char* kBackHandle = "friend-back";
constexpr const char* kRefreshHandle = "friend-refresh";
constexpr const char* kSearchHandle = "friend-search";
constexpr const char* kTableHandle = "friends";

platform::Color defaultColor() {
    return SHSocialConfigInternal::shareInstance().defaultColor;
}

}  // namespace

std::string SHSocialFriendViewController::platformName() const {
    auto service = socialControllerService.lock();
    return service && service->currentSnsPlatformName ? *service->currentSnsPlatformName
                                                      : std::string();
}

void SHSocialFriendViewController::viewDidLoad() {
    m_isSearch = false;
    auto self = std::static_pointer_cast<SHSocialFriendViewController>(shared_from_this());
    std::weak_ptr<SHSocialFriendViewController> weakSelf = self;

    const std::string backTitle = SHSocialLocalizedString("button_back", "返回");
    auto back = platform::View::make<platform::Button>(platform::ButtonType::Custom);
    SHSocialUIHelper::customNavBackButton(*back, backTitle);
    back->setHandle(kBackHandle);
    if (back->image().isNull() && back->title().empty()) {
        back->setTitle(backTitle);
        back->setTitleColor(kTitleColor);
    }
    back->addTarget(
        [weakSelf](platform::Control&) {
            if (auto screen = weakSelf.lock())
                screen->close();
        },
        platform::ControlEvent::TouchUpInside);
    navigationItem().setLeftBarButtonItem(std::make_shared<platform::BarButtonItem>(back));

    auto refresh = platform::View::make<platform::Button>(platform::ButtonType::Custom);
    SHSocialUIHelper::customNavRefreshButton(*refresh);
    refresh->setHandle(kRefreshHandle);
    refresh->addTarget(
        [weakSelf](platform::Control&) {
            if (auto screen = weakSelf.lock())
                screen->refreshFriends();
        },
        platform::ControlEvent::TouchUpInside);
    navigationItem().setRightBarButtonItem(std::make_shared<platform::BarButtonItem>(refresh));
    SHSocialConfigInternal::shareInstance().configureNavigationBar(nullptr, nullptr, back, nullptr,
                                                                   refresh, nullptr);

    const auto& root = view();
    const platform::Size size = root->bounds().size;
    m_searchBar = platform::View::make<platform::SearchBar>(
        platform::Rect{{0, 0}, {size.width, kSearchBarHeight}});
    m_searchBar->setBackgroundColor(kSearchBarColor);
    m_searchBar->searchField()->setBackgroundColor(platform::Color::white());
    m_searchBar->searchField()->setHandle(kSearchHandle);
    m_searchBar->setDelegate(std::static_pointer_cast<platform::SearchBarDelegate>(self));
    root->addSubview(m_searchBar);

    m_tableView = platform::View::make<platform::TableView>(
        platform::Rect{{0, kSearchBarHeight},
                       {size.width, std::max(0.0, size.height - 44 - kSearchBarHeight)}},
        platform::TableViewStyle::Plain);
    m_tableView->setHandle(kTableHandle);
    m_tableView->setBackgroundColor(defaultColor());
    m_tableView->setDataSource(std::static_pointer_cast<platform::TableViewDataSource>(self));
    m_tableView->setDelegate(std::static_pointer_cast<platform::TableViewDelegate>(self));
    root->addSubview(m_tableView);

    m_hud = platform::View::make<platform::components::ProgressHUD>(*root);
    m_hud->setLabelText(SHSocialLocalizedString("loading", "加载中"));
    root->addSubview(m_hud);
}

void SHSocialFriendViewController::viewDidAppear(bool /*animated*/) {
    view()->setBackgroundColor(defaultColor());
    didRotateFromInterfaceOrientation(interfaceOrientation());
    auto friends = SHSUserManager::shareInstance().friendsDictionaryWithSnsName(platformName());
    if (friends && !friends->empty())
        filterFriendArray();
    else
        refreshFriends();
    m_tableView->reloadData();
}

void SHSocialFriendViewController::viewWillDisappear(bool /*animated*/) {
    // A friend list that comes later does not reach a screen that has gone (the edit screen
    // may still hold it); another listener set since is left alone.
    m_fetching = false;
    m_hud->hide(false);
    auto service = SHSocialDataService::defaultDataService();
    if (service->socialDataDelegate().get() == static_cast<SHSocialDataDelegate*>(this))
        service->setSHSocialDelegate({});
}

bool SHSocialFriendViewController::shouldAutorotateToInterfaceOrientation(
    platform::InterfaceOrientation orientation) {
    return SHSocialConfigInternal::shareInstance().shouldAutorotateToInterfaceOrientation(
        static_cast<int>(orientation));
}

void SHSocialFriendViewController::didRotateFromInterfaceOrientation(
    platform::InterfaceOrientation) {
    const platform::Size size = view()->bounds().size;
    const double barHeight = m_searchBar->bounds().size.height;
    m_searchBar->setFrame(platform::Rect{{0, -1}, {size.width, barHeight}});
    // The table ends at the bottom of the view, so its last row is never cut off.
    m_tableView->setFrame(
        platform::Rect{{0, barHeight}, {size.width, std::max(0.0, size.height - barHeight)}});
    m_hud->setFrame(view()->bounds());
}

void SHSocialFriendViewController::refreshFriends() {
    m_hud->show(true);
    m_fetching = true;
    const std::string name = platformName();
    auto self = std::static_pointer_cast<SHSocialFriendViewController>(shared_from_this());
    auto service = SHSocialDataService::defaultDataService();
    service->setSHSocialDelegate(std::static_pointer_cast<SHSocialDataDelegate>(self));
    // A platform the user manager refuses sends nothing and would never answer: the screen
    // shows what it holds at once instead of waiting under the overlay for ever.
    if (!SHSUserManager::isPlatformTypeValid(name)) {
        auto none = std::make_shared<SHSocialResponseEntity>();
        none->responseCode = 5051;
        none->responseType = SHSActionTypeGetFriends;
        friendsArrived(none);
        return;
    }
    // The completion also hears of a request that could not be made (no account on the
    // platform), which the listener never does.
    std::weak_ptr<SHSocialFriendViewController> weakSelf = self;
    service->requestSnsFriendsInternal(
        name, [weakSelf](std::shared_ptr<SHSocialResponseEntity> response) {
            if (auto screen = weakSelf.lock())
                screen->friendsArrived(response);
        });
}

void SHSocialFriendViewController::didFinishGetSHSocialDataResponse(
    std::shared_ptr<SHSocialResponseEntity> response) {
    friendsArrived(response);
}

void SHSocialFriendViewController::friendsArrived(
    const std::shared_ptr<SHSocialResponseEntity>& response) {
    // The listener hears every result of the share subject; only the friend list's ends the
    // wait, once.
    if (!m_fetching || !response || response->responseType != SHSActionTypeGetFriends)
        return;
    m_fetching = false;
    filterFriendArray();
    m_hud->hide(true);
    m_tableView->reloadData();
}

void SHSocialFriendViewController::filterFriendArray() {
    auto& users = SHSUserManager::shareInstance();
    const std::string name = platformName();
    std::vector<std::shared_ptr<SHSFriendEntity>> friends;
    if (auto dictionary = users.friendsDictionaryWithSnsName(name)) {
        for (const auto& [usid, entry] : *dictionary) friends.push_back(entry);
    }
    auto recent = users.atFriendsDictionaryWithSnsName(name);
    m_sections = SHSocialFriendSections::build(
        friends, recent ? *recent : std::vector<std::shared_ptr<SHSFriendEntity>>{});
}

void SHSocialFriendViewController::searchFrinds(const std::string& text) {
    const auto& sections = m_sections.sections();
    if (sections.empty())
        return;
    m_searchResults.clear();
    for (std::size_t i = 0; i < sections.size(); ++i) {
        if (i == 0 && sections[i].title == SHSocialFriendSections::recentTitle())
            continue;
        for (const auto& entry : sections[i].friends) {
            if (entry->name && platform::containsIgnoringCase(*entry->name, text))
                m_searchResults.push_back(entry);
        }
    }
    m_isSearch = true;
    m_tableView->reloadData();
}

void SHSocialFriendViewController::searchBarTextDidChange(platform::SearchBar& /*searchBar*/,
                                                          const std::string& text) {
    searchFrinds(text);
    if (text.empty()) {
        m_isSearch = false;
        m_tableView->reloadData();
    }
}

void SHSocialFriendViewController::searchBarSearchButtonClicked(platform::SearchBar& searchBar) {
    searchFrinds(searchBar.text());
    searchBar.resignFirstResponder();
}

// Only the user's own drag lowers the keyboard: the table also moves when a search reloads
// it, and that must not end the typing.
void SHSocialFriendViewController::scrollViewWillBeginDragging(platform::ScrollView& /*scroll*/) {
    m_searchBar->resignFirstResponder();
}

void SHSocialFriendViewController::close() {
    m_searchBar->resignFirstResponder();
    if (auto navigation = navigationController())
        navigation->popViewController(true);
}

int SHSocialFriendViewController::numberOfSections(platform::TableView& /*tableView*/) {
    return m_isSearch ? 1 : int(m_sections.sections().size());
}

int SHSocialFriendViewController::numberOfRowsInSection(platform::TableView& /*tableView*/,
                                                        int section) {
    if (m_isSearch)
        return int(m_searchResults.size());
    const auto& sections = m_sections.sections();
    return section >= 0 && std::size_t(section) < sections.size()
               ? int(sections[std::size_t(section)].friends.size())
               : 0;
}

std::optional<std::string> SHSocialFriendViewController::titleForHeaderInSection(
    platform::TableView& /*tableView*/, int section) {
    const auto& sections = m_sections.sections();
    // Search results stand under no header.
    if (m_isSearch || section < 0 || std::size_t(section) >= sections.size())
        return std::nullopt;
    return sections[std::size_t(section)].title;
}

std::vector<std::string> SHSocialFriendViewController::sectionIndexTitlesForTableView(
    platform::TableView& /*tableView*/) {
    return m_isSearch ? std::vector<std::string>{} : m_sections.indexTitles();
}

int SHSocialFriendViewController::sectionForSectionIndexTitle(platform::TableView& /*tableView*/,
                                                              const std::string& title, int index) {
    return int(m_sections.sectionForIndexTitle(title).value_or(std::size_t(index)));
}

std::shared_ptr<SHSFriendEntity> SHSocialFriendViewController::friendAt(
    const platform::IndexPath& indexPath) const {
    const auto row = std::size_t(indexPath.row);
    if (indexPath.row < 0)
        return nullptr;
    if (m_isSearch)
        return row < m_searchResults.size() ? m_searchResults[row] : nullptr;
    const auto& sections = m_sections.sections();
    if (indexPath.section < 0 || std::size_t(indexPath.section) >= sections.size())
        return nullptr;
    const auto& friends = sections[std::size_t(indexPath.section)].friends;
    return row < friends.size() ? friends[row] : nullptr;
}

std::shared_ptr<platform::TableViewCell> SHSocialFriendViewController::cellForRowAtIndexPath(
    platform::TableView& tableView, const platform::IndexPath& indexPath) {
    auto cell = tableView.dequeueReusableCellWithIdentifier(kCellIdentifier, indexPath);
    cell->textLabel()->setTextColor(kCellTextColor);
    cell->textLabel()->setFont(platform::Font::systemFont(12));
    cell->imageView()->setCornerRadius(7);
    cell->imageView()->setClipsToBounds(true);
    auto entry = friendAt(indexPath);
    cell->textLabel()->setText(entry && entry->name ? *entry->name : std::string());
    // A short-lived image view: the cached avatar at once, else the placeholder while its
    // load fills the cache for later displays of the row.
    auto avatar =
        platform::View::make<SHSocialImageView>(platform::Image::named(kAvatarPlaceholder));
    avatar->setImageURL(entry ? entry->imageURL : std::nullopt);
    cell->imageView()->setImage(scaleToSize({kAvatarSide, kAvatarSide}, avatar->image()));
    return cell;
}

double SHSocialFriendViewController::heightForRowAtIndexPath(
    platform::TableView& /*tableView*/, const platform::IndexPath& /*indexPath*/) {
    return kRowHeight;
}

void SHSocialFriendViewController::didSelectRowAtIndexPath(platform::TableView& /*tableView*/,
                                                           const platform::IndexPath& indexPath) {
    auto picked = friendAt(indexPath);
    if (!picked)
        return;
    auto& users = SHSUserManager::shareInstance();
    const std::string name = platformName();
    auto recent = users.atFriendsDictionaryWithSnsName(name);
    users.setAtFriendsArray(
        m_sections.recentAfterPicking(
            picked, recent ? *recent : std::vector<std::shared_ptr<SHSFriendEntity>>{}),
        name);
    if (auto delegate = shsDelegate.lock())
        delegate->itemClicked(SHSocialFriendSections::mentionText(*picked));
    if (auto navigation = navigationController())
        navigation->popViewController(true);
}

platform::Image SHSocialFriendViewController::scaleToSize(platform::Size size,
                                                          const platform::Image& image) {
    // Nothing to draw gives no picture rather than an opaque black square.
    if (image.isNull())
        return {};
    const bool doubled = platform::Screen::main().scale() == 2.0;
    platform::BitmapContext context(size, doubled ? 2.0 : 1.0, doubled);
    context.drawImageUpright(image, platform::Rect{{0, 0}, size});
    return context.makeImage();
}
