#include "campus/MembersViewController.h"

#include "campus/DirectoryScreenParts.h"
#include "campus/PushedScreenBar.h"
#include "client/NetError.h"
#include "client/NetRequest.h"
#include "client/NetTool.h"
#include "components/hud/ProgressHUD.h"
#include "platform/foundation/Log.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"

MembersViewController::MembersViewController() = default;
MembersViewController::~MembersViewController() = default;

void MembersViewController::loadView() {
    auto root = platform::View::make<platform::View>(platform::Screen::main().bounds());
    root->setAutoresizingMask(platform::AutoresizingMask::FlexibleWidth |
                              platform::AutoresizingMask::FlexibleHeight);
    m_myTableView =
        platform::View::make<platform::TableView>(root->bounds(), platform::TableViewStyle::Plain);
    m_myTableView->setAutoresizingMask(platform::AutoresizingMask::FlexibleWidth |
                                       platform::AutoresizingMask::FlexibleHeight);
    m_myTableView->setHandle("indexed-members");
    root->addSubview(m_myTableView);
    setView(root);

    auto self = std::static_pointer_cast<MembersViewController>(shared_from_this());
    m_myTableView->setDataSource(std::static_pointer_cast<platform::TableViewDataSource>(self));
    m_myTableView->setDelegate(std::static_pointer_cast<platform::TableViewDelegate>(self));
}

void MembersViewController::viewDidLoad() {
    view()->setBackgroundColor(platform::Color::white());
    setUpPushedScreenBar(*this, directory::kTitle,
                         directory::whileAlive(*this, &MembersViewController::backBtnWithAction));
    m_HUD = directory::showOverlay(*view(), directory::kLoadingText);
    m_members.clear();
    m_sections = {};
    getMembersData(m_orgIdString);
    m_myTableView->setSectionIndexBackgroundColor(platform::Color::clear());
    m_myTableView->setSectionIndexTrackingBackgroundColor(platform::Color::clear());
    auto footer = platform::View::make<platform::View>();
    footer->setBackgroundColor(platform::Color::clear());
    m_myTableView->setTableFooterView(footer);
}

void MembersViewController::viewWillAppear(bool animated) {
    ViewController::viewWillAppear(animated);
    keepEdgeSwipeBack(*this);
}

std::shared_ptr<platform::components::ProgressHUD> MembersViewController::HUD() const {
    return m_HUD && m_HUD->isShowing() && m_HUD->superview() ? m_HUD : nullptr;
}

void MembersViewController::getMembersData(const std::string& orgId) {
    NetTool::shareInstance().getWithURL(
        NetRequest::membersWithOrgId(orgId),
        directory::whileAlive(*this, &MembersViewController::membersArrived),
        directory::whileAlive(*this, &MembersViewController::membersFailed));
}

void MembersViewController::membersArrived(const platform::Json& reply) {
    m_members = directory::membersOf(reply, "members");
    std::vector<std::string> names;
    names.reserve(m_members.size());
    for (const auto& member : m_members) names.push_back(directory::memberName(member));
    if (names.empty() && !m_emptyImage)
        m_emptyImage = directory::addEmptyResultImage(*view());
    m_sections = ChineseString::sectionsOf(names);
    m_myTableView->reloadData();
    directory::removeOverlay(m_HUD);
}

void MembersViewController::membersFailed(const NetError& error) {
    // Nothing changes; the overlay goes when its time is up.
    platform::log("error:%@", describe(error));
}

void MembersViewController::backBtnWithAction() {
    directory::removeOverlay(m_HUD);
    if (auto navigation = navigationController())
        navigation->popViewController(true);
}

std::vector<std::string> MembersViewController::namesInSection(std::size_t section) const {
    std::vector<std::string> names;
    if (section < m_sections.entries.size()) {
        for (const auto& entry : m_sections.entries[section]) names.push_back(entry.string);
    }
    return names;
}

const ChineseString* MembersViewController::entryAt(const platform::IndexPath& indexPath) const {
    const auto section = static_cast<std::size_t>(indexPath.section);
    const auto row = static_cast<std::size_t>(indexPath.row);
    if (indexPath.section < 0 || indexPath.row < 0 || section >= m_sections.entries.size() ||
        row >= m_sections.entries[section].size())
        return nullptr;
    return &m_sections.entries[section][row];
}

const platform::Json& MembersViewController::memberAt(const platform::IndexPath& indexPath) const {
    static const platform::Json kNone = platform::Json::object();
    const auto* entry = entryAt(indexPath);
    return entry && entry->source < m_members.size() ? m_members[entry->source] : kNone;
}

int MembersViewController::numberOfSections(platform::TableView& /*tableView*/) {
    return static_cast<int>(m_sections.entries.size());
}

int MembersViewController::numberOfRowsInSection(platform::TableView& /*tableView*/, int section) {
    const auto index = static_cast<std::size_t>(section);
    return section >= 0 && index < m_sections.entries.size()
               ? static_cast<int>(m_sections.entries[index].size())
               : 0;
}

std::shared_ptr<platform::TableViewCell> MembersViewController::cellForRowAtIndexPath(
    platform::TableView& tableView, const platform::IndexPath& indexPath) {
    const auto* entry = entryAt(indexPath);
    return directory::textCell(tableView, entry ? entry->string : std::string());
}

std::optional<std::string> MembersViewController::titleForHeaderInSection(
    platform::TableView& /*tableView*/, int section) {
    const auto index = static_cast<std::size_t>(section);
    if (section < 0 || index >= m_sections.initials.size())
        return std::nullopt;
    return m_sections.initials[index];
}

std::vector<std::string> MembersViewController::sectionIndexTitlesForTableView(
    platform::TableView& /*tableView*/) {
    return m_sections.initials;
}

void MembersViewController::didSelectRowAtIndexPath(platform::TableView& tableView,
                                                    const platform::IndexPath& indexPath) {
    tableView.deselectRowAtIndexPath(indexPath, true);
    if (entryAt(indexPath))
        directory::openMemberDetail(*this, memberAt(indexPath));
}
