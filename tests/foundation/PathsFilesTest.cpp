#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <string>
#include <vector>

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
    EXPECT_EQ(paths::temporaryDirectory(), home.path() / "tmp");
    EXPECT_TRUE(fs::is_directory(home.path() / "Documents"));
    EXPECT_TRUE(fs::is_directory(home.path() / "Library"));
    EXPECT_TRUE(fs::is_directory(home.path() / "Caches"));
    EXPECT_TRUE(fs::is_directory(home.path() / "tmp"));
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

TEST(AtomicWrite, OntoADirectoryFailsAndLeavesItAndNoTemporaryFileBehind) {
    testsupport::TempHome home;
    const auto parent = home.path() / "stores";
    const auto folder = parent / "state";
    ASSERT_TRUE(writeFileAtomically(folder / "inside", "kept"));

    EXPECT_FALSE(writeFileAtomically(folder, "x"));
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(readFile(folder / "inside"), "kept");
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(parent))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"state"}) << "no temporary file is left";
}

// Reads the file on another thread, so that a read that blocks fails the test instead of
// hanging it; a FIFO left blocking is released by opening its other end.
std::optional<std::string> readWithin(const fs::path& file, std::string* error) {
    auto reading = std::async(std::launch::async, [&] { return readFile(file, error); });
    if (reading.wait_for(std::chrono::seconds(10)) == std::future_status::ready)
        return reading.get();
    ADD_FAILURE() << "reading " << file << " blocked";
    if (int fd = ::open(file.c_str(), O_WRONLY | O_NONBLOCK); fd >= 0)
        ::close(fd);
    return reading.get();
}

TEST(StoredFiles, AreReadOnlyWhenRegularAndWithinTheSizeBound) {
    testsupport::TempHome home;
    std::string error;

    const auto fifo = home.path() / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(readWithin(fifo, &error));
    EXPECT_EQ(error, "not a regular file");

    const auto zero = home.path() / "zero";
    fs::create_symlink("/dev/zero", zero);
    EXPECT_FALSE(readWithin(zero, &error));
    EXPECT_EQ(error, "not a regular file");
    EXPECT_FALSE(readWithin(home.path(), &error)) << "a directory";

    // Sparse, so the test costs no disk.
    const auto huge = home.path() / "huge";
    ASSERT_TRUE(writeFileAtomically(huge, "x"));
    fs::resize_file(huge, kMaxStoredFileSize + 1);
    EXPECT_FALSE(readWithin(huge, &error));
    EXPECT_NE(error.find("larger than"), std::string::npos) << error;
    fs::resize_file(huge, kMaxStoredFileSize);
    EXPECT_EQ(readWithin(huge, &error).value_or("").size(), kMaxStoredFileSize);

    // A link to a regular file is read like the file.
    fs::create_symlink(huge.filename(), home.path() / "link");
    ASSERT_TRUE(writeFileAtomically(huge, "linked"));
    EXPECT_EQ(readWithin(home.path() / "link", &error), "linked");
}

fs::perms modeOf(const fs::path& path) {
    return fs::status(path).permissions() & fs::perms::all;
}

TEST(PersonalData, IsPrivateToItsOwnerAndLooseLayoutsAreTightened) {
    constexpr auto kPrivateDirectory = fs::perms::owner_all;
    {
        testsupport::TempHome home;
        const auto root = home.path() / "fresh";
        ScopedEnv campusHome("CAMPUS_HOME", root.c_str());
        ASSERT_TRUE(writeFileAtomically(paths::libraryDirectory() / "Preferences" / "a", "x"));
        EXPECT_EQ(modeOf(root), kPrivateDirectory);
        EXPECT_EQ(modeOf(paths::documentsDirectory()), kPrivateDirectory);
        EXPECT_EQ(modeOf(paths::libraryDirectory()), kPrivateDirectory);
        EXPECT_EQ(modeOf(paths::cachesDirectory()), kPrivateDirectory);
        EXPECT_EQ(modeOf(paths::temporaryDirectory()), kPrivateDirectory);
        EXPECT_EQ(modeOf(root / "Library" / "Preferences"), kPrivateDirectory);
        EXPECT_EQ(modeOf(root / "Library" / "Preferences" / "a"), kOwnerOnlyFile);
        // Folders a write makes on its own are private too.
        ASSERT_TRUE(writeFileAtomically(root / "Caches" / "made" / "by" / "write", "x"));
        EXPECT_EQ(modeOf(root / "Caches" / "made"), kPrivateDirectory);
        EXPECT_EQ(modeOf(root / "Caches" / "made" / "by"), kPrivateDirectory);
    }
    {
        // A layout made before these rules: every folder 0755; asking for any one tightens all.
        testsupport::TempHome home;
        const auto loose = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                           fs::perms::others_read | fs::perms::others_exec;
        for (const char* folder : {"Documents", "Library", "Caches", "tmp"}) {
            fs::create_directories(home.path() / folder);
            fs::permissions(home.path() / folder, loose);
        }
        fs::permissions(home.path(), loose);
        paths::cachesDirectory();
        EXPECT_EQ(modeOf(home.path()), kPrivateDirectory);
        for (const char* folder : {"Documents", "Library", "Caches", "tmp"})
            EXPECT_EQ(modeOf(home.path() / folder), kPrivateDirectory) << folder;
    }
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
