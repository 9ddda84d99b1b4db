#pragma once

#include "tests/support/ScreenStackTest.h"

namespace liststest {

inline constexpr const char* kNoticesPath = "/vobels/services/api/news/getNewsByCategory.do";
inline constexpr const char* kLecturesPath = "/vobels/services/api/activity/getLectureList.do";

using ListScreenTest = screentest::ScreenStackTest;

}  // namespace liststest
