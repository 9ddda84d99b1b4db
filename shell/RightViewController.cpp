#include "shell/RightViewController.h"

#include <cstdio>
#include <optional>
#include <utility>

#include "client/MyTool.h"
#include "client/NetError.h"
#include "client/NetRequest.h"
#include "client/NetTool.h"
#include "client/SignInSession.h"
#include "client/TileArrangement.h"
#include "components/sidemenu/SideViewController.h"
#include "components/webimage/ImageCache.h"
#include "platform/foundation/Json.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Image.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"
#include "shell/AppDelegate.h"
#include "shell/ItemsViewController.h"
#include "shell/RightTableViewCell.h"
#include "widgets/ProgressHUDConveniences.h"

using platform::Json;
using platform::Rect;

namespace {

// What the panel says.
namespace text {
constexpr const char* kAlertTitle = "提示";
constexpr const char* kAlertMessage = "是否清除缓存?";
constexpr const char* kCancel = "取消";
constexpr const char* kConfirm = "确定";
constexpr const char* kSizeInMegabytes = "清理缓存(%.2fM)";
constexpr const char* kSizeInKilobytes = "清理缓存(%.2fK)";
// The weather line: temp2, temp1, weather.
constexpr const char* kWeatherLine = "%s~%s %s";
}  // namespace text

namespace image {
constexpr const char* kAvatar = "默认头像";
constexpr const char* kSubscribe = "订阅";
constexpr const char* kClear = "清除";
}  // namespace image

namespace color {
constexpr const char* kBackground = "696056";
constexpr const char* kAvatarBorder = "5e564d";
constexpr const char* kWeatherText = "a49f99";
constexpr const char* kRule = "5e554d";
constexpr const char* kEditorBar = "d04b50";
}  // namespace color

// Handles the driver and the terminal front end name the panel's parts by.
namespace handle {
constexpr const char* kPanel = "side-menu";
constexpr const char* kName = "side-name";
constexpr const char* kWeatherIcon = "weather-icon";
constexpr const char* kWeather = "weather";
constexpr const char* kRows = "side-rows";
}  // namespace handle

// The user-information key of the name line.
constexpr const char* kUserNameKey = "userName";

// The panel's geometry on a screen W points wide. The container uncovers the rightmost 300
// points of a 375-point screen and scales that with the width, so everything here is placed
// in units of u = W / 375 and the table starts where the uncovered part does.
struct PanelLayout {
    static constexpr double kIconWidth = 30;
    static constexpr double kIconHeight = 30.0 * 49 / 51;

    double u{1};
    Rect avatar;
    Rect name;
    Rect weatherIcon;
    Rect weatherLine;
    Rect rule;
    Rect table;

    static PanelLayout forScreenWidth(double width) {
        PanelLayout l;
        l.u = width / 375;
        const double u = l.u;
        l.avatar = {{170 * u, 43}, {108 * u, 108 * u}};
        l.name = {{l.avatar.origin.x, l.avatar.maxY() + 16}, {l.avatar.size.width, 20}};
        l.weatherIcon = {{120 * u, l.name.origin.y + 40}, {kIconWidth, kIconHeight}};
        // The line starts an icon's height (not width) to the right of the icon.
        l.weatherLine = {{l.weatherIcon.origin.x + kIconHeight + 10, l.weatherIcon.origin.y + 5},
                         {150, 20}};
        l.rule = {{77 * u + 22, l.weatherIcon.maxY() + 30}, {300 * u - 44, 1}};
        l.table = {{75 * u, l.rule.origin.y + 1}, {300 * u, 200}};
        return l;
    }
};

// One row of the menu.
struct MenuRow {
    const char* title;
    const char* image;
};
constexpr MenuRow kRows[] = {
    {RightViewController::kSubscribeTitle, image::kSubscribe},
    {RightViewController::kClearCacheTitle, image::kClear},
};
constexpr int kSubscribeRow = 0;
constexpr int kClearCacheRow = 1;

// The icon for a weather text: the first rule that matches, "" when none does.
std::string weatherIconName(const std::string& weather) {
    const auto contains = [&weather](const char* part) {
        return weather.find(part) != std::string::npos;
    };
    if (weather == "晴")
        return "晴";
    if (weather == "多云")
        return "多云";
    if (contains("晴转"))
        return "晴转多云";
    if (contains("雨夹雪"))
        return "雨夹雪";
    if (contains("雨"))
        return "雨";
    if (contains("雪"))
        return "雪";
    return "";
}

struct WeatherReport {
    std::string line;
    std::string icon;
};

// What a weather document shows. Only a document whose "weatherinfo" holds "weather", "temp1"
// and "temp2" as texts has a report; a null, a number or a missing value, or a reply of
// another shape, leaves the line and the icon empty rather than show a half line.
std::optional<WeatherReport> weatherReport(const Json& reply) {
    if (!reply.is_object())
        return std::nullopt;
    const auto info = reply.find("weatherinfo");
    if (info == reply.end() || !info->is_object())
        return std::nullopt;
    const auto text = [&info](const char* key) -> const std::string* {
        const auto value = info->find(key);
        return value != info->end() && value->is_string() ? &value->get_ref<const std::string&>()
                                                          : nullptr;
    };
    const std::string* weather = text("weather");
    const std::string* temp1 = text("temp1");
    const std::string* temp2 = text("temp2");
    if (!weather || !temp1 || !temp2)
        return std::nullopt;
    const int size = std::snprintf(nullptr, 0, text::kWeatherLine, temp2->c_str(), temp1->c_str(),
                                   weather->c_str());
    std::string line(size_t(size), '\0');
    std::snprintf(line.data(), line.size() + 1, text::kWeatherLine, temp2->c_str(), temp1->c_str(),
                  weather->c_str());
    return WeatherReport{std::move(line), weatherIconName(*weather)};
}

std::string cacheSizeText(float megabytes) {
    char buffer[64];
    if (megabytes >= 1.0f)
        std::snprintf(buffer, sizeof buffer, text::kSizeInMegabytes, double(megabytes));
    else
        std::snprintf(buffer, sizeof buffer, text::kSizeInKilobytes, double(megabytes * 1024));
    return buffer;
}

// A callback that runs `action` on the target only while the target lives: replies and
// completions may outlive the menu (the container drops it with the window).
template <typename T, typename Action>
auto whileAlive(const std::shared_ptr<T>& target, Action action) {
    return [weak = std::weak_ptr<T>(target), action = std::move(action)](auto&&... args) {
        if (auto strong = weak.lock())
            action(*strong, std::forward<decltype(args)>(args)...);
    };
}

}  // namespace

RightViewController::RightViewController() = default;
RightViewController::~RightViewController() = default;

std::shared_ptr<RightViewController> RightViewController::self() {
    return std::static_pointer_cast<RightViewController>(shared_from_this());
}

void RightViewController::viewDidLoad() {
    view()->setBackgroundColor(MyTool::colorWithString(color::kBackground));
}

void RightViewController::viewDidAppear(bool animated) {
    ViewController::viewDidAppear(animated);
    if (m_bgView)
        m_bgView->removeFromSuperview();
    createUI();
}

void RightViewController::createUI() {
    ++m_build;
    const PanelLayout layout = PanelLayout::forScreenWidth(platform::Screen::main().size().width);
    const double u = layout.u;

    m_bgView = platform::View::make<platform::View>(view()->frame());
    m_bgView->setBackgroundColor(MyTool::colorWithString(color::kBackground));
    m_bgView->setHandle(handle::kPanel);
    view()->addSubview(m_bgView);

    const Json userInfo = SignInSession().userInfo();

    m_headImageView = platform::View::make<platform::ImageView>(layout.avatar);
    m_headImageView->setBackgroundColor(platform::Color::clear());
    m_headImageView->setCornerRadius(54 * u);
    m_headImageView->setBorderWidth(6);
    m_headImageView->setBorderColor(MyTool::colorWithString(color::kAvatarBorder));
    m_headImageView->setImage(platform::Image::named(image::kAvatar));
    m_headImageView->setClipsToBounds(true);
    m_bgView->addSubview(m_headImageView);

    m_nameLabel = platform::View::make<platform::Label>(layout.name);
    const auto userName = userInfo.find(kUserNameKey);
    m_nameLabel->setText(userName != userInfo.end() && userName->is_string()
                             ? userName->get<std::string>()
                             : std::string());
    m_nameLabel->setTextColor(platform::Color::white());
    m_nameLabel->setTextAlignment(platform::TextAlignment::Center);
    m_nameLabel->setHandle(handle::kName);
    m_bgView->addSubview(m_nameLabel);

    m_tqImageView = platform::View::make<platform::ImageView>(layout.weatherIcon);
    m_tqImageView->setHandle(handle::kWeatherIcon);
    m_bgView->addSubview(m_tqImageView);

    m_weatherLabel = platform::View::make<platform::Label>(layout.weatherLine);
    m_weatherLabel->setFont(platform::Font::systemFont(13));
    m_weatherLabel->setTextColor(MyTool::colorWithString(color::kWeatherText));
    m_weatherLabel->setBackgroundColor(platform::Color::clear());
    m_weatherLabel->setTextAlignment(platform::TextAlignment::Center);
    m_weatherLabel->setHandle(handle::kWeather);
    m_bgView->addSubview(m_weatherLabel);

    getWeatherData();

    auto rule = platform::View::make<platform::View>(layout.rule);
    rule->setBackgroundColor(MyTool::colorWithString(color::kRule));
    m_bgView->addSubview(rule);

    m_tableView =
        platform::View::make<platform::TableView>(layout.table, platform::TableViewStyle::Plain);
    m_tableView->setBackgroundColor(platform::Color::clear());
    m_tableView->setDataSource(std::static_pointer_cast<platform::TableViewDataSource>(self()));
    m_tableView->setDelegate(std::static_pointer_cast<platform::TableViewDelegate>(self()));
    m_tableView->setScrollEnabled(false);
    m_tableView->setSeparatorColor(MyTool::colorWithString(color::kRule));
    m_tableView->setSeparatorStyle(platform::TableViewCellSeparatorStyle::None);
    m_tableView->registerClass<RightTableViewCell>(RightTableViewCell::kReuseIdentifier);
    m_tableView->setHandle(handle::kRows);
    m_bgView->addSubview(m_tableView);
}

// --- Weather -------------------------------------------------------------------------------

void RightViewController::getWeatherData() {
    const unsigned build = m_build;
    NetTool::shareInstance().getWithURL(
        NetRequest::getWeatherInfo(),
        whileAlive(self(),
                   [build](RightViewController& menu, const Json& reply) {
                       if (build != menu.m_build)
                           return;
                       const auto report = weatherReport(reply);
                       if (!report)
                           return;
                       menu.m_weatherLabel->setText(report->line);
                       if (!report->icon.empty())
                           menu.m_tqImageView->setImage(platform::Image::named(report->icon));
                   }),
        // A failed request leaves the line and the icon empty.
        [](const NetError& error) { platform::log("error:%@", describe(error)); });
}

// --- Rows ----------------------------------------------------------------------------------

int RightViewController::numberOfRowsInSection(platform::TableView& /*tableView*/,
                                               int /*section*/) {
    return int(std::size(kRows));
}

std::shared_ptr<platform::TableViewCell> RightViewController::cellForRowAtIndexPath(
    platform::TableView& tableView, const platform::IndexPath& indexPath) {
    auto cell = std::static_pointer_cast<RightTableViewCell>(
        tableView.dequeueReusableCellWithIdentifier(RightTableViewCell::kReuseIdentifier));
    cell->setBackgroundColor(platform::Color::clear());
    const MenuRow& row = kRows[indexPath.row];
    cell->nameLabel()->setText(row.title);
    cell->headImageView()->setImage(platform::Image::named(row.image));
    return cell;
}

double RightViewController::heightForRowAtIndexPath(platform::TableView& /*tableView*/,
                                                    const platform::IndexPath& /*indexPath*/) {
    return kRowHeight;
}

void RightViewController::didSelectRowAtIndexPath(platform::TableView& tableView,
                                                  const platform::IndexPath& indexPath) {
    tableView.deselectRowAtIndexPath(indexPath, true);
    if (indexPath.row == kSubscribeRow)
        openTileEditor();
    else if (indexPath.row == kClearCacheRow)
        askToClearCache();
}

void RightViewController::openTileEditor() {
    auto app = AppDelegate::shared();
    auto side = app ? app->sideViewController() : nullptr;
    if (!side) {
        platform::log("the tile editor needs the side-menu container");
        return;
    }
    auto items = std::make_shared<ItemsViewController>();
    auto navigation = std::make_shared<platform::NavigationController>(items);
    navigation->navigationBar()->setTranslucent(false);
    navigation->navigationBar()->setBarTintColor(MyTool::colorWithString(color::kEditorBar));

    // The same arrangement the home grid shows: the stored lists when either holds a tile,
    // otherwise every default tile (the attendance tile among them) shown and none hidden.
    // The editor stores what it is given, so it must never start from a shorter list than
    // the grid's.
    const TileArrangement::Lists lists = TileArrangement().load();
    if (!lists.fromStore)
        m_modelArr = lists.shown;
    items->setModelArrUp(lists.shown);
    items->setModelArrDown(lists.hidden);

    side->presentViewController(navigation, true);
}

// --- Image cache ---------------------------------------------------------------------------

void RightViewController::askToClearCache() {
    auto alert = platform::View::make<platform::AlertView>(
        text::kAlertTitle, text::kAlertMessage,
        std::static_pointer_cast<platform::AlertViewDelegate>(self()), text::kCancel,
        std::vector<std::string>{text::kConfirm});
    alert->show();
}

void RightViewController::clickedButtonAtIndex(platform::AlertView& /*alert*/, int index) {
    if (index != 0)
        clearTmpPics();
}

void RightViewController::clearTmpPics() {
    // Measured first, after the image writes already queued, and cleared next on the same
    // thread, so the report is exactly what the clear removes; it shows once the clear is done.
    auto& cache = platform::components::ImageCache::shared();
    const float megabytes = cache.checkTmpSize();
    cache.clearDisk(whileAlive(self(), [megabytes](RightViewController& menu) {
        menu.showHUDWithStr(cacheSizeText(megabytes));
    }));
}

void RightViewController::showHUDWithStr(const std::string& text) {
    if (m_bgView)
        ProgressHUDConveniences::showHUDWithStr(m_bgView, text);
}
