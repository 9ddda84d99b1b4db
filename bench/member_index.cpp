// The staff directory's member lists at the size of a large school: 10,000 members with
// Chinese and Latin names (and some digits and brackets).
//
//   build/bench/member_index
//
// BM_BuildSections: the indexed list's work on a members reply: the names read from the
// member objects, cleaned, keyed by pinyin initial, sorted and grouped into sections (target:
// under 20 ms). BM_SearchReply: the search screen's work on the reply of a search over
// them, the members of one surname ("王", about one in sixteen): the result members and
// their names read for the rows (target: under 2 ms). BM_SearchReplyOfEveryone: the same for a
// reply that holds all 10,000, the worst case, which grows with the number of results.
// Decoding the reply's JSON happens before either and is not counted.

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "campus/ChineseString.h"
#include "campus/DirectoryScreenParts.h"
#include "platform/foundation/Json.h"

namespace {

constexpr int kMembers = 10000;

platform::Json makeMembers() {
    const std::vector<std::string> surnames = {"王", "李", "张", "刘", "陈", "杨", "黄", "赵",
                                               "吴", "周", "徐", "孙", "马", "朱", "胡", "欧阳"};
    const std::vector<std::string> given = {"伟", "芳", "娜", "敏", "静", "丽", "强", "磊",
                                            "军", "洋", "勇", "艳", "杰", "涛", "明", "超"};
    const std::vector<std::string> latin = {"Tom",   "anna", "JOHN",  "Mary Jane",
                                            "peter", "Lucy", "David", "emma"};
    std::mt19937 random(20240401);
    auto pick = [&](const std::vector<std::string>& from) { return from[random() % from.size()]; };
    platform::Json members = platform::Json::array();
    for (int i = 0; i < kMembers; ++i) {
        std::string name;
        switch (i % 10) {
            case 0:
                name = pick(latin);
                break;
            case 1:
                name = std::to_string(100 + i % 900);
                break;
            case 2:
                name = "(" + pick(surnames) + pick(given) + ")";
                break;
            default:
                name = pick(surnames) + pick(given) + (i % 3 ? pick(given) : "");
        }
        members.push_back({{"rybh", std::to_string(30000000 + i)},
                           {"xm", name},
                           {"zzmc", "信息工程学院"},
                           {"xzzw", "教师"},
                           {"cmcc", "13800000000"},
                           {"officePhone", "0571-86291011"},
                           {"jgdm", "1005"}});
    }
    return members;
}

const platform::Json& everyone() {
    static const platform::Json members = makeMembers();
    return members;
}

// What the service answers for a search: the members whose name holds the text.
platform::Json searchReply(const std::string& text) {
    platform::Json found = platform::Json::array();
    for (const auto& member : everyone()) {
        if (member.at("xm").get<std::string>().find(text) != std::string::npos)
            found.push_back(member);
    }
    return {{"membersInfo", found}};
}

void readResults(benchmark::State& state, const platform::Json& reply) {
    for (auto _ : state) {
        auto members = directory::membersOf(reply, "membersInfo");
        std::vector<std::string> names;
        names.reserve(members.size());
        for (const auto& member : members) names.push_back(directory::memberName(member));
        benchmark::DoNotOptimize(names);
    }
    state.counters["results"] = double(reply.at("membersInfo").size());
}

void BM_BuildSections(benchmark::State& state) {
    const auto& members = everyone();
    for (auto _ : state) {
        std::vector<std::string> names;
        names.reserve(members.size());
        for (const auto& member : members) names.push_back(directory::memberName(member));
        auto sections = ChineseString::sectionsOf(names);
        benchmark::DoNotOptimize(sections);
    }
}
BENCHMARK(BM_BuildSections)->Unit(benchmark::kMillisecond);

void BM_SearchReply(benchmark::State& state) {
    readResults(state, searchReply("王"));
}
BENCHMARK(BM_SearchReply)->Unit(benchmark::kMillisecond);

void BM_SearchReplyOfEveryone(benchmark::State& state) {
    readResults(state, {{"membersInfo", everyone()}});
}
BENCHMARK(BM_SearchReplyOfEveryone)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
