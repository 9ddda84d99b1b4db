#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/Json.h"

// One friend of the user on a platform.
class SHSFriendEntity {
public:
    std::optional<std::string> name;
    std::optional<std::string> linkName;
    std::optional<std::string> imageURL;
    std::optional<std::string> usid;
    std::optional<std::string> pinyin;  // the romanised name

    platform::Json toArchive() const;
    static std::shared_ptr<SHSFriendEntity> fromArchive(const platform::Json& archive);
};
