#pragma once

#include <optional>
#include <string>

// A share's media link. Type 0 is no link, 1 a picture link, 2 to 4 further media kinds.
struct SHSocialUrlResource {
    std::optional<std::string> url;
    int resourceType = 0;
};
