#pragma once

#include <cstddef>

namespace _zizaz_vi {

// The engine's allocation helpers. The file and line identify the caller in the engine's own
// builds; here they are not used.
class CVMem {
public:
    // A block of `size` bytes from the system allocator, or null for a size below 1 or when
    // memory runs out.
    static void* Allocate(std::ptrdiff_t size, const char* file, int line);
    // Freeing null does nothing.
    static void Deallocate(void* block);
};

}  // namespace _zizaz_vi
