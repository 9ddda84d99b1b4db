#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "platform/foundation/Files.h"
#include "platform/foundation/Paths.h"
#include "tests/support/TempHome.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

// Sets or clears an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name))
            m_old = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnv() { m_old ? setenv(m_name, m_old->c_str(), 1) : unsetenv(m_name); }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST(DataDirectory, FollowsCampusHomeAndCreatesThePhoneFolders) {
    testsupport::TempHome home;
    EXPECT_EQ(paths::dataDirectory(), home.path());
    EXPECT_EQ(paths::documentsDirectory(), home.path() / "Documents");
    EXPECT_EQ(paths::libraryDirectory(), home.path() / "Library");
    EXPECT_EQ(paths::cachesDirectory(), home.path() / "Caches");
    EXPECT_TRUE(fs::is_directory(home.path() / "Documents"));
    EXPECT_TRUE(fs::is_directory(home.path() / "Library"));
    EXPECT_TRUE(fs::is_directory(home.path() / "Caches"));
}

TEST(DataDirectory, FallsBackToXdgDataHomeThenHome) {
    testsupport::TempHome scratch;
    ScopedEnv noCampusHome("CAMPUS_HOME", nullptr);
    {
        ScopedEnv xdg("XDG_DATA_HOME", scratch.path().c_str());
        EXPECT_EQ(paths::dataDirectoryLocation(), scratch.path() / "campus-client");
    }
    ScopedEnv noXdg("XDG_DATA_HOME", nullptr);
    ScopedEnv homeDir("HOME", scratch.path().c_str());
    EXPECT_EQ(paths::dataDirectory(), scratch.path() / ".local/share/campus-client");
    EXPECT_TRUE(fs::is_directory(scratch.path() / ".local/share/campus-client"));
}

TEST(AtomicWrite, CreatesParentsReplacesContentsAndLeavesNoTemporaryFiles) {
    testsupport::TempHome home;
    auto file = home.path() / "a" / "b" / "state.txt";
    ASSERT_TRUE(writeFileAtomically(file, "first"));
    ASSERT_TRUE(writeFileAtomically(file, std::string("second\0with nul", 15)));
    EXPECT_EQ(readFile(file), std::string("second\0with nul", 15));
    size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(file.parent_path())) ++entries;
    EXPECT_EQ(entries, 1u);

    EXPECT_FALSE(readFile(home.path() / "missing").has_value());
    ASSERT_TRUE(writeFileAtomically(home.path() / "empty", ""));
    EXPECT_EQ(readFile(home.path() / "empty"), "") << "an empty file is not a missing one";
}

TEST(AtomicWrite, GivesTheRequestedModeWhateverTheUmask) {
    testsupport::TempHome home;
    auto file = home.path() / "secret";
    mode_t old = umask(0);
    bool written = writeFileAtomically(file, "x", fs::perms::owner_read | fs::perms::owner_write);
    umask(old);
    ASSERT_TRUE(written);
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST(AtomicWrite, FailsCleanlyWhereNoDirectoryCanBeMade) {
    testsupport::TempHome home;
    ASSERT_TRUE(writeFileAtomically(home.path() / "plain", "a file"));
    EXPECT_FALSE(writeFileAtomically(home.path() / "plain" / "below", "x"));
    EXPECT_EQ(readFile(home.path() / "plain"), "a file");
}

TEST(MoveAside, KeepsTheDamagedBytesUnderANewName) {
    testsupport::TempHome home;
    auto file = home.path() / "store.plist";
    ASSERT_TRUE(writeFileAtomically(file, "garbage"));
    auto first = moveAsideDamagedFile(file);
    ASSERT_TRUE(first);
    ASSERT_TRUE(writeFileAtomically(file, "garbage 2"));
    auto second = moveAsideDamagedFile(file);
    ASSERT_TRUE(second);
    EXPECT_NE(*first, *second);
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(readFile(*first), "garbage");
    EXPECT_EQ(readFile(*second), "garbage 2");
    EXPECT_TRUE(first->filename().string().starts_with("store.plist.damaged-"));
}

}  // namespace
