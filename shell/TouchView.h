#pragma once

#include <memory>
#include <string>
#include <vector>

#include "client/CollectionViewCellModel.h"
#include "platform/ui/View.h"
#include "shell/TileEditorModel.h"

// One tile of the tile editor (65 x 65 points): its face shows the tile's picture and title,
// and it takes its own touches. A tap sends it to the end of the other area; a drag carries it
// under the finger while the editor's arrangement (TileEditorModel, shared by the editor and
// every tile) moves it between and within the two areas and the other tiles make room. Every
// change lays the tiles out from the arrangement, so they always stand where it says.
class TouchView : public platform::View {
public:
    using Tiles = std::vector<std::shared_ptr<TouchView>>;
    using Model = TileEditorModel<std::shared_ptr<TouchView>>;

    // Tags of the face's picture and title.
    static constexpr int kImageTag = 10;
    static constexpr int kTitleTag = 20;
    static constexpr double kAnimationSeconds = 0.3;

    explicit TouchView(const platform::Rect& frame);
    ~TouchView() override;

    // --- State of the current touch --------------------------------------------------------
    // Where it began, in the tile's own and in the parent's coordinates.
    platform::Point point;
    platform::Point point2;
    // 1 once the current touch has moved, otherwise 0.
    int sign{0};

    // --- What the tile belongs to ------------------------------------------------------------
    // The editor's arrangement; the tile keeps it weakly (the editor owns it).
    void setModel(std::weak_ptr<Model> model) { m_model = std::move(model); }
    // The editor's _viewArrUp and _viewArrDown, and the one of them holding this tile now
    // (empty once the editor has gone).
    const Tiles& viewArrayUp() const;
    const Tiles& viewArrayDown() const;
    const Tiles& tmpArray() const;
    int kRowNo() const { return m_kRowNo; }
    const std::shared_ptr<platform::View>& contentView() const { return m_contentView; }
    // The hidden area's header bar, which moves as the shown area grows or shrinks.
    std::shared_ptr<platform::View> moreChannelsView() const { return m_moreChannelsView.lock(); }
    void setMoreChannelsView(std::weak_ptr<platform::View> view) {
        m_moreChannelsView = std::move(view);
    }
    const std::shared_ptr<CollectionViewCellModel>& dataModel() const { return m_dataModel; }
    void setDataModel(std::shared_ptr<CollectionViewCellModel> model) {
        m_dataModel = std::move(model);
    }

    // --- Operations --------------------------------------------------------------------------
    // The face: a rounded square with the picture (tag 10) over the title (tag 20).
    std::shared_ptr<platform::View> customView();
    void layoutSubviews() override;

    void touchesBegan(const platform::Touches& touches) override;
    void touchesMoved(const platform::Touches& touches) override;
    void touchesEnded(const platform::Touches& touches) override;
    void touchesCancelled(const platform::Touches& touches) override;

    // Whether this tile, held by a finger at `location` (in the parent), has its centre over
    // an occupied slot of the shown area holding `array` / of the hidden area holding `array`.
    bool buttonInArrayArea1(const Tiles& array, platform::Point location) const;
    bool buttonInArrayArea2(const Tiles& array, platform::Point location) const;
    // S, from the live count of the shown area.
    int array2StartY() const;

    // Re-layouts, each tile in an animation of its own: every tile and the header
    // (animationAction); the shown area but this tile (animationAction1a); the hidden area and
    // the header (animationAction2); the hidden area but this tile, and the header
    // (animationAction2a).
    void animationAction();
    void animationAction1a();
    void animationAction2();
    void animationAction2a();

    // "tile shown 3" / "tile hidden 1": its place in the arrangement, for outlines.
    std::string describe() const override;

private:
    std::shared_ptr<TouchView> self();
    // 1 + this tile's index in the tiles, or 0 when they do not hold it.
    int placeIn(const Tiles& tiles) const;
    platform::Point locationInParent(const platform::Touches& touches) const;
    void layOut(const Tiles& tiles, bool skipSelf);
    void moveHeader();

    std::weak_ptr<Model> m_model;
    int m_kRowNo;
    std::shared_ptr<platform::View> m_contentView;
    std::weak_ptr<platform::View> m_moreChannelsView;
    std::shared_ptr<CollectionViewCellModel> m_dataModel;
};
