#pragma once

#include <string>

namespace testsupport {

// How many times the part occurs in the text, overlapping ones included.
inline int countOf(const std::string& text, const std::string& part) {
    int count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

}  // namespace testsupport
