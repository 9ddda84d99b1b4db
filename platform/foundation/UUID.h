#pragma once

#include <string>

namespace platform {

// A random (version 4) UUID in the phone's text form: 36 characters, upper-case hex digits in
// groups of 8-4-4-4-12 joined by "-".
std::string makeUUIDString();

}  // namespace platform
