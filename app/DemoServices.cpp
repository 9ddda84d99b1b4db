#include "app/DemoServices.h"

#include <cstdlib>
#include <ostream>

#include "client/ServiceConfig.h"
#include "fakes/FakeSchoolServices.h"

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

}  // namespace frontend
