#pragma once

#include <string>

namespace testsupport {

// A PNG of one opaque grey, width x height pixels, that is small on the wire and huge once
// decoded (8192 x 8192: about 260 KB that decode to 256 MB), as a hostile server would send.
// Made row by row, so making it holds no bitmap either. Interlaced, its rows come in seven
// passes, so a decoder holds every row until the last.
std::string bombPng(int width, int height, bool interlaced = false);

// A progressive JPEG of one flat colour, width x height pixels, whose only scan carries the
// DC coefficients: one bit per 8 x 8 block on the wire, while a decoder must hold every
// block's 64 coefficients for the whole picture until the last scan (8192 x 8192 CMYK: 512 KB
// that take 512 MB to decode). `components`: 4 CMYK, 3 YCbCr (chroma halved both ways when
// `subsampled`), 1 grey.
std::string bombProgressiveJpeg(int width, int height, int components, bool subsampled = false);

}  // namespace testsupport
