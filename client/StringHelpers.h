#pragma once

#include <string>

// Percent-escapes every character not allowed in a URL and every reserved character
// (including the ideographic comma), for putting text inside a URL.
std::string URLEncodedString(const std::string& text);
// Replaces every percent escape, decoded as UTF-8.
std::string URLDecodedString(const std::string& text);
