#include "tests/support/BombPicture.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

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

namespace {

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

// Bits of entropy-coded data, most significant first; a 0xFF byte is followed by a stuffed
// zero, and the last byte is padded with one-bits.
class BitWriter {
public:
    explicit BitWriter(std::string& out) : m_out(out) {}
    void put(unsigned bits, int count) {
        for (int i = count - 1; i >= 0; --i) {
            m_byte = static_cast<unsigned char>(m_byte << 1 | ((bits >> i) & 1));
            if (++m_filled == 8)
                flushByte();
        }
    }
    void finish() {
        while (m_filled != 0) put(1, 1);
    }

private:
    void flushByte() {
        m_out.push_back(static_cast<char>(m_byte));
        if (m_byte == 0xFF)
            m_out.push_back('\0');
        m_byte = 0;
        m_filled = 0;
    }
    std::string& m_out;
    unsigned char m_byte = 0;
    int m_filled = 0;
};

std::string zlibCompressed(const std::string& data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size,
              reinterpret_cast<const Bytef*>(data.data()), static_cast<uLong>(data.size()),
              Z_BEST_COMPRESSION);
    out.resize(size);
    return out;
}

}  // namespace

std::string textChunkPng(int chunks, std::size_t inflatedBytes) {
    std::string header;
    putBigEndian32(header, 1);
    putBigEndian32(header, 1);
    header += std::string("\x08\x06\x00\x00\x00", 5);  // 8 bits, RGBA, not interlaced
    // Keyword, its terminator, compression method 0, then the compressed text.
    const std::string text =
        std::string("Comment\0\0", 9) + zlibCompressed(std::string(inflatedBytes, ' '));
    std::string png("\x89PNG\r\n\x1a\n", 8);
    putChunk(png, "IHDR", header);
    for (int i = 0; i < chunks; ++i) putChunk(png, "zTXt", text);
    putChunk(png, "IDAT", zlibCompressed(std::string("\0\x80\x80\x80\xFF", 5)));
    putChunk(png, "IEND", "");
    return png;
}

std::string manyScanJpeg(int width, int height, int scans) {
    std::string jpeg("\xFF\xD8", 2);
    putSegment(jpeg, 0xDB, std::string(1, '\0') + std::string(64, '\x01'));
    std::string frame;
    frame.push_back(8);
    putBigEndian16(frame, height);
    putBigEndian16(frame, width);
    frame += {1, 1, 0x11, 0};
    putSegment(jpeg, 0xC2, frame);  // progressive, one component
    // DC table 0: one code, "0", a difference of nothing.
    std::string dc(1, '\0');
    dc += '\x01';
    dc += std::string(15, '\0');
    dc += '\0';
    putSegment(jpeg, 0xC4, dc);
    // AC table 0: the fifteen end-of-band runs (symbol r << 4: a run of 2^r blocks and r more
    // bits), each a four-bit code equal to r.
    std::string ac(1, '\x10');
    ac += std::string(3, '\0');
    ac += '\x0F';
    ac += std::string(12, '\0');
    for (int r = 0; r < 15; ++r) ac.push_back(static_cast<char>(r << 4));
    putSegment(jpeg, 0xC4, ac);

    const long long blocks = ((width + 7LL) / 8) * ((height + 7LL) / 8);
    putSegment(jpeg, 0xDA, std::string("\x01\x01\x00\x00\x00\x00", 6));  // DC, first pass
    jpeg.append(static_cast<std::size_t>(blocks / 8), '\0');
    if (blocks % 8 != 0)
        jpeg.push_back(static_cast<char>(0xFF >> (blocks % 8)));
    for (int scan = 1; scan < scans; ++scan) {
        putSegment(jpeg, 0xDA, std::string("\x01\x01\x00\x01\x3F\x00", 6));  // AC 1..63
        BitWriter bits(jpeg);
        for (long long left = blocks; left > 0;) {
            const long long run = std::min(left, 32767LL);
            int r = 0;
            while ((2LL << r) <= run) ++r;
            bits.put(static_cast<unsigned>(r), 4);
            bits.put(static_cast<unsigned>(run - (1LL << r)), r);
            left -= run;
        }
        bits.finish();
    }
    jpeg += "\xFF\xD9";
    return jpeg;
}

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

std::string gzipped(const std::string& bytes) {
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, static_cast<uLong>(bytes.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

}  // namespace testsupport
