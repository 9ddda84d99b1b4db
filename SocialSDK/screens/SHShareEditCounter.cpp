#include "SocialSDK/screens/SHShareEditCounter.h"

#include <unicode/regex.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>

#include <memory>
#include <mutex>
#include <vector>

namespace {

constexpr const char* kLinkPattern =
    "((http[s]{0,1}|ftp)://[a-zA-Z0-9\\.\\-]+\\.([a-zA-Z]{2,4})(:\\d+)?(/"
    "[a-zA-Z0-9\\,\\.\\-~!@#$%^&*+?:_/=<>]*)?)|(www.[a-zA-Z0-9\\.\\-]+\\.([a-zA-Z]{2,4})(:\\d+)"
    "?(/[a-zA-Z0-9\\,\\.\\-~!@#$%^&*+?:_/=<>]*)?)";

// The compiled pattern, shared; each use takes its own matcher.
const icu::RegexPattern* linkPattern(bool caseInsensitive) {
    static std::once_flag once;
    static std::unique_ptr<icu::RegexPattern> plain, folded;
    std::call_once(once, [] {
        UErrorCode status = U_ZERO_ERROR;
        UParseError parse{};
        auto pattern = icu::UnicodeString::fromUTF8(kLinkPattern);
        plain.reset(icu::RegexPattern::compile(pattern, 0, parse, status));
        if (U_FAILURE(status))
            plain.reset();
        status = U_ZERO_ERROR;
        folded.reset(icu::RegexPattern::compile(pattern, UREGEX_CASE_INSENSITIVE, parse, status));
        if (U_FAILURE(status))
            folded.reset();
    });
    return caseInsensitive ? folded.get() : plain.get();
}

std::vector<std::string_view> splitAtSpaces(std::string_view text) {
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    while (true) {
        auto space = text.find(' ', start);
        pieces.push_back(
            text.substr(start, space == std::string_view::npos ? space : space - start));
        if (space == std::string_view::npos)
            break;
        start = space + 1;
    }
    return pieces;
}

int twitterLength(std::string_view text, bool showsPicture) {
    auto unicode = icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), int(text.size())));
    int length = unicode.length();
    if (const auto* pattern = linkPattern(true)) {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::RegexMatcher> matcher(pattern->matcher(unicode, status));
        if (U_SUCCESS(status)) {
            while (matcher->find(status) && U_SUCCESS(status)) {
                int start = matcher->start(status), end = matcher->end(status);
                if (U_FAILURE(status) || end <= start)
                    break;
                length += 23 - (end - start);
            }
        }
    }
    return length + (showsPicture ? 24 : 0);
}

}  // namespace

int SHShareEditCounter::halfLength(std::string_view text) {
    if (text.empty())
        return 0;
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open("GB18030", &status);
    if (U_FAILURE(status))
        return int((text.size() + 1) / 2);
    auto unicode = icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), int(text.size())));
    int32_t bytes = unicode.extract(nullptr, 0, converter, status);
    ucnv_close(converter);
    return int((bytes + 1) / 2);
}

bool SHShareEditCounter::isWholeLink(std::string_view piece) {
    const auto* pattern = linkPattern(false);
    if (!pattern || piece.empty())
        return false;
    auto unicode = icu::UnicodeString::fromUTF8(icu::StringPiece(piece.data(), int(piece.size())));
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::RegexMatcher> matcher(pattern->matcher(unicode, status));
    if (U_FAILURE(status))
        return false;
    bool whole = matcher->matches(status);
    return U_SUCCESS(status) && whole;
}

std::optional<int> SHShareEditCounter::charactersLeft(std::string_view text,
                                                      std::string_view platformName,
                                                      bool showsPicture) {
    if (platformName == "facebook")
        return std::nullopt;
    if (platformName == "twitter")
        return kLimit - twitterLength(text, showsPicture);
    // Links are recognised in the text as written: matching them after percent-encoding
    // would turn "://" into escapes and miss every http, https and ftp link.
    int length = halfLength(text);
    int perLink = platformName == "sina" ? 10 : 11;
    for (auto piece : splitAtSpaces(text)) {
        if (isWholeLink(piece))
            length += perLink - halfLength(piece);
    }
    return kLimit - length;
}

std::string SHShareEditCounter::counterText(std::string_view text, std::string_view platformName,
                                            bool showsPicture) {
    auto left = charactersLeft(text, platformName, showsPicture);
    return left ? std::to_string(*left) : std::string();
}
