#include "platform/foundation/Device.h"

#include <mutex>

#include "platform/foundation/Files.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/UUID.h"

namespace platform {

std::string identifierForVendor() {
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    auto file = paths::libraryDirectory() / "vendor-identifier";
    if (auto stored = readFile(file); stored && stored->size() == 36)
        return *stored;
    std::string made = makeUUIDString();
    writeFileAtomically(file, made);
    return made;
}

}  // namespace platform
