#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Bytes.h"
#include "platform/foundation/Json.h"

namespace platform {
class UserDefaults;
}

// One home tile: its caption, its icon (a bundle PNG of that name) and the name of the home
// page operation a tap performs. Tiles are shared by pointer: two tiles are the same only when
// they are one object, so lists hold std::shared_ptr and never compare contents.
class CollectionViewCellModel {
public:
    CollectionViewCellModel() = default;
    CollectionViewCellModel(std::string titleName, std::string imageName, std::string methodName);

    std::string titleName;
    std::string imageName;
    std::string methodName;

    // The keyed fields, as the archive stores them.
    platform::Json encode() const;
    // A tile from keyed fields; a field that is missing or not text reads "". Null for
    // anything that is not an object.
    static std::shared_ptr<CollectionViewCellModel> decode(const platform::Json& fields);
};

using TileList = std::vector<std::shared_ptr<CollectionViewCellModel>>;

// A list of tiles as one keyed archive (the data stored under the tile-list keys).
platform::Bytes archiveTileList(const TileList& tiles);
// The list in the archive. Data that is not one of our archives, is damaged, or does not hold
// a list reads as absent; elements that are not tiles are left out.
std::optional<TileList> unarchiveTileList(const platform::Bytes& data);

// The list stored under the key: absent when the key is missing or its data is unreadable.
std::optional<TileList> storedTileList(const platform::UserDefaults& defaults,
                                       const std::string& key);
// Whether the list stored under the key holds at least one tile.
bool storedTileListHasTiles(const platform::UserDefaults& defaults, const std::string& key);
