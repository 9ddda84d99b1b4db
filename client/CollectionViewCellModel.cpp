#include "client/CollectionViewCellModel.h"

#include "platform/foundation/KeyedArchive.h"
#include "platform/foundation/UserDefaults.h"

namespace {

constexpr const char* kTitleKey = "titleName";
constexpr const char* kImageKey = "imageName";
constexpr const char* kMethodKey = "methodName";

std::string textField(const platform::Json& fields, const char* key) {
    auto it = fields.find(key);
    return it != fields.end() && it->is_string() ? it->get<std::string>() : std::string();
}

}  // namespace

CollectionViewCellModel::CollectionViewCellModel(std::string titleName, std::string imageName,
                                                 std::string methodName)
    : titleName(std::move(titleName)),
      imageName(std::move(imageName)),
      methodName(std::move(methodName)) {}

platform::Json CollectionViewCellModel::encode() const {
    return platform::Json{{kTitleKey, titleName}, {kImageKey, imageName}, {kMethodKey, methodName}};
}

std::shared_ptr<CollectionViewCellModel> CollectionViewCellModel::decode(
    const platform::Json& fields) {
    if (!fields.is_object())
        return nullptr;
    return std::make_shared<CollectionViewCellModel>(
        textField(fields, kTitleKey), textField(fields, kImageKey), textField(fields, kMethodKey));
}

platform::Bytes archiveTileList(const TileList& tiles) {
    platform::Json list = platform::Json::array();
    for (const auto& tile : tiles) {
        if (tile)
            list.push_back(tile->encode());
    }
    return platform::archiveRootObject(list);
}

std::optional<TileList> unarchiveTileList(const platform::Bytes& data) {
    auto root = platform::unarchiveObject(data);
    if (!root || !root->is_array())
        return std::nullopt;
    TileList tiles;
    for (const auto& element : *root) {
        if (auto tile = CollectionViewCellModel::decode(element))
            tiles.push_back(std::move(tile));
    }
    return tiles;
}

std::optional<TileList> storedTileList(const platform::UserDefaults& defaults,
                                       const std::string& key) {
    auto data = defaults.dataForKey(key);
    if (!data)
        return std::nullopt;
    return unarchiveTileList(*data);
}

bool storedTileListHasTiles(const platform::UserDefaults& defaults, const std::string& key) {
    auto tiles = storedTileList(defaults, key);
    return tiles && !tiles->empty();
}
