#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Json.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/Image.h"

namespace platform {
class View;
}

// Styled text of an HTML fragment: its characters with one font, colour and paragraph style
// over the whole range.
struct StyledText {
    std::string text;
    platform::Font font;
    platform::Color color;
    double minimumLineHeight = 0;
    double maximumLineHeight = 0;
    double lineHeightMultiple = 1.0;
};

// The shared toolbox: class operations only, no state of its own.
class MyTool {
public:
    // Colours and text
    static platform::Color colorWithString(std::string_view hex);
    static double heightOfLabel(const std::optional<std::string>& text, const platform::Font& font,
                                double labelLength);
    static double widthOfLabel(const std::optional<std::string>& text, const platform::Font& font,
                               double labelHeight);
    static StyledText changeWithHtmlStr(const std::string& html);
    static std::vector<std::string> regularExpretionWithHtmlStr(const std::string& html);

    // Validation
    static bool phoneNumberIsLegal(const std::string& text);
    static bool passwordIsLegal(const std::string& text);
    static bool UserNameIsLegal(const std::string& text);
    static bool emailIsLegal(const std::string& text);
    static bool validateIdentityCard(const std::string& text);
    static bool strIsEmpty(const std::optional<std::string>& text);
    // NO for a JSON null and for a missing value.
    static bool strExistence(const std::optional<platform::Json>& value);
    static bool isContainsEmoji(const std::string& text);

    // Data, time and identity
    // The parsed object, whatever its kind; nothing for a missing text. An unparsable text
    // gives nothing and tells the user in an alert.
    static std::optional<platform::Json> dictionaryWithJsonString(
        const std::optional<std::string>& json);
    static std::string md5(std::string_view text);
    static std::string getCurrentTime();
    static std::optional<std::string> getWeekFromDateWithYear(const std::string& year,
                                                              const std::string& month,
                                                              const std::string& day);
    static std::string getDeviceToken();
    static std::string getUUIDString();
    static std::optional<std::string> GetIOSUUID();
    static void saveUUID();
    static void removeUserDefaultsRecords();
    static void addCookie(const platform::Json& unused = nullptr);
    static void onCheckVersion() {}
    // An alert with the text as its message and one button "确定", no title, no delegate.
    static void showAlertViewWithStr(const std::string& text);

    // Images
    static platform::Image imageWithName(const std::string& name);
    // The view as drawn, at its frame's size and scale 1.
    static platform::Image captureView(platform::View& view);
    static platform::Image getSubImage(const platform::Rect& rect, const platform::Image& image);
    static platform::Image fixOrientation(const platform::Image& image);
    static std::optional<platform::Image> cutOutNewImage(const platform::Image& image,
                                                         double ratio);
    static platform::Image scaleToSize(const platform::Size& size, const platform::Image& image);
    static platform::Image imageWithImageRatioCompressToSize(const platform::Image& image,
                                                             const platform::Size& size);
    static platform::Image imageWithImageRatioToSize(const platform::Image& image,
                                                     const platform::Size& size);
    static platform::Image imageWithImageScaledToSize(const platform::Image& image,
                                                      const platform::Size& size);
};
