// libFuzzer program (clang, CAMPUS_LIBFUZZER=ON): build/fuzz/reply_fuzzer fuzz/corpus/reply
#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::replyToRecords({reinterpret_cast<const char*>(data), size});
    return 0;
}
