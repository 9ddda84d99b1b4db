#include "app/DemoServices.h"

#include <cstdlib>
#include <ostream>

#include "client/ServiceConfig.h"
#include "fakes/FakeSchoolServices.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/PropertyList.h"

namespace frontend {

std::unique_ptr<fakes::FakeSchoolServices> startDemoServicesUnlessConfigured(std::ostream& out) {
    const char* configured = std::getenv("CAMPUS_SERVICES");
    if (configured && *configured) {
        ServiceConfig::shared().reload();
        return nullptr;
    }
    auto services = std::make_unique<fakes::FakeSchoolServices>();
    // The sample store offers the installed version; this lets a run see the update overlay.
    if (const char* version = std::getenv("CAMPUS_DEMO_STORE_VERSION"); version && *version)
        services->offerStoreVersion(version);
    services->start(0);
    // Through the environment, so that a per-service override (CAMPUS_APP_SERVICE ...) still
    // applies on top, as it does with CAMPUS_SERVICES given.
    ::setenv("CAMPUS_SERVICES", services->baseUrl().c_str(), 1);
    ServiceConfig::shared().reload();
    out << "demo services on " << services->baseUrl() << "\n";
    return services;
}

bool provideShareServiceConfig(std::ostream& err) {
    const auto overlay = platform::paths::cachesDirectory() / "bundle-overlay";
    const platform::Json config{{"baseURL", ServiceConfig::shared().shareServiceBase}};
    if (!platform::writePropertyList(overlay / "SocialSDK-config.plist", config)) {
        err << "campus: cannot write the share service configuration in " << overlay.string()
            << "\n";
        return false;
    }
    platform::Bundle::main().setOverlayDirectory(overlay);
    return true;
}

}  // namespace frontend
