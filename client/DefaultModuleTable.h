#pragma once

#include <memory>
#include <vector>

#include "client/CollectionViewCellModel.h"

// One row of the default tiles.
struct DefaultModule {
    const char* title;
    const char* image;
    const char* method;
};

// The tiles a user sees before arranging any, in order, and the add-more tile that always
// ends the grid.
class DefaultModuleTable {
public:
    static constexpr const char* kAddMoreTitle = "添加更多";
    static constexpr const char* kAddMoreImage = "添加";
    static constexpr const char* kAddMoreMethod = "addNewMethod";

    static const std::vector<DefaultModule>& rows();
    // New tile records, one per row, in table order.
    static TileList tiles();
    static std::shared_ptr<CollectionViewCellModel> addMoreTile();
};
