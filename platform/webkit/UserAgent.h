#pragma once

#include <string>

namespace platform::webkit {

// What the web view tells sites it is: the phone's own web view on the stand-in device's
// system (9.3), so that sites that choose their phone pages by user agent serve them ("Mobile",
// the system's version, a WebKit of its day). The tablet says the same with its own device
// word, as the tablet's web view does; sites that tell the two apart serve it their tablet
// pages.
std::string phoneUserAgent();
std::string tabletUserAgent();

}  // namespace platform::webkit
