// Native functions the command bridge calls that this build of the container does not have
// yet: each does what an unavailable device does, which is to answer nothing, and says so in
// the log. Each goes as the real function arrives.

#include "platform/foundation/Json.h"
#include "platform/foundation/Log.h"
#include "webcontainer/WebDetailViewController.h"

namespace {

void unavailable(const char* what) {
    platform::log("%@: not available on this device", what);
}

}  // namespace

void WebDetailViewController::presentShareSheet(const platform::Json& /*argument*/) {
    unavailable("onMenuShare");
}
