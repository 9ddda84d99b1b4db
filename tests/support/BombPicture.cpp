#include "tests/support/BombPicture.h"

#include <zlib.h>

#include <cstdint>
#include <string>
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

void putBigEndian16(std::string& out, int value) {
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
    out.push_back(static_cast<char>(value & 0xFF));
}

// A marker segment: the marker, then a length that counts itself.
void putSegment(std::string& out, unsigned char marker, const std::string& data) {
    out.push_back(static_cast<char>(0xFF));
    out.push_back(static_cast<char>(marker));
    putBigEndian16(out, static_cast<int>(data.size()) + 2);
    out += data;
}

}  // namespace

std::string bombPng(int width, int height, bool interlaced) {
    std::string header;
    putBigEndian32(header, static_cast<std::uint32_t>(width));
    putBigEndian32(header, static_cast<std::uint32_t>(height));
    header += std::string("\x08\x06\x00\x00", 4);  // 8 bits, RGBA
    header.push_back(interlaced ? 1 : 0);

    // The rows of each pass (the whole picture's when not interlaced) as wide as they are.
    struct Pass {
        int width;
        int height;
    };
    std::vector<Pass> passes;
    if (interlaced) {
        // Adam7's seven passes: start column, start row, column step, row step.
        static constexpr int kAdam7[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                             {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
        for (const auto& p : kAdam7) {
            const int w = width > p[0] ? (width - p[0] + p[2] - 1) / p[2] : 0;
            const int h = height > p[1] ? (height - p[1] + p[3] - 1) / p[3] : 0;
            if (w > 0 && h > 0)
                passes.push_back({w, h});
        }
    } else {
        passes.push_back({width, height});
    }

    z_stream stream{};
    deflateInit(&stream, Z_BEST_COMPRESSION);
    std::string compressed;
    std::vector<unsigned char> buffer(1 << 16);
    for (std::size_t p = 0; p < passes.size(); ++p) {
        // Each row: filter "Up" (so every row after a pass's first is all zeros), then the
        // pixels.
        std::vector<unsigned char> first(static_cast<std::size_t>(passes[p].width) * 4 + 1, 0x80);
        first[0] = 0;
        for (std::size_t i = 4; i < first.size(); i += 4) first[i] = 0xFF;
        std::vector<unsigned char> rest(first.size(), 0);
        rest[0] = 2;
        for (int y = 0; y < passes[p].height; ++y) {
            std::vector<unsigned char>& row = y == 0 ? first : rest;
            stream.next_in = row.data();
            stream.avail_in = static_cast<uInt>(row.size());
            const bool last = p + 1 == passes.size() && y + 1 == passes[p].height;
            const int flush = last ? Z_FINISH : Z_NO_FLUSH;
            do {
                stream.next_out = buffer.data();
                stream.avail_out = static_cast<uInt>(buffer.size());
                deflate(&stream, flush);
                compressed.append(reinterpret_cast<const char*>(buffer.data()),
                                  buffer.size() - stream.avail_out);
            } while (stream.avail_out == 0 || (flush == Z_FINISH && stream.avail_in > 0));
        }
    }
    deflateEnd(&stream);

    std::string png("\x89PNG\r\n\x1a\n", 8);
    putChunk(png, "IHDR", header);
    putChunk(png, "IDAT", compressed);
    putChunk(png, "IEND", "");
    return png;
}

std::string bombProgressiveJpeg(int width, int height, int components, bool subsampled) {
    std::string jpeg("\xFF\xD8", 2);
    if (components == 4) {
        // Adobe's marker, transform 0: the four components are CMYK as they are.
        putSegment(jpeg, 0xEE, std::string("Adobe\0\x64\0\0\0\0\0", 12));
    }
    putSegment(jpeg, 0xDB, std::string(1, '\0') + std::string(64, '\x01'));

    const int lumaSampling = components == 3 && subsampled ? 2 : 1;
    std::string frame;
    frame.push_back(8);
    putBigEndian16(frame, height);
    putBigEndian16(frame, width);
    frame.push_back(static_cast<char>(components));
    for (int c = 0; c < components; ++c) {
        const int sampling = c == 0 ? lumaSampling : 1;
        frame += {static_cast<char>(c + 1), static_cast<char>(sampling << 4 | sampling), 0};
    }
    putSegment(jpeg, 0xC2, frame);  // progressive

    // One DC table with one code, "0": a difference of nothing.
    std::string table(1, '\0');
    table += '\x01';
    table += std::string(15, '\0');
    table += '\0';
    putSegment(jpeg, 0xC4, table);

    std::string scan(1, static_cast<char>(components));
    for (int c = 0; c < components; ++c) scan += {static_cast<char>(c + 1), 0};
    scan += {0, 0, 0};  // DC only, no successive approximation
    putSegment(jpeg, 0xDA, scan);

    // With one component the scan goes block by block, otherwise MCU by MCU; either way one
    // bit per block.
    const long long mcuSide = 8LL * lumaSampling;
    const long long blocks = components == 1 ? ((width + 7LL) / 8) * ((height + 7LL) / 8)
                                             : ((width + mcuSide - 1) / mcuSide) *
                                                   ((height + mcuSide - 1) / mcuSide) *
                                                   (lumaSampling * lumaSampling + components - 1);
    jpeg.append(static_cast<std::size_t>(blocks / 8), '\0');
    if (blocks % 8 != 0) {
        // The last byte is padded with one-bits (never all ones, so nothing to stuff).
        jpeg.push_back(static_cast<char>(0xFF >> (blocks % 8)));
    }
    jpeg += "\xFF\xD9";
    return jpeg;
}

}  // namespace testsupport
