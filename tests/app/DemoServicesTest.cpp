#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>

#include "app/DemoServices.h"
#include "client/ServiceConfig.h"
#include "fakes/FakeSchoolServices.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/PropertyList.h"
#include "tests/support/TempHome.h"

namespace frontend {
namespace {

// CAMPUS_SERVICES as the case needs it, restored afterwards.
class DemoServicesTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* value = std::getenv("CAMPUS_SERVICES")) {
            saved = value;
        }
        ::unsetenv("CAMPUS_SERVICES");
    }
    void TearDown() override {
        if (saved) {
            ::setenv("CAMPUS_SERVICES", saved->c_str(), 1);
        } else {
            ::unsetenv("CAMPUS_SERVICES");
        }
        ServiceConfig::shared().reload();
    }

    std::optional<std::string> saved;
};

TEST_F(DemoServicesTest, WithoutConfiguredServicesTheDemoServesOnLoopbackAndSaysWhere) {
    std::ostringstream out;
    auto services = startDemoServicesUnlessConfigured(out);
    ASSERT_TRUE(services);
    EXPECT_EQ(out.str(), "demo services on " + services->baseUrl() + "\n");
    EXPECT_EQ(services->baseUrl().rfind("http://127.0.0.1:", 0), 0u);
    EXPECT_EQ(ServiceConfig::shared().appServiceRoot, services->baseUrl() + "/vobels/services/");
    EXPECT_EQ(ServiceConfig::shared().attendanceRoot, services->baseUrl());
}

TEST_F(DemoServicesTest, ConfiguredServicesAreUsedAsTheyStand) {
    ::setenv("CAMPUS_SERVICES", "http://127.0.0.1:9", 1);
    std::ostringstream out;
    EXPECT_FALSE(startDemoServicesUnlessConfigured(out));
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(ServiceConfig::shared().appServiceRoot, "http://127.0.0.1:9/vobels/services/");
}

TEST_F(DemoServicesTest, TheShareSdkFindsTheDemoShareServiceInItsConfigResource) {
    testsupport::TempHome home;
    std::ostringstream out;
    auto services = startDemoServicesUnlessConfigured(out);
    ASSERT_TRUE(services);
    std::ostringstream err;
    ASSERT_TRUE(provideShareServiceConfig(err)) << err.str();

    const auto resource = platform::Bundle::main().pathForResource("SocialSDK-config", "plist");
    ASSERT_TRUE(resource);
    const auto config = platform::readPropertyList(*resource);
    ASSERT_TRUE(config);
    EXPECT_EQ(config->value("baseURL", ""), services->shareServiceBase());
    platform::Bundle::main().setOverlayDirectory({});
}

}  // namespace
}  // namespace frontend
