#include "platform/foundation/JsonKeyHash.h"

#include <sys/random.h>
#include <xxhash.h>

#include <cerrno>
#include <chrono>
#include <random>

namespace platform {

namespace {

std::uint64_t randomWord() noexcept {
    std::uint64_t word = 0;
    auto* bytes = reinterpret_cast<unsigned char*>(&word);
    std::size_t got = 0;
    while (got < sizeof word) {
        const ssize_t read = ::getrandom(bytes + got, sizeof word - got, 0);
        if (read > 0) {
            got += static_cast<std::size_t>(read);
        } else if (read == 0 || errno != EINTR) {
            // No getrandom (a very old kernel): the library's own source of randomness.
            try {
                std::random_device device;
                return (std::uint64_t{device()} << 32) ^ device();
            } catch (...) {
                // Nothing random at all: the time at least differs between runs.
                return static_cast<std::uint64_t>(
                    std::chrono::steady_clock::now().time_since_epoch().count());
            }
        }
    }
    return word;
}

std::uint64_t processSeed() noexcept {
    static const std::uint64_t seed = randomWord();
    return seed;
}

}  // namespace

std::uint64_t JsonKeyHasher::hash(std::string_view key, std::uint64_t salt) noexcept {
    return XXH3_64bits_withSeed(key.data(), key.size(), processSeed() ^ salt);
}

std::uint64_t JsonKeyHasher::freshSalt() noexcept {
    return randomWord();
}

}  // namespace platform
