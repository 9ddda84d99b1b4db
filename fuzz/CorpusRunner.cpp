// Runs a fuzz target over its committed seed corpus and then over a fixed number of
// deterministic mutations of it: the same inputs on every run and every machine, so a CTest
// failure can be replayed. Works with any compiler; libFuzzer explores further where clang is
// available (see CMakeLists.txt).
//
//   corpus_runner <reply|plist> <corpus directory> <number of inputs> [--show N]
//
// --show N prints input N (seeds first, then mutations) instead of running anything.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzTargets.h"
#include "platform/foundation/Files.h"

namespace {

constexpr size_t kMaxInputSize = 2 << 20;

// Fragments that steer mutations toward what the readers must refuse or survive: structure,
// escapes, nesting and the property list's elements.
constexpr std::string_view kFragments[] = {
    "[",      "]",        "{",         "}",         "\"",        "\\",       ":",
    ",",      "null",     "true",      "-0",        "1e999",     "\\u0000",  "\\ud800",
    "\xff",   "\xc3",     "<array>",   "</array>",  "<dict>",    "</dict>",  "<key>",
    "</key>", "<string>", "</string>", "<integer>", "<real>",    "<data>",   "<date>",
    "&#0;",   "&#13;",    "<![CDATA[", "]]>",       "\"News\":", "\"res\":", "\"msg\":",
};

class Mutator {
public:
    explicit Mutator(std::uint32_t seed) : m_random(seed) {}

    std::string mutate(std::string input) {
        const int steps = 1 + static_cast<int>(below(4));
        for (int i = 0; i < steps; ++i) step(input);
        if (input.size() > kMaxInputSize)
            input.resize(kMaxInputSize);
        return input;
    }

private:
    // mt19937's raw output is fixed by the standard; distributions are not, so none is used.
    std::uint32_t below(std::uint32_t bound) { return bound == 0 ? 0 : m_random() % bound; }
    size_t position(const std::string& s) {
        return below(static_cast<std::uint32_t>(s.size() + 1));
    }

    void step(std::string& s) {
        switch (below(8)) {
            case 0:  // flip a bit
                if (!s.empty())
                    s[position(s) % s.size()] ^= static_cast<char>(1u << below(8));
                break;
            case 1:  // a random byte
                s.insert(position(s), 1, static_cast<char>(below(256)));
                break;
            case 2:  // a fragment
                s.insert(position(s), kFragments[below(std::size(kFragments))]);
                break;
            case 3: {  // delete a range
                size_t at = position(s);
                s.erase(at,
                        below(static_cast<std::uint32_t>(std::min<size_t>(s.size() - at, 64) + 1)));
                break;
            }
            case 4:  // truncate
                s.resize(position(s));
                break;
            case 5: {  // copy a piece of the input elsewhere
                size_t from = position(s);
                size_t length =
                    below(static_cast<std::uint32_t>(std::min<size_t>(s.size() - from, 256) + 1));
                s.insert(position(s), s.substr(from, length));
                break;
            }
            case 6: {  // deep nesting, around the bound and far past it
                const std::uint32_t depths[] = {100, 511, 512, 513, 5000, 100000};
                nest(s, depths[below(std::size(depths))]);
                break;
            }
            default: {  // replace a byte by a structural one
                if (!s.empty())
                    s[position(s) % s.size()] = "[]{}\"\\:,<>/ "[below(12)];
                break;
            }
        }
    }

    // Wraps the document in depth lists, so a valid document stays valid: around the whole
    // text for JSON, around the root value inside <plist> for a property list.
    static void nest(std::string& s, std::uint32_t depth) {
        size_t open = 0;
        size_t close = s.size();
        std::string_view opening = "[", closing = "]";
        if (size_t plist = s.find("<plist"); plist != std::string::npos) {
            open = s.find('>', plist);
            close = s.rfind("</plist>");
            if (open == std::string::npos || close == std::string::npos || close <= open)
                return;
            ++open;
            opening = "<array>";
            closing = "</array>";
        }
        std::string before, after;
        for (std::uint32_t d = 0; d < depth; ++d) {
            before += opening;
            after += closing;
        }
        s.insert(close, after);
        s.insert(open, before);
    }

    std::mt19937 m_random;
};

std::vector<std::string> loadCorpus(const std::filesystem::path& directory) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::vector<std::string> seeds;
    for (const auto& file : files) {
        std::string why;
        auto contents = platform::readFile(file, &why);
        if (!contents) {
            std::fprintf(stderr, "cannot read seed %s: %s\n", file.c_str(), why.c_str());
            std::exit(2);
        }
        seeds.push_back(std::move(*contents));
    }
    return seeds;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 && !(argc == 6 && std::string_view(argv[4]) == "--show")) {
        std::fprintf(stderr, "usage: %s <reply|plist> <corpus directory> <inputs> [--show N]\n",
                     argv[0]);
        return 2;
    }
    const std::string_view name = argv[1];
    std::function<void(std::string_view)> target;
    if (name == "reply") {
        target = fuzz::replyToRecords;
    } else if (name == "plist") {
        target = fuzz::propertyList;
    } else {
        std::fprintf(stderr, "unknown target %s\n", argv[1]);
        return 2;
    }
    const auto seeds = loadCorpus(argv[2]);
    if (seeds.empty()) {
        std::fprintf(stderr, "no seeds in %s\n", argv[2]);
        return 2;
    }
    const long inputs = std::max<long>(std::strtol(argv[3], nullptr, 10), long(seeds.size()));
    const long show = argc == 6 ? std::strtol(argv[5], nullptr, 10) : -1;

    const auto started = std::chrono::steady_clock::now();
    Mutator mutator(0x5eed);
    for (long i = 0; i < inputs; ++i) {
        const bool isSeed = i < long(seeds.size());
        // Mutations are made whether shown or not, so input N is the same either way.
        std::string input =
            isSeed ? seeds[size_t(i)] : mutator.mutate(seeds[size_t(i) % seeds.size()]);
        if (show >= 0) {
            if (i == show) {
                std::fwrite(input.data(), 1, input.size(), stdout);
                return 0;
            }
            continue;
        }
        target(input);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("%s: %ld inputs (%zu seeds) in %.2f s, no failure\n", argv[1], inputs, seeds.size(),
                seconds);
    return 0;
}
