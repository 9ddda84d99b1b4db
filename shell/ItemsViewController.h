#pragma once

#include "client/CollectionViewCellModel.h"
#include "platform/ui/ViewController.h"

// The tile editor "栏目订阅". The opener gives it the shown and the hidden tiles before its
// view loads; the editing itself comes with the tile editor, so for now it keeps the two
// lists and shows its title.
class ItemsViewController : public platform::ViewController {
public:
    static constexpr const char* kTitle = "栏目订阅";

    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;

    const TileList& modelArrUp() const { return m_modelArrUp; }
    void setModelArrUp(TileList tiles) { m_modelArrUp = std::move(tiles); }
    const TileList& modelArrDown() const { return m_modelArrDown; }
    void setModelArrDown(TileList tiles) { m_modelArrDown = std::move(tiles); }

private:
    TileList m_modelArrUp;
    TileList m_modelArrDown;
};
