#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/foundation/DataDirectoryLock.h"
#include "tests/support/TempHome.h"

using platform::DataDirectoryLock;

namespace {

TEST(DataDirectoryLock, ASecondClaimFailsNamingTheDirectoryUntilTheFirstIsGone) {
    testsupport::TempHome home;
    const std::filesystem::path other = home.path() / "other";
    std::filesystem::create_directories(other);
    std::string error;
    auto first = DataDirectoryLock::acquire(home.path(), &error);
    ASSERT_TRUE(first) << error;
    EXPECT_EQ(first->directory(), home.path());

    // Refused in the same process too, with the directory named.
    EXPECT_FALSE(DataDirectoryLock::acquire(home.path(), &error));
    EXPECT_EQ(error, "the data directory " + home.path().string() +
                         " is in use by another campus client; quit that one first, or give "
                         "this one another data directory");
    // Another directory is free.
    EXPECT_TRUE(DataDirectoryLock::acquire(other));

    // A moved claim still holds; it ends with its last owner.
    DataDirectoryLock moved = std::move(*first);
    first.reset();
    EXPECT_FALSE(DataDirectoryLock::acquire(home.path()));
    { DataDirectoryLock gone = std::move(moved); }
    EXPECT_TRUE(DataDirectoryLock::acquire(home.path(), &error)) << error;
}

TEST(DataDirectoryLock, ADirectoryThatCannotHoldTheLockIsNamedInTheReason) {
    testsupport::TempHome home;
    std::string error;
    EXPECT_FALSE(DataDirectoryLock::acquire(home.path() / "missing", &error));
    EXPECT_NE(error.find("cannot lock the data directory " + (home.path() / "missing").string()),
              std::string::npos)
        << error;
}

// A lock file planted as a symbolic link is refused, never followed: a dangling link does not
// make the client create the link's target, and a link to an existing file leaves that file as
// it was.
TEST(DataDirectoryLock, ALockFileThatIsASymbolicLinkIsRefusedWithoutTouchingItsTarget) {
    testsupport::TempHome home;
    const std::filesystem::path lockFile = home.path() / DataDirectoryLock::kFileName;
    const std::filesystem::path target = home.path() / "planted";
    std::filesystem::create_symlink(target, lockFile);
    std::string error;
    EXPECT_FALSE(DataDirectoryLock::acquire(home.path(), &error));
    EXPECT_EQ(error, "cannot lock the data directory " + home.path().string() +
                         ": its lock file campus.lock is a symbolic link; remove the link and "
                         "start again");
    EXPECT_FALSE(std::filesystem::exists(target));

    {
        std::ofstream out(target);
        out << "kept";
    }
    const auto before = std::filesystem::last_write_time(target);
    EXPECT_FALSE(DataDirectoryLock::acquire(home.path(), &error));
    EXPECT_NE(error.find("is a symbolic link"), std::string::npos) << error;
    EXPECT_EQ(std::filesystem::file_size(target), 4u);
    EXPECT_EQ(std::filesystem::last_write_time(target), before);

    // Once the link is gone the directory is claimed as usual.
    std::filesystem::remove(lockFile);
    EXPECT_TRUE(DataDirectoryLock::acquire(home.path(), &error)) << error;
    EXPECT_FALSE(std::filesystem::is_symlink(lockFile));
}

TEST(DataDirectoryLock, ALockFileThatIsNotAPlainFileIsRefused) {
    testsupport::TempHome home;
    const std::filesystem::path lockFile = home.path() / DataDirectoryLock::kFileName;
    std::string error;
    std::filesystem::create_directory(lockFile);
    EXPECT_FALSE(DataDirectoryLock::acquire(home.path(), &error));
    EXPECT_NE(error.find("cannot lock the data directory " + home.path().string()),
              std::string::npos)
        << error;
    std::filesystem::remove(lockFile);

    ASSERT_EQ(::mkfifo(lockFile.c_str(), 0600), 0);
    EXPECT_FALSE(DataDirectoryLock::acquire(home.path(), &error));
    EXPECT_EQ(error, "cannot lock the data directory " + home.path().string() +
                         ": its lock file campus.lock is not a plain file; remove it and start "
                         "again");
}

// Another process holds the directory until it ends, even when it ends without letting go
// (killed): the system drops the lock with the process.
TEST(DataDirectoryLock, IsReleasedWhenTheHoldingProcessEnds) {
    testsupport::TempHome home;
    int held[2];
    int end[2];
    ASSERT_EQ(::pipe(held), 0);
    ASSERT_EQ(::pipe(end), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        auto lock = DataDirectoryLock::acquire(home.path());
        const char taken = lock ? 'y' : 'n';
        if (::write(held[1], &taken, 1) != 1)
            ::_exit(2);
        char unused = 0;
        if (::read(end[0], &unused, 1) < 0)
            ::_exit(2);
        ::raise(SIGKILL);
        ::_exit(3);
    }
    char taken = 0;
    ASSERT_EQ(::read(held[0], &taken, 1), 1);
    ASSERT_EQ(taken, 'y');
    std::string error;
    EXPECT_FALSE(DataDirectoryLock::acquire(home.path(), &error));
    EXPECT_NE(error.find("is in use by another campus client"), std::string::npos) << error;

    ASSERT_EQ(::write(end[1], "x", 1), 1);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_TRUE(DataDirectoryLock::acquire(home.path(), &error)) << error;
    for (int fd : {held[0], held[1], end[0], end[1]}) ::close(fd);
}

}  // namespace
