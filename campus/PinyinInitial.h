#pragma once

#include <cstddef>

// The initials of the Mandarin readings of the CJK characters U+4E00 to U+9FA5: entry i is
// the lowercase letter with which the reading of U+4E00 + i begins, and a NUL ends the table.
// Generated once by tools/MakePinyinTable.cpp and committed (campus/PinyinInitialTable.cpp).
inline constexpr char16_t kPinyinInitialFirst = 0x4E00;
inline constexpr char16_t kPinyinInitialLast = 0x9FA5;
inline constexpr std::size_t kPinyinInitialTableSize = kPinyinInitialLast - kPinyinInitialFirst + 2;
extern const char kPinyinInitialTable[kPinyinInitialTableSize];

// The initial of one UTF-16 code unit: its table letter for U+4E00 to U+9FA5, "#" for any
// other unit (digits, Latin letters, punctuation, each half of a surrogate pair).
inline char pinyinInitialOfCharacter(char16_t unit) {
    if (unit < kPinyinInitialFirst || unit > kPinyinInitialLast)
        return '#';
    return kPinyinInitialTable[unit - kPinyinInitialFirst];
}
