#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace testsupport {

// The pieces a PNG is made of: a number as four bytes, most significant first; and a chunk
// (its length, its four-letter type, its data and their CRC) put after `out`.
void putBigEndian32(std::string& out, std::uint32_t value);
void putChunk(std::string& out, const char* type, const std::string& data);

// Bodies small on the wire and huge once read, as a hostile server sends them.

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

// A 1 x 1 PNG whose pixel comes after `chunks` compressed text chunks (zTXt), each of which
// inflates to `inflatedBytes`: about a kilobyte each on the wire, a megabyte each to a decoder
// that keeps them (999 of them: 1 MB that would take 1 GB).
std::string textChunkPng(int chunks, std::size_t inflatedBytes = 1000000);

// A progressive grey JPEG of one flat colour, width x height pixels, sent in `scans` scans:
// the DC scan, then AC scans of the whole band that each say "nothing here" in a few runs of
// end-of-band codes. Each costs a decoder a pass over every block for under a hundred bytes
// (8192 x 8192 in 20,000 scans: about 2 MB).
std::string manyScanJpeg(int width, int height, int scans);

// The bytes gzip-encoded, as a server sends a body with "Content-Encoding: gzip": long runs
// of the same bytes shrink a thousandfold.
std::string gzipped(const std::string& bytes);

}  // namespace testsupport
