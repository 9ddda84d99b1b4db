#pragma once

#include <string>

namespace platform {

// Why a device stand-in could not do what it was asked: the device's domain ("contacts",
// "location", "geocoder"), a code of that domain and a line a log can show.
struct DeviceError {
    std::string domain;
    int code = 0;
    std::string description;
};

}  // namespace platform
