#include "tests/support/BombPicture.h"

#include <zlib.h>

#include <cstdint>
#include <vector>

namespace testsupport {

namespace {

void putBigEndian32(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

void putChunk(std::string& out, const char* type, const std::string& data) {
    putBigEndian32(out, static_cast<std::uint32_t>(data.size()));
    const std::string typed = std::string(type, 4) + data;
    out += typed;
    putBigEndian32(out,
                   static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(typed.data()),
                                                    static_cast<uInt>(typed.size()))));
}

}  // namespace

std::string bombPng(int width, int height) {
    std::string header;
    putBigEndian32(header, static_cast<std::uint32_t>(width));
    putBigEndian32(header, static_cast<std::uint32_t>(height));
    header += std::string("\x08\x06\x00\x00\x00", 5);  // 8 bits, RGBA, no interlace

    // Each row: filter "Up" (so every row after the first is all zeros), then the pixels.
    std::vector<unsigned char> first(static_cast<std::size_t>(width) * 4 + 1, 0x80);
    first[0] = 0;
    for (std::size_t i = 4; i < first.size(); i += 4) first[i] = 0xFF;
    std::vector<unsigned char> rest(first.size(), 0);
    rest[0] = 2;

    z_stream stream{};
    deflateInit(&stream, Z_BEST_COMPRESSION);
    std::string compressed;
    std::vector<unsigned char> buffer(1 << 16);
    for (int y = 0; y < height; ++y) {
        std::vector<unsigned char>& row = y == 0 ? first : rest;
        stream.next_in = row.data();
        stream.avail_in = static_cast<uInt>(row.size());
        const int flush = y + 1 == height ? Z_FINISH : Z_NO_FLUSH;
        do {
            stream.next_out = buffer.data();
            stream.avail_out = static_cast<uInt>(buffer.size());
            deflate(&stream, flush);
            compressed.append(reinterpret_cast<const char*>(buffer.data()),
                              buffer.size() - stream.avail_out);
        } while (stream.avail_out == 0 || (flush == Z_FINISH && stream.avail_in > 0));
    }
    deflateEnd(&stream);

    std::string png("\x89PNG\r\n\x1a\n", 8);
    putChunk(png, "IHDR", header);
    putChunk(png, "IDAT", compressed);
    putChunk(png, "IEND", "");
    return png;
}

}  // namespace testsupport
