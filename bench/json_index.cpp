// Decoding an object whose member names were chosen to collide in the member index. The names
// are crafted against the standard library's unseeded string hash, which the index once used:
// every name's hash lands in the lowest 1/64 of the slots of the table an object of that many
// members gets (twice as many slots as members, a power of two), so an index probing from
// those slots visits the whole cluster on every insert and decoding grows with the square of
// the count. Beside them, the same count of ordinary names.
//
//   build/bench/json_index
//
// Target: 262,144 crafted names decode in under 100 ms, as ordinary names do.

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdio>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/JsonParse.h"

namespace {

// The slots of the index for an object of `members` members.
std::size_t slotsFor(std::size_t members) {
    std::size_t slots = 16;
    while (slots < members * 2) slots *= 2;
    return slots;
}

std::string nameOf(std::uint64_t number) {
    char text[24];
    std::snprintf(text, sizeof text, "m%llx", static_cast<unsigned long long>(number));
    return text;
}

// Names whose standard hash falls in the first 1/64 of the slots.
std::vector<std::string> craftedNames(std::size_t count) {
    const std::size_t mask = slotsFor(count) - 1;
    const std::size_t cluster = (mask + 1) / 64;
    std::vector<std::string> names;
    names.reserve(count);
    for (std::uint64_t number = 0; names.size() < count; ++number) {
        std::string name = nameOf(number);
        if ((std::hash<std::string_view>{}(name)&mask) < cluster)
            names.push_back(std::move(name));
    }
    return names;
}

std::vector<std::string> ordinaryNames(std::size_t count) {
    std::mt19937_64 random(20240611);
    std::vector<std::string> names;
    names.reserve(count);
    // Random numbers, so that the names look like the crafted ones but hash anywhere.
    while (names.size() < count) names.push_back(nameOf(random()));
    return names;
}

std::string objectText(const std::vector<std::string>& names) {
    std::string text = "{";
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i)
            text += ',';
        text += '"' + names[i] + "\":" + std::to_string(i % 100);
    }
    return text + '}';
}

// Made once per size and kind: crafting the names takes a few seconds for the largest.
const std::string& textFor(std::size_t count, bool crafted) {
    static std::map<std::pair<std::size_t, bool>, std::string> made;
    auto& text = made[{count, crafted}];
    if (text.empty())
        text = objectText(crafted ? craftedNames(count) : ordinaryNames(count));
    return text;
}

void decode(benchmark::State& state, bool crafted) {
    const auto count = static_cast<std::size_t>(state.range(0));
    const std::string& text = textFor(count, crafted);
    std::size_t members = 0;
    for (auto _ : state) {
        auto decoded = platform::parseJson(text);
        members = decoded ? decoded->size() : 0;
        benchmark::DoNotOptimize(decoded);
    }
    if (members != count)
        state.SkipWithError("the object did not keep every member");
}

void BM_DecodeCraftedNames(benchmark::State& state) {
    decode(state, true);
}
BENCHMARK(BM_DecodeCraftedNames)
    ->Arg(131072)
    ->Arg(262144)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_DecodeOrdinaryNames(benchmark::State& state) {
    decode(state, false);
}
BENCHMARK(BM_DecodeOrdinaryNames)
    ->Arg(131072)
    ->Arg(262144)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Every member looked up by name once the crafted object is decoded.
void BM_LookUpEveryCraftedName(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    const auto decoded = platform::parseJson(textFor(count, true));
    const auto names = craftedNames(count);
    std::size_t found = 0;
    for (auto _ : state) {
        found = 0;
        for (const auto& name : names) found += decoded->contains(name) ? 1 : 0;
    }
    if (found != count)
        state.SkipWithError("a member was not found");
}
BENCHMARK(BM_LookUpEveryCraftedName)->Arg(262144)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
