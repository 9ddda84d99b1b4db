#include "location/engine/CVMem.h"

#include <cstdlib>

namespace _zizaz_vi {

void* CVMem::Allocate(std::ptrdiff_t size, const char* /*file*/, int /*line*/) {
    if (size < 1) {
        return nullptr;
    }
    return std::malloc(static_cast<std::size_t>(size));
}

void CVMem::Deallocate(void* block) {
    std::free(block);
}

}  // namespace _zizaz_vi
