#include "shell/TouchView.h"

#include <algorithm>

#include "platform/graphics/Font.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"

using platform::Point;
using platform::Rect;

namespace {

// The face, and the picture and title on it, in the tile's coordinates.
namespace layout {
constexpr Rect kFace{{2, 2}, {63, 63}};
constexpr double kFaceCornerRadius = 8;
constexpr Rect kImage{{10, 2}, {44, 44}};
constexpr Rect kTitle{{1, 44}, {63, 20}};
constexpr double kTitleFontSize = 13;
}  // namespace layout

const TouchView::Tiles& noTiles() {
    static const TouchView::Tiles empty;
    return empty;
}

}  // namespace

TouchView::TouchView(const Rect& frame)
    : View(frame),
      m_kRowNo(TileGrid::rowCountForScreenWidth(platform::Screen::main().size().width)) {
    setUserInteractionEnabled(true);
    m_contentView = customView();
    sign = 0;
}

TouchView::~TouchView() = default;

std::shared_ptr<TouchView> TouchView::self() {
    return std::static_pointer_cast<TouchView>(shared_from_this());
}

const TouchView::Tiles& TouchView::viewArrayUp() const {
    auto model = m_model.lock();
    return model ? model->shown() : noTiles();
}

const TouchView::Tiles& TouchView::viewArrayDown() const {
    auto model = m_model.lock();
    return model ? model->hidden() : noTiles();
}

const TouchView::Tiles& TouchView::tmpArray() const {
    auto model = m_model.lock();
    if (!model)
        return noTiles();
    if (placeIn(model->shown()))
        return model->shown();
    if (placeIn(model->hidden()))
        return model->hidden();
    return noTiles();
}

int TouchView::placeIn(const Tiles& tiles) const {
    auto found = std::find_if(tiles.begin(), tiles.end(),
                              [this](const auto& tile) { return tile.get() == this; });
    return found == tiles.end() ? 0 : static_cast<int>(found - tiles.begin()) + 1;
}

std::shared_ptr<platform::View> TouchView::customView() {
    auto face = platform::View::make<platform::View>(layout::kFace);
    face->setCornerRadius(layout::kFaceCornerRadius);
    face->setClipsToBounds(true);

    auto image = platform::View::make<platform::ImageView>(layout::kImage);
    image->setTag(kImageTag);
    image->setContentMode(platform::ContentMode::ScaleToFill);
    face->addSubview(image);

    auto title = platform::View::make<platform::Label>(layout::kTitle);
    title->setTag(kTitleTag);
    title->setTextAlignment(platform::TextAlignment::Center);
    title->setFont(platform::Font::systemFont(layout::kTitleFontSize));
    face->addSubview(title);
    return face;
}

void TouchView::layoutSubviews() {
    m_contentView->setBackgroundColor(platform::Color::clear());
    addSubview(m_contentView);
}

Point TouchView::locationInParent(const platform::Touches& touches) const {
    auto parent = superview();
    return touches.front().locationInView(parent.get());
}

void TouchView::touchesBegan(const platform::Touches& touches) {
    if (touches.empty())
        return;
    point = touches.front().locationInView(this);
    point2 = locationInParent(touches);
    // A new touch has not moved yet, even if the last one was cancelled mid-drag.
    sign = 0;
    if (auto parent = superview()) {
        const auto& siblings = parent->subviews();
        auto mine = std::find_if(siblings.begin(), siblings.end(),
                                 [this](const auto& view) { return view.get() == this; });
        if (mine != siblings.end())
            parent->exchangeSubviews(static_cast<size_t>(mine - siblings.begin()),
                                     siblings.size() - 1);
    }
}

void TouchView::touchesMoved(const platform::Touches& touches) {
    if (touches.empty())
        return;
    sign = 1;
    m_contentView->setBackgroundColor(platform::Color::clear());
    const Point p = locationInParent(touches);
    Rect frame = this->frame();
    frame.origin = {p.x - point.x, p.y - point.y};
    setFrame(frame);

    auto model = m_model.lock();
    if (!model)
        return;
    const auto move = model->dragTo(self(), TileGrid::dragCentre(p, point));
    if (!move)
        return;
    using Area = Model::Area;
    if (move->to == Area::Shown) {
        // Appended from the hidden area, the tile passes no shown tile.
        if (!(move->appended && move->from == Area::Hidden))
            animationAction1a();
        animationAction2();
    } else {
        // Out of the shown area the tiles behind it close up, even when one step of the
        // finger carries the tile straight over the hidden area's header.
        if (move->from == Area::Shown)
            animationAction1a();
        animationAction2a();
    }
}

void TouchView::touchesEnded(const platform::Touches& /*touches*/) {
    m_contentView->setBackgroundColor(platform::Color::clear());
    if (sign == 0) {
        if (auto model = m_model.lock())
            model->tap(self());
    }
    // After a tap, and wherever a drag ends, every tile goes to the slot of its place in the
    // arrangement. Over an occupied slot that is the slot under the finger (the last move
    // put the tile there); over empty ground or over the first slot it is where the tile
    // belongs. A drag that ends left of or above the grid, or whose finger rose away from
    // its last move, also lands where the arrangement has it, never where the touch began:
    // the moves may have given the tile another place, and the editor stores the
    // arrangement, so it must show it.
    animationAction();
    sign = 0;
    m_contentView->setBackgroundColor(platform::Color::clear());
}

void TouchView::touchesCancelled(const platform::Touches& /*touches*/) {
    // A touch the system took away leaves no tile floating where the finger was: the tiles
    // show the arrangement the moves so far have made.
    animationAction();
}

bool TouchView::buttonInArrayArea1(const Tiles& array, Point location) const {
    auto model = m_model.lock();
    const TileGrid grid = model ? model->grid() : TileGrid(m_kRowNo);
    return grid.overShownTile(TileGrid::dragCentre(location, point), array.size());
}

bool TouchView::buttonInArrayArea2(const Tiles& array, Point location) const {
    auto model = m_model.lock();
    const TileGrid grid = model ? model->grid() : TileGrid(m_kRowNo);
    return grid.overHiddenTile(TileGrid::dragCentre(location, point), array.size(), array2StartY());
}

int TouchView::array2StartY() const {
    auto model = m_model.lock();
    return model ? model->startRow() : TileGrid(m_kRowNo).startRow(0);
}

void TouchView::layOut(const Tiles& tiles, bool skipSelf) {
    auto model = m_model.lock();
    if (!model)
        return;
    // A copy: the model may be changed by the time a caller looks again, never during this.
    const Tiles copy = tiles;
    for (const auto& tile : copy) {
        if (!tile || (skipSelf && tile.get() == this))
            continue;
        auto slot = model->slotOf(tile);
        if (!slot)
            continue;
        const Rect frame = *slot;
        platform::View::animateWithDuration(kAnimationSeconds, 0,
                                            platform::AnimationOptions::LayoutSubviews,
                                            [&tile, &frame] { tile->setFrame(frame); });
    }
}

void TouchView::moveHeader() {
    auto header = moreChannelsView();
    auto model = m_model.lock();
    if (!header || !model)
        return;
    Rect frame = header->frame();
    frame.origin.y = model->headerY();
    platform::View::animateWithDuration(kAnimationSeconds, 0,
                                        platform::AnimationOptions::LayoutSubviews,
                                        [&header, &frame] { header->setFrame(frame); });
}

void TouchView::animationAction() {
    layOut(viewArrayUp(), false);
    layOut(viewArrayDown(), false);
    moveHeader();
}

void TouchView::animationAction1a() {
    layOut(viewArrayUp(), true);
}

void TouchView::animationAction2() {
    layOut(viewArrayDown(), false);
    moveHeader();
}

void TouchView::animationAction2a() {
    layOut(viewArrayDown(), true);
    moveHeader();
}

std::string TouchView::describe() const {
    auto model = m_model.lock();
    if (!model)
        return "tile";
    if (int place = placeIn(model->shown()))
        return "tile, shown " + std::to_string(place);
    if (int place = placeIn(model->hidden()))
        return "tile, hidden " + std::to_string(place);
    return "tile";
}
