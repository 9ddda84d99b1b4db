#pragma once

#include "tests/support/ScreenStackTest.h"

namespace careertest {

inline constexpr const char* kListPath = "/edu/getEmploymentInfo";
inline constexpr const char* kDetailPath = "/edu/getEmploymentDetail";

using CareerScreenTest = screentest::ScreenStackTest;

}  // namespace careertest
