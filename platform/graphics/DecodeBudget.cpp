#include "platform/graphics/DecodeBudget.h"

#include <atomic>

namespace platform {

namespace {

std::atomic<std::size_t> g_held{0};
std::atomic<std::size_t> g_limit{DecodeBudget::kDefaultLimit};

}  // namespace

std::size_t DecodeBudget::held() {
    return g_held.load();
}

std::size_t DecodeBudget::limit() {
    return g_limit.load();
}

void DecodeBudget::setLimit(std::size_t bytes) {
    g_limit.store(bytes);
}

bool DecodeBudget::tryReserve(std::size_t bytes) {
    std::size_t held = g_held.load();
    do {
        if (bytes > g_limit.load() || held > g_limit.load() - bytes)
            return false;
    } while (!g_held.compare_exchange_weak(held, held + bytes));
    return true;
}

void DecodeBudget::release(std::size_t bytes) {
    g_held.fetch_sub(bytes);
}

}  // namespace platform
