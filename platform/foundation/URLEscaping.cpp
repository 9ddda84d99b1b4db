#include "platform/foundation/URLEscaping.h"

#include <unicode/utf8.h>

#include <cstdint>
#include <vector>

#include "platform/foundation/AsciiText.h"

namespace platform {

namespace {

bool isAlphanumeric(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool keptInWholeURL(unsigned char c) {
    return isAlphanumeric(c) ||
           std::string_view("-_.!~*'();/?:@&=+$,").find(static_cast<char>(c)) !=
               std::string_view::npos;
}

bool keptInQueryComponent(unsigned char c) {
    return keptInWholeURL(c) && c != '&' && c != '=' && c != '+';
}

bool keptInEncodedString(unsigned char c) {
    return isAlphanumeric(c) || c == '-' || c == '_' || c == '.' || c == '~';
}

template <typename Keep>
std::string escape(std::string_view text, Keep keep) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        auto c = static_cast<unsigned char>(ch);
        if (keep(c)) {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0f];
        }
    }
    return out;
}

bool isEscapeAt(std::string_view text, size_t i) {
    return i + 2 < text.size() && text[i] == '%' && hexDigitValue(text[i + 1]) >= 0 &&
           hexDigitValue(text[i + 2]) >= 0;
}

// The byte of the escape at i, which isEscapeAt has accepted.
std::uint8_t escapedByte(std::string_view text, size_t i) {
    return static_cast<std::uint8_t>(hexDigitValue(text[i + 1]) * 16 + hexDigitValue(text[i + 2]));
}

bool isUTF8(std::string_view text) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    int32_t offset = 0;
    while (offset < length) {
        UChar32 c = 0;
        U8_NEXT(bytes, offset, length, c);
        if (c < 0)
            return false;
    }
    return true;
}

}  // namespace

std::string escapeWholeURL(std::string_view text) {
    return escape(text, keptInWholeURL);
}

std::string escapeQueryComponent(std::string_view text) {
    return escape(text, keptInQueryComponent);
}

std::string urlEncodedString(std::string_view text) {
    return escape(text, keptInEncodedString);
}

std::string urlDecodedString(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        if (!isEscapeAt(text, i)) {
            out += text[i++];
            continue;
        }
        // Decode a run of escapes, then keep only the bytes that form whole UTF-8 characters;
        // the escapes of any other bytes stay as written.
        size_t runStart = i;
        std::vector<std::uint8_t> bytes;
        while (isEscapeAt(text, i)) {
            bytes.push_back(escapedByte(text, i));
            i += 3;
        }
        int32_t offset = 0;
        auto length = static_cast<int32_t>(bytes.size());
        while (offset < length) {
            int32_t start = offset;
            UChar32 c = 0;
            U8_NEXT(bytes.data(), offset, length, c);
            if (c >= 0) {
                out.append(reinterpret_cast<const char*>(bytes.data()) + start,
                           static_cast<size_t>(offset - start));
            } else {
                out.append(text.substr(runStart + static_cast<size_t>(start) * 3,
                                       static_cast<size_t>(offset - start) * 3));
            }
        }
    }
    return out;
}

std::optional<std::string> removingPercentEncoding(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (!isEscapeAt(text, i))
            return std::nullopt;
        out += static_cast<char>(escapedByte(text, i));
        i += 2;
    }
    if (!isUTF8(out))
        return std::nullopt;
    return out;
}

bool hasURLScheme(std::string_view text) {
    if (text.empty() || !isAsciiLetter(text.front()))
        return false;
    for (char c : text.substr(1)) {
        if (c == ':')
            return true;
        if (!isAlphanumeric(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.')
            return false;
    }
    return false;
}

}  // namespace platform
