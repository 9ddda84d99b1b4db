#include "platform/graphics/Downsampler.h"

#include <algorithm>

namespace platform::pixels {

namespace {

constexpr int kChannels = 5;
// Source pixels sampled per target pixel along each side: a picture shown much smaller than
// its size needs only a few of the pixels behind each of its own to look the same, and reading
// all of them would cost as much time as the full-size picture.
constexpr long long kSamplesPerSide = 2;

// The source pixels along one side that are sampled, each with the target pixel it falls in;
// the source index of the last sample of each target pixel is noted so a row can be finished.
template <typename Each>
void forEachSample(long long source, long long target, Each each) {
    for (long long t = 0; t < target; ++t) {
        const long long start = t * source / target;
        const long long span = (t + 1) * source / target - start;
        const long long samples = std::min(kSamplesPerSide, span);
        for (long long k = 0; k < samples; ++k)
            each(static_cast<int>(start + (2 * k + 1) * span / (2 * samples)), static_cast<int>(t),
                 k + 1 == samples);
    }
}

}  // namespace

Downsampler::Downsampler(int sourceWidth, int sourceHeight, int targetWidth, int targetHeight)
    : m_sourceWidth(sourceWidth), m_sourceHeight(sourceHeight) {
    m_target.width = std::clamp(targetWidth, 1, sourceWidth);
    m_target.height = std::clamp(targetHeight, 1, sourceHeight);
    m_target.argb.resize(static_cast<std::size_t>(m_target.width) * m_target.height);
    m_copies = m_target.width == m_sourceWidth && m_target.height == m_sourceHeight;
    if (m_copies)
        return;
    forEachSample(m_sourceWidth, m_target.width, [this](int x, int t, bool) {
        m_columns.push_back({x, t});
    });
    m_rows.assign(static_cast<std::size_t>(m_sourceHeight), RowUse{});
    forEachSample(m_sourceHeight, m_target.height, [this](int y, int t, bool last) {
        m_rows[static_cast<std::size_t>(y)] = RowUse{t, last};
    });
    m_sum.assign(static_cast<std::size_t>(m_target.width) * kChannels, 0);
}

std::size_t Downsampler::workingBytes(int sourceWidth, int sourceHeight) {
    // Per target column (at most one per source column): its sums and the columns sampled for
    // it, which a growing vector may hold twice over; per source row, its use.
    const std::size_t perColumn =
        kChannels * sizeof(std::uint64_t) + 2 * kSamplesPerSide * sizeof(Column);
    return std::size_t(std::max(sourceWidth, 0)) * perColumn +
           std::size_t(std::max(sourceHeight, 0)) * sizeof(RowUse);
}

void Downsampler::flushRow(int targetRow) {
    std::uint32_t* out =
        m_target.argb.data() + static_cast<std::size_t>(targetRow) * m_target.width;
    for (int x = 0; x < m_target.width; ++x) {
        std::uint64_t* sum = m_sum.data() + static_cast<std::size_t>(x) * kChannels;
        std::uint32_t pixel = 0;
        if (sum[0] > 0 && sum[4] > 0) {
            auto average = [&](std::uint64_t weighted) {
                return static_cast<std::uint32_t>(
                    std::min<std::uint64_t>(255, (weighted + sum[0] / 2) / sum[0]));
            };
            const auto alpha = static_cast<std::uint32_t>((sum[0] + sum[4] / 2) / sum[4]);
            if (alpha > 0)
                pixel =
                    alpha << 24 | average(sum[1]) << 16 | average(sum[2]) << 8 | average(sum[3]);
        }
        out[x] = pixel;
        std::fill(sum, sum + kChannels, 0);
    }
}

Bitmap Downsampler::take() {
    return std::move(m_target);
}

}  // namespace platform::pixels
