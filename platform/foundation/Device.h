#pragma once

#include <string>

namespace platform {

// The per-vendor device identifier: a UUID made on first use and kept in the data directory,
// so it stays for as long as the installation's data does.
std::string identifierForVendor();

}  // namespace platform
