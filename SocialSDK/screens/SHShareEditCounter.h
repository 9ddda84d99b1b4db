#pragma once

#include <optional>
#include <string>
#include <string_view>

// The edit screen's "characters left" figure for one platform.
class SHShareEditCounter {
public:
    static constexpr int kLimit = 140;
    // What the counter label shows: "" on "facebook" (no limit), otherwise the number left,
    // negative when the text is too long.
    static std::string counterText(std::string_view text, std::string_view platformName,
                                   bool showsPicture);
    // The number left; nullopt where the platform has no limit.
    static std::optional<int> charactersLeft(std::string_view text, std::string_view platformName,
                                             bool showsPicture);
    // Half the text's byte length in GB 18030, rounded up: a Chinese character 1, a Latin
    // letter one half.
    static int halfLength(std::string_view text);
    // Whether the piece wholly is a link (http, https, ftp or www.).
    static bool isWholeLink(std::string_view piece);
};
