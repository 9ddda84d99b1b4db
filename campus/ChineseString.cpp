#include "campus/ChineseString.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <array>

#include "campus/PinyinInitial.h"
#include "platform/foundation/AsciiText.h"
#include "platform/foundation/Log.h"

namespace {

// The special characters removed from names, each once.
constexpr std::array<char16_t, 44> kSpecialCharacters = {
    0x002C, 0x002E, 0xFF1F, 0x3001, 0x0020, 0x007E, 0xFFE5, 0x0023, 0x0026, 0x003C, 0x003E,
    0x300A, 0x300B, 0x0028, 0x0029, 0x005B, 0x005D, 0x007B, 0x007D, 0x3010, 0x3011, 0x005E,
    0x0040, 0x002F, 0xFFE1, 0x00A4, 0x007C, 0x00A7, 0x00A8, 0x300C, 0x300D, 0x300E, 0x300F,
    0xFFE0, 0xFFE2, 0xFFE3, 0x002A, 0xFF08, 0xFF09, 0x2014, 0x002B, 0x0024, 0x005F, 0x20AC,
};

bool isSpecial(UChar32 c) {
    return std::find(kSpecialCharacters.begin(), kSpecialCharacters.end(), c) !=
           kSpecialCharacters.end();
}

// White space and line breaks as names are trimmed of them: the separators of Unicode
// (spaces, line and paragraph separators), tab and the line-break controls.
bool isWhiteSpaceOrLineBreak(UChar32 c) {
    if ((c >= 0x09 && c <= 0x0D) || c == 0x85)
        return true;
    const auto type = u_charType(c);
    return type == U_SPACE_SEPARATOR || type == U_LINE_SEPARATOR || type == U_PARAGRAPH_SEPARATOR;
}

// Calls visit(c, start, end) for each code point of the UTF-8 text; broken sequences come
// as U+FFFD.
template <typename Visit>
void forEachCodePoint(std::string_view text, Visit visit) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    int32_t at = 0;
    while (at < length) {
        const int32_t start = at;
        UChar32 c;
        U8_NEXT(bytes, at, length, c);
        visit(c < 0 ? UChar32(0xFFFD) : c, start, at);
    }
}

char upper(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

}  // namespace

std::string ChineseString::RemoveSpecialCharacter(std::string_view text) {
    std::string kept;
    kept.reserve(text.size());
    forEachCodePoint(text, [&](UChar32 c, int32_t start, int32_t end) {
        if (!isSpecial(c))
            kept.append(text.substr(size_t(start), size_t(end - start)));
    });
    return kept;
}

std::string ChineseString::cleanedName(std::string_view name) {
    size_t first = name.size();
    size_t last = 0;
    forEachCodePoint(name, [&](UChar32 c, int32_t start, int32_t end) {
        if (isWhiteSpaceOrLineBreak(c))
            return;
        first = std::min(first, size_t(start));
        last = size_t(end);
    });
    if (first >= last)
        return {};
    return RemoveSpecialCharacter(name.substr(first, last - first));
}

std::string ChineseString::sortKey(std::string_view cleaned) {
    if (cleaned.empty())
        return {};
    if (std::all_of(cleaned.begin(), cleaned.end(), platform::isAsciiLetter)) {
        std::string key(cleaned);
        key[0] = upper(key[0]);
        std::transform(key.begin() + 1, key.end(), key.begin() + 1, lower);
        return key;
    }
    // One initial per UTF-16 code unit: a character beyond the BMP is two units, two "#".
    std::string key;
    key.reserve(cleaned.size());
    forEachCodePoint(cleaned, [&](UChar32 c, int32_t, int32_t) {
        if (U_IS_BMP(c)) {
            key += upper(pinyinInitialOfCharacter(char16_t(c)));
        } else {
            key += upper(pinyinInitialOfCharacter(U16_LEAD(c)));
            key += upper(pinyinInitialOfCharacter(U16_TRAIL(c)));
        }
    });
    return key;
}

std::vector<ChineseString> ChineseString::ReturnSortChineseArrar(
    const std::vector<std::string>& names) {
    std::vector<ChineseString> entries;
    entries.reserve(names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        ChineseString entry;
        entry.string = cleanedName(names[i]);
        entry.pinYin = sortKey(entry.string);
        entry.source = i;
        entries.push_back(std::move(entry));
    }
    std::stable_sort(
        entries.begin(), entries.end(),
        [](const ChineseString& a, const ChineseString& b) { return a.pinYin < b.pinYin; });
    return entries;
}

ChineseString::Sections ChineseString::sectionsOf(const std::vector<std::string>& names) {
    Sections sections;
    for (auto& entry : ReturnSortChineseArrar(names)) {
        const char initial = entry.initial();
        if (sections.initials.empty() || sections.initials.back().front() != initial) {
            sections.initials.emplace_back(1, initial);
            sections.entries.emplace_back();
        }
        sections.entries.back().push_back(std::move(entry));
    }
    return sections;
}

std::vector<std::string> ChineseString::IndexArray(const std::vector<std::string>& names) {
    return sectionsOf(names).initials;
}

std::vector<std::vector<std::string>> ChineseString::LetterSortArray(
    const std::vector<std::string>& names) {
    std::vector<std::vector<std::string>> sections;
    for (auto& entries : sectionsOf(names).entries) {
        auto& section = sections.emplace_back();
        section.reserve(entries.size());
        for (auto& entry : entries) section.push_back(std::move(entry.string));
    }
    return sections;
}

std::vector<std::string> ChineseString::SortArray(const std::vector<std::string>& names) {
    std::vector<std::string> sorted;
    sorted.reserve(names.size());
    for (auto& entry : ReturnSortChineseArrar(names)) {
        platform::log("SortArray----->%@", entry.string);
        sorted.push_back(std::move(entry.string));
    }
    return sorted;
}
