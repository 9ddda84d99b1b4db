#pragma once

#include <string_view>

namespace platform {

// Whether `text` contains `part` when case is ignored the Unicode way (ICU case folding), as
// a case-insensitive rangeOfString: does on the phone. An empty part is found nowhere.
bool containsIgnoringCase(std::string_view text, std::string_view part);

}  // namespace platform
