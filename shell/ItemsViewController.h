#pragma once

#include <memory>

#include "client/CollectionViewCellModel.h"
#include "platform/ui/ViewController.h"
#include "shell/TouchView.h"

namespace platform {
class Control;
class Label;
class View;
}  // namespace platform

// The tile editor "栏目订阅": the shown tiles under "已添加模块" and the hidden ones under
// "未添加模块". A tap on a tile sends it to the end of the other area; a drag puts it in a chosen
// place while the other tiles make room (TouchView, TileEditorModel). Whenever the editor goes
// away it stores both areas as the signed-in user's arrangement (TileArrangement), and the home
// grid rebuilds from it.
//
// The opener sets both lists before the view loads, then pushes it (the home page's add-more
// tile) or presents it in a navigation controller of its own (the side menu).
class ItemsViewController : public platform::ViewController {
public:
    static constexpr const char* kTitle = "栏目订阅";

    ItemsViewController();
    ~ItemsViewController() override;

    // --- Set by the opener -------------------------------------------------------------------
    const TileList& modelArrUp() const { return m_modelArrUp; }
    void setModelArrUp(TileList tiles) { m_modelArrUp = std::move(tiles); }
    const TileList& modelArrDown() const { return m_modelArrDown; }
    void setModelArrDown(TileList tiles) { m_modelArrDown = std::move(tiles); }

    // --- Made when the view loads ------------------------------------------------------------
    // The live order of the shown and the hidden area (empty before the view loads).
    const TouchView::Tiles& viewArrUp() const;
    const TouchView::Tiles& viewArrDown() const;
    // The arrangement the tiles share.
    const std::shared_ptr<TouchView::Model>& model() const { return m_model; }
    int kRowNo() const { return m_kRowNo; }
    const std::shared_ptr<platform::Label>& topTitleLabel() const { return m_topTitleLabel; }
    const std::shared_ptr<platform::View>& bottomTitleView() const { return m_bottomTitleView; }
    // The tiles' models in the order each area shows them: what leaving stores.
    TileList shownTiles() const;
    TileList hiddenTiles() const;

    // --- Operations --------------------------------------------------------------------------
    void viewDidLoad() override;
    void createTabBar();
    void viewDidAppear(bool animated) override;
    // "完成": leaves the editor, however it was opened, and gives the side menu its swipe back.
    void completeBtnAction(platform::Control& sender);
    // Stores the arrangement (and the home grid follows).
    void viewWillDisappear(bool animated) override;

private:
    std::shared_ptr<TouchView> makeTile(const std::shared_ptr<CollectionViewCellModel>& model,
                                        const platform::Rect& frame);

    TileList m_modelArrUp;
    TileList m_modelArrDown;
    int m_kRowNo{5};
    std::shared_ptr<TouchView::Model> m_model;
    std::shared_ptr<platform::Label> m_topTitleLabel;
    std::shared_ptr<platform::View> m_bottomTitleView;
};
