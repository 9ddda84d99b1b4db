#pragma once

#include <string>

namespace testsupport {

// A PNG of one opaque grey, width x height pixels, that is small on the wire and huge once
// decoded (8192 x 8192: about 260 KB that decode to 256 MB), as a hostile server would send.
// Made row by row, so making it holds no bitmap either.
std::string bombPng(int width, int height);

}  // namespace testsupport
