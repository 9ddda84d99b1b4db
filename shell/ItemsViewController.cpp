#include "shell/ItemsViewController.h"

#include <string>
#include <vector>

#include "client/MyTool.h"
#include "client/TileArrangement.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Image.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "widgets/SideMenuSwipe.h"

using platform::Rect;

namespace {

// What the screen says.
namespace text {
constexpr const char* kShownHeader = "已添加模块";
constexpr const char* kHint = "(长按图标调整模块位置)";
constexpr const char* kHiddenHeader = "未添加模块";
constexpr const char* kComplete = "完成";
}  // namespace text

namespace color {
constexpr const char* kHeaderBar = "f7f7f7";
constexpr const char* kHeaderTitle = "5a5a5a";
constexpr const char* kHint = "8b8888";
constexpr const char* kSeparator = "dedede";
}  // namespace color

// Handles the driver and the terminal front end name the controls by; tiles are "tile1",
// "tile2", ... in the order the editor opened with them (shown first).
namespace handle {
constexpr const char* kComplete = "done";
constexpr const char* kTilePrefix = "tile";
}  // namespace handle

constexpr double kBarTitleFontSize = 19;
constexpr double kHintFontSize = 15;

// The screen's geometry for a view W points wide whose hidden area starts at row S (the tiles
// themselves stand where TileGrid says).
struct EditorLayout {
    Rect whiteGround;
    Rect shownHeader;
    Rect shownTitle;
    Rect hint;
    Rect separator;
    Rect hiddenHeader;
    Rect hiddenTitle;
    static constexpr Rect kCompleteButton{{0, 0}, {40, 30}};

    static EditorLayout forView(platform::Size view, const TileGrid& grid, int startRow) {
        const double W = view.width;
        EditorLayout l;
        l.whiteGround = {{0, 0}, view};
        l.shownHeader = {{0, 0}, {W, TileGrid::kHeaderHeight}};
        l.shownTitle = {{14, 3}, {100, 20}};
        l.hint = {{W - 185, 3}, {180, 20}};
        l.separator = {{0, 26}, {W, 1}};
        l.hiddenHeader = {{0, grid.headerY(startRow)}, {W, TileGrid::kHeaderHeight}};
        l.hiddenTitle = {{14, 3}, {100, 20}};
        return l;
    }
};

std::shared_ptr<platform::Label> makeLabel(const Rect& frame, const char* text,
                                           const char* colour) {
    auto label = platform::View::make<platform::Label>(frame);
    label->setText(text);
    label->setTextColor(MyTool::colorWithString(colour));
    label->setBackgroundColor(platform::Color::clear());
    return label;
}

TileList modelsOf(const TouchView::Tiles& tiles) {
    TileList models;
    for (const auto& tile : tiles) {
        if (tile->dataModel())
            models.push_back(tile->dataModel());
    }
    return models;
}

const TouchView::Tiles& noTiles() {
    static const TouchView::Tiles empty;
    return empty;
}

}  // namespace

ItemsViewController::ItemsViewController() = default;
ItemsViewController::~ItemsViewController() = default;

const TouchView::Tiles& ItemsViewController::viewArrUp() const {
    return m_model ? m_model->shown() : noTiles();
}

const TouchView::Tiles& ItemsViewController::viewArrDown() const {
    return m_model ? m_model->hidden() : noTiles();
}

TileList ItemsViewController::shownTiles() const {
    return modelsOf(viewArrUp());
}

TileList ItemsViewController::hiddenTiles() const {
    return modelsOf(viewArrDown());
}

void ItemsViewController::viewDidLoad() {
    m_kRowNo = TileGrid::rowCountForScreenWidth(platform::Screen::main().size().width);
    ViewController::viewDidLoad();
    createTabBar();

    const TileGrid grid(m_kRowNo);
    const int startRow = grid.startRow(m_modelArrUp.size());
    const auto layout = EditorLayout::forView(view()->bounds().size, grid, startRow);

    auto ground = platform::View::make<platform::View>(layout.whiteGround);
    ground->setBackgroundColor(platform::Color::white());
    ground->setAutoresizingMask(platform::AutoresizingMask::FlexibleWidth |
                                platform::AutoresizingMask::FlexibleHeight);
    view()->addSubview(ground);

    auto shownHeader = platform::View::make<platform::View>(layout.shownHeader);
    shownHeader->setBackgroundColor(MyTool::colorWithString(color::kHeaderBar));
    m_topTitleLabel = makeLabel(layout.shownTitle, text::kShownHeader, color::kHeaderTitle);
    shownHeader->addSubview(m_topTitleLabel);
    auto hint = makeLabel(layout.hint, text::kHint, color::kHint);
    hint->setFont(platform::Font::systemFont(kHintFontSize));
    shownHeader->addSubview(hint);
    auto separator = platform::View::make<platform::View>(layout.separator);
    separator->setBackgroundColor(MyTool::colorWithString(color::kSeparator));
    shownHeader->addSubview(separator);
    ground->addSubview(shownHeader);

    m_bottomTitleView = platform::View::make<platform::View>(layout.hiddenHeader);
    m_bottomTitleView->setBackgroundColor(MyTool::colorWithString(color::kHeaderBar));
    m_bottomTitleView->addSubview(
        makeLabel(layout.hiddenTitle, text::kHiddenHeader, color::kHeaderTitle));
    view()->addSubview(m_bottomTitleView);

    TouchView::Tiles shown;
    for (size_t i = 0; i < m_modelArrUp.size(); ++i)
        shown.push_back(makeTile(m_modelArrUp[i], grid.shownSlot(i)));
    TouchView::Tiles hidden;
    for (size_t i = 0; i < m_modelArrDown.size(); ++i)
        hidden.push_back(makeTile(m_modelArrDown[i], grid.hiddenSlot(i, startRow)));

    m_model = std::make_shared<TouchView::Model>(grid, shown, hidden);
    int number = 0;
    for (const auto* area : {&shown, &hidden}) {
        for (const auto& tile : *area) {
            tile->setHandle(handle::kTilePrefix + std::to_string(++number));
            tile->setModel(m_model);
            view()->addSubview(tile);
        }
    }
}

std::shared_ptr<TouchView> ItemsViewController::makeTile(
    const std::shared_ptr<CollectionViewCellModel>& model, const Rect& frame) {
    auto tile = platform::View::make<TouchView>(frame);
    const auto& face = tile->contentView();
    if (auto title =
            std::dynamic_pointer_cast<platform::Label>(face->viewWithTag(TouchView::kTitleTag)))
        title->setText(model ? model->titleName : std::string());
    if (auto image =
            std::dynamic_pointer_cast<platform::ImageView>(face->viewWithTag(TouchView::kImageTag)))
        image->setImage(model ? platform::Image::named(model->imageName) : platform::Image());
    tile->setMoreChannelsView(m_bottomTitleView);
    tile->setDataModel(model);
    return tile;
}

void ItemsViewController::createTabBar() {
    if (auto navigation = navigationController()) {
        navigation->navigationBar()->setTitleTextAttributes(
            {platform::Font::systemFont(kBarTitleFontSize), platform::Color::white()});
    }
    setTitle(kTitle);
    navigationItem().setHidesBackButton(true);

    auto complete = platform::View::make<platform::Button>(EditorLayout::kCompleteButton);
    complete->setTitle(text::kComplete);
    complete->setTitleColor(platform::Color::lightGray(), platform::ControlState::Highlighted);
    complete->setHandle(handle::kComplete);
    std::weak_ptr<ViewController> weakSelf = weak_from_this();
    complete->addTarget(
        [weakSelf](platform::Control& sender) {
            if (auto screen = std::static_pointer_cast<ItemsViewController>(weakSelf.lock()))
                screen->completeBtnAction(sender);
        },
        platform::ControlEvent::TouchUpInside);
    navigationItem().setRightBarButtonItem(std::make_shared<platform::BarButtonItem>(complete));
}

void ItemsViewController::viewDidAppear(bool animated) {
    ViewController::viewDidAppear(animated);
    // Here a sideways drag moves a tile; it must not open the side menu.
    SideMenuSwipe::setNeedSwipeShowMenu(false);
}

void ItemsViewController::completeBtnAction(platform::Control& /*sender*/) {
    // Kept alive through the pop, which lets the navigation stack's hold on it go.
    auto self = weak_from_this().lock();
    // Pushed, the pop takes the editor away; presented, the dismissal does (and the pop
    // finds nothing to pop).
    if (auto navigation = navigationController())
        navigation->popViewController(true);
    SideMenuSwipe::setNeedSwipeShowMenu(true);
    dismissViewController(true);
}

void ItemsViewController::viewWillDisappear(bool animated) {
    ViewController::viewWillDisappear(animated);
    // Without tiles there is nothing the user arranged; the stored lists stay as they are.
    if (!m_model)
        return;
    // Every visit stores, changed or not; a user of neither kind writes the teacher's keys.
    TileArrangement().store(shownTiles(), hiddenTiles());
}
