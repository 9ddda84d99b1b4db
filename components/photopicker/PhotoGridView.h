#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/devices/PhotoLibrary.h"
#include "platform/ui/Control.h"
#include "platform/ui/ScrollView.h"

namespace platform {
class ImageView;
}

namespace platform::components {

// One photo of the grid: its thumbnail filling a square (cropped, as the phone's picker
// crops), and a tick in its corner while it is selected. Named in outlines by the photo's
// file name.
class PhotoThumbnail : public Control {
public:
    explicit PhotoThumbnail(PhotoAsset asset);

    const PhotoAsset& asset() const { return m_asset; }
    // Decodes the photo small enough for the thumbnail's current size; dropped again when
    // the thumbnail scrolls far away, so a large album does not hold every photo at once.
    void loadThumbnail();
    void unloadThumbnail();
    bool hasThumbnail() const;

    void layoutSubviews() override;
    std::string describe() const override;

protected:
    void stateDidChange() override;

private:
    PhotoAsset m_asset;
    std::shared_ptr<ImageView> m_image;
    std::shared_ptr<View> m_tick;
    // The size the loaded thumbnail was decoded for.
    Size m_loadedFor;
};

// The album as the phone's picker shows it: square thumbnails side by side, as many to a row
// as fit (four at least), scrolling down through the whole album. Thumbnails are decoded
// for the rows in sight and a screen around them.
class PhotoGridView : public ScrollView {
public:
    static constexpr double kSpacing = 2;
    static constexpr double kMinimumSide = 90;
    static constexpr int kMinimumColumns = 4;

    explicit PhotoGridView(const std::vector<PhotoAsset>& assets);

    // How many thumbnails a row of this width holds.
    static int columnsFor(double width);

    const std::vector<std::shared_ptr<PhotoThumbnail>>& thumbnails() const { return m_cells; }

    // A thumbnail was tapped.
    std::function<void(size_t index)> onTap;

    void layoutSubviews() override;

protected:
    void contentOffsetDidChange() override;

private:
    void loadThumbnailsNearSight();

    std::vector<std::shared_ptr<PhotoThumbnail>> m_cells;
    double m_laidOutWidth{-1};
};

}  // namespace platform::components
