#pragma once

#include <string>
#include <string_view>

namespace platform {

// Text from anywhere (a server's news title, a page's title) made safe to print on a
// terminal line: it can neither drive the terminal nor break the line. Control characters
// show as escapes: "\n", "\r" and "\t" for the common ones, "\xHH" for the other C0 codes and
// DEL, "\uHHHH" for the C1 codes and the line and paragraph separators (U+2028, U+2029). Bytes
// that are not valid UTF-8 become U+FFFD. Everything else, a backslash included, is kept as it
// is, so ordinary text reads unchanged.
std::string terminalSafeText(std::string_view text);

}  // namespace platform
