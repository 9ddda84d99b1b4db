#include "platform/ui/DisplayChanges.h"

namespace platform {

namespace {
std::uint64_t g_generation = 0;
}

std::uint64_t displayGeneration() {
    return g_generation;
}

void noteDisplayChange() {
    ++g_generation;
}

}  // namespace platform
