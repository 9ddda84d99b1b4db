#include "platform/graphics/TextCut.h"

#include <pango/pango.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace platform {

namespace {

constexpr double kNarrowestAdvanceEm = 0.25;
constexpr double kShortestLineEm = 1.0;
constexpr double kUnbounded = kShownScreens * kLongestScreenSide;
constexpr const char* kEllipsis = "\xE2\x80\xA6";
// How far past the bound a composed character may reach before it is cut inside, and how much
// of what precedes the cut is read to find where one begins.
constexpr int kLongestCluster = 32;
constexpr int kClusterContext = 8;

double extent(double given) {
    return std::isfinite(given) && given > 0 ? std::min(given, kUnbounded) : kUnbounded;
}

// A UTF-8 character's length, a stray byte taken alone.
std::size_t nextCharacter(std::string_view text, std::size_t at) {
    std::size_t next = at + 1;
    for (int i = 0;
         i < 3 && next < text.size() && (static_cast<unsigned char>(text[next]) & 0xC0) == 0x80;
         ++i) {
        ++next;
    }
    return next;
}

std::size_t previousCharacter(std::string_view text, std::size_t at) {
    std::size_t previous = at - 1;
    for (int i = 0;
         i < 3 && previous > 0 && (static_cast<unsigned char>(text[previous]) & 0xC0) == 0x80;
         ++i) {
        --previous;
    }
    return previous;
}

// Whether the character at `at` ends a line: "\n", "\r" not before "\n", U+2028, U+2029.
bool breaksLine(std::string_view text, std::size_t at) {
    const char c = text[at];
    if (c == '\n') {
        return true;
    }
    if (c == '\r') {
        return at + 1 >= text.size() || text[at + 1] != '\n';
    }
    return text.substr(at, 3) == "\xE2\x80\xA8" || text.substr(at, 3) == "\xE2\x80\xA9";
}

// The first boundary between composed characters at or after `at` (a character boundary),
// when one comes within kLongestCluster characters; else `at`.
std::size_t clusterEnd(std::string_view text, std::size_t at) {
    std::size_t start = at;
    for (int i = 0; i < kClusterContext && start > 0; ++i) {
        start = previousCharacter(text, start);
    }
    std::size_t end = at;
    for (int i = 0; i < kLongestCluster && end < text.size(); ++i) {
        end = nextCharacter(text, end);
    }
    const std::string_view window = text.substr(start, end - start);
    if (!g_utf8_validate(window.data(), static_cast<gssize>(window.size()), nullptr)) {
        return at;
    }
    const auto characters =
        static_cast<int>(g_utf8_strlen(window.data(), static_cast<gssize>(window.size())));
    std::vector<PangoLogAttr> attrs(static_cast<std::size_t>(characters) + 1);
    pango_get_log_attrs(window.data(), static_cast<int>(window.size()), -1,
                        pango_language_get_default(), attrs.data(), characters + 1);
    std::size_t offset = start;
    for (int i = 0; i <= characters; ++i) {
        // The window's own end is a boundary only when it is the text's.
        const bool last = i == characters;
        if (offset >= at && attrs[static_cast<std::size_t>(i)].is_cursor_position &&
            (!last || end == text.size())) {
            return offset;
        }
        if (!last) {
            offset = nextCharacter(text, offset);
        }
    }
    return at;
}

}  // namespace

TextCutBound textCutBound(const Font& font, TextBox box) {
    const double em = std::isfinite(font.pointSize) && font.pointSize > 0 ? font.pointSize : 1;
    const double advance = em * kNarrowestAdvanceEm;
    const double line = em * kShortestLineEm;
    const double perScreen = (std::floor(kLongestScreenSide / advance) + 1) *
                             (std::floor(kLongestScreenSide / line) + 1);
    const double most = kShownScreens * perScreen;
    // A line that is never broken may be scrolled along (an edited field): any of it may show.
    const bool wraps = std::isfinite(box.width) && box.width > 0;
    const double perLine = wraps ? std::floor(extent(box.width) / advance) + 1 : most;
    double lines = std::floor(extent(box.height) / line) + 1;
    if (box.maxLines > 0) {
        lines = std::min(lines, static_cast<double>(box.maxLines));
    }
    const double characters = std::min(perLine * lines, most);
    // Tiny fonts would otherwise count past what any text holds.
    constexpr double kMost = 1e12;
    return TextCutBound{static_cast<std::size_t>(std::min(characters, kMost)),
                        static_cast<std::size_t>(std::min(lines, kMost))};
}

std::string cutToBox(std::string_view text, const Font& font, TextBox box) {
    const TextCutBound bound = textCutBound(font, box);
    // No more bytes than the bound's characters and lines: nothing to count.
    if (text.size() <= bound.characters && text.size() < bound.lines) {
        return std::string(text);
    }
    std::size_t at = 0;
    std::size_t characters = 0;
    std::size_t lines = 1;
    while (at < text.size()) {
        if (characters == bound.characters) {
            return std::string(text.substr(0, clusterEnd(text, at))) + kEllipsis;
        }
        if (breaksLine(text, at)) {
            if (lines == bound.lines) {
                return std::string(text.substr(0, at)) + kEllipsis;
            }
            ++lines;
        }
        at = nextCharacter(text, at);
        ++characters;
    }
    return std::string(text);
}

}  // namespace platform
