#include "components/photopicker/PhotoGridView.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/Color.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Screen.h"

namespace platform::components {

namespace {

constexpr double kTickSide = 22;
constexpr double kTickMargin = 4;
const Color kTickColour = Color::rgba(0.0f, 0.48f, 1.0f);
// Placeholder grey while a thumbnail is not decoded.
const Color kEmptyThumbnail = Color::whiteAlpha(0.9f, 1);

// The blue tick of a selected photo: a disc ringed in white with a white check in it.
class SelectionTick : public View {
public:
    using View::View;
    void draw(BitmapContext& context, const Rect& rect) override {
        context.fillEllipse(rect, Color::white());
        context.fillEllipse(rect.insetBy(1.5, 1.5), kTickColour);
        const double w = rect.size.width;
        const double h = rect.size.height;
        context.setStrokeColor(Color::white());
        context.setLineWidth(2);
        context.beginPath();
        context.moveToPoint(Point{rect.minX() + w * 0.28, rect.minY() + h * 0.52});
        context.addLineToPoint(Point{rect.minX() + w * 0.44, rect.minY() + h * 0.68});
        context.addLineToPoint(Point{rect.minX() + w * 0.74, rect.minY() + h * 0.36});
        context.strokePath();
    }
};

}  // namespace

PhotoThumbnail::PhotoThumbnail(PhotoAsset asset) : m_asset(std::move(asset)) {
    setBackgroundColor(kEmptyThumbnail);
    setClipsToBounds(true);
    setAccessibilityLabel(m_asset.name());
    m_image = View::make<ImageView>();
    m_image->setContentMode(ContentMode::ScaleAspectFill);
    m_image->setClipsToBounds(true);
    m_image->setUserInteractionEnabled(false);
    addSubview(m_image);
    m_tick = View::make<SelectionTick>(Rect{{0, 0}, {kTickSide, kTickSide}});
    m_tick->setUserInteractionEnabled(false);
    m_tick->setHidden(true);
    addSubview(m_tick);
}

void PhotoThumbnail::loadThumbnail() {
    const Size size = bounds().size;
    if (size.width <= 0 || (hasThumbnail() && m_loadedFor == size)) {
        return;
    }
    const double scale = Screen::main().scale();
    m_image->setImage(m_asset.thumbnail(Size{size.width * scale, size.height * scale}));
    m_loadedFor = size;
}

void PhotoThumbnail::unloadThumbnail() {
    m_image->setImage(Image());
    m_loadedFor = Size{};
}

bool PhotoThumbnail::hasThumbnail() const {
    return !m_image->image().isNull();
}

void PhotoThumbnail::layoutSubviews() {
    const Rect b = bounds();
    m_image->setFrame(b);
    m_tick->setFrame(
        Rect{{b.size.width - kTickSide - kTickMargin, b.size.height - kTickSide - kTickMargin},
             {kTickSide, kTickSide}});
}

std::string PhotoThumbnail::describe() const {
    return "photo \"" + m_asset.name() + "\"" + (isSelected() ? " (selected)" : "");
}

void PhotoThumbnail::stateDidChange() {
    m_tick->setHidden(!isSelected());
}

PhotoGridView::PhotoGridView(const std::vector<PhotoAsset>& assets) {
    setBackgroundColor(Color::white());
    setAlwaysBounceVertical(true);
    for (size_t i = 0; i < assets.size(); ++i) {
        auto cell = View::make<PhotoThumbnail>(assets[i]);
        // The action reaches the grid through the cell's place in it, never by a pointer
        // that could outlive the grid.
        cell->addTarget(
            [i](Control& tapped) {
                auto grid = std::dynamic_pointer_cast<PhotoGridView>(tapped.superview());
                if (grid && grid->onTap) {
                    grid->onTap(i);
                }
            },
            ControlEvent::TouchUpInside);
        addSubview(cell);
        m_cells.push_back(cell);
    }
}

int PhotoGridView::columnsFor(double width) {
    const int fit = int(std::floor((width + kSpacing) / (kMinimumSide + kSpacing)));
    return std::max(kMinimumColumns, fit);
}

void PhotoGridView::layoutSubviews() {
    ScrollView::layoutSubviews();
    const double width = bounds().size.width;
    if (width != m_laidOutWidth) {
        m_laidOutWidth = width;
        const int columns = columnsFor(width);
        const double side = (width - kSpacing * (columns - 1)) / columns;
        for (size_t i = 0; i < m_cells.size(); ++i) {
            const double column = double(i % size_t(columns));
            const double row = double(i / size_t(columns));
            m_cells[i]->setFrame(
                Rect{{column * (side + kSpacing), row * (side + kSpacing)}, {side, side}});
        }
        const double rows = std::ceil(double(m_cells.size()) / columns);
        setContentSize(Size{width, std::max(0.0, rows * (side + kSpacing) - kSpacing)});
    }
    loadThumbnailsNearSight();
}

void PhotoGridView::contentOffsetDidChange() {
    loadThumbnailsNearSight();
}

void PhotoGridView::loadThumbnailsNearSight() {
    const Rect sight = bounds();
    if (sight.size.height <= 0) {
        return;
    }
    // Rows a screen above and below are ready before they scroll in; rows further away give
    // their pixels back.
    const double reach = sight.size.height;
    const double nearTop = sight.minY() - reach;
    const double nearBottom = sight.maxY() + reach;
    for (auto& cell : m_cells) {
        const Rect frame = cell->frame();
        if (frame.maxY() >= nearTop && frame.minY() <= nearBottom) {
            cell->loadThumbnail();
        } else if (frame.maxY() < nearTop - reach || frame.minY() > nearBottom + reach) {
            cell->unloadThumbnail();
        }
    }
}

}  // namespace platform::components
