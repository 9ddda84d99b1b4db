#include "platform/ui/KeyboardKeys.h"

#include <algorithm>

#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/TextMeasurer.h"

namespace platform {

namespace {

// The rows of character keys; the layout adds delete, "@", space and return.
constexpr const char* kDigits = "1234567890";
constexpr const char* kTopLetters = "qwertyuiop";
constexpr const char* kMiddleLetters = "asdfghjkl";
constexpr const char* kBottomLetters = "zxcvbnm.";
constexpr const char* kEmailBottomLetters = "zxcvbnm";
constexpr const char* kPunctuation = "-/:;()$&@\"";
constexpr const char* kMorePunctuation = ".,?!'";
constexpr int kPadRows = 4;
constexpr int kPadColumns = 3;
constexpr int kRows = 5;
// The digits, two rows of punctuation, and space and return: no row of letters.
constexpr int kNumberRows = 4;
// Keys in the widest row; every key is this fraction of the width (delete, space and return
// take more).
constexpr double kKeysAcross = 10;
constexpr double kSideMargin = 3;
constexpr double kTopMargin = 4;
// The room between drawn keys, half of it on each side of a cell.
constexpr double kGapAcross = 5;
constexpr double kGapDown = 8;
constexpr double kKeyRadius = 5;

const Color kTray = Color::rgba(0.82f, 0.84f, 0.86f);
const Color kKey = Color::white();
const Color kFunctionKey = Color::rgba(0.67f, 0.70f, 0.74f);
const Color kActionKey = Color::rgba(0.0f, 0.48f, 1.0f);
const Color kKeyShadow = Color::rgba(0.53f, 0.54f, 0.56f);
// The form bar: lighter than the tray, its keys' titles in the tint or greyed.
const Color kFormBar = Color::rgba(0.97f, 0.97f, 0.97f);
const Color kFormBarGreyed = Color::rgba(0.70f, 0.70f, 0.72f);
constexpr double kFormBarKeyWidth = 64;
constexpr double kFormBarFontSize = 16;

void addRow(std::vector<KeyboardKey>& keys, const char* characters, double left, double top,
            double unit, double height) {
    double x = left;
    for (const char* c = characters; *c; ++c) {
        keys.push_back(
            {KeyboardKey::Kind::Character, std::string(1, *c), {{x, top}, {unit, height}}});
        x += unit;
    }
}

bool isActionReturn(ReturnKeyType type) {
    return type != ReturnKeyType::Default && type != ReturnKeyType::Next &&
           type != ReturnKeyType::EmergencyCall;
}

}  // namespace

std::string returnKeyTitle(ReturnKeyType type) {
    switch (type) {
        case ReturnKeyType::Go:
            return "前往";
        case ReturnKeyType::Join:
            return "加入";
        case ReturnKeyType::Next:
            return "下一项";
        case ReturnKeyType::Route:
            return "路线";
        case ReturnKeyType::Search:
            return "搜索";
        case ReturnKeyType::Send:
            return "发送";
        case ReturnKeyType::Done:
            return "完成";
        case ReturnKeyType::EmergencyCall:
            return "紧急呼叫";
        case ReturnKeyType::Default:
            break;
    }
    return "换行";
}

namespace {

bool isPad(KeyboardType type) {
    return type == KeyboardType::PhonePad || type == KeyboardType::NumberPad ||
           type == KeyboardType::DecimalPad;
}

// Digits three across, as a telephone's: 1-9 in rows, then the pad's own key, 0 and delete.
std::vector<KeyboardKey> layoutPad(const Rect& area, KeyboardType type) {
    std::vector<KeyboardKey> keys;
    const double width = area.size.width - 2 * kSideMargin;
    const double unit = width / kPadColumns;
    const double row = (area.size.height - kTopMargin) / kPadRows;
    const double left = area.minX() + kSideMargin;
    auto top = [&](int index) { return area.minY() + kTopMargin + row * index; };
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < kPadColumns; ++c) {
            keys.push_back({KeyboardKey::Kind::Character,
                            std::to_string(r * kPadColumns + c + 1),
                            {{left + c * unit, top(r)}, {unit, row}}});
        }
    }
    const char* extra = type == KeyboardType::PhonePad     ? "+"
                        : type == KeyboardType::DecimalPad ? "."
                                                           : "";
    if (*extra) {
        keys.push_back({KeyboardKey::Kind::Character, extra, {{left, top(3)}, {unit, row}}});
    }
    keys.push_back({KeyboardKey::Kind::Character, "0", {{left + unit, top(3)}, {unit, row}}});
    keys.push_back({KeyboardKey::Kind::Delete, "⌫", {{left + 2 * unit, top(3)}, {unit, row}}});
    return keys;
}

}  // namespace

std::vector<KeyboardKey> layoutKeyboardKeys(const Rect& area, ReturnKeyType returnKey,
                                            KeyboardType type) {
    std::vector<KeyboardKey> keys;
    const double width = area.size.width - 2 * kSideMargin;
    if (width <= 0 || area.size.height <= kTopMargin) {
        return keys;
    }
    if (isPad(type)) {
        return layoutPad(area, type);
    }
    const bool numbers = type == KeyboardType::NumbersAndPunctuation;
    const int rows = numbers ? kNumberRows : kRows;
    const double unit = width / kKeysAcross;
    const double row = (area.size.height - kTopMargin) / rows;
    const double left = area.minX() + kSideMargin;
    auto top = [&](int index) { return area.minY() + kTopMargin + row * index; };
    const auto returnKeyAt = [&](double x) {
        keys.push_back({KeyboardKey::Kind::Return,
                        returnKeyTitle(returnKey),
                        {{x, top(rows - 1)}, {left + 10 * unit - x, row}}});
    };

    addRow(keys, kDigits, left, top(0), unit, row);
    if (numbers) {
        addRow(keys, kPunctuation, left, top(1), unit, row);
        addRow(keys, kMorePunctuation, left + 1.5 * unit, top(2), 1.4 * unit, row);
        keys.push_back(
            {KeyboardKey::Kind::Delete, "⌫", {{left + 8.5 * unit, top(2)}, {1.5 * unit, row}}});
        keys.push_back({KeyboardKey::Kind::Space, "空格", {{left, top(3)}, {7.5 * unit, row}}});
        returnKeyAt(left + 7.5 * unit);
        return keys;
    }
    const bool email = type == KeyboardType::EmailAddress;
    addRow(keys, kTopLetters, left, top(1), unit, row);
    // The middle row is one key shorter, centred as on the phone.
    addRow(keys, kMiddleLetters, left + unit / 2, top(2), unit, row);
    addRow(keys, email ? kEmailBottomLetters : kBottomLetters, left, top(3), unit, row);
    keys.push_back({KeyboardKey::Kind::Delete, "⌫", {{left + 8 * unit, top(3)}, {2 * unit, row}}});
    keys.push_back({KeyboardKey::Kind::Character, "@", {{left, top(4)}, {1.5 * unit, row}}});
    if (email) {
        // An address's "@" and "." at hand on either side of the space bar.
        keys.push_back(
            {KeyboardKey::Kind::Space, "空格", {{left + 1.5 * unit, top(4)}, {4.5 * unit, row}}});
        keys.push_back(
            {KeyboardKey::Kind::Character, ".", {{left + 6 * unit, top(4)}, {1.5 * unit, row}}});
    } else {
        keys.push_back(
            {KeyboardKey::Kind::Space, "空格", {{left + 1.5 * unit, top(4)}, {6 * unit, row}}});
    }
    returnKeyAt(left + 7.5 * unit);
    return keys;
}

std::vector<KeyboardKey> layoutFormBarKeys(const Rect& bar, bool canGoBack, bool canGoOn) {
    const double left = bar.minX() + kSideMargin;
    const double width = std::min(kFormBarKeyWidth, (bar.size.width - 2 * kSideMargin) / 3);
    const Size size{width, bar.size.height};
    std::vector<KeyboardKey> keys;
    keys.push_back({KeyboardKey::Kind::Previous, "上一项", {{left, bar.minY()}, size}, canGoBack});
    keys.push_back(
        {KeyboardKey::Kind::Next, "下一项", {{left + width, bar.minY()}, size}, canGoOn});
    keys.push_back({KeyboardKey::Kind::Done,
                    "完成",
                    {{bar.maxX() - kSideMargin - width, bar.minY()}, size},
                    true});
    return keys;
}

std::string keyboardDescription(KeyboardType type) {
    if (isPad(type)) {
        return "keyboard (digits)";
    }
    if (type == KeyboardType::NumbersAndPunctuation) {
        return "keyboard (numbers)";
    }
    return type == KeyboardType::EmailAddress ? "keyboard (email)" : "keyboard";
}

const KeyboardKey* keyboardKeyAt(const std::vector<KeyboardKey>& keys, Point point) {
    for (const auto& key : keys) {
        if (key.frame.contains(point)) {
            return &key;
        }
    }
    return nullptr;
}

void drawKeyboard(BitmapContext& context, const Rect& area, const std::vector<KeyboardKey>& keys,
                  ReturnKeyType returnKey) {
    context.fillRect(area, kTray);
    context.fillRect(Rect{area.origin, {area.size.width, 0.5}}, kKeyShadow);
    if (keys.empty()) {
        return;
    }
    const double keyHeight = keys.front().frame.size.height - kGapDown;
    // Titles shrink with the keys (the phone held sideways has flatter keys).
    const double characterSize = std::clamp(keyHeight * 0.55, 10.0, 20.0);
    const Font characterFont = Font::systemFont(characterSize);
    const Font functionFont = Font::systemFont(std::min(characterSize, 15.0));
    for (const auto& key : keys) {
        const Rect cell = key.frame;
        const Rect face{{cell.minX() + kGapAcross / 2, cell.minY()},
                        {cell.size.width - kGapAcross, keyHeight}};
        Color fill = kKey;
        Color ink = Color::black();
        const Font* font = &characterFont;
        if (key.kind == KeyboardKey::Kind::Delete) {
            fill = kFunctionKey;
        } else if (key.kind == KeyboardKey::Kind::Return) {
            fill = isActionReturn(returnKey) ? kActionKey : kFunctionKey;
            ink = isActionReturn(returnKey) ? Color::white() : Color::black();
            font = &functionFont;
        } else if (key.kind == KeyboardKey::Kind::Space) {
            font = &functionFont;
        }
        // The phone's keys stand a little off the tray: a darker edge below each.
        context.fillRoundedRect(Rect{{face.minX(), face.minY() + 1}, face.size}, kKeyRadius,
                                kKeyShadow);
        context.fillRoundedRect(face, kKeyRadius, fill);
        const double lineHeight = TextMeasurer::current().lineHeight(*font);
        const Rect titleRect{{face.minX(), face.minY() + (face.size.height - lineHeight) / 2},
                             {face.size.width, lineHeight}};
        context.drawText(key.title, *font, ink, titleRect, TextAlignment::Center, 1);
    }
}

void drawFormBar(BitmapContext& context, const Rect& bar, const std::vector<KeyboardKey>& keys) {
    context.fillRect(bar, kFormBar);
    context.fillRect(Rect{bar.origin, {bar.size.width, 0.5}}, kKeyShadow);
    const Font font = Font::systemFont(kFormBarFontSize);
    const double lineHeight = TextMeasurer::current().lineHeight(font);
    for (const auto& key : keys) {
        const Rect& cell = key.frame;
        const Rect titleRect{{cell.minX(), cell.minY() + (cell.size.height - lineHeight) / 2},
                             {cell.size.width, lineHeight}};
        context.drawText(
            key.title,
            key.kind == KeyboardKey::Kind::Done ? Font::boldSystemFont(kFormBarFontSize) : font,
            key.enabled ? kActionKey : kFormBarGreyed, titleRect, TextAlignment::Center, 1);
    }
}

}  // namespace platform
