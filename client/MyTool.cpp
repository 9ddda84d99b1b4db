#include "client/MyTool.h"

#include <unicode/brkiter.h>
#include <unicode/regex.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <memory>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/CookieStorage.h"
#include "platform/foundation/Crypto.h"
#include "platform/foundation/Dates.h"
#include "platform/foundation/Device.h"
#include "platform/foundation/JsonParse.h"
#include "platform/foundation/Keychain.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/UUID.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/TextMeasurer.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/View.h"

using platform::Image;
using platform::ImageOrientation;
using platform::Json;
using platform::Rect;
using platform::Size;

namespace {

const char* kKeychainAccount = "UUID";
const char* kKeychainService = "com.china.TestKeyChain";

// Reads leading hex digits the way a hex scanner does; a pair without any reads as 0.
unsigned hexPair(std::string_view hex, size_t at) {
    unsigned value = 0;
    for (size_t i = at; i < at + 2 && i < hex.size(); ++i) {
        char c = hex[i];
        int digit = (c >= '0' && c <= '9')   ? c - '0'
                    : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                    : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                             : -1;
        if (digit < 0)
            break;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    return value;
}

bool matchesWhole(const char* pattern, const std::string& text) {
    UErrorCode status = U_ZERO_ERROR;
    UParseError parseError;
    bool matched =
        icu::RegexPattern::matches(icu::UnicodeString::fromUTF8(pattern),
                                   icu::UnicodeString::fromUTF8(text), parseError, status);
    return U_SUCCESS(status) && matched;
}

std::string replaceAll(const std::string& text, const char* pattern, const char* replacement) {
    UErrorCode status = U_ZERO_ERROR;
    UParseError parseError;
    std::unique_ptr<icu::RegexPattern> compiled(
        icu::RegexPattern::compile(icu::UnicodeString::fromUTF8(pattern), parseError, status));
    if (U_FAILURE(status))
        return text;
    icu::UnicodeString input = icu::UnicodeString::fromUTF8(text);
    std::unique_ptr<icu::RegexMatcher> matcher(compiled->matcher(input, status));
    if (U_FAILURE(status))
        return text;
    icu::UnicodeString result =
        matcher->replaceAll(icu::UnicodeString::fromUTF8(replacement), status);
    std::string out;
    result.toUTF8String(out);
    return U_SUCCESS(status) ? out : text;
}

// The platform's whitespace set: spaces of every width and the tab, not line breaks.
bool isPlatformWhitespace(UChar32 c) {
    return c == 0x09 || u_charType(c) == U_SPACE_SEPARATOR;
}

std::string trimmedWhitespace(const std::string& text) {
    icu::UnicodeString s = icu::UnicodeString::fromUTF8(text);
    int32_t start = 0;
    int32_t end = s.length();
    while (start < end && isPlatformWhitespace(s.char32At(start))) start = s.moveIndex32(start, 1);
    while (end > start) {
        int32_t before = s.moveIndex32(end, -1);
        if (!isPlatformWhitespace(s.char32At(before)))
            break;
        end = before;
    }
    std::string out;
    s.tempSubStringBetween(start, end).toUTF8String(out);
    return out;
}

// NSString's integerValue: optional leading space and sign, then digits; anything else is 0.
// Long digit runs stop at the largest value instead of overflowing.
long integerValue(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    long value = 0;
    constexpr long kMax = std::numeric_limits<long>::max();
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        int digit = text[i++] - '0';
        value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
    }
    return negative ? -value : value;
}

std::string withoutHyphens(std::string text) {
    std::erase(text, '-');
    return text;
}

bool isSideways(ImageOrientation o) {
    return o == ImageOrientation::Left || o == ImageOrientation::LeftMirrored ||
           o == ImageOrientation::Right || o == ImageOrientation::RightMirrored;
}

Image upright(const Image& image) {
    return image.orientation() == ImageOrientation::Up ? image : MyTool::fixOrientation(image);
}

}  // namespace

platform::Color MyTool::colorWithString(std::string_view hex) {
    return platform::Color::rgba(static_cast<float>(hexPair(hex, 0)) / 255.0f,
                                 static_cast<float>(hexPair(hex, 2)) / 255.0f,
                                 static_cast<float>(hexPair(hex, 4)) / 255.0f, 1.0f);
}

double MyTool::heightOfLabel(const std::optional<std::string>& text, const platform::Font& font,
                             double labelLength) {
    if (!text)
        return 0;
    return platform::TextMeasurer::current().boundingSize(*text, font, Size{labelLength, 0}).height;
}

double MyTool::widthOfLabel(const std::optional<std::string>& text, const platform::Font& font,
                            double labelHeight) {
    if (!text)
        return 0;
    return platform::TextMeasurer::current().boundingSize(*text, font, Size{0, labelHeight}).width;
}

std::vector<std::string> MyTool::regularExpretionWithHtmlStr(const std::string& html) {
    std::string dashed = replaceAll(replaceAll(html, "<[^>]*>|\\n", "-"), "-{1,}", "-");
    std::vector<std::string> pieces;
    size_t start = 0;
    while (true) {
        size_t dash = dashed.find('-', start);
        pieces.push_back(dashed.substr(start, dash == std::string::npos ? dash : dash - start));
        if (dash == std::string::npos)
            break;
        start = dash + 1;
    }
    return pieces;
}

StyledText MyTool::changeWithHtmlStr(const std::string& html) {
    // Block-level tags and <br> end a line; every other tag is dropped; the common entities
    // are decoded.
    std::string withBreaks = replaceAll(html, "(?i)<br\\s*/?>|</(p|div|li|h[1-6]|tr)\\s*>", "\n");
    std::string text = replaceAll(withBreaks, "<[^>]*>", "");
    const std::pair<const char*, const char*> entities[] = {{"&nbsp;", "\u00a0"}, {"&lt;", "<"},
                                                            {"&gt;", ">"},        {"&quot;", "\""},
                                                            {"&#39;", "'"},       {"&amp;", "&"}};
    for (auto [entity, character] : entities) {
        for (size_t at = text.find(entity); at != std::string::npos;
             at = text.find(entity, at + std::string_view(character).size()))
            text.replace(at, std::string_view(entity).size(), character);
    }
    while (!text.empty() && text.back() == '\n') text.pop_back();
    StyledText styled;
    styled.text = text;
    styled.font = platform::Font::systemFont(13);
    styled.color = platform::Color::lightGray();
    styled.minimumLineHeight = 10;
    styled.maximumLineHeight = 20;
    styled.lineHeightMultiple = 1.0;
    return styled;
}

bool MyTool::phoneNumberIsLegal(const std::string& text) {
    return matchesWhole("^[1][3-8]\\d{9}$", text);
}

bool MyTool::passwordIsLegal(const std::string& text) {
    return matchesWhole("^[0-9A-Za-z_]{6,16}$", text);
}

bool MyTool::UserNameIsLegal(const std::string& text) {
    return matchesWhole("^[A-Za-z0-9]{4,16}+$", text);
}

bool MyTool::emailIsLegal(const std::string& text) {
    return matchesWhole("[A-Z0-9a-z._%+-]+@[A-Za-z0-9.-]+\\.[A-Za-z]{2,4}", text);
}

bool MyTool::validateIdentityCard(const std::string& text) {
    if (text.empty())
        return false;
    return matchesWhole("^(\\d{14}|\\d{17})(\\d|[xX])$", text);
}

bool MyTool::strIsEmpty(const std::optional<std::string>& text) {
    return !text || trimmedWhitespace(*text).empty();
}

bool MyTool::strExistence(const std::optional<Json>& value) {
    if (!value || value->is_null())
        return false;
    std::string text = value->is_string() ? value->get<std::string>() : value->dump();
    return !trimmedWhitespace(text).empty();
}

bool MyTool::isContainsEmoji(const std::string& text) {
    icu::UnicodeString s = icu::UnicodeString::fromUTF8(text);
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> sequences(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    if (U_FAILURE(status))
        return false;
    sequences->setText(s);
    for (int32_t start = sequences->first(), end = sequences->next();
         end != icu::BreakIterator::DONE; start = end, end = sequences->next()) {
        char16_t first = s.charAt(start);
        int32_t units = end - start;
        if (first >= 0xD800 && first <= 0xDBFF) {
            if (units > 1) {
                char16_t low = s.charAt(start + 1);
                uint32_t codePoint = ((first - 0xD800u) * 0x400u) + (low - 0xDC00u) + 0x10000u;
                if (codePoint >= 0x1D000 && codePoint <= 0x1F77F)
                    return true;
            }
        } else if (first >= 0xDC00 && first <= 0xDFFF) {
            continue;
        } else if (units > 1) {
            if (s.charAt(start + 1) == 0x20E3)
                return true;
        } else {
            char16_t c = first;
            if ((c >= 0x2100 && c <= 0x27FF && c != 0x263B) || (c >= 0x2B05 && c <= 0x2B07) ||
                (c >= 0x2934 && c <= 0x2935) || (c >= 0x3297 && c <= 0x3299) || c == 0x00A9 ||
                c == 0x00AE || c == 0x231A || c == 0x2B1B || c == 0x2B1C || c == 0x2B50 ||
                c == 0x2B55 || c == 0x3030 || c == 0x303D)
                return true;
        }
    }
    return false;
}

std::optional<Json> MyTool::dictionaryWithJsonString(const std::optional<std::string>& json) {
    if (!json)
        return std::nullopt;
    // Only a dictionary or a list is a document; a bare value counts as a parse error, and so
    // does one nested deeper than any real document.
    auto parsed = platform::parseJson(*json);
    if (!parsed || !(parsed->is_object() || parsed->is_array())) {
        platform::log("json解析失败：%@", *json);
        auto alert = platform::View::make<platform::AlertView>(
            "提示", "解析失败", std::weak_ptr<platform::AlertViewDelegate>(), "确定",
            std::vector<std::string>{});
        alert->show();
        return std::nullopt;
    }
    return parsed;
}

std::string MyTool::md5(std::string_view text) {
    return platform::md5Hex(text);
}

std::string MyTool::getCurrentTime() {
    return platform::formatDate(std::chrono::system_clock::now(), "yyyyMMddHHmmss");
}

std::optional<std::string> MyTool::getWeekFromDateWithYear(const std::string& year,
                                                           const std::string& month,
                                                           const std::string& day) {
    static const char* const kNames[] = {"星期日", "星期一", "星期二", "星期三",
                                         "星期四", "星期五", "星期六"};
    // The weekday of the calendar date itself: the same in every time zone.
    int weekday =
        platform::weekdayOfCivilDate(integerValue(year), integerValue(month), integerValue(day));
    if (weekday < 1 || weekday > 7)
        return std::nullopt;
    return kNames[weekday - 1];
}

std::string MyTool::getDeviceToken() {
    auto token = platform::UserDefaults::standard().objectForKey("kDeviceToken");
    if (!strExistence(token) || !token->is_string())
        return "";
    return token->get<std::string>();
}

std::string MyTool::getUUIDString() {
    return withoutHyphens(platform::identifierForVendor());
}

std::optional<std::string> MyTool::GetIOSUUID() {
    std::string error;
    auto stored = platform::Keychain::password(kKeychainAccount, kKeychainService, &error);
    if (stored) {
        platform::log("✅从Keychain里获取密码成功！密码为%@", *stored);
        return withoutHyphens(*stored);
    }
    platform::log("❌从Keychain里获取密码出错：%@", error);
    saveUUID();
    stored = platform::Keychain::password(kKeychainAccount, kKeychainService, &error);
    if (!stored)
        return std::nullopt;
    return withoutHyphens(*stored);
}

void MyTool::saveUUID() {
    std::string made = platform::makeUUIDString();
    std::string error;
    if (platform::Keychain::storePassword(kKeychainAccount, made, kKeychainService, true, &error))
        platform::log("✅Keychain保存密码成功！%@", made);
    else
        platform::log("❌Keychain保存密码时出错：%@", error);
}

void MyTool::removeUserDefaultsRecords() {
    auto& defaults = platform::UserDefaults::standard();
    Json all = defaults.dictionaryRepresentation();
    for (const auto& [key, value] : all.items()) defaults.removeObjectForKey(key);
    defaults.synchronize();
}

void MyTool::addCookie(const Json&) {
    auto& storage = platform::CookieStorage::shared();
    platform::Cookie cookie;
    cookie.domain = "";
    cookie.path = "/";
    cookie.name = "__SESSION_USER_TOKEN";
    cookie.value = "";
    cookie.expires = std::chrono::system_clock::now() + std::chrono::seconds(26506326);
    storage.setCookie(cookie);
    for (const auto& each : storage.cookies()) {
        platform::log("cookie = %@", each.name + "=" + each.value);
        storage.deleteCookie(each);
    }
}

Image MyTool::imageWithName(const std::string& name) {
    auto path = platform::Bundle::main().pathForResource(name + "@2x", "png");
    if (!path)
        return Image();
    return Image::fromFile(*path, 2.0);
}

Image MyTool::getSubImage(const Rect& rect, const Image& image) {
    Image cut = image.cropped(static_cast<int>(rect.origin.x), static_cast<int>(rect.origin.y),
                              static_cast<int>(rect.size.width * 2),
                              static_cast<int>(rect.size.height * 2));
    return cut.withScale(1).withOrientation(ImageOrientation::Up);
}

Image MyTool::fixOrientation(const Image& image) {
    if (image.isNull() || image.orientation() == ImageOrientation::Up)
        return image;
    const double w = image.size().width;
    const double h = image.size().height;
    const double pi = std::acos(-1.0);
    auto transform = platform::AffineTransform::identity();
    switch (image.orientation()) {
        case ImageOrientation::Down:
        case ImageOrientation::DownMirrored:
            transform = transform.translated(w, h).rotated(pi);
            break;
        case ImageOrientation::Left:
        case ImageOrientation::LeftMirrored:
            transform = transform.translated(w, 0).rotated(pi / 2);
            break;
        case ImageOrientation::Right:
        case ImageOrientation::RightMirrored:
            transform = transform.translated(0, h).rotated(-pi / 2);
            break;
        default:
            break;
    }
    switch (image.orientation()) {
        case ImageOrientation::UpMirrored:
        case ImageOrientation::DownMirrored:
            transform = transform.translated(w, 0).scaled(-1, 1);
            break;
        case ImageOrientation::LeftMirrored:
        case ImageOrientation::RightMirrored:
            transform = transform.translated(h, 0).scaled(-1, 1);
            break;
        default:
            break;
    }
    // The transform is written for a bottom-up bitmap context.
    platform::BitmapContext context(static_cast<int>(std::lround(w)),
                                    static_cast<int>(std::lround(h)));
    context.useBottomLeftOrigin();
    context.concat(transform);
    Rect target = isSideways(image.orientation()) ? Rect{{0, 0}, {h, w}} : Rect{{0, 0}, {w, h}};
    context.drawImage(image.withOrientation(ImageOrientation::Up), target);
    return context.makeImage();
}

std::optional<Image> MyTool::cutOutNewImage(const Image& image, double ratio) {
    if (image.isNull())
        return std::nullopt;
    const double width = image.size().width;
    const double height = image.size().height;
    const double r = width / height;
    if (r == ratio)
        return image;
    Rect cut = r < ratio ? Rect{{0, 0}, {width, width / ratio}}
                         : Rect{{(width - height * ratio) / 2, 0}, {height * ratio, height}};
    Image result =
        image.cropped(static_cast<int>(cut.origin.x), static_cast<int>(cut.origin.y),
                      static_cast<int>(cut.size.width), static_cast<int>(cut.size.height));
    return result.withScale(1).withOrientation(ImageOrientation::Up);
}

Image MyTool::scaleToSize(const Size& size, const Image& image) {
    auto square = cutOutNewImage(fixOrientation(image), 1.0);
    if (!square)
        return Image();
    return imageWithImageScaledToSize(*square, size);
}

Image MyTool::imageWithImageRatioCompressToSize(const Image& image, const Size& size) {
    if (image.size().width < size.width && image.size().height < size.height)
        return image;
    return imageWithImageRatioToSize(image, size);
}

Image MyTool::imageWithImageRatioToSize(const Image& image, const Size& size) {
    float f = std::min(static_cast<float>(size.width / image.size().width),
                       static_cast<float>(size.height / image.size().height));
    return imageWithImageScaledToSize(image, Size{image.size().width * static_cast<double>(f),
                                                  image.size().height * static_cast<double>(f)});
}

Image MyTool::imageWithImageScaledToSize(const Image& image, const Size& size) {
    platform::BitmapContext context(size, 1.0);
    context.drawImage(upright(image), Rect{{0, 0}, size});
    return context.makeImage();
}

void MyTool::showAlertViewWithStr(const std::string& text) {
    auto alert = platform::View::make<platform::AlertView>(
        "", text, std::weak_ptr<platform::AlertViewDelegate>(), "确定", std::vector<std::string>{});
    alert->show();
}

Image MyTool::captureView(platform::View& view) {
    view.layoutIfNeeded();
    Size size = view.frame().size;
    if (size.width <= 0 || size.height <= 0)
        return Image();
    platform::BitmapContext context(size, 1.0);
    if (!context.isValid())
        return Image();
    platform::renderView(view, context);
    return context.makeImage();
}
