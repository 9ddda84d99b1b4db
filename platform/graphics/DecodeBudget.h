#pragma once

#include <chrono>
#include <cstddef>

namespace platform {

// The bytes of decoded pictures held at once, across the process: every picture decoded from
// PNG or JPEG bytes reserves its pixels here before they are made and gives them back when
// its last copy goes, and reserves what its decoder holds while it works (a progressive JPEG's
// coefficients for the whole picture, an interlaced PNG's rows) until the decoder is done. A
// picture that would pass the limit is decoded smaller to fit what is left, or not at all when
// too little is. Thread-safe.
class DecodeBudget {
public:
    static constexpr std::size_t kDefaultLimit = std::size_t{256} << 20;

    static std::size_t held();
    static std::size_t limit();
    // For tests and probes; pictures already held are kept.
    static void setLimit(std::size_t bytes);

    // Reserves `bytes` when they fit under the limit.
    static bool tryReserve(std::size_t bytes);
    static void release(std::size_t bytes);

    // For a decode about to start: reserves `pixels` (given back with release()) together with
    // `working`, its decoder's own memory (given back with releaseWorking() as soon as the
    // decoder is done). When they do not fit now but will once the decodes under way have
    // given back their working memory, waits for that: a decode always ends, and one that
    // waits holds nothing. False, at once, when they would not fit even then, and false after
    // longestWait() when the room has still not come: a decoder that never gave its memory
    // back then costs a picture and a log line naming the fault, not a thread stuck for good.
    // `gaveUp`, when given, is set to whether it was the wait that failed.
    static bool reserveForDecode(std::size_t pixels, std::size_t working, bool* gaveUp = nullptr);
    static void releaseWorking(std::size_t working);
    // What decoded pictures hold: held() less what the decoders under way hold.
    static std::size_t heldByPictures();

    // Far longer than decodes under way take to finish (their scans and sizes are bounded).
    static constexpr std::chrono::milliseconds kDefaultLongestWait{20000};
    static std::chrono::milliseconds longestWait();
    // For tests: a shorter wait makes a decoder that keeps its working memory fail quickly.
    static void setLongestWait(std::chrono::milliseconds wait);
    // How many decodes gave up waiting so far.
    static std::size_t waitsGivenUp();

    // For tests and probes: the most held at once since the last resetPeak(), and how many
    // decodes wait for room.
    static std::size_t peak();
    static void resetPeak();
    static std::size_t waiting();
};

}  // namespace platform
