#include "platform/foundation/TerminalText.h"

#include <unicode/utf8.h>

#include <cstdint>
#include <cstdio>

namespace platform {

namespace {

void appendEscape(std::string& out, const char* format, unsigned value) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, format, value);
    out += buffer;
}

}  // namespace

std::string terminalSafeText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = int32_t(text.size());
    int32_t i = 0;
    while (i < length) {
        int32_t start = i;
        UChar32 c = 0;
        U8_NEXT(bytes, i, length, c);
        if (c < 0) {
            out += "\uFFFD";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            appendEscape(out, "\\x%02x", unsigned(c));
        } else if ((c >= 0x80 && c <= 0x9F) || c == 0x2028 || c == 0x2029) {
            appendEscape(out, "\\u%04X", unsigned(c));
        } else {
            out.append(text.substr(size_t(start), size_t(i - start)));
        }
    }
    return out;
}

}  // namespace platform
