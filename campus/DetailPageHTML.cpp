#include "campus/DetailPageHTML.h"

#include <unicode/regex.h>
#include <unicode/utext.h>

#include <cstdio>
#include <memory>

#include "platform/foundation/URLEscaping.h"

namespace {

// An img tag up to its first ">". The tag stops at a "<" too, and the possessive run never
// gives characters back, so a tag that is never closed costs one scan to the next "<", not
// a scan per position: the search over the whole body stays linear.
constexpr const char16_t* kTagPattern = u"<img\\s[^<>]*+>";
// The src attribute inside one tag: the name on its own (after white space, so "data-src"
// does not count), optional spacing around "=", then a quoted value of at least one
// character. Group 1 or 2 is the value without its quotes.
constexpr const char16_t* kSrcPattern = u"(?<=\\s)src\\s*+=\\s*+(?:\"([^\"]++)\"|'([^']++)')";

constexpr const char* kHeadBeforeWidth =
    "<meta charset=\"utf-8\" />\n"
    "<meta content=\"width=device-width, initial-scale=1.0,minimum-scale=1.0,maximum-scale=1.0,"
    "user-scalable=no\" name=\"viewport\" />\n"
    "<style type=\"text/css\">\n"
    "table { border-collapse: collapse; border-spacing: 0; width: 100% !important;}\n"
    "td, th { word-wrap: break-word; word-break: break-all; padding: 5px 10px; border: 1px solid "
    "#DDD;}\n"
    "p img{ height: inherit; width: ";
constexpr const char* kHeadAfterWidth =
    "; display: table;}\n"
    "</style>";

// Compiled once; a pattern is immutable and may make matchers on any thread.
std::unique_ptr<icu::RegexPattern> compile(const char16_t* source) {
    UErrorCode status = U_ZERO_ERROR;
    UParseError where{};
    std::unique_ptr<icu::RegexPattern> pattern(
        icu::RegexPattern::compile(icu::UnicodeString(source), 0, where, status));
    return U_SUCCESS(status) ? std::move(pattern) : nullptr;
}

const icu::RegexPattern* tagPattern() {
    static const auto pattern = compile(kTagPattern);
    return pattern.get();
}

const icu::RegexPattern* srcPattern() {
    static const auto pattern = compile(kSrcPattern);
    return pattern.get();
}

// A UTF-8 text the matchers read in place: their indices are byte offsets into it.
struct Utf8Text {
    explicit Utf8Text(std::string_view text) {
        UErrorCode status = U_ZERO_ERROR;
        handle = utext_openUTF8(nullptr, text.data(), static_cast<int64_t>(text.size()), &status);
        if (U_FAILURE(status))
            handle = utext_close(handle);
    }
    ~Utf8Text() { utext_close(handle); }
    Utf8Text(const Utf8Text&) = delete;
    Utf8Text& operator=(const Utf8Text&) = delete;

    UText* handle = nullptr;
};

bool needsRoot(std::string_view address) {
    return !address.starts_with("//") && !platform::hasURLScheme(address);
}

// Where in the tag the root goes (the value's first byte), or npos when the tag stays as
// it is.
std::size_t insertionPoint(icu::RegexMatcher& attribute, std::string_view tag) {
    Utf8Text text(tag);
    if (!text.handle)
        return std::string_view::npos;
    UErrorCode status = U_ZERO_ERROR;
    attribute.reset(text.handle);
    if (!attribute.find(status) || U_FAILURE(status))
        return std::string_view::npos;
    for (int group = 1; group <= 2; ++group) {
        const int64_t start = attribute.start64(group, status);
        const int64_t end = attribute.end64(group, status);
        if (U_FAILURE(status) || start < 0)
            continue;
        const auto from = static_cast<std::size_t>(start);
        const auto to = static_cast<std::size_t>(end);
        return needsRoot(tag.substr(from, to - from)) ? from : std::string_view::npos;
    }
    return std::string_view::npos;
}

}  // namespace

std::string handleImgString(std::string_view body, std::string_view siteRoot) {
    const icu::RegexPattern* tags = tagPattern();
    const icu::RegexPattern* attributes = srcPattern();
    Utf8Text text(body);
    if (!tags || !attributes || !text.handle)
        return std::string(body);

    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::RegexMatcher> tagMatcher(tags->matcher(status));
    std::unique_ptr<icu::RegexMatcher> srcMatcher(attributes->matcher(status));
    if (U_FAILURE(status) || !tagMatcher || !srcMatcher)
        return std::string(body);
    tagMatcher->reset(text.handle);

    std::string out;
    out.reserve(body.size() + body.size() / 16);
    std::size_t copied = 0;
    while (tagMatcher->find(status) && U_SUCCESS(status)) {
        const auto start = static_cast<std::size_t>(tagMatcher->start64(status));
        const auto end = static_cast<std::size_t>(tagMatcher->end64(status));
        if (U_FAILURE(status))
            break;
        const std::string_view tag = body.substr(start, end - start);
        const std::size_t at = insertionPoint(*srcMatcher, tag);
        if (at == std::string_view::npos)
            continue;
        out.append(body, copied, start + at - copied);
        out.append(siteRoot);
        copied = start + at;
    }
    out.append(body, copied);
    return out;
}

std::string detailPageHead(double screenWidth) {
    char width[64];
    std::snprintf(width, sizeof width, "%f", screenWidth / 375 * 360);
    std::string head = kHeadBeforeWidth;
    head += width;
    head += kHeadAfterWidth;
    return head;
}

std::string detailPageDocument(double screenWidth, std::string_view body) {
    std::string document = detailPageHead(screenWidth);
    document += body;
    return document;
}
