#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// One entry of a sort of names by pinyin initials: the cleaned name and its sort key. The
// key of a Latin-only name is the name capitalised ("Tom"); of any other name it is one
// capital initial per UTF-16 code unit, "#" for anything outside U+4E00..U+9FA5 ("ZS" for
// 张三, "#Z" for "1张"); of an empty name it is "".
//
// The key is compared by character code, so "#" comes before "A" to "Z", which come before
// "a" to "z"; entries with equal keys keep the order of the input.
class ChineseString {
public:
    std::string string;
    std::string pinYin;
    // The name's position in the list it was sorted from, so that an entry can find what the
    // name came with (a member).
    std::size_t source = 0;

    // The section an entry is filed under: the first character of its key. A name that is
    // empty after cleaning has no letter and goes under "#" with the other names that have
    // none, rather than under a section without a title.
    char initial() const { return pinYin.empty() ? '#' : pinYin.front(); }

    // The text without any of the special characters (punctuation, brackets, currency signs,
    // spaces) that names may carry.
    static std::string RemoveSpecialCharacter(std::string_view text);
    // Trims white space and line breaks, then removes the special characters.
    static std::string cleanedName(std::string_view name);
    // The sort key of a cleaned name.
    static std::string sortKey(std::string_view cleaned);

    // The entries of the names, sorted by key.
    static std::vector<ChineseString> ReturnSortChineseArrar(const std::vector<std::string>& names);
    // The initials of the sorted entries, each once, in order ("#" first when present).
    static std::vector<std::string> IndexArray(const std::vector<std::string>& names);
    // The cleaned names of each initial's section, aligned with IndexArray.
    static std::vector<std::vector<std::string>> LetterSortArray(
        const std::vector<std::string>& names);
    // The cleaned names in sorted order, each logged as "SortArray----->%@".
    static std::vector<std::string> SortArray(const std::vector<std::string>& names);

    // The initials and their sections of entries in one pass over one sort: what a list
    // indexed by initial shows.
    struct Sections {
        std::vector<std::string> initials;
        std::vector<std::vector<ChineseString>> entries;
    };
    static Sections sectionsOf(const std::vector<std::string>& names);
};
