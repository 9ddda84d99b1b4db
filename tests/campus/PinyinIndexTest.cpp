#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "campus/ChineseString.h"
#include "campus/PinyinInitial.h"

namespace {

using Names = std::vector<std::string>;

std::string keyOf(const std::string& name) {
    return ChineseString::sortKey(ChineseString::cleanedName(name));
}

TEST(PinyinInitialTable, EveryUnitOutsideTheRangeIsHash) {
    for (char16_t unit : {char16_t(0x9FA6), char16_t(0x4DFF), char16_t('7'), char16_t('A'),
                          char16_t(0xD840), char16_t(0xDC00), char16_t(0xFFFF)})
        EXPECT_EQ(pinyinInitialOfCharacter(unit), '#') << std::hex << int(unit);
}

TEST(ChineseStringKeys, ChineseNamesGetOneCapitalPerCharacterAndLatinNamesAreCapitalised) {
    EXPECT_EQ(keyOf("张三"), "ZS");
    EXPECT_EQ(keyOf("李四"), "LS");
    EXPECT_EQ(keyOf("王五"), "WW");
    EXPECT_EQ(keyOf("Tom"), "Tom");
    EXPECT_EQ(keyOf("tom"), "Tom");
    EXPECT_EQ(keyOf("JOHN"), "John");
    EXPECT_EQ(keyOf("\xE4\xB8\x80"), "Y");  // U+4E00, the first of the range
    EXPECT_EQ(keyOf("\xE9\xBE\xA5"), "Y");  // U+9FA5, the last
    EXPECT_EQ(keyOf("\xE9\xBE\xA6"), "#");  // U+9FA6
}

TEST(ChineseStringKeys, DigitsMixedNamesAndSurrogatePairsGiveHashes) {
    EXPECT_EQ(keyOf("301"), "###");
    EXPECT_EQ(keyOf("Tom张"), "###Z") << "a Latin name beside Chinese characters";
    // U+20000, beyond the BMP: one "#" for each half of its surrogate pair.
    EXPECT_EQ(keyOf("\xF0\xA0\x80\x80"), "##");
    EXPECT_EQ(keyOf("\xF0\xA0\x80\x80宝"), "##B");
}

TEST(ChineseStringCleaning, TrimsAndRemovesTheSpecialCharacters) {
    EXPECT_EQ(ChineseString::cleanedName("张 三"), "张三");
    EXPECT_EQ(ChineseString::cleanedName("(王五)"), "王五");
    EXPECT_EQ(ChineseString::cleanedName("\t\xE3\x80\x80 李四 \n"), "李四");  // U+3000 too
    EXPECT_EQ(ChineseString::cleanedName("【值班】赵六"), "值班赵六");
    EXPECT_EQ(ChineseString::RemoveSpecialCharacter(
                  ",.？、 ~￥#&<>《》()[]{}【】^@/￡¤|§¨「」『』￠￢￣~@#"
                  "&*（）——+|《》$_€"),
              "");
    EXPECT_EQ(ChineseString::RemoveSpecialCharacter("a-b!c"), "a-b!c") << "others are kept";
}

TEST(ChineseStringSections, ThreeNamesGiveThreeSectionsInLetterOrder) {
    const Names names = {"张三", "李四", "王五"};
    EXPECT_EQ(ChineseString::IndexArray(names), (Names{"L", "W", "Z"}));
    EXPECT_EQ(ChineseString::LetterSortArray(names),
              (std::vector<Names>{{"李四"}, {"王五"}, {"张三"}}));
    EXPECT_EQ(ChineseString::SortArray(names), (Names{"李四", "王五", "张三"}));
}

TEST(ChineseStringSections, HashHeadsTheListAndHoldsDigitsMixedAndEmptyNames) {
    const Names names = {"张 三", "301", "Tom", "tom", "Tom张", "", " ()  ", "(王五)", "JOHN"};
    const auto sections = ChineseString::sectionsOf(names);
    ASSERT_EQ(sections.initials, (Names{"#", "J", "T", "W", "Z"}));
    std::vector<std::string> hash;
    for (const auto& entry : sections.entries[0]) hash.push_back(entry.string);
    // Empty keys sort before "#"; equal keys keep the order of the input.
    EXPECT_EQ(hash, (Names{"", "", "301", "Tom张"}));
    ASSERT_EQ(sections.entries[2].size(), 2u);
    EXPECT_EQ(sections.entries[2][0].source, 2u) << "Tom before tom, as given";
    EXPECT_EQ(sections.entries[2][1].source, 3u);
    EXPECT_EQ(sections.entries[3][0].string, "王五");
    EXPECT_EQ(sections.entries[4][0].string, "张三");
}

TEST(ChineseStringSections, SectionsMatchTheIndexForAnyMixOfNames) {
    const Names names = {
        "欧阳明", "陈志强",           "Anna", "anna", "9527", "一丁",      "七七", "李四",
        "李",     "\xF0\xA0\x80\x80", "zoe",  "Zoe",  "",     "Mary-Jane", "丁一", "Tom张"};
    const auto sections = ChineseString::sectionsOf(names);
    ASSERT_EQ(sections.initials.size(), sections.entries.size());
    EXPECT_EQ(ChineseString::IndexArray(names), sections.initials);
    EXPECT_TRUE(std::is_sorted(sections.initials.begin(), sections.initials.end()));
    EXPECT_EQ(std::set<std::string>(sections.initials.begin(), sections.initials.end()).size(),
              sections.initials.size());
    std::size_t total = 0;
    std::set<std::size_t> sources;
    for (std::size_t s = 0; s < sections.entries.size(); ++s) {
        ASSERT_FALSE(sections.entries[s].empty());
        for (const auto& entry : sections.entries[s]) {
            EXPECT_EQ(std::string(1, entry.initial()), sections.initials[s]) << entry.string;
            EXPECT_EQ(entry.string, ChineseString::cleanedName(names[entry.source]));
            sources.insert(entry.source);
            ++total;
        }
    }
    EXPECT_EQ(total, names.size());
    EXPECT_EQ(sources.size(), names.size()) << "every name once, each keeping its source";
}

}  // namespace
