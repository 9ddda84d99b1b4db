#pragma once

#include <iosfwd>
#include <memory>

namespace fakes {
class FakeSchoolServices;
}

namespace frontend {

// Without CAMPUS_SERVICES the client has no school to talk to, so the program serves the
// bundled sample data itself: starts the fake school services on a free loopback port,
// points every service address at them and says where ("demo services on http://..."). With
// CAMPUS_SERVICES set, starts nothing and returns null. CAMPUS_DEMO_STORE_VERSION=V makes
// the demo store offer version V instead of the installed one. Throws std::runtime_error when the
// services cannot start (sample data missing or damaged, no port).
std::unique_ptr<fakes::FakeSchoolServices> startDemoServicesUnlessConfigured(std::ostream& out);

// The share SDK takes its service address from the bundle's "SocialSDK-config" resource, as a
// phone app ships it. The program writes that resource at start, with "baseURL" the share
// service of the configured (or demo) services, into a bundle overlay folder under the data
// directory's caches, and makes the overlay part of the bundle. False (with a line on err)
// when it cannot be written; the SDK then uses its built-in address.
bool provideShareServiceConfig(std::ostream& err);

}  // namespace frontend
