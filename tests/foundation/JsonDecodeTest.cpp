// Decoding replies and stored documents: what the decoder keeps (member order, the value of a
// repeated key, number kinds, text) and what it refuses, for small objects, for objects large
// enough to be indexed and for objects whose names were chosen to collide in an index.
#include <gtest/gtest.h>
#include <malloc.h>
// Header-only, so that the test computes the hash the way an outsider would.
#define XXH_INLINE_ALL
#include <xxhash.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/foundation/JsonKeyHash.h"
#include "platform/foundation/JsonParse.h"

using namespace platform;

namespace {

std::vector<std::string> keysOf(const Json& object) {
    std::vector<std::string> keys;
    for (const auto& [key, value] : object.items()) keys.push_back(key);
    return keys;
}

// An object of `count` members "k<count-1>" down to "k0", each holding its number.
std::string descendingMembers(int count) {
    std::string text = "{";
    for (int i = count - 1; i >= 0; --i)
        text += "\"k" + std::to_string(i) + "\":" + std::to_string(i) + (i ? "," : "");
    return text + "}";
}

TEST(JsonDecode, KeepsTheMembersInTheOrderTheyCameAndFindsEachByKey) {
    auto small = parseJson(R"({"b":1,"a":{"z":true,"y":null},"c":[3,2,1]})");
    ASSERT_TRUE(small);
    EXPECT_EQ(keysOf(*small), (std::vector<std::string>{"b", "a", "c"}));
    EXPECT_EQ(small->dump(), R"({"b":1,"a":{"z":true,"y":null},"c":[3,2,1]})");

    for (int count : {7, 8, 9, 5000}) {
        auto large = parseJson(descendingMembers(count));
        ASSERT_TRUE(large) << count;
        ASSERT_EQ(large->size(), std::size_t(count));
        EXPECT_EQ(large->begin().key(), "k" + std::to_string(count - 1));
        for (int i = 0; i < count; ++i) {
            const std::string key = "k" + std::to_string(i);
            ASSERT_TRUE(large->contains(key)) << key;
            EXPECT_EQ(large->at(key), i);
        }
        EXPECT_FALSE(large->contains("k" + std::to_string(count)));
        EXPECT_EQ(large->find("absent"), large->end());
        EXPECT_EQ(large->dump(), descendingMembers(count));
    }
}

TEST(JsonDecode, ALargeObjectStaysFindableWhenChangedOrCopied) {
    auto decoded = parseJson(descendingMembers(1000));
    ASSERT_TRUE(decoded);
    Json& object = *decoded;
    EXPECT_EQ(object.erase("k500"), 1u);
    EXPECT_EQ(object.erase("k500"), 0u);
    object.erase(object.find("k999"));
    object["added"] = "new";
    object["k10"] = "changed";
    Json copy = object;
    for (const Json* each : {&object, &copy}) {
        EXPECT_EQ(each->size(), 999u);
        EXPECT_FALSE(each->contains("k500"));
        EXPECT_FALSE(each->contains("k999"));
        EXPECT_EQ(each->at("k499"), 499);
        EXPECT_EQ(each->at("k501"), 501);
        EXPECT_EQ(each->at("k10"), "changed");
        // A new member goes last; a changed one keeps its place.
        EXPECT_EQ((--each->end()).key(), "added");
        EXPECT_EQ(each->begin().key(), "k998");
    }
    object.clear();
    EXPECT_TRUE(object.empty());
    object["again"] = 1;
    EXPECT_EQ(object.at("again"), 1);
    EXPECT_EQ(copy.size(), 999u);
}

// A key given twice keeps its first place and takes its last value, whichever parser reads
// the document (an integer "-0" sends it to the exact one).
TEST(JsonDecode, ARepeatedKeyKeepsItsFirstPlaceAndItsLastValue) {
    for (const std::string& tail : {std::string(), std::string(",\"z\":-0")}) {
        auto small = parseJson(R"({"a":1,"b":2,"a":3)" + tail + "}");
        ASSERT_TRUE(small) << tail;
        EXPECT_EQ(small->at("a"), 3);
        EXPECT_EQ(keysOf(*small)[0], "a");
        EXPECT_EQ(keysOf(*small)[1], "b");

        std::string text = descendingMembers(20);
        text.pop_back();
        auto large = parseJson(text + R"(,"k3":"last","k19":[])" + tail + "}");
        ASSERT_TRUE(large) << tail;
        EXPECT_EQ(large->size(), tail.empty() ? 20u : 21u);
        EXPECT_EQ(large->at("k3"), "last");
        EXPECT_EQ(large->at("k19"), Json::array());
        EXPECT_EQ(large->begin().key(), "k19");
    }
}

// Names whose standard library hash (unseeded, the same in every process) falls in the first
// 1/64 of the slots an index of `members` members would have: what a sender aiming at such an
// index would send (the first `count` of them).
std::vector<std::string> namesAimedAtOneCorner(std::size_t count, std::size_t members) {
    std::size_t slots = 16;
    while (slots < members * 2) slots *= 2;
    std::vector<std::string> names;
    for (std::uint64_t n = 0; names.size() < count; ++n) {
        std::string name = "m" + std::to_string(n);
        if ((std::hash<std::string_view>{}(name) & (slots - 1)) < slots / 64)
            names.push_back(std::move(name));
    }
    return names;
}

TEST(JsonDecode, NamesChosenToCollideKeepTheirOrderTheirLastValueAndAreFound) {
    const auto names = namesAimedAtOneCorner(4096, 4096);
    std::string text = "{";
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i ? ",\"" : "\"") + names[i] + "\":" + std::to_string(i);
    // Repeated at the end: first place, last value.
    text += ",\"" + names[7] + "\":\"again\"}";
    auto decoded = parseJson(text);
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->size(), names.size());
    EXPECT_EQ(keysOf(*decoded), names);
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i == 7) {
            EXPECT_EQ(decoded->at(names[i]), "again");
        } else {
            EXPECT_EQ(decoded->at(names[i]), i) << names[i];
        }
    }
    // Aimed at the same corner but never sent: not found.
    const auto more = namesAimedAtOneCorner(4100, 4096);
    for (std::size_t i = names.size(); i < more.size(); ++i)
        EXPECT_FALSE(decoded->contains(more[i])) << more[i];
}

// A text given up to the decoder (a reply's body) reads exactly as the same text lent to it,
// whichever parser reads it, and is let go of either way.
TEST(JsonDecode, ATextGivenUpReadsAsTheSameTextLentAndIsLetGo) {
    for (const std::string& text :
         {descendingMembers(50), std::string(R"({"a":1,"b":2,"a":"again","z":-0})"),
          std::string("\xEF\xBB\xBF[1,2]"), std::string(R"({"n":18446744073709551616})"),
          std::string(R"(["\ud83d\ude00"])")}) {
        std::string given = text;
        std::string error;
        auto taken = parseJsonText(std::move(given), &error);
        ASSERT_TRUE(taken) << text << " " << error;
        EXPECT_EQ(taken->dump(), parseJson(text)->dump()) << text;
        EXPECT_TRUE(given.empty()) << text;
    }
    for (const std::string& refused : {std::string("{\"a\":1,}"), std::string("[-]")}) {
        std::string given = refused;
        std::string error;
        EXPECT_FALSE(parseJsonText(std::move(given), &error)) << refused;
        EXPECT_EQ(error, "not JSON");
        EXPECT_TRUE(given.empty());
    }
    std::string deep(kMaxNestingDepth + 1, '[');
    std::string error;
    EXPECT_FALSE(parseJsonText(std::move(deep), &error));
    EXPECT_EQ(error, "nested too deeply");
    EXPECT_TRUE(deep.empty());
}

TEST(JsonDecode, NumbersKeepTheirKind) {
    auto numbers =
        parseJson("[0, 7, -7, 1.5, -0.0, 1e2, 1e-400, 18446744073709551615, -9223372036854775808]");
    ASSERT_TRUE(numbers);
    const Json& n = *numbers;
    // Integers that are not negative are unsigned, negative ones signed.
    EXPECT_TRUE(n[0].is_number_unsigned());
    EXPECT_TRUE(n[1].is_number_unsigned());
    EXPECT_EQ(n[1], 7u);
    EXPECT_TRUE(n[2].is_number_integer() && !n[2].is_number_unsigned());
    EXPECT_EQ(n[2], -7);
    EXPECT_TRUE(n[3].is_number_float());
    EXPECT_EQ(n[3], 1.5);
    EXPECT_EQ(n[4].dump(), "-0.0");
    EXPECT_TRUE(n[5].is_number_float());
    EXPECT_EQ(n[5], 100.0);
    EXPECT_EQ(n[6], 0.0);
    EXPECT_TRUE(n[7].is_number_unsigned());
    EXPECT_EQ(n[7].get<std::uint64_t>(), 18446744073709551615u);
    EXPECT_EQ(n[8].get<std::int64_t>(), INT64_MIN);

    // An integer "-0" is a signed 0, wherever it stands.
    for (const char* zero : {"-0", "[-0]", "{\"a\":-0}"}) {
        auto parsed = parseJson(zero);
        ASSERT_TRUE(parsed) << zero;
        const Json& value = parsed->is_structured() ? *parsed->begin() : *parsed;
        EXPECT_TRUE(value.is_number_integer() && !value.is_number_unsigned()) << zero;
        EXPECT_EQ(value, 0) << zero;
    }
    // Past 64 bits an integer becomes the nearest double.
    auto wide = parseJson(
        "{\"u\":18446744073709551616,\"i\":-9223372036854775809,"
        "\"x\":123456789012345678901234567890}");
    ASSERT_TRUE(wide);
    EXPECT_TRUE(wide->at("u").is_number_float());
    EXPECT_EQ(wide->at("u"), 18446744073709551616.0);
    EXPECT_TRUE(wide->at("i").is_number_float());
    EXPECT_EQ(wide->at("x"), 1.2345678901234568e29);

    for (const char* refused : {"1e400", "[-1e400]", "01", "1.", ".5", "-", "[1,]", "+1"})
        EXPECT_FALSE(parseJson(refused)) << refused;
}

TEST(JsonDecode, TextEscapesAndEncodingAreReadAsBefore) {
    auto text = parseJson(R"(["\u00e9\u6821", "\ud83d\ude00", "a\u0000b", "\/\"\\\b\f\n\r\t"])");
    ASSERT_TRUE(text);
    EXPECT_EQ((*text)[0], "é校");
    EXPECT_EQ((*text)[1], "😀");
    EXPECT_EQ((*text)[2].get<std::string>(), std::string("a\0b", 3));
    EXPECT_EQ((*text)[3], "/\"\\\b\f\n\r\t");
    EXPECT_EQ(*parseJson("\"校园\""), "校园");
    // A byte order mark before the document is skipped.
    EXPECT_EQ(*parseJson("\xEF\xBB\xBF{\"a\":1}"), Json({{"a", 1}}));

    std::string error;
    for (const std::string& refused :
         {std::string(R"("\ud800")"), std::string(R"("\ud800\u0041")"), std::string(R"("\udc00")"),
          std::string(R"("\x")"), std::string("\"\xff\""), std::string("\"\xc3\x28\""),
          std::string("{\"\xed\xa0\x80\":1}"), std::string("\"tab\tinside\""),
          std::string("\"line\nbreak\""), std::string(""), std::string("   "),
          std::string("{} trailing"), std::string("true false"), std::string("nul"),
          std::string("{\"a\":1,}")}) {
        error.clear();
        EXPECT_FALSE(parseJson(refused, &error)) << refused;
        EXPECT_EQ(error, "not JSON") << refused;
    }
}

TEST(JsonDecode, NullIsKeptApartFromAMissingMember) {
    auto object = parseJson(R"({"present":null,"text":"null","list":[null]})");
    ASSERT_TRUE(object);
    ASSERT_TRUE(object->contains("present"));
    EXPECT_TRUE(object->at("present").is_null());
    EXPECT_FALSE(object->contains("absent"));
    EXPECT_TRUE(object->at("text").is_string());
    EXPECT_TRUE(object->at("list")[0].is_null());
    EXPECT_TRUE(parseJson("null")->is_null());
}

TEST(JsonDecode, NestingIsBoundedForObjectsAsForLists) {
    auto nested = [](int depth) {
        std::string text;
        for (int i = 0; i < depth; ++i) text += "{\"a\":";
        text += "1";
        for (int i = 0; i < depth; ++i) text += "}";
        return text;
    };
    EXPECT_TRUE(parseJson(nested(kMaxNestingDepth)));
    std::string error;
    EXPECT_FALSE(parseJson(nested(kMaxNestingDepth + 1), &error));
    EXPECT_EQ(error, "nested too deeply");
    // A bomb a million levels deep, inside a valid-looking member, is refused before any of it
    // is built.
    std::string bomb = "{\"ok\":1,\"deep\":" + std::string(1000000, '[');
    EXPECT_FALSE(parseJson(bomb, &error));
    EXPECT_EQ(error, "nested too deeply");
}

// A list of `count` empty objects.
std::string emptyObjects(std::size_t count) {
    std::string text = "[";
    text.reserve(count * 3 + 2);
    for (std::size_t i = 0; i < count; ++i) text += i ? ",{}" : "{}";
    return text + "]";
}

TEST(JsonBudget, ValuesAreCountedBeforeAnythingIsBuilt) {
    std::string error;
    // The list and its 1000 objects.
    EXPECT_TRUE(parseJson(emptyObjects(1000), &error, {.maxValues = 1001}));
    EXPECT_FALSE(parseJson(emptyObjects(1000), &error, {.maxValues = 1000}));
    EXPECT_EQ(error, "larger than a decoded document may be");
    // Members, list entries and the values inside each count once; names do not.
    const std::string mixed = R"({"a":1,"b":[true,null,"x"],"c":{"d":-0},"e":"\u00e9"})";
    EXPECT_TRUE(parseJson(mixed, &error, {.maxValues = 9}));
    EXPECT_FALSE(parseJson(mixed, &error, {.maxValues = 8}));
    // Commas and brackets inside strings are text, not values.
    EXPECT_TRUE(parseJson(R"(["[,{,],}","{{{{"])", &error, {.maxValues = 3}));
}

TEST(JsonBudget, AnInflatedReplyIsRefusedAndItsTextLetGoWhileTheLargestListsStillDecode) {
    // 60 MB of "{}", as 58 KB of gzip would bring them: a tree of gigabytes.
    std::string inflated = "{\"News\":" + emptyObjects(20u << 20) + "}";
    std::string error;
    EXPECT_FALSE(parseJsonText(std::move(inflated), &error));
    EXPECT_EQ(error, "larger than a decoded document may be");
    EXPECT_TRUE(inflated.empty());
    EXPECT_EQ(inflated.capacity(), std::string().capacity());

    // The longest news list the client shows: 300,000 items.
    std::string news = "{\"News\":[";
    for (int i = 0; i < 300000; ++i) {
        const std::string n = std::to_string(i);
        news += (i ? "," : "") + std::string("{\"id\":") + n + ",\"imgUrl\":\"/n/" + n +
                ".jpg\",\"xwbt\":\"校闻" + n + "\",\"fbsj\":\"2026-11-30\",\"xwnr\":\"\"}";
    }
    news += "]}";
    const auto decoded = parseJsonText(std::move(news), &error);
    ASSERT_TRUE(decoded) << error;
    EXPECT_EQ(decoded->at("News").size(), 300000u);
}

// The least byte budget that lets the text through.
std::size_t leastByteBudget(const std::string& text) {
    std::size_t low = 0;
    std::size_t high = std::size_t{1} << 30;
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (parseJson(text, nullptr, {.maxBytes = middle}))
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

// A list of a thousand objects of `members` members each.
std::string objectsOf(int members) {
    std::string text = "[";
    for (int i = 0; i < 1000; ++i) {
        text += i ? ",{" : "{";
        for (int m = 0; m < members; ++m)
            text += (m ? ",\"m" : "\"m") + std::to_string(m) + "\":" + std::to_string(m);
        text += "}";
    }
    return text + "]";
}

TEST(JsonBudget, AnObjectsMemberIndexIsCountedFromItsEighthMember) {
    // Each member costs the same until the eighth, which brings the object an index of at
    // least sixteen 8-byte slots.
    const std::size_t sixth = leastByteBudget(objectsOf(6)) - leastByteBudget(objectsOf(5));
    const std::size_t seventh = leastByteBudget(objectsOf(7)) - leastByteBudget(objectsOf(6));
    const std::size_t eighth = leastByteBudget(objectsOf(8)) - leastByteBudget(objectsOf(7));
    EXPECT_EQ(seventh, sixth);
    EXPECT_GE(eighth, seventh + 1000 * 16 * 8);
}

#if !defined(__SANITIZE_ADDRESS__)
// The heap bytes a decode leaves held, as the allocator counts them: the tree it returns.
std::size_t heapHeldByTree(const std::string& text, std::optional<Json>& tree) {
    const std::size_t before = mallinfo2().uordblks;
    tree = parseJson(text);
    const std::size_t after = mallinfo2().uordblks;
    return after > before ? after - before : 0;
}

TEST(JsonBudget, TheByteBudgetBoundsWhatTheTreeReallyHolds) {
    // Long and short strings and names, indexed and small objects, nested lists and numbers.
    std::string text = "{\"items\":[";
    for (int i = 0; i < 2000; ++i) {
        const std::string n = std::to_string(i);
        text += (i ? "," : "") + std::string("{\"id\":") + n +
                ",\"title\":\"a headline long enough to leave its string object " + n +
                "\",\"tags\":[\"x\",\"y\",[" + n + ",2.5]],\"empty\":{},\"flag\":true";
        if (i % 10 == 0)
            for (int k = 0; k < 12; ++k)
                text += ",\"a member name past fifteen bytes " + std::to_string(k) + "\":null";
        text += "}";
    }
    text += "]}";
    std::optional<Json> tree;
    heapHeldByTree(text, tree);  // the first decode sets up what any decode shares
    tree.reset();
    const std::size_t held = heapHeldByTree(text, tree);
    ASSERT_TRUE(tree);
    ASSERT_GT(held, 0u);
    // The least byte budget that lets the document through.
    std::size_t low = 0;
    std::size_t high = std::size_t{1} << 30;
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (parseJson(text, nullptr, {.maxBytes = middle}))
            high = middle;
        else
            low = middle + 1;
    }
    EXPECT_GE(low, held) << "the budget lets through a tree larger than itself";
    EXPECT_LE(low, held * 2) << "the budget refuses documents far smaller than itself";
}
#endif

// The index under hashes that go wrong on purpose, which no document meets: names that all
// land in one slot until the index changes its salt, and a hash that ignores names and salt
// alike. Whatever the hash does, every member is found and the order stays.
struct AimedUntilResalted {
    static inline int resalted = 0;
    static std::uint64_t hash(std::string_view key, std::uint64_t salt) noexcept {
        return salt == 0 ? 0 : (std::hash<std::string_view>{}(key) ^ salt) * 0x9e3779b97f4a7c15u;
    }
    static std::uint64_t freshSalt() noexcept { return std::uint64_t(++resalted); }
};

struct IgnoresEverything {
    static inline int resalted = 0;
    static std::uint64_t hash(std::string_view, std::uint64_t) noexcept { return 42; }
    static std::uint64_t freshSalt() noexcept { return std::uint64_t(++resalted); }
};

template <class Hasher>
using IndexUnder = JsonMembers<std::string, int, std::less<std::string>,
                               std::allocator<std::pair<const std::string, int>>, Hasher>;

template <class Hasher>
void expectEveryMemberFoundInOrder(std::size_t count) {
    IndexUnder<Hasher> members;
    for (std::size_t i = 0; i < count; ++i)
        EXPECT_TRUE(members.emplace("n" + std::to_string(i), int(i)).second);
    // A repeated name keeps its member as it was.
    EXPECT_FALSE(members.emplace("n3", -1).second);
    ASSERT_EQ(members.size(), count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::string name = "n" + std::to_string(i);
        EXPECT_EQ((members.begin() + std::ptrdiff_t(i))->first, name);
        ASSERT_EQ(members.count(name), 1u) << name;
        EXPECT_EQ(members.at(name), int(i)) << name;
    }
    EXPECT_EQ(members.find("absent"), members.end());
    EXPECT_EQ(members.erase("n0"), 1u);
    EXPECT_EQ(members.count("n0"), 0u);
    EXPECT_EQ(members.at("n" + std::to_string(count - 1)), int(count - 1));
    EXPECT_EQ(members.begin()->first, "n1");
    const IndexUnder<Hasher> copy = members;
    EXPECT_EQ(copy.at("n2"), 2);
}

// The documents' own hash, watched: how often an index had to choose another salt.
struct WatchedKeyHasher {
    static inline int resalted = 0;
    static std::uint64_t hash(std::string_view key, std::uint64_t salt) noexcept {
        return JsonKeyHasher::hash(key, salt);
    }
    static std::uint64_t freshSalt() noexcept {
        ++resalted;
        return JsonKeyHasher::freshSalt();
    }
};

// A sender who knows the hash (XXH3) can aim names at one corner of an index under any seed
// it can guess, first of all the one an unseeded build uses. The process's seed is drawn at
// random, so names aimed under a known seed are scattered like any others: the index files
// every one without once having to choose another salt.
TEST(JsonMembersIndex, NamesAimedAtTheHashUnderAKnownSeedAreScatteredByTheProcessSeed) {
    constexpr std::size_t kCount = 4096;
    constexpr std::uint64_t kSlots = 8192;  // what an index of kCount members has
    std::vector<std::string> names;
    for (std::uint64_t n = 0; names.size() < kCount; ++n) {
        std::string name = "m" + std::to_string(n);
        if ((XXH3_64bits_withSeed(name.data(), name.size(), 0) & (kSlots - 1)) < kSlots / 64)
            names.push_back(std::move(name));
    }
    WatchedKeyHasher::resalted = 0;
    IndexUnder<WatchedKeyHasher> members;
    for (std::size_t i = 0; i < names.size(); ++i) members.emplace(names[i], int(i));
    EXPECT_EQ(WatchedKeyHasher::resalted, 0);
    ASSERT_EQ(members.size(), kCount);
    for (std::size_t i = 0; i < names.size(); i += 97) EXPECT_EQ(members.at(names[i]), int(i));
}

TEST(JsonMembersIndex, NamesCrowdingOneSlotMakeTheIndexChooseAnotherSalt) {
    AimedUntilResalted::resalted = 0;
    expectEveryMemberFoundInOrder<AimedUntilResalted>(1000);
    EXPECT_GE(AimedUntilResalted::resalted, 1);
}

TEST(JsonMembersIndex, AHashThatCannotBeEscapedStillFindsEveryMember) {
    IgnoresEverything::resalted = 0;
    expectEveryMemberFoundInOrder<IgnoresEverything>(300);
    // It gives up on rebuilding after a bounded number of tries instead of growing for ever.
    EXPECT_LE(IgnoresEverything::resalted, 20);
}

}  // namespace
