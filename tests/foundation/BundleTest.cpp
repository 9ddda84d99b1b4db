#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/Files.h"
#include "tests/support/TempHome.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

TEST(Bundle, InfoDictionaryCarriesTheAppSettings) {
    auto& bundle = Bundle::main();
    EXPECT_EQ(bundle.shortVersionString(), "2.0.4");
    EXPECT_EQ(bundle.objectForInfoDictionaryKey("CFBundleDisplayName"), Json("校园通"));
    // The app sets the status bar style itself, which needs this off.
    EXPECT_EQ(bundle.objectForInfoDictionaryKey("UIViewControllerBasedStatusBarAppearance"),
              Json(false));
    EXPECT_EQ(bundle.objectForInfoDictionaryKey("CFBundleURLTypes"), Json::array());
    for (const char* key :
         {"NSLocationWhenInUseUsageDescription", "NSLocationAlwaysUsageDescription",
          "NSCameraUsageDescription", "NSMicrophoneUsageDescription",
          "NSPhotoLibraryUsageDescription", "NSContactsUsageDescription"}) {
        auto text = bundle.objectForInfoDictionaryKey(key);
        ASSERT_TRUE(text && text->is_string()) << key;
        EXPECT_FALSE(text->get<std::string>().empty()) << key;
    }
    EXPECT_FALSE(bundle.objectForInfoDictionaryKey("NoSuchKey"));
}

TEST(Bundle, ResourcesAreFoundBesideInfoPlistOrInImages) {
    testsupport::TempHome resources;
    std::string old = std::getenv("CAMPUS_RESOURCES") ? std::getenv("CAMPUS_RESOURCES") : "";
    setenv("CAMPUS_RESOURCES", resources.path().c_str(), 1);
    ASSERT_TRUE(writeFileAtomically(resources.path() / "news.json", "[]"));
    ASSERT_TRUE(writeFileAtomically(resources.path() / "images" / "新闻2@2x.png", "png"));

    auto& bundle = Bundle::main();
    EXPECT_EQ(bundle.resourcePath(), resources.path());
    EXPECT_EQ(bundle.pathForResource("news", "json"), resources.path() / "news.json");
    EXPECT_EQ(bundle.pathForResource("新闻2@2x", "png"),
              resources.path() / "images" / "新闻2@2x.png");
    EXPECT_FALSE(bundle.pathForResource("missing", "png"));
    EXPECT_FALSE(bundle.pathForResource("images", ""));  // a directory is not a resource

    if (old.empty()) {
        unsetenv("CAMPUS_RESOURCES");
    } else {
        setenv("CAMPUS_RESOURCES", old.c_str(), 1);
    }
}

TEST(Bundle, OverlayResourcesHideBundledOnesUntilCleared) {
    testsupport::TempHome overlay;
    auto& bundle = Bundle::main();
    const fs::path bundled = bundle.resourcePath() / "Info.plist";
    ASSERT_TRUE(fs::exists(bundled));
    ASSERT_TRUE(writeFileAtomically(overlay.path() / "Info.plist", "<plist/>"));
    ASSERT_TRUE(writeFileAtomically(overlay.path() / "Only-Here.plist", "<plist/>"));

    bundle.setOverlayDirectory(overlay.path());
    EXPECT_EQ(bundle.pathForResource("Info", "plist"), overlay.path() / "Info.plist");
    EXPECT_EQ(bundle.pathForResource("Only-Here", "plist"), overlay.path() / "Only-Here.plist");
    // What the overlay lacks still comes from the bundle.
    fs::remove(overlay.path() / "Info.plist");
    EXPECT_EQ(bundle.pathForResource("Info", "plist"), bundled);

    bundle.setOverlayDirectory({});
    EXPECT_FALSE(bundle.pathForResource("Only-Here", "plist"));
}

}  // namespace
