#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/Options.h"
#include "tests/support/TempHome.h"

namespace frontend {
namespace {

TEST(ProgramOptions, DefaultsToTheStandardPhoneWithoutAScriptAndReadsEveryOption) {
    ParsedOptions defaults = parseOptions({});
    EXPECT_EQ(defaults.error, "");
    EXPECT_EQ(defaults.options.screen.width, 375);
    EXPECT_EQ(defaults.options.screen.height, 667);
    EXPECT_FALSE(defaults.options.scriptFile || defaults.options.dataDir || defaults.options.help);

    ParsedOptions parsed = parseOptions(
        {"--script", "road.campus", "--screen", "414x736", "--data-dir", "/tmp/state", "--help"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.scriptFile, "road.campus");
    EXPECT_EQ(parsed.options.screen.width, 414);
    EXPECT_EQ(parsed.options.screen.height, 736);
    EXPECT_EQ(parsed.options.dataDir, "/tmp/state");
    EXPECT_TRUE(parsed.options.help);
}

TEST(ProgramOptions, AScreenIsWidthByHeightInPoints) {
    auto size = parseScreenSize("320x480");
    ASSERT_TRUE(size);
    EXPECT_EQ(size->width, 320);
    EXPECT_EQ(size->height, 480);
    EXPECT_TRUE(parseScreenSize("768x1024.5"));
    for (const char* bad : {"", "375", "x667", "375x", "0x667", "-375x667", "375x667x2",
                            "375 x 667", "abcxdef", "nanxnan", "99999x667"}) {
        EXPECT_FALSE(parseScreenSize(bad)) << bad;
    }
}

TEST(ProgramOptions, ABadOrMissingValueOrAnUnknownArgumentIsReportedNotGuessed) {
    EXPECT_EQ(parseOptions({"--screen", "big"}).error,
              "not a screen size: \"big\" (write it as 375x667)");
    EXPECT_EQ(parseOptions({"--script"}).error, "--script needs a value");
    EXPECT_EQ(parseOptions({"--data-dir"}).error, "--data-dir needs a value");
    EXPECT_EQ(parseOptions({"--data-dir", ""}).error, "--data-dir needs a directory");
    EXPECT_EQ(parseOptions({"--scren", "320x480"}).error, "unknown argument: \"--scren\"");
}

TEST(ProgramOptions, AScriptMustBeAReadableFileNotADirectory) {
    testsupport::TempHome home;
    std::filesystem::path file = home.path() / "road.campus";
    std::ofstream(file) << "back\n";
    EXPECT_EQ(scriptFileProblem(file.string()), "");
    EXPECT_EQ(scriptFileProblem(home.path().string()),
              "the script " + home.path().string() + " is a directory; give a file of commands");
    EXPECT_EQ(scriptFileProblem((home.path() / "missing.campus").string()),
              "cannot read the script " + (home.path() / "missing.campus").string());
}

TEST(ProgramOptions, ATabletHasItsOwnScreenUnlessOneIsGiven) {
    ParsedOptions pad = parseOptions({"--device", "pad"});
    ASSERT_EQ(pad.error, "");
    EXPECT_TRUE(pad.options.pad);
    EXPECT_EQ(pad.options.screen.width, 768);
    EXPECT_EQ(pad.options.screen.height, 1024);
    ParsedOptions sized = parseOptions({"--screen", "834x1112", "--device", "pad"});
    EXPECT_EQ(sized.options.screen.width, 834);
    EXPECT_FALSE(parseOptions({"--device", "phone"}).options.pad);
    EXPECT_EQ(parseOptions({"--device", "watch"}).error, "not a device: \"watch\" (phone or pad)");
    EXPECT_EQ(parseOptions({"--device"}).error, "--device needs a value");
}

}  // namespace
}  // namespace frontend
