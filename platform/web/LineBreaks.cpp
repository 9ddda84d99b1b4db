#include "platform/web/LineBreaks.h"

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/utext.h>

#include <algorithm>
#include <memory>

namespace platform::linebreaks {

namespace {

enum class Kind { Line, Character };

// The iterator of the kind with the text set, for as long as it lives; none when ICU has
// none to give (every offset then counts as a break).
class Breaks {
public:
    Breaks(Kind kind, std::string_view text) {
        icu::BreakIterator* shared = iterator(kind);
        UErrorCode status = U_ZERO_ERROR;
        m_text =
            shared ? utext_openUTF8(nullptr, text.data(), int64_t(text.size()), &status) : nullptr;
        if (m_text && U_SUCCESS(status)) {
            shared->setText(m_text, status);
        }
        if (m_text && U_SUCCESS(status)) {
            m_iterator = shared;
        }
    }
    ~Breaks() {
        if (m_iterator) {
            // The iterator keeps the text; it must not outlive it.
            m_iterator->setText(icu::UnicodeString());
        }
        utext_close(m_text);
    }
    Breaks(const Breaks&) = delete;
    Breaks& operator=(const Breaks&) = delete;

    icu::BreakIterator* operator->() const { return m_iterator; }
    explicit operator bool() const { return m_iterator != nullptr; }

private:
    static icu::BreakIterator* iterator(Kind kind) {
        // One of each kind for the thread, made once; Chinese rules for lines.
        thread_local std::unique_ptr<icu::BreakIterator> line;
        thread_local std::unique_ptr<icu::BreakIterator> character;
        auto& made = kind == Kind::Line ? line : character;
        if (!made) {
            UErrorCode status = U_ZERO_ERROR;
            made.reset(
                kind == Kind::Line
                    ? icu::BreakIterator::createLineInstance(icu::Locale("zh"), status)
                    : icu::BreakIterator::createCharacterInstance(icu::Locale("zh"), status));
            if (U_FAILURE(status)) {
                made.reset();
            }
        }
        return made.get();
    }

    icu::BreakIterator* m_iterator = nullptr;
    UText* m_text = nullptr;
};

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

}  // namespace

bool mayBreakBetween(std::string_view before, std::string_view after) {
    if (before.empty() || after.empty()) {
        return true;
    }
    // The rules look at the parts on either side that hold together, and no further.
    const std::string_view tail = before.substr(lastBreak(before));
    const std::string_view head = after.substr(0, firstBreak(after));
    std::string joined;
    joined.reserve(tail.size() + head.size());
    joined.append(tail).append(head);
    Breaks breaks(Kind::Line, joined);
    return !breaks || breaks->isBoundary(int32_t(tail.size()));
}

std::size_t lastBreak(std::string_view text) {
    Breaks breaks(Kind::Line, text);
    if (!breaks) {
        return 0;
    }
    const int32_t at = breaks->preceding(int32_t(text.size()));
    return at == icu::BreakIterator::DONE ? 0 : std::size_t(at);
}

std::size_t firstBreak(std::string_view text) {
    Breaks breaks(Kind::Line, text);
    if (!breaks) {
        return text.size();
    }
    const int32_t at = breaks->following(0);
    return at == icu::BreakIterator::DONE ? text.size() : std::size_t(at);
}

namespace {

// Whether the text has no stretch of more than kLongWordClusters bytes between places where a
// line surely may break: then it has no word that long, and ICU need not read it. Surely:
// between two Chinese characters, and after spaces that stand between letters, digits or
// Chinese characters (no rule keeps those together). Anything else may hold a word together,
// and counts toward the stretch.
bool surelyNoLongWords(std::string_view text) {
    enum Kind { Other, Chinese, Alphanumeric };
    std::size_t stretch = 0;
    Kind before = Other;  // the character before the current one, or before its spaces
    bool spaced = false;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        length = std::min(length, text.size() - i);
        Kind kind = Other;
        if (lead < 0x80) {
            if (lead == ' ') {
                spaced = true;
                stretch += 1;
                i += 1;
                if (stretch > kLongWordClusters) {
                    return false;
                }
                continue;
            }
            if ((lead >= '0' && lead <= '9') || ((lead | 0x20) >= 'a' && (lead | 0x20) <= 'z')) {
                kind = Alphanumeric;
            }
        } else if (length == 3) {
            const char32_t point = char32_t(lead & 0x0F) << 12 |
                                   char32_t(static_cast<unsigned char>(text[i + 1]) & 0x3F) << 6 |
                                   char32_t(static_cast<unsigned char>(text[i + 2]) & 0x3F);
            if ((point >= 0x4E00 && point <= 0x9FFF) || (point >= 0x3400 && point <= 0x4DBF)) {
                kind = Chinese;
            }
        }
        const bool breaks =
            spaced ? before != Other && kind != Other : before == Chinese && kind == Chinese;
        stretch = breaks ? length : stretch + length;
        if (stretch > kLongWordClusters) {
            return false;
        }
        before = kind;
        spaced = false;
        i += length;
    }
    return true;
}

}  // namespace

std::vector<std::pair<std::size_t, std::size_t>> longWords(std::string_view text) {
    std::vector<std::pair<std::size_t, std::size_t>> words;
    if (surelyNoLongWords(text)) {
        return words;
    }
    std::vector<std::pair<std::size_t, std::size_t>> candidates;
    {
        Breaks lines(Kind::Line, text);
        if (!lines) {
            return words;
        }
        int32_t start = lines->first();
        for (int32_t end = lines->next(); end != icu::BreakIterator::DONE;
             start = end, end = lines->next()) {
            std::size_t last = std::size_t(end);
            while (last > std::size_t(start) && isSpace(text[last - 1])) {
                --last;
            }
            // Fewer bytes than clusters allowed cannot be too many clusters.
            if (last - std::size_t(start) > kLongWordClusters) {
                candidates.emplace_back(std::size_t(start), last);
            }
        }
    }
    for (const auto& [start, end] : candidates) {
        if (clusterBounds(text.substr(start, end - start)).size() + 1 > kLongWordClusters) {
            words.emplace_back(start, end);
        }
    }
    return words;
}

std::vector<std::size_t> clusterBounds(std::string_view word) {
    std::vector<std::size_t> bounds;
    Breaks characters(Kind::Character, word);
    if (!characters) {
        return bounds;
    }
    characters->first();
    for (int32_t at = characters->next(); at != icu::BreakIterator::DONE; at = characters->next()) {
        if (std::size_t(at) < word.size()) {
            bounds.push_back(std::size_t(at));
        }
    }
    return bounds;
}

}  // namespace platform::linebreaks
