#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "platform/devices/CaptureDevice.h"
#include "platform/devices/ContactStore.h"
#include "platform/devices/ImagePickerController.h"
#include "platform/devices/LocationDevice.h"
#include "platform/devices/Microphone.h"
#include "platform/devices/PhotoLibrary.h"
#include "platform/devices/VCard.h"
#include "platform/foundation/Files.h"
#include "platform/testing/UiTestScope.h"
#include "tests/support/TempHome.h"

using namespace platform;

namespace {

// Files the user names to a device, and files the devices keep, as a careless or hostile hand
// would leave them: a FIFO (which blocks whoever opens it for reading), an endless device, and
// a contact file of the largest number.
class HostileFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        std::filesystem::create_symlink("/dev/zero", zeros);
    }
    void TearDown() override {
        Microphone::shared().reset();
        ImagePickerController::resetDevice();
        PhotoLibrary::shared().reset();
        LocationDevice::shared().reset();
    }

    testsupport::TempHome home;
    platform::testing::UiTestScope scope;
    // Named as pictures and sounds, so that only their kind gives them away.
    std::filesystem::path fifo = home.path() / "frame.png";
    std::filesystem::path zeros = home.path() / "zeros.jpg";
};

TEST_F(HostileFilesTest, TheScannerCameraAndPhotosRefuseAFifoOrADeviceAtOnceSayingWhy) {
    for (const auto& path : {fifo, zeros, std::filesystem::path("/dev/zero")}) {
        SCOPED_TRACE(path.string());
        std::string error;
        EXPECT_FALSE(CaptureDevice::showFrameFile(path, &error));
        EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
        EXPECT_NE(error.find(path.string()), std::string::npos) << error;

        error.clear();
        EXPECT_FALSE(ImagePickerController::setCamera(true, path, &error));
        EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;

        EXPECT_TRUE(PhotoAsset{path}.originImage().isNull());
    }
    // A photo folder holding them offers neither.
    ASSERT_TRUE(PhotoLibrary::shared().setFolder(home.path()));
    EXPECT_TRUE(PhotoLibrary::shared().assets().empty());
}

TEST_F(HostileFilesTest, AnOversizedPictureFileIsRefusedUnread) {
    // Sparse: as large as it says, without the disk it would take.
    const auto big = home.path() / "big.png";
    ASSERT_TRUE(writeFileAtomically(big, ""));
    std::filesystem::resize_file(big, kMaxStoredFileSize + 1);
    std::string error;
    EXPECT_FALSE(CaptureDevice::showFrameFile(big, &error));
    EXPECT_NE(error.find("larger than"), std::string::npos) << error;
}

TEST_F(HostileFilesTest, TheMicrophoneRefusesAFifoOrADeviceAtOnceSayingWhy) {
    for (const auto& path : {fifo, zeros}) {
        SCOPED_TRACE(path.string());
        std::string error;
        EXPECT_FALSE(Microphone::shared().setSourceFile(path, &error));
        EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
        EXPECT_FALSE(Microphone::shared().sourceFile());
    }
}

TEST_F(HostileFilesTest, ContactsSavedAfterTheLargestNumberAreAllKept) {
    const auto folder = home.path() / "Contacts";
    Contact last;
    last.lastName = "末尾";
    ASSERT_TRUE(writeFileAtomically(folder / "18446744073709551615.vcf", formatVCard(last)));
    Contact first;
    first.lastName = "甲";
    ASSERT_TRUE(writeFileAtomically(folder / "000001.vcf", formatVCard(first)));

    std::set<std::string> identifiers;
    for (const char* name : {"乙", "丙", "丁"}) {
        Contact contact;
        contact.lastName = name;
        std::string error;
        ASSERT_TRUE(ContactStore().add(contact, &error)) << error;
        EXPECT_TRUE(identifiers.insert(contact.identifier).second) << contact.identifier;
        EXPECT_NE(contact.identifier, "000001");
    }
    std::set<std::string> names;
    for (const auto& contact : ContactStore().loadAll()) names.insert(contact.lastName);
    EXPECT_EQ(names, (std::set<std::string>{"末尾", "甲", "乙", "丙", "丁"}));
}

TEST_F(HostileFilesTest, AReplayWhoseTimesPassTheClocksRangeIsRefusedWhole) {
    std::string walk;
    for (int i = 0; i < 12; ++i) walk += "30.27 120.15\n";
    const auto file = home.path() / "walk.txt";
    ASSERT_TRUE(writeFileAtomically(file, walk));
    std::string error;
    EXPECT_FALSE(LocationDevice::shared().replayFile(file, seconds(1e9), &error));
    EXPECT_NE(error.find("clock's range"), std::string::npos) << error;
    EXPECT_FALSE(LocationDevice::shared().isReplaying());
    EXPECT_FALSE(LocationDevice::shared().replayFile(file, seconds(1e300), &error));
    // Far apart but within reach is a replay like any other.
    EXPECT_TRUE(LocationDevice::shared().replayFile(file, seconds(1e7), &error)) << error;
    EXPECT_TRUE(LocationDevice::shared().isReplaying());
}

}  // namespace
