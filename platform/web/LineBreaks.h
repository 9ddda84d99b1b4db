#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Where a line of a page's text may break, by ICU's line-break rules (UAX #14 with the
// Chinese tailoring): never after an opening bracket or quote, never before a closing one or
// before "。", "，", "、" and their kind. The layout engine breaks lines between any two runs
// of text it is given, so the page's writer asks here where runs that meet at an element's
// edge must be kept together. Offsets are UTF-8 bytes. Main thread only.
namespace linebreaks {

// Whether a line may break where `before` ends and `after` starts.
bool mayBreakBetween(std::string_view before, std::string_view after);
// Where the text's last part that holds together starts: its last break opportunity before
// its end (0 when there is none).
std::size_t lastBreak(std::string_view text);
// Where the text's first part that holds together ends: its first break opportunity after
// its start (the text's size when there is none).
std::size_t firstBreak(std::string_view text);

// A word too long for a line is cut between characters, as overflow-wrap does: its
// grapheme clusters, each whole (never inside a UTF-8 sequence). Words of up to
// kLongWordClusters clusters are not cut.
constexpr std::size_t kLongWordClusters = 16;
// The offsets where the text's words longer than kLongWordClusters start and end, in pairs.
std::vector<std::pair<std::size_t, std::size_t>> longWords(std::string_view text);
// The offsets between the word's grapheme clusters.
std::vector<std::size_t> clusterBounds(std::string_view word);

}  // namespace linebreaks

}  // namespace platform
