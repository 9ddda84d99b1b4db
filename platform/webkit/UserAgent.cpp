#include "platform/webkit/UserAgent.h"

namespace platform::webkit {

std::string phoneUserAgent() {
    return "Mozilla/5.0 (Mobile; CPU Phone OS 9_3 like Unix) AppleWebKit/601.1.46 (KHTML, like "
           "Gecko) Version/9.0 Mobile/13E233";
}

std::string tabletUserAgent() {
    return "Mozilla/5.0 (Tablet; CPU OS 9_3 like Unix) AppleWebKit/601.1.46 (KHTML, like "
           "Gecko) Version/9.0 Mobile/13E233";
}

}  // namespace platform::webkit
